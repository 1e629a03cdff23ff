// KvHttpClientManager: one reusable KvHttpClient per host and port.
//
// A request goes to the client already connected to that host and port, or to
// a new one. A client whose request fails with -1 or -2 is destroyed and
// `client` is null; an existing client whose lock times out (-3) stays, with
// `client` null. The list itself is not locked: one thread uses a manager.
#pragma once

#include <tern/KvHttpClient.h>

#include <list>

class KvHttpClientManager {
public:
    KvHttpClientManager() = default;
    virtual ~KvHttpClientManager();
    KvHttpClientManager(const KvHttpClientManager&) = delete;
    KvHttpClientManager& operator=(const KvHttpClientManager&) = delete;

    int Get(KvHttpClient*& client, const char* host, int port, const char* path, const char* userName = nullptr,
            const char* password = nullptr);
    int Put(KvHttpClient*& client, const char* host, int port, const char* path, const void* data, int length,
            const char* userName = nullptr, const char* password = nullptr);
    // Cancels and removes the clients of `host`, or every client when `host` is null.
    void Cancel(const char* host);
    // Removes clients whose connection is closed.
    void ClearDisconnected();
    int Count() const { return static_cast<int>(m_clients.size()); }

private:
    template <class Call>
    int Run(KvHttpClient*& client, const char* host, int port, Call call);

    std::list<KvHttpClient*> m_clients;
};
