// A program of someone else's that embeds Tern: it serves one request on the loopback address
// and fetches it with Tern's own client. Built against an installed Tern, it proves that the
// headers, the CMake package, the pkg-config file and the shared libraries fit together.
#include <arpa/inet.h>
#include <basalt/KvBasicString.h>
#include <tern/KvHttpClient.h>
#include <tern/KvHttpRequest.h>
#include <tern/KvHttpResponse.h>
#include <tern/KvHttpServer.h>

#include <cstdio>
#include <string>

namespace {

const char kGreeting[] = "served by an installed Tern";

bool Answer(KvTcpSocket& socket, KvHttpRequest& request) {
    KvHttpResponse response(&socket);
    response.SetMimeType("text/plain");
    const KvString body(kGreeting);
    const bool found = request.URI() == "/greeting";
    const int code = found ? 200 : 404;
    const int length = found ? body.Length() : 0;
    return response.Setup(code, KvHttpResponse::kContentLength | KvHttpResponse::kClose, length) &&
           (!found || response.Send(body)) && false;
}

}  // namespace

int main() {
    KvHttpServer server;
    server.Setup(&Answer, "tern-consumer/1.0", 0);
    if (!server.Start(htonl(INADDR_LOOPBACK), true)) {
        std::fprintf(stderr, "tern-consumer: cannot listen\n");
        return 1;
    }
    KvHttpClient client;
    const int status = client.Get("127.0.0.1", server.Port(), "/greeting");
    std::string body;
    int count = 0;
    while (const unsigned char* block = client.Read(count)) body.append(reinterpret_cast<const char*>(block), count);
    const bool ok = status == 200 && client.BodyComplete() && body == kGreeting;
    std::printf("tern-consumer: status %d, body \"%s\"\n", status, body.c_str());
    server.Stop();
    return ok ? 0 : 1;
}
