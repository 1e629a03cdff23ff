#include "panel_link/CFirmwareImage.h"

#include <cstdio>
#include <memory>

#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"

namespace {

// Lines are read in pieces of at most 255 characters, as the panel tools always have.
constexpr std::size_t kLineLimit = 255;

// Upper-case hex only: any other character counts as the digit 0.
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

int HexByte(const char* p) { return HexDigit(p[0]) * 16 + HexDigit(p[1]); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

CFirmwareImage::CFirmwareImage(std::uint32_t rangeStart, std::uint32_t rangeEnd, Kind kind, PostProcess post)
    : m_rangeStart(rangeStart),
      m_rangeEnd(rangeEnd),
      m_data(static_cast<std::size_t>(rangeEnd - rangeStart) + 1, 0xFF),
      m_lowest(rangeEnd),
      m_highest(rangeStart),
      m_kind(kind),
      m_post(post) {}

CFirmwareImage CFirmwareImage::mainBoardApplet() {
    return CFirmwareImage(0x20000000, 0x20001FFF, Kind::S3, PostProcess::None);
}
CFirmwareImage CFirmwareImage::mainBoardFirmware() {
    return CFirmwareImage(0x00004000, 0x0003FFFF, Kind::S3, PostProcess::MainBoardChecksum);
}
CFirmwareImage CFirmwareImage::loopCardApplet() {
    return CFirmwareImage(0x0070, 0x076F, Kind::S1, PostProcess::None);
}
CFirmwareImage CFirmwareImage::loopCardFirmware() {
    return CFirmwareImage(0x2800, 0xFFFF, Kind::S1, PostProcess::LoopCardChecksum);
}

bool CFirmwareImage::load(const KvWString& path) {
    printk("\n CFirmwareImage::load");
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(ToUtf8(path.c_str()).c_str(), "rb"));
    if (!file) return false;
    std::vector<char> text;
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file.get())) > 0;) text.insert(text.end(), block, block + n);
    if (std::ferror(file.get())) return false;
    return parse(text.data(), text.size());
}

bool CFirmwareImage::parse(const char* text, std::size_t size) {
    std::fill(m_data.begin(), m_data.end(), 0xFF);
    m_lowest = m_rangeEnd;
    m_highest = m_rangeStart;
    m_stored = 0;
    m_checksum = 0;
    m_state = NotParsed;
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t len = 0;
        while (pos + len < size && len < kLineLimit && text[pos + len] != '\n') ++len;
        const bool endsLine = pos + len < size && text[pos + len] == '\n';
        if (!parseLine(text + pos, len)) {
            m_state = ChecksumError;
            return false;
        }
        pos += len + (endsLine ? 1 : 0);
    }
    postProcess();
    m_state = Parsed;
    return true;
}

bool CFirmwareImage::parseLine(const char* line, std::size_t length) {
    const char type = m_kind == Kind::S3 ? '3' : '1';
    if (length < 2 || line[0] != 'S' || line[1] != type) return true;  // other records are ignored
    const int addressBytes = m_kind == Kind::S3 ? 4 : 2;
    if (length < 4) return false;
    const int count = HexByte(line + 2);
    const int dataBytes = count - addressBytes - 1;
    if (dataBytes < 0) return false;
    // count covers address, data and checksum: each byte is two characters after "Sx" and the count
    if (length < 4 + 2 * static_cast<std::size_t>(count)) return false;
    const char* p = line + 4;
    unsigned sum = static_cast<unsigned>(count);
    std::uint32_t address = 0;
    for (int i = 0; i < addressBytes; ++i, p += 2) {
        const int b = HexByte(p);
        address = (address << 8) | static_cast<std::uint32_t>(b);
        sum += static_cast<unsigned>(b);
    }
    for (int i = 0; i < dataBytes; ++i, p += 2) {
        const int b = HexByte(p);
        sum += static_cast<unsigned>(b);
        storeByte(address + static_cast<std::uint32_t>(i), static_cast<std::uint8_t>(b));
    }
    return HexByte(p) == static_cast<int>(~sum & 0xFF);
}

void CFirmwareImage::storeByte(std::uint32_t address, std::uint8_t value) {
    if (address < m_rangeStart || address > m_rangeEnd) return;
    m_data[address - m_rangeStart] = value;
    ++m_stored;
    if (address < m_lowest) m_lowest = address;
    if (address > m_highest) m_highest = address;
}

void CFirmwareImage::postProcess() {
    if (m_post == PostProcess::MainBoardChecksum) mainBoardChecksum();
    if (m_post == PostProcess::LoopCardChecksum) loopCardChecksum();
}

void CFirmwareImage::mainBoardChecksum() {
    auto word = [this](std::size_t off) {
        return (std::uint32_t{m_data[off]} << 24) | (std::uint32_t{m_data[off + 1]} << 16) |
               (std::uint32_t{m_data[off + 2]} << 8) | std::uint32_t{m_data[off + 3]};
    };
    std::uint32_t sum = 0;
    for (std::size_t off = 0; off < 0x200; off += 4) sum += word(off);
    for (std::size_t off = 0x400; off + 3 < m_data.size(); off += 4) sum += word(off);
    m_checksum = sum;
    m_data[0x200] = static_cast<std::uint8_t>(sum >> 24);
    m_data[0x201] = static_cast<std::uint8_t>(sum >> 16);
    m_data[0x202] = static_cast<std::uint8_t>(sum >> 8);
    m_data[0x203] = static_cast<std::uint8_t>(sum);
}

void CFirmwareImage::loopCardChecksum() {
    std::copy(m_data.begin() + 0xD7C0, m_data.begin() + 0xD800, m_data.begin() + 0xCFC0);
    m_highest -= 0x800;
    std::uint16_t sum = 0;
    for (std::size_t off = 0; off <= 0xCFFD; ++off) sum = static_cast<std::uint16_t>(sum + m_data[off]);
    m_checksum = sum;
    m_data[0xCFFE] = static_cast<std::uint8_t>(sum >> 8);
    m_data[0xCFFF] = static_cast<std::uint8_t>(sum);
}

int CFirmwareImage::pieceCount(int size) const {
    if (size <= 0 || m_highest < m_lowest) return 0;
    const std::uint32_t span = m_highest - m_lowest + 1;
    return static_cast<int>((span + static_cast<std::uint32_t>(size) - 1) / static_cast<std::uint32_t>(size));
}

std::vector<std::uint8_t> CFirmwareImage::piece(int index, int size) const {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size), 0xFF);
    const std::size_t start = static_cast<std::size_t>(index) * static_cast<std::size_t>(size);
    for (std::size_t i = 0; i < out.size() && start + i < m_data.size(); ++i) out[i] = m_data[start + i];
    return out;
}
