#include "stc/PoFile.h"

#include <fstream>
#include <sstream>

#include "basalt/KvDigits.h"

namespace {

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool StartsWithWord(std::string_view line, std::string_view word) {
    if (line.substr(0, word.size()) != word) return false;
    return line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t' ||
           line[word.size()] == '"';
}

// Length of the well-formed UTF-8 sequence at s[i], or 0.
std::size_t Utf8SequenceLength(const std::string& s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) return 1;
    std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (n == 0 || b > 0xF4 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    if ((b == 0xE0 && b1 < 0xA0) || (b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 > 0x8F)) return 0;
    if (b == 0xED && b1 >= 0xA0) return 0;  // UTF-16 surrogates
    return n;
}

bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8SequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

bool PoFile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_name = path;
        m_errorLine = 0;
        m_error = path + ": cannot be opened";
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) {
        m_error = path + ": cannot be read";
        return false;
    }
    return Parse(all.str(), path);
}

bool PoFile::Parse(std::string_view text, const std::string& name) {
    *this = PoFile();
    m_name = name;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        ++m_lineNo;
        if (line.find('\0') != std::string_view::npos) return Fail("NUL byte in the file");
        if (!ParseLine(TrimRight(line))) return false;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    if (!FinishEntry()) return false;
    return CheckHeader();
}

bool PoFile::ParseLine(std::string_view line) {
    line = TrimLeft(line);
    if (line.empty()) return FinishEntry();
    if (line.front() == '#') {
        if (!FinishEntry()) return false;
        if (line.substr(0, 2) == "#.") {
            if (!m_pendingComment.empty()) m_pendingComment += '\n';
            m_pendingComment += TrimLeft(line.substr(2));
        }
        if (line.substr(0, 2) == "#,") {
            std::string flags(line.substr(2));
            for (std::size_t at = 0; (at = flags.find("fuzzy", at)) != std::string::npos; at += 5) {
                const bool startOk = at == 0 || flags[at - 1] == ' ' || flags[at - 1] == ',';
                const bool endOk = at + 5 == flags.size() || flags[at + 5] == ' ' || flags[at + 5] == ',';
                if (startOk && endOk) m_pendingFuzzy = true;
            }
        }
        return true;  // translator, extracted, reference, previous and obsolete lines carry no text
    }
    if (line.front() == '"') {
        std::string piece;
        if (m_field == Field::None) return Fail("string continuation without a keyword before it");
        if (!ReadQuoted(line, piece)) return false;
        (m_field == Field::Context ? m_current.context : m_field == Field::Id ? m_current.msgid : m_current.msgstr) +=
            piece;
        return true;
    }
    return Keyword(line);
}

bool PoFile::Keyword(std::string_view line) {
    if (StartsWithWord(line, "msgid_plural") || line.substr(0, 7) == "msgstr[")
        return Fail("plural forms are not supported: a string table holds one text per id");
    // A new msgctxt or msgid after a complete entry starts the next entry.
    if ((StartsWithWord(line, "msgctxt") || StartsWithWord(line, "msgid")) && m_hasStr && !FinishEntry())
        return false;
    const int here = m_lineNo;
    if (StartsWithWord(line, "msgctxt")) {
        if (m_started) return Fail("msgctxt must come before msgid");
        m_current.hasContext = true;
        m_field = Field::Context;
        m_started = true;
        m_current.line = here;
        return ReadQuoted(TrimLeft(line.substr(7)), m_current.context);
    }
    if (StartsWithWord(line, "msgid")) {
        if (m_hasId) return Fail("msgid repeated before its msgstr");
        m_hasId = true;
        m_field = Field::Id;
        if (!m_started) m_current.line = here;
        m_started = true;
        return ReadQuoted(TrimLeft(line.substr(5)), m_current.msgid);
    }
    if (StartsWithWord(line, "msgstr")) {
        if (!m_hasId) return Fail("msgstr without a msgid before it");
        if (m_hasStr) return Fail("msgstr repeated in one entry");
        m_hasStr = true;
        m_field = Field::Str;
        m_current.msgstrLine = here;
        return ReadQuoted(TrimLeft(line.substr(6)), m_current.msgstr);
    }
    const std::size_t word = line.find_first_of(" \t\"");
    return Fail("unexpected text '" + std::string(line.substr(0, word)) + "'");
}

bool PoFile::FinishEntry() {
    if (!m_started) return true;
    if (!m_hasId) return Fail("msgctxt without a msgid", m_current.line);
    if (!m_hasStr) return Fail("msgid without a msgstr", m_current.line);
    const struct {
        const std::string& text;
        const char* what;
    } fields[] = {{m_current.context, "msgctxt"}, {m_current.msgid, "msgid"}, {m_current.msgstr, "msgstr"}};
    for (const auto& f : fields)
        if (!IsUtf8(f.text)) return Fail(std::string(f.what) + " is not valid UTF-8", m_current.line);
    m_current.fuzzy = m_pendingFuzzy;
    m_current.comment = std::move(m_pendingComment);
    if (!m_current.hasContext && m_current.msgid.empty()) {
        if (m_headerLine > 0) return Fail("a second header entry (msgid \"\")", m_current.line);
        m_header = m_current.msgstr;
        m_headerLine = m_current.line;
    } else {
        m_entries.push_back(std::move(m_current));
    }
    m_current = PoEntry();
    m_pendingFuzzy = false;
    m_pendingComment.clear();
    m_started = m_hasId = m_hasStr = false;
    m_field = Field::None;
    return true;
}

// Reads one C-style quoted string that must fill the rest of the line.
bool PoFile::ReadQuoted(std::string_view rest, std::string& out) {
    if (rest.empty() || rest.front() != '"') return Fail("expected a quoted string");
    std::size_t i = 1;
    for (; i < rest.size() && rest[i] != '"'; ++i) {
        if (rest[i] != '\\') {
            out += rest[i];
            continue;
        }
        if (++i >= rest.size()) break;
        const char c = rest[i];
        switch (c) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            case '"': case '\\': case '\'': case '?': out += c; break;
            case 'x': {
                int value = 0, digits = 0;
                // Every digit is counted, but only the first few are worth adding: a long run
                // is refused below and must not overflow on the way.
                for (int h; i + 1 < rest.size() && (h = HexDigitValue(rest[i + 1])) >= 0; ++i, ++digits)
                    if (digits < 3) value = value * 16 + h;
                if (digits == 0 || digits > 2) return Fail("bad hexadecimal escape");
                if (value == 0) return Fail("NUL character in a string");
                out += static_cast<char>(value);
                break;
            }
            default: {
                if (c < '0' || c > '7') return Fail(std::string("unknown escape sequence '\\") + c + "'");
                int value = c - '0';
                for (int k = 0; k < 2 && i + 1 < rest.size() && rest[i + 1] >= '0' && rest[i + 1] <= '7'; ++k)
                    value = value * 8 + (rest[++i] - '0');
                if (value == 0 || value > 255) return Fail("bad octal escape");
                out += static_cast<char>(value);
            }
        }
    }
    if (i >= rest.size()) return Fail("missing closing quote");
    if (!TrimLeft(rest.substr(i + 1)).empty()) return Fail("text after the closing quote");
    return true;
}

// Texts are stored as UTF-8 bytes, so a file declaring another charset would be mis-stored.
bool PoFile::CheckHeader() {
    const std::string lower = Lower(m_header);
    const std::size_t at = lower.find("charset=");
    if (at == std::string::npos) return true;
    std::size_t end = lower.find_first_of(" ;\n", at);
    const std::string charset = lower.substr(at + 8, end == std::string::npos ? end : end - at - 8);
    if (charset == "utf-8" || charset == "utf8" || charset == "charset" || charset == "ascii" ||
        charset == "us-ascii")
        return true;
    return Fail("charset '" + charset + "' is not supported; save the file as UTF-8", m_headerLine);
}

bool PoFile::Fail(const std::string& message, int line) {
    m_errorLine = line > 0 ? line : m_lineNo;
    m_error = m_name + ":" + std::to_string(m_errorLine) + ": " + message;
    return false;
}
