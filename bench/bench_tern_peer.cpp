// The peer for tern_wrk.sh: libmicrohttpd answering every request with the bytes of
// one file, held in memory, on 127.0.0.1. Prints the port, then runs until killed.
//   bench_tern_peer FILE [PORT] [THREADS]
#include <microhttpd.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::string g_body;

MHD_Result Answer(void*, MHD_Connection* connection, const char*, const char*, const char*, const char*, size_t*,
                  void**) {
    MHD_Response* response =
        MHD_create_response_from_buffer(g_body.size(), const_cast<char*>(g_body.data()), MHD_RESPMEM_PERSISTENT);
    MHD_add_response_header(response, "Content-type", "text/plain");
    const MHD_Result r = MHD_queue_response(connection, MHD_HTTP_OK, response);
    MHD_destroy_response(response);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_tern_peer FILE [PORT] [THREADS]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    g_body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const int port = argc > 2 ? std::atoi(argv[2]) : 0;
    const unsigned threads = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 2;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    MHD_Daemon* d = MHD_start_daemon(MHD_USE_AUTO | MHD_USE_INTERNAL_POLLING_THREAD, static_cast<uint16_t>(port),
                                     nullptr, nullptr, &Answer, nullptr, MHD_OPTION_SOCK_ADDR, &sa,
                                     MHD_OPTION_THREAD_POOL_SIZE, threads, MHD_OPTION_END);
    if (!d) {
        std::fprintf(stderr, "bench_tern_peer: cannot start\n");
        return 1;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(d, MHD_DAEMON_INFO_BIND_PORT);
    std::printf("bench_tern_peer listening on 127.0.0.1:%u\n", info ? info->port : 0u);
    std::fflush(stdout);
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGINT);
    sigaddset(&s, SIGTERM);
    sigprocmask(SIG_BLOCK, &s, nullptr);
    int sig = 0;
    sigwait(&s, &sig);
    MHD_stop_daemon(d);
    return 0;
}
