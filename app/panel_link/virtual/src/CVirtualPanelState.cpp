#include "virtual_panel/CVirtualPanelState.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

namespace {

constexpr const char* kMagic = "cairn-virtual-panel 1";
constexpr std::uint16_t kElementFirstPage = 0x01A0;
constexpr std::uint16_t kElementLastPage = 0x029F;
constexpr std::uint16_t kSystemInfoPage = 0x0005;

std::string toHex(const std::uint8_t* data, std::size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool fromHex(const std::string& hex, std::vector<std::uint8_t>& out) {
    if (hex.size() % 2 != 0) return false;
    out.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = hexDigit(hex[i]);
        const int lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return true;
}

void putText(CVirtualPanelState::Page& page, int offset, const char* text) {
    for (int i = 0; text[i] && i < 32; ++i) page[offset + i] = static_cast<std::uint8_t>(text[i]);
}

}  // namespace

CVirtualPanelState::CVirtualPanelState() {
    m_logs[0] = {"\"01/12/2026\";\"08:00:12\";\"Power on\";\"Panel\";",
                 "\"01/12/2026\";\"08:00:15\";\"Loop 1 started\";\"Loop 1\";",
                 "\"02/12/2026\";\"17:42:03\";\"Access level 2\";\"Keypad\";"};
    m_logs[1] = {"\"02/12/2026\";\"10:05:41\";\"Fire\";\"Loop 1 element 4\";\"Zone 1\";"};
    m_logs[2] = {"\"01/12/2026\";\"09:13:00\";\"Battery low\";\"Panel\";",
                 "\"01/12/2026\";\"11:20:30\";\"Open circuit\";\"Loop 2\";"};
}

CVirtualPanelState::Page CVirtualPanelState::factoryPage(std::uint16_t number) {
    Page page{};
    if (number == 4) page[0] = kFactoryAddress;
    if (number == kSystemInfoPage) putText(page, 0, "VIRTUAL PANEL");
    if (number >= kElementFirstPage && number <= kElementLastPage)
        for (int r = 0; r < 8; ++r) page[r * 32 + 27] = 1;
    return page;
}

CVirtualPanelState::Page CVirtualPanelState::page(std::uint16_t number) const {
    const auto it = m_pages.find(number);
    return it != m_pages.end() ? it->second : factoryPage(number);
}

void CVirtualPanelState::setPage(std::uint16_t number, const Page& data) {
    if (data == factoryPage(number))
        m_pages.erase(number);
    else
        m_pages[number] = data;
}

void CVirtualPanelState::setAddress(int address) {
    Page p = page(4);
    p[0] = static_cast<std::uint8_t>(address);
    setPage(4, p);
}

std::string CVirtualPanelState::serialize() const {
    std::ostringstream out;
    out << kMagic << "\n";
    out << "clock " << toHex(m_clock.data(), m_clock.size()) << "\n";
    for (const auto& [number, data] : m_pages) {
        char head[16];
        std::snprintf(head, sizeof head, "page %04x ", number);
        out << head << toHex(data.data(), data.size()) << "\n";
    }
    for (int kind = 0; kind < kLogKinds; ++kind) {
        out << "log " << kind << " -\n";  // marks the log as present, possibly empty
        for (const auto& line : m_logs[kind])
            out << "log " << kind << " " << toHex(reinterpret_cast<const std::uint8_t*>(line.data()), line.size())
                << "\n";
    }
    return out.str();
}

bool CVirtualPanelState::parse(const std::string& text, std::string& error) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kMagic) {
        error = "not a virtual panel state file";
        return false;
    }
    CVirtualPanelState next;
    for (auto& log : next.m_logs) log.clear();
    std::vector<std::uint8_t> bytes;
    int lineNumber = 1;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream fields(line);
        std::string key, a, b;
        fields >> key >> a >> b;
        bool ok = false;
        if (key == "clock") {
            ok = fromHex(a, bytes) && bytes.size() == 8;
            if (ok) std::copy(bytes.begin(), bytes.end(), next.m_clock.begin());
        } else if (key == "page") {
            const unsigned long number = std::strtoul(a.c_str(), nullptr, 16);
            ok = number <= 0xFFFF && fromHex(b, bytes) && bytes.size() == 256;
            if (ok) {
                Page p;
                std::copy(bytes.begin(), bytes.end(), p.begin());
                next.setPage(static_cast<std::uint16_t>(number), p);
            }
        } else if (key == "log") {
            const int kind = a.size() == 1 ? a[0] - '0' : -1;
            ok = kind >= 0 && kind < kLogKinds && (b == "-" || fromHex(b, bytes));
            if (ok && b != "-") next.m_logs[kind].emplace_back(bytes.begin(), bytes.end());
        } else {
            ok = key.empty();
        }
        if (!ok) {
            error = "malformed line " + std::to_string(lineNumber);
            return false;
        }
    }
    *this = std::move(next);
    return true;
}

bool CVirtualPanelState::load(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str(), error);
}

bool CVirtualPanelState::save(const std::string& path, std::string& error) const {
    const std::string text = serialize();
    if (KvSaveFileAtomic(ToWide(path.c_str()).c_str(), text.data(), text.size())) return true;
    error = "cannot write " + path;
    return false;
}
