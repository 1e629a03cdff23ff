#include "basalt/KvSimpleXml.h"

#include "basalt/KvDateTime.h"
#include "basalt/KvUtf.h"
#include "basalt/uuid.h"

namespace {

// True when `s` is well-formed UTF-8 (what Utf8ToUtf16 decodes without loss).
bool IsUtf8(const unsigned char* s, int n) {
    for (int i = 0; i < n;) {
        const unsigned char b = s[i];
        const int trail = b < 0x80 ? 0 : b < 0xC2 ? -1 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : b < 0xF5 ? 3 : -1;
        if (trail < 0 || n - i <= trail) return false;
        for (int k = 1; k <= trail; ++k)
            if ((s[i + k] & 0xC0) != 0x80) return false;
        i += trail + 1;
    }
    return true;
}

KvWString Widen(const char* s, int n) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(s);
    KvWString wide;
    if (IsUtf8(bytes, n)) {
        Utf8ToUtf16(wide, s, n);
        return wide;
    }
    char16_t* out = wide.GetBuffer(n);
    for (int i = 0; i < n; ++i) out[i] = bytes[i];
    wide.ReleaseBuffer(n);
    return wide;
}

}  // namespace

void KvSimpleXml::Open(const KvWString& tag) {
    XmlDocument::XmlNode* node;
    if (m_open.empty()) {
        m_document.Create(tag);
        node = m_document.Root();
    } else {
        node = m_open.back()->NewChild(tag);
    }
    m_open.push_back(node);
}

void KvSimpleXml::Close(const KvWString&) {
    if (!m_open.empty()) m_open.pop_back();
}

void KvSimpleXml::Add(const KvWString& tag, const KvWString& value) {
    Open(tag);
    m_open.back()->SetValue(value);
    Close(tag);
}

void KvSimpleXml::Add(const KvWString& tag, const char16_t* value) { Add(tag, KvWString(value)); }
void KvSimpleXml::Add(const KvWString& tag, const KvString& value) { Add(tag, Widen(value.c_str(), value.Length())); }
void KvSimpleXml::Add(const KvWString& tag, const char* value) {
    Add(tag, Widen(value ? value : "", value ? KvChar::Length(value) : 0));
}
void KvSimpleXml::Add(const KvWString& tag, int value) { Add(tag, KvWString().Format(u"%d", value)); }

void KvSimpleXml::Add(const KvWString& tag, const uuid& value) {
    char16_t text[40];
    guidtow(value, text, 40);
    Add(tag, KvWString(text));
}

void KvSimpleXml::Add(const KvWString& tag, const KvDateTime& value) {
    KvWString text;
    if (value.Valid())
        text.Format(u"%04d%02d%02d%02d%02d%02d%03d", value.Year(), value.Month(), value.Day(), value.Hour(),
                    value.Minute(), value.Second(), value.MSecond());
    Add(tag, text);
}

void KvSimpleXml::Add(const KvWString& tag, const void* bytes, int length) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    const auto* b = static_cast<const unsigned char*>(bytes);
    KvWString hex;
    if (b && length > 0) {
        char16_t* out = hex.GetBuffer(2 * length);
        for (int i = 0; i < length; ++i) {
            out[2 * i] = kHex[b[i] >> 4];
            out[2 * i + 1] = kHex[b[i] & 0xF];
        }
        hex.ReleaseBuffer(2 * length);
    }
    Add(tag, hex);
}

void KvSimpleXml::CreateXmlCode(KvString& text) const { m_document.CreateXmlCode(text, false); }
