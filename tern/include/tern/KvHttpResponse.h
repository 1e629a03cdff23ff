// KvHttpResponse: writes one HTTP/1.1 response to a connection.
//
// Setup sends the status line and headers; Send passes body bytes plainly,
// chunked, or through a deflate stream (the zlib format, which is what HTTP's
// "deflate" coding names); End finishes the body. Every call returns false as
// soon as bytes could not be sent. A deflated body has no length, so End
// returns false after one unless kKeepAlive is set: a processor that returns
// End()'s result then closes the connection, which ends the body for the client.
// Such a head says "Connection: close", as does a multipart stream's, and the
// sending side is shut at the body's end (End, SendEndBoundary, or when the
// response is destroyed), so the client never waits for more.
#pragma once

#include <basalt/KvBasicString.h>
#include <basalt/XmlDocument.h>

#include <cstdint>

class KvTcpSocket;
class KvDateTime;
struct z_stream_s;

class KvHttpResponse {
public:
    // Setup flags. Extra Setup arguments follow in this order, each only when its flag
    // is set: content length (int), location (const char*), last-modified
    // (const KvDateTime*), expiry (const KvDateTime*), challenge (const char*, with its
    // own leading space).
    static constexpr int kNoCache = 0x01;
    static constexpr int kChunked = 0x02;
    static constexpr int kDeflate = 0x04;
    static constexpr int kContentLength = 0x08;
    static constexpr int kLocation = 0x10;
    static constexpr int kLastModified = 0x20;
    static constexpr int kExpires = 0x40;
    static constexpr int kAuthenticate = 0x80;
    static constexpr int kKeepAlive = 0x100;
    static constexpr int kMultipart = 0x200;
    // "Connection: close" instead of keep-alive: the processor closes after this answer.
    static constexpr int kClose = 0x400;
    // The head describes a body that is not sent (the answer to HEAD).
    static constexpr int kNoBody = 0x800;

    static constexpr int kHeadCapacity = 8144;
    static constexpr int kDeflateBufferSize = 2048;
    static constexpr int kChunkSize = 4096;

    explicit KvHttpResponse(KvTcpSocket* socket);
    virtual ~KvHttpResponse();
    KvHttpResponse(const KvHttpResponse&) = delete;
    KvHttpResponse& operator=(const KvHttpResponse&) = delete;

    // Sends the head. False when it would exceed kHeadCapacity, when a header value
    // or the server name holds CR or LF (it would smuggle headers), or when it was not
    // sent whole.
    virtual bool Setup(int code, int flags, ...);
    virtual bool Send(const KvString& text);
    // A text of `length` bytes; -1 means NUL-terminated.
    virtual bool Send(const char* text, int length = -1);
    virtual bool Send(const void* data, int length);
    // Ends the body: last chunk and "0" chunk, or the rest of the deflate stream.
    virtual bool End();
    // The XML declaration when asked, then the root as XmlDocument writes it.
    // False for a document without root.
    virtual bool SendXmlDocument(const XmlDocument& document, bool withDeclaration);
    virtual bool SendXmlNode(const XmlDocument::XmlNode& node);

    // MIME type for the "Content-type" header of the next Setup; empty sends none.
    void SetMimeType(const char* type) { m_mimeType = type; }
    const KvString& MimeType() const { return m_mimeType; }
    int Flags() const { return m_flags; }

    // Parts of a multipart/mixed stream of XML documents (kMultipart). The end boundary
    // ends a stream without length.
    bool SendBeginBoundary(int length);
    bool SendEndBoundary();
    // The interim "100 Continue" answer, for a request that expects it before its body.
    bool SendContinue();

protected:
    // Where finished bytes go; the socket, or a text in KvHttpResponseText. `more`
    // tells that body bytes follow at once, so the head can share their packet.
    virtual bool Write(const void* data, int length, bool more = false);

private:
    bool BuildHead(KvString& head, int code, int flags, va_list args, int& contentLength) const;
    bool SendDeflated(const unsigned char* data, int length);
    bool SendChunked(const unsigned char* data, int length);
    bool FlushChunk(bool last);
    bool FinishDeflate();
    void Release();
    void EndUntilClose();
    static bool EndsWithConnection(int flags);

    KvTcpSocket* m_socket;
    int m_flags = 0;
    z_stream_s* m_deflate = nullptr;
    unsigned char* m_buffer = nullptr;
    int m_held = 0;
    KvString m_mimeType;
};
