#include "tern/KvHttpClientManager.h"

KvHttpClientManager::~KvHttpClientManager() { Cancel(nullptr); }

template <class Call>
int KvHttpClientManager::Run(KvHttpClient*& client, const char* host, int port, Call call) {
    client = nullptr;
    if (!host) return -1;
    KvHttpClient* used = nullptr;
    for (KvHttpClient* c : m_clients)
        if (c->ConnectedPort() == port && c->ConnectedHost() == host) {
            used = c;
            break;
        }
    const bool isNew = used == nullptr;
    if (isNew) used = new KvHttpClient;
    const int result = call(*used);
    if (result == -1 || result == -2) {
        if (!isNew) m_clients.remove(used);
        delete used;
        return result;
    }
    if (result == -3) {
        if (isNew) delete used;
        return result;
    }
    if (isNew) m_clients.push_back(used);
    client = used;
    return result;
}

int KvHttpClientManager::Get(KvHttpClient*& client, const char* host, int port, const char* path,
                             const char* userName, const char* password) {
    return Run(client, host, port, [&](KvHttpClient& c) { return c.Get(host, port, path, userName, password); });
}

int KvHttpClientManager::Put(KvHttpClient*& client, const char* host, int port, const char* path, const void* data,
                             int length, const char* userName, const char* password) {
    return Run(client, host, port,
               [&](KvHttpClient& c) { return c.Put(host, port, path, data, length, userName, password); });
}

void KvHttpClientManager::Cancel(const char* host) {
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        if (!host || (*it)->ConnectedHost() == host) {
            (*it)->Cancel();
            delete *it;
            it = m_clients.erase(it);
        } else {
            ++it;
        }
    }
}

void KvHttpClientManager::ClearDisconnected() {
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        if (!(*it)->Connected()) {
            delete *it;
            it = m_clients.erase(it);
        } else {
            ++it;
        }
    }
}
