// XmlText: appends compact XML to a byte string, exactly as XmlDocument serializes a tree:
// UTF-8, no white space, every element with an end tag, values written by XmlAppendText
// (which drops what no XML file may hold, so every label saved reads back).
// Tags are plain ASCII constants of the file layout and are written as given.
#pragma once

#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "basalt/XmlDocument.h"

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
        XmlAppendText(m_out, value);
        close();
    }
    // Pastes text that is already XML (a block written once and repeated).
    void raw(const std::string& xml) { m_out += xml; }

private:
    std::string& m_out;
    std::vector<const char*> m_open;
};
