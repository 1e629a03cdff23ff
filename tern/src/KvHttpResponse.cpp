#include "tern/KvHttpResponse.h"

#include <basalt/KvDateTime.h>
#include <basalt/KvDateTimeFormat.h>
#include "tern/KvHttpServer.h"
#include "tern/KvTcpSocket.h"

#include <cstdarg>
#include <cstring>
#include <zlib.h>

namespace {

// Room before a chunk's data for its size line, so a chunk leaves in one send.
constexpr int kChunkLead = 8;
constexpr int kChunkRoom = kChunkLead + KvHttpResponse::kChunkSize + 2 + 5;

bool HasLineBreak(const char* text) { return text && std::strpbrk(text, "\r\n") != nullptr; }

}  // namespace

KvHttpResponse::KvHttpResponse(KvTcpSocket* socket) : m_socket(socket) {}

KvHttpResponse::~KvHttpResponse() {
    Release();
    EndUntilClose();
}

// A body without any length (deflated without kKeepAlive, or a plain multipart stream)
// ends only with the connection.
bool KvHttpResponse::EndsWithConnection(int flags) {
    if (flags & (kContentLength | kNoBody)) return false;
    if (flags & kDeflate) return !(flags & kKeepAlive);
    return (flags & kMultipart) && !(flags & kChunked);
}

void KvHttpResponse::EndUntilClose() {
    if (m_socket && EndsWithConnection(m_flags)) m_socket->EndSending();
    m_flags = 0;
}

void KvHttpResponse::Release() {
    if (m_deflate) {
        deflateEnd(m_deflate);
        delete m_deflate;
        m_deflate = nullptr;
    }
    delete[] m_buffer;
    m_buffer = nullptr;
    m_held = 0;
}

bool KvHttpResponse::Write(const void* data, int length, bool more) {
    return m_socket && m_socket->SendAll(data, length, more);
}

bool KvHttpResponse::BuildHead(KvString& head, int code, int flags, va_list args, int& contentLength) const {
    KvString reason;
    KvHttpServer::ReasonPhrase(code, reason);
    head.SetGrowth(KvGrowth::Small);
    if (HasLineBreak(KvHttpServer::NameVersion().c_str())) return false;
    const bool close = (flags & kClose) || EndsWithConnection(flags);
    head.Format("HTTP/1.1 %03d %s\r\nServer: %s\r\nConnection: %s\r\nDate:", code, reason.c_str(),
                KvHttpServer::NameVersion().c_str(), close ? "close" : "keep-alive");
    head += DateTime2RFC822(KvDateTime::UTC());
    head += "\r\n";
    contentLength = (flags & kContentLength) ? va_arg(args, int) : 0;
    if (flags & kContentLength) head.AppendFormat("Content-Length: %d\r\n", contentLength);
    else if (flags & kDeflate) head += "Content-Encoding: deflate\r\n";
    else if (flags & kChunked) head += "Transfer-Encoding: chunked\r\n";
    else if (flags & kMultipart) head += "Content-type: multipart/mixed; boundary=simple boundary\r\n";
    else head += "Content-Length: 0\r\n";
    if (HasLineBreak(m_mimeType.c_str())) return false;
    if (!m_mimeType.IsEmpty()) head.AppendFormat("Content-type: %s\r\n", m_mimeType.c_str());
    if (flags & kNoCache) head += "Cache-control: no-cache\r\nPragma: no-cache\r\n";
    const char* location = (flags & kLocation) ? va_arg(args, const char*) : nullptr;
    const KvDateTime* modified = (flags & kLastModified) ? va_arg(args, const KvDateTime*) : nullptr;
    const KvDateTime* expires = (flags & kExpires) ? va_arg(args, const KvDateTime*) : nullptr;
    const char* challenge = (flags & kAuthenticate) ? va_arg(args, const char*) : nullptr;
    if (HasLineBreak(location) || HasLineBreak(challenge)) return false;
    if (flags & kLocation) head.AppendFormat("Location: %s\r\n", location ? location : "");
    // An invalid or missing date leaves its header out rather than sending an empty one.
    if (modified && modified->Valid()) head += "Last-Modified:" + DateTime2RFC822(*modified) + "\r\n";
    if (expires && expires->Valid()) head += "Expires:" + DateTime2RFC822(*expires) + "\r\n";
    if (flags & kAuthenticate) head.AppendFormat("WWW-Authenticate:%s\r\n", challenge ? challenge : "");
    head += "\r\n";
    return head.Length() <= kHeadCapacity;
}

bool KvHttpResponse::Setup(int code, int flags, ...) {
    Release();
    m_flags = flags;
    KvString head;
    int contentLength = 0;
    va_list args;
    va_start(args, flags);
    const bool built = BuildHead(head, code, flags, args, contentLength);
    va_end(args);
    if (!built) return false;
    if (flags & kNoBody) {
        return Write(head.c_str(), head.Length());
    } else if (!(flags & kContentLength) && (flags & kDeflate)) {
        m_deflate = new z_stream_s{};
        if (deflateInit(m_deflate, Z_DEFAULT_COMPRESSION) != Z_OK) {
            delete m_deflate;
            m_deflate = nullptr;
            return false;
        }
        m_buffer = new unsigned char[kDeflateBufferSize];
        m_deflate->next_out = m_buffer;
        m_deflate->avail_out = kDeflateBufferSize;
    } else if (!(flags & (kContentLength | kDeflate)) && (flags & kChunked)) {
        m_buffer = new unsigned char[kChunkRoom];
    }
    const bool bodyFollows = (flags & kContentLength) ? contentLength > 0 : (flags & (kDeflate | kChunked)) != 0;
    return Write(head.c_str(), head.Length(), bodyFollows);
}

bool KvHttpResponse::Send(const KvString& text) { return Send(static_cast<const void*>(text.c_str()), text.Length()); }

bool KvHttpResponse::Send(const char* text, int length) {
    if (!text) return length <= 0;
    return Send(static_cast<const void*>(text), length < 0 ? static_cast<int>(std::strlen(text)) : length);
}

bool KvHttpResponse::Send(const void* data, int length) {
    if (length <= 0) return length == 0;
    if (!data) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (m_deflate) return SendDeflated(bytes, length);
    if (m_buffer) return SendChunked(bytes, length);
    return Write(bytes, length);
}

bool KvHttpResponse::SendDeflated(const unsigned char* data, int length) {
    m_deflate->next_in = const_cast<unsigned char*>(data);
    m_deflate->avail_in = static_cast<unsigned int>(length);
    while (m_deflate->avail_in > 0) {
        if (deflate(m_deflate, Z_NO_FLUSH) == Z_STREAM_ERROR) return false;
        if (m_deflate->avail_out == 0) {
            if (!Write(m_buffer, kDeflateBufferSize)) return false;
            m_deflate->next_out = m_buffer;
            m_deflate->avail_out = kDeflateBufferSize;
        }
    }
    return true;
}

bool KvHttpResponse::FinishDeflate() {
    for (;;) {
        const int r = deflate(m_deflate, Z_FINISH);
        if (r == Z_STREAM_ERROR) return false;
        const int produced = kDeflateBufferSize - static_cast<int>(m_deflate->avail_out);
        if (r == Z_STREAM_END) return produced == 0 || Write(m_buffer, produced);
        if (m_deflate->avail_out == 0) {
            if (!Write(m_buffer, kDeflateBufferSize)) return false;
            m_deflate->next_out = m_buffer;
            m_deflate->avail_out = kDeflateBufferSize;
        }
    }
}

bool KvHttpResponse::SendChunked(const unsigned char* data, int length) {
    while (length > 0) {
        int take = kChunkSize - m_held;
        if (take > length) take = length;
        std::memcpy(m_buffer + kChunkLead + m_held, data, static_cast<size_t>(take));
        m_held += take;
        data += take;
        length -= take;
        if (m_held == kChunkSize && !FlushChunk(false)) return false;
    }
    return true;
}

// Sends the held bytes as one chunk; with `last`, the terminating "0" chunk rides along.
bool KvHttpResponse::FlushChunk(bool last) {
    unsigned char* out = m_buffer + kChunkLead;
    int size = 0;
    if (m_held > 0) {
        char line[kChunkLead + 1];
        const int n = std::snprintf(line, sizeof line, "%X\r\n", static_cast<unsigned int>(m_held));
        out -= n;
        std::memcpy(out, line, static_cast<size_t>(n));
        std::memcpy(m_buffer + kChunkLead + m_held, "\r\n", 2);
        size = n + m_held + 2;
    }
    m_held = 0;
    if (last) {
        std::memcpy(out + size, "0\r\n\r\n", 5);
        size += 5;
    }
    return Write(out, size);
}

bool KvHttpResponse::End() {
    if (m_deflate) {
        const bool sent = FinishDeflate();
        Release();
        const bool keepAlive = m_flags & kKeepAlive;
        EndUntilClose();
        return sent && keepAlive;
    }
    if (m_buffer) {
        const bool sent = FlushChunk(true);
        Release();
        return sent;
    }
    return true;
}

bool KvHttpResponse::SendBeginBoundary(int length) {
    KvString text("\r\n--simple boundary\r\nContent-type: text/xml\r\n");
    if (length > 0) text.AppendFormat("Content-Length: %d\r\n", length);
    text += "\r\n";
    return Send(text);
}

bool KvHttpResponse::SendEndBoundary() {
    const bool sent = Send("\r\n--simple boundary--", -1);
    if (!m_buffer && !m_deflate) EndUntilClose();
    return sent;
}

bool KvHttpResponse::SendContinue() {
    static const char kContinue[] = "HTTP/1.1 100 Continue\r\n\r\n";
    return Write(kContinue, sizeof kContinue - 1);
}

bool KvHttpResponse::SendXmlDocument(const XmlDocument& document, bool withDeclaration) {
    if (!document.Root()) return false;
    if (withDeclaration && !Send(XmlDocument::kDeclaration, -1)) return false;
    return SendXmlNode(*document.Root());
}

bool KvHttpResponse::SendXmlNode(const XmlDocument::XmlNode& node) {
    KvString text;
    node.CreateXmlCode(text);
    return Send(text);
}
