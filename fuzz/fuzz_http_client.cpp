// Arbitrary bytes as a server's answer: a loopback server thread sends them to
// KvHttpClient, which reads the head and the whole body in every form it knows.
#include <tern/KvHttpClient.h>
#include <tern/KvTcpSocket.h>

#include <arpa/inet.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

namespace {

KvTcpSocket& Listener() {
    static KvTcpSocket listener;
    static const bool ready = listener.Listen(0, htonl(INADDR_LOOPBACK), true);
    (void)ready;
    return listener;
}

void Answer(const std::string& reply) {
    KvTcpSocket s;
    if (!s.AcceptFrom(Listener(), 2000)) return;
    s.SetReceiveWait(2000);
    std::string request;
    char buf[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = s.Receive(buf, sizeof buf);
        if (n <= 0) return;
        request.append(buf, static_cast<size_t>(n));
    }
    s.SendAll(reply.data(), static_cast<int>(reply.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    std::thread server(Answer, reply);
    KvHttpClient client;
    client.SetReceiveWait(2000);
    if (client.Get("127.0.0.1", Listener().LocalPort(), "/") > 0) {
        int count = 0;
        int total = 0;
        while (client.Read(count) && total < (1 << 24)) total += count;
        client.Unread();
        client.Read();
    }
    client.Cancel();
    server.join();
    return 0;
}
