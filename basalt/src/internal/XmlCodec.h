// Internals shared by the XML tree's parser, serializer and JSON rendering.
#pragma once

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "basalt/XmlDocument.h"

// Turns UTF-8 text into nodes of one document. Recursive descent, bounded by
// XmlDocument::kMaxDepth.
class XmlParser {
public:
    XmlParser(XmlDocument& doc, const char* begin, const char* end) : m_doc(doc), m_p(begin), m_end(end) {}
    // Parses the optional declaration and the root element; null on failure.
    XmlDocument::XmlNode* ParseDocument();

private:
    XmlDocument::XmlNode* ParseElement(int depth);
    bool ParseContent(XmlDocument::XmlNode& node, const char* name, size_t nameLen, int depth);
    void ParseAttributes(XmlDocument::XmlNode& node, const char* p, const char* end);
    const KvWString* InternTag(const char* p, const char* end);

    // Recently seen tag spellings, so that most elements skip decoding and the
    // tag-table lookup.
    struct TagCacheEntry {
        const char* bytes = nullptr;  // into the text being parsed
        size_t length = 0;
        const KvWString* tag = nullptr;
    };
    static constexpr size_t kTagCacheSize = 256;

    XmlDocument& m_doc;
    const char* m_p;
    const char* m_end;
    // Children of the open elements, moved into each element's list at its end
    // tag so every list is allocated once at its final size.
    std::vector<XmlDocument::XmlNode*> m_pending;
    TagCacheEntry m_tagCache[kTagCacheSize];
};

// Appends UTF-8 bytes [p, end) to `out` as UTF-16, decoding the five named
// entities when `entities` is set. Malformed UTF-8 is handled like Utf8ToUtf16.
void XmlAppendDecoded(KvWString& out, const char* p, const char* end, bool entities);

// Whether a decoded tag may name an element: what ParseDocument demands of every tag
// (an XML name).
bool XmlUsableTag(const KvWString& tag);

// Output buffer that either collects everything or drains into a stdio stream.
class XmlSink {
public:
    explicit XmlSink(FILE* file = nullptr) : m_file(file) {}
    void Put(char c) {
        m_buf.push_back(c);
        if (m_file && m_buf.size() >= kChunk) Drain();
    }
    void Put(const char* s, size_t n) {
        m_buf.append(s, n);
        if (m_file && m_buf.size() >= kChunk) Drain();
    }
    // Character data, as XmlAppendText writes it.
    void PutText(const KvWString& text);
    // A JSON string literal, quotes included.
    void PutJsonString(const KvWString& text);
    // A tag escaped and encoded once per sink: tags are interned, so the
    // address identifies the text. A tag that is no XML name makes the output
    // unwritable.
    void PutTag(const KvWString& tag);
    // Marks the output as one that must not be written: it would not read back.
    void Refuse() { m_writable = false; }
    bool Writable() const { return m_writable; }
    // Writes what is buffered; false once any write has failed.
    bool Drain();
    std::string& Buffer() { return m_buf; }

private:
    static constexpr size_t kChunk = 1 << 16;
    FILE* m_file;
    std::string m_buf;
    std::unordered_map<const KvWString*, std::string> m_tags;
    bool m_ok = true;
    bool m_writable = true;
};

// Writes the subtree; the sink is refused when a tag or attribute name is no XML name.
void XmlWriteNode(XmlSink& out, const XmlDocument::XmlNode& node);
// True when every tag and attribute name of the subtree is an XML name.
bool XmlIsWritable(const XmlDocument::XmlNode& node);
