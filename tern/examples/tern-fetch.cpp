// tern-fetch: fetches one URL with KvHttpClient and writes the body to standard output.
//
//   tern-fetch [--user U --password P] [--put FILE | --post FILE] http://HOST[:PORT]/PATH
//
// Standard error gets "status N, body complete|incomplete". Exit 0 for a 2xx status
// whose body arrived complete, 1 otherwise, 2 for wrong arguments.
#include <tern/KvHttpClient.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool SplitUrl(const std::string& url, std::string& host, int& port, std::string& path) {
    const std::string scheme = "http://";
    if (url.compare(0, scheme.size(), scheme) != 0) return false;
    const size_t slash = url.find('/', scheme.size());
    const std::string authority = url.substr(scheme.size(), slash == std::string::npos ? std::string::npos : slash - scheme.size());
    path = slash == std::string::npos ? "/" : url.substr(slash);
    const size_t colon = authority.find(':');
    host = authority.substr(0, colon);
    port = colon == std::string::npos ? 80 : std::atoi(authority.c_str() + colon + 1);
    return !host.empty() && port > 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string user, password, bodyFile, url;
    int method = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--user" && hasValue) user = argv[++i];
        else if (a == "--password" && hasValue) password = argv[++i];
        else if ((a == "--put" || a == "--post") && hasValue) {
            method = a == "--put" ? 3 : 4;
            bodyFile = argv[++i];
        } else url = a;
    }
    std::string host, path;
    int port = 0;
    if (!SplitUrl(url, host, port, path)) {
        std::fprintf(stderr, "usage: tern-fetch [--user U --password P] [--put FILE | --post FILE] http://HOST[:PORT]/PATH\n");
        return 2;
    }
    std::string body;
    if (!bodyFile.empty()) {
        std::ifstream in(bodyFile, std::ios::binary);
        if (!in) return 2;
        body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    KvHttpClient client;
    const char* u = user.empty() ? nullptr : user.c_str();
    const char* p = user.empty() ? nullptr : password.c_str();
    const int n = static_cast<int>(body.size());
    const int status = method == 2 ? client.Get(host.c_str(), port, path.c_str(), u, p)
                       : method == 3 ? client.Put(host.c_str(), port, path.c_str(), body.data(), n, u, p)
                                     : client.Post(host.c_str(), port, path.c_str(), body.data(), n, u, p);
    int count = 0;
    if (status > 0)
        while (const unsigned char* block = client.Read(count)) std::fwrite(block, 1, static_cast<size_t>(count), stdout);
    std::fflush(stdout);
    const bool complete = status > 0 && client.BodyComplete();
    std::fprintf(stderr, "status %d, body %s\n", status, complete ? "complete" : "incomplete");
    return status >= 200 && status < 300 && complete ? 0 : 1;
}
