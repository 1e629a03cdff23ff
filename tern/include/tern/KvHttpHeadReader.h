// KvHttpHeadReader: reads one request head, leaving the body on the stream.
//
// Reads in large steps by peeking and then consumes exactly the head, up to
// and including CR LF CR LF, so the request processor finds the body intact.
// The whole head must arrive before a deadline: a client that trickles bytes
// cannot hold a worker longer than that. Bytes that cannot start a request
// (anything but an upper-case method name), and a line feed without its
// carriage return, fail at once instead of waiting for a head end that may
// never come.
#pragma once

#include <tern/KvHttpStream.h>

#include <cstdint>

class KvHttpHeadReader {
public:
    enum Result { kComplete = 1, kClosed = 0, kError = -1, kTimeout = -2, kTooLarge = -3, kNotHttp = -4, kBareLineFeed = -5 };

    // Reads into `buffer` (room for `capacity` bytes plus a terminating NUL) until the head
    // ends or `deadlineMs` (steady-clock milliseconds, see NowMs) passes. `length` receives
    // the head length. kTooLarge when `capacity` bytes hold no head end.
    static int Read(KvHttpStream& stream, char* buffer, int capacity, int& length, std::int64_t deadlineMs);
    // Milliseconds of the monotonic clock the deadlines count in.
    static std::int64_t NowMs();
};
