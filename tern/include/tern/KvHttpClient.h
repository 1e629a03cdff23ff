// KvHttpClient: HTTP/1.1 GET, PUT and POST over one reusable connection.
//
// A request returns the status code once the response head is read; the body
// is then read with Read (byte, block or copy), undoing chunked transfer coding
// and deflate (zlib format) compression. A 401 answer with a Digest challenge
// is answered once by itself when credentials are given, and later requests on
// the same client reuse the challenge. Results: the status code, or
//   -1 connection or send failure,
//   -2 malformed or oversized response head, a 401 without a Digest challenge,
//      or a failed second (authenticated) attempt,
//   -3 the client's lock could not be taken within the receive wait.
// Requests are serialised by the client's lock, so a client can be shared;
// reading the body belongs to the thread that made the request.
// A body that ends badly (connection lost, bad chunk size, broken deflate data)
// ends early: Read reports the end, and BodyComplete() tells it apart.
#pragma once

#include <basalt/KvBasicString.h>
#include <tern/KvHttpAuthorization.h>
#include <tern/KvTcpSocket.h>

#include <cstdint>
#include <list>
#include <mutex>

struct z_stream_s;

class KvHttpClient {
public:
    enum Mode { kNoBody = 0, kPlain = 1, kChunked = 2, kDeflated = 3 };
    static constexpr int kReceiveBufferSize = 16384;
    static constexpr int kInputBufferSize = 8192;
    static constexpr int kMaxHeadSize = 16384;

    KvHttpClient();
    ~KvHttpClient();
    KvHttpClient(const KvHttpClient&) = delete;
    KvHttpClient& operator=(const KvHttpClient&) = delete;

    int Get(const char* host, int port, const char* path, const char* userName = nullptr,
            const char* password = nullptr);
    int Put(const char* host, int port, const char* path, const void* data, int length,
            const char* userName = nullptr, const char* password = nullptr);
    int Post(const char* host, int port, const char* path, const void* data, int length,
             const char* userName = nullptr, const char* password = nullptr);

    // The next body byte (0 to 255), or -1 at the end of the body.
    int Read();
    // The next block of body bytes and its size in `count`; null and -1 at the end.
    const unsigned char* Read(int& count);
    // Copies up to `size` body bytes; the number copied (0 at the end).
    int Read(void* buffer, int size);
    // Steps back one byte within the current block; nothing at the start of a block.
    void Unread();
    // Closes the connection and drops all reading state.
    void Cancel();

    bool Connected() const { return m_port != 0 && m_socket.Valid(); }
    const KvString& ConnectedHost() const { return m_host; }
    int ConnectedPort() const { return m_port; }
    // The response's Content-Length, or -1 when it sent none.
    long ContentLength() const { return m_contentLength; }
    // True once the whole body has been read and it ended as its framing says.
    bool BodyComplete() const { return m_bodyState == kBodyDone; }
    // Receive wait of the connection (60 s unless changed), also used for the lock.
    void SetReceiveWait(int milliseconds) { m_socket.SetReceiveWait(milliseconds); }

private:
    enum BodyState { kBodyReading, kBodyDone, kBodyFailed };
    enum { kFlagDeflate = 0x1, kFlagChunked = 0x2 };

    int Request(int method, const char* host, int port, const char* path, const void* data, int length,
                const char* userName, const char* password);
    int Exchange(int method, const char* host, int port, const char* path, const void* data, int length);
    bool Open(const char* host, int port);
    bool SendRequest(int method, const char* host, int port, const char* path, const void* data, int length);
    int ReadHead();
    int ReadFinalHead();
    KvHttpAuthorization* FindChallenge(const char* host, int port);
    KvHttpAuthorization* KeepChallenge(const char* host, int port, const KvHttpAuthorization& challenge);
    bool ParseHead(const char* head, int& status);
    bool ParseHeader(const char* line, const KvString& value);
    void PrepareBody(int status);
    bool DrainBody();

    bool Refill();
    int RawRead(unsigned char* out, int size);
    int ReadChunkSize();
    int InputByte();
    bool FillInput();
    bool Inflate();
    void EndBody(bool ok);
    void CloseConnection();

    std::timed_mutex m_lock;
    KvString m_host;
    int m_port = 0;
    struct Challenge {
        KvString host;
        int port;
        KvHttpAuthorization auth;
    };
    std::list<Challenge> m_challenges;      // most recently used first
    KvHttpAuthorization* m_auth = nullptr;  // the challenge answered by the request being made
    KvTcpSocket m_socket;
    z_stream_s* m_inflate = nullptr;
    unsigned char* m_buffer;       // decoded body bytes handed to Read
    unsigned char* m_input;        // bytes as received, not yet used
    unsigned char* m_compressed;   // deflated body bytes waiting for inflate
    int m_mode = kNoBody;
    long long m_left = 0;          // bytes left in the body (plain) or the chunk (chunked)
    int m_avail = 0, m_pos = 0;    // decoded bytes in m_buffer, and the read position
    int m_inLen = 0, m_inPos = 0;  // received bytes in m_input, and the next one
    long m_contentLength = -1;
    int m_encoding = 0;
    bool m_firstChunk = true;
    bool m_closeAfter = false;     // the response ends with the connection
    int m_bodyState = kBodyDone;
    bool m_untilClose = false;     // body framed by the end of the connection
    KvString m_challenge;
    KvString m_userName, m_password;  // credentials of the request being made
    bool m_useDigest = false;
    bool m_inflateEnded = false;
};
