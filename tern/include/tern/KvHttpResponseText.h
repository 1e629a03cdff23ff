// KvHttpResponseText: a response that collects its body into a text.
//
// Lets code written for KvHttpResponse produce a page in memory (for a cache,
// a test, or another transport). Setup and End do nothing and succeed; the
// body is collected as sent, without chunking or compression.
#pragma once

#include <tern/KvHttpResponse.h>

class KvHttpResponseText : public KvHttpResponse {
public:
    KvHttpResponseText() : KvHttpResponse(nullptr) {}
    bool Setup(int, int, ...) override { return true; }
    bool End() override { return true; }
    const KvString& Text() const { return m_text; }
    KvString& Text() { return m_text; }

protected:
    bool Write(const void* data, int length, bool) override {
        m_text.Append(static_cast<const char*>(data), length);
        return true;
    }

private:
    KvString m_text;
};
