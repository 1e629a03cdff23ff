// XmlText: appends compact XML to a byte string, exactly as XmlDocument serializes a tree:
// UTF-8, no white space, every element with an end tag, the five named entities in values.
// Tags are plain ASCII constants of the file layout and are written as given.
#pragma once

#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "basalt/KvUtf.h"

class XmlText {
public:
    explicit XmlText(std::string& out) : m_out(out) {}

    void open(const char* tag) {
        m_out += '<';
        m_out += tag;
        m_out += '>';
        m_open.push_back(tag);
    }
    void close() {
        m_out += "</";
        m_out += m_open.back();
        m_out += '>';
        m_open.pop_back();
    }
    void leaf(const char* tag, int value) {
        open(tag);
        m_out += std::to_string(value);
        close();
    }
    void leaf(const char* tag, const KvWString& value) {
        open(tag);
        KvString utf8;
        Utf16ToUtf8(utf8, value.c_str());
        escape(utf8.c_str());
        close();
    }
    // Pastes text that is already XML (a block written once and repeated).
    void raw(const std::string& xml) { m_out += xml; }

private:
    void escape(const char* s) {
        for (; *s; ++s) switch (*s) {
                case '"': m_out += "&quot;"; break;
                case '&': m_out += "&amp;"; break;
                case '\'': m_out += "&apos;"; break;
                case '<': m_out += "&lt;"; break;
                case '>': m_out += "&gt;"; break;
                default: m_out += *s;
            }
    }

    std::string& m_out;
    std::vector<const char*> m_open;
};
