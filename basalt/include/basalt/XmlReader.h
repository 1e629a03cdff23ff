// XmlReader: a forward-only reader over XML text, for documents too large to hold as a tree.
//
// Accepts exactly what XmlDocument::Parse accepts and nothing more: the text is cut at its
// first NUL byte, an optional byte-order mark and declaration come first, then one root
// element; whatever follows the root's end tag is ignored. Tags, end tags, nesting depth and
// text follow the same rules, and text comes out decoded exactly as XmlDocument stores it.
// Attributes are checked as XmlDocument does (they never make a document fail) and skipped.
//
// The reader keeps pointers into the caller's text, which must outlive it. When it reports
// kError it stays there, and ErrorLine/ErrorColumn tell where reading stopped.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "basalt/KvBasicString.h"

class XmlReader {
public:
    enum Token { kStart, kText, kEnd, kDone, kError };

    // The bytes of one element, start tag to end tag, and the depth it was read at.
    struct Span {
        const char* begin = nullptr;
        std::size_t length = 0;
        std::size_t depth = 0;
    };

    XmlReader(const char* text, std::size_t length);

    // The next token. kStart opens an element (an empty element "<a/>" gives kStart and then
    // kEnd), kText is a run of character data, kEnd closes the innermost open element, kDone
    // follows the root's end tag. kError is final.
    Token Next();

    // After kStart: whether the element's tag is the ASCII text `tag`, compared as
    // XmlDocument compares its decoded tags.
    bool TagIs(std::string_view tag) const {
        if (m_plainTag) return m_tagLength == tag.size() && std::memcmp(m_tag, tag.data(), tag.size()) == 0;
        return DecodedTagIs(tag);
    }
    // After kText: appends the text, decoded, to `out`.
    void AppendText(KvWString& out) const;
    // After kText: the raw bytes of the text, before decoding.
    const char* TextBegin() const { return m_text; }
    const char* TextEnd() const { return m_textEnd; }

    // After kStart: reads up to and including the element's end tag, checking everything on
    // the way as Next does. False (and kError from then on) when the content is not well-formed.
    bool SkipElement();
    // After kStart: when the element's bytes equal those of `earlier`, an element this reader
    // has read in full at the same depth, moves past them at once and returns true (such bytes
    // are well-formed again). False, with nothing consumed, otherwise.
    bool SkipRepeatOf(const Span& earlier);
    // After kEnd: the element that has just closed.
    const Span& Closed() const { return m_closed; }

    // Number of open elements: 1 inside the root.
    std::size_t Depth() const { return m_open.size(); }

    // Where reading failed: 1-based line and column (in characters) of the offending byte,
    // or of the end of the text when it ended too early. 0 when there was no error.
    int ErrorLine() const;
    int ErrorColumn() const;

private:
    struct Open {
        const char* begin;  // the '<' of the start tag
        const char* name;
        std::size_t nameLength;
    };

    Token Fail(const char* at);
    Token ReadProlog();
    Token ReadStartTag();
    Token ReadEndTag();
    bool CheckTag(const char* name, const char* nameEnd);
    bool DecodedTagIs(std::string_view tag) const;

    const char* m_begin;
    const char* m_p;
    const char* m_end;
    const char* m_error = nullptr;
    const char* m_text = nullptr;
    const char* m_textEnd = nullptr;
    const char* m_tag = nullptr;
    std::size_t m_tagLength = 0;
    KvWString m_decodedTag;  // set for tags that are not plain ASCII
    bool m_plainTag = true;
    bool m_started = false;
    bool m_done = false;
    bool m_emptyPending = false;  // "<a/>" was read; its kEnd comes next
    std::vector<Open> m_open;
    Span m_closed;
    // Verdicts on plain tag spellings seen lately, pointing into the text.
    struct KnownTag {
        const char* bytes = nullptr;
        std::size_t length = 0;
        bool usable = false;
    };
    static constexpr std::size_t kKnownTags = 64;
    KnownTag m_known[kKnownTags];
};
