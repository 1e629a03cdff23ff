// KvSimpleXml: builds XML in document order with Open, Add and Close.
//
// The writer keeps an XmlDocument tree and serializes it on request, so its
// text is exactly what XmlDocument writes and always parses back. Opening an
// element while none is open starts a new document, discarding what was built.
#pragma once

#include <deque>

#include "basalt/KvBasicString.h"
#include "basalt/XmlDocument.h"

class KvDateTime;

class KvSimpleXml {
public:
    KvSimpleXml() = default;
    KvSimpleXml(const KvSimpleXml&) = delete;
    KvSimpleXml& operator=(const KvSimpleXml&) = delete;
    virtual ~KvSimpleXml() = default;

    // A child of the innermost open element, or a new root when none is open.
    void Open(const KvWString& tag);
    // Closes the innermost open element whatever `tag` says; nothing when none is open.
    void Close(const KvWString& tag);

    // Open(tag), set the value, Close(tag). An empty value still gives an
    // element with a (present, empty) value.
    void Add(const KvWString& tag, const KvWString& value);
    void Add(const KvWString& tag, const char16_t* value);
    // 8-bit text: decoded as UTF-8 when it is valid UTF-8, otherwise widened
    // byte by byte so that no byte is lost.
    void Add(const KvWString& tag, const KvString& value);
    void Add(const KvWString& tag, const char* value);
    void Add(const KvWString& tag, int value);          // "%d"
    void Add(const KvWString& tag, const uuid& value);  // 8-4-4-4-12 text form
    // 17 digits "yyyymmddhhmmssmmm" (milliseconds last); an empty value for an
    // invalid date-time rather than digits made of garbage.
    void Add(const KvWString& tag, const KvDateTime& value);
    // Two upper-case hexadecimal digits per byte, no separators.
    void Add(const KvWString& tag, const void* bytes, int length);

    // Replaces `text` with the whole tree's XML (elements still open included),
    // without a declaration; empty before anything was opened.
    void CreateXmlCode(KvString& text) const;

    // The tree built so far.
    const XmlDocument& Document() const { return m_document; }

private:
    XmlDocument m_document;
    std::deque<XmlDocument::XmlNode*> m_open;
};
