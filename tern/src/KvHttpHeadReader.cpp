#include "tern/KvHttpHeadReader.h"

#include <chrono>
#include <cstring>

namespace {

// Position just after CR LF CR LF within buffer[from, to), or -1.
int FindHeadEnd(const char* buffer, int from, int to) {
    for (int i = from < 0 ? 0 : from; i + 4 <= to; ++i)
        if (buffer[i] == '\r' && buffer[i + 1] == '\n' && buffer[i + 2] == '\r' && buffer[i + 3] == '\n') return i + 4;
    return -1;
}

bool HasBareLineFeed(const char* buffer, int from, int to) {
    for (int i = from; i < to; ++i)
        if (buffer[i] == '\n' && (i == 0 || buffer[i - 1] != '\r')) return true;
    return false;
}

}  // namespace

std::int64_t KvHttpHeadReader::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int KvHttpHeadReader::Read(KvHttpStream& stream, char* buffer, int capacity, int& length, std::int64_t deadlineMs) {
    length = 0;
    buffer[0] = 0;
    while (length < capacity) {
        const std::int64_t left = deadlineMs - NowMs();
        if (left <= 0) return kTimeout;
        const int seen = stream.Peek(buffer + length, capacity - length, left > 0x7FFFFFFF ? 0x7FFFFFFF : int(left));
        if (seen <= 0) return seen == 0 ? kClosed : (seen == -2 ? kTimeout : kError);
        if (length == 0 && (buffer[0] < 'A' || buffer[0] > 'Z')) return kNotHttp;
        const int end = FindHeadEnd(buffer, length - 3, length + seen);
        const int take = end >= 0 ? end - length : seen;
        if (HasBareLineFeed(buffer, length, length + take)) return kBareLineFeed;
        if (stream.Receive(buffer + length, take) != take) return kError;
        length += take;
        if (end >= 0) {
            buffer[length] = 0;
            return kComplete;
        }
    }
    return kTooLarge;
}
