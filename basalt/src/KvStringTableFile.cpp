#include "basalt/KvStringTableFile.h"

#include <cstring>

#include "basalt/KvCRC16.h"
#include "basalt/KvUtf.h"

namespace {

constexpr std::uint32_t kNoOffset = 0xFFFFFFFF;
constexpr std::uint16_t kNoLength = 0xFFFF;
constexpr int kRecordSize = 8;

std::uint16_t Be16(const unsigned char* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
std::uint32_t Be32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool ReadExact(std::FILE* f, void* buffer, std::size_t n) { return std::fread(buffer, 1, n, f) == n; }

// Offsets above the signed range cannot be held in the index; they count as "no text".
std::int32_t ToOffset(std::uint32_t raw) {
    return (raw == kNoOffset || raw > 0x7FFFFFFFu) ? -1 : static_cast<std::int32_t>(raw);
}

}  // namespace

KvStringTableFile::KvStringTableFile() = default;

KvStringTableFile::~KvStringTableFile() { CloseAll(); }

void KvStringTableFile::CloseAll() {
    m_primary.reset();
    m_secondary.reset();
    m_index.clear();
}

// Reads count, records and check value from the start of `f`; merges the records
// into the index only when the whole index was read and its check value matches,
// so a damaged secondary file leaves nothing behind.
bool KvStringTableFile::ReadIndex(std::FILE* f, bool primary) {
    unsigned char head[2];
    if (!ReadExact(f, head, sizeof head)) return false;
    const std::uint16_t count = Be16(head);
    std::unique_ptr<unsigned char[]> records(new unsigned char[std::size_t{count} * kRecordSize + 2]);
    unsigned char* recs = records.get();
    if (!ReadExact(f, recs, std::size_t{count} * kRecordSize + 2)) return false;
    KvCRC16 crc;
    crc.Add(head, sizeof head);
    crc.Add(recs, std::size_t{count} * kRecordSize);
    if (Be16(recs + std::size_t{count} * kRecordSize) != crc.Value()) return false;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char* r = recs + i * kRecordSize;
        auto& slot = m_index[Be16(r)];
        const bool fresh = !slot;
        if (fresh) slot = std::make_unique<tagStringInfo>();
        if (primary && !fresh) continue;  // the first record of an id wins
        (primary ? slot->primaryOffset : slot->secondaryOffset) = ToOffset(Be32(r + 2));
        (primary ? slot->primaryLength : slot->secondaryLength) = Be16(r + 6);
    }
    return true;
}

bool KvStringTableFile::SetFile(const char* primary, const char* secondary) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    CloseAll();
    if (!primary) return false;
    File first(std::fopen(primary, "rbe"));
    if (!first) return false;
    if (!ReadIndex(first.get(), true)) {
        CloseAll();
        return false;
    }
    if (m_index.empty()) return true;  // an empty table: nothing selected, yet not an error
    m_primary = std::move(first);
    if (secondary && std::strcmp(primary, secondary) != 0) {
        File second(std::fopen(secondary, "rbe"));
        if (second && ReadIndex(second.get(), false)) m_secondary = std::move(second);
    }
    return true;
}

bool KvStringTableFile::ReadText(std::FILE* f, std::int32_t offset, std::uint16_t length, KvString& text) {
    if (!f || offset < 0 || length == kNoLength) return false;
    std::clearerr(f);  // an earlier short read must not spoil this one
    if (std::fseek(f, offset, SEEK_SET) != 0) return false;
    KvString bytes;
    char* buffer = bytes.GetBuffer(length);
    if (!ReadExact(f, buffer, length)) {
        bytes.ReleaseBuffer(0);
        return false;
    }
    bytes.ReleaseBuffer(length);
    text = static_cast<KvString&&>(bytes);
    return true;
}

bool KvStringTableFile::LoadStringW(KvString& text, int id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_primary && id >= 0 && id <= 0xFFFF) {
        auto it = m_index.find(static_cast<std::uint16_t>(id));
        if (it != m_index.end()) {
            const tagStringInfo& info = *it->second;
            KvString found;
            if (ReadText(m_primary.get(), info.primaryOffset, info.primaryLength, found) && !(found == " ")) {
                text = static_cast<KvString&&>(found);
                return true;
            }
            if (ReadText(m_secondary.get(), info.secondaryOffset, info.secondaryLength, found)) {
                text = static_cast<KvString&&>(found);
                return true;
            }
        }
    }
    StringId2String(id, text);
    return false;
}

bool KvStringTableFile::LoadStringW(KvWString& text, int id) {
    KvString utf8;
    const bool found = LoadStringW(utf8, id);
    Utf8ToUtf16(text, utf8.c_str(), utf8.Length());
    return found;
}

bool KvStringTableFile::IsOpen() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_primary != nullptr;
}

int KvStringTableFile::Count() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return static_cast<int>(m_index.size());
}

namespace {
KvStringTableFile& ProcessTable() {
    static KvStringTableFile table;
    return table;
}
}  // namespace

KvWString& KvLoadString(int id, KvWString& text) {
    ProcessTable().LoadStringW(text, id);
    return text;
}

KvString& KvLoadString(int id, KvString& text) {
    ProcessTable().LoadStringW(text, id);
    return text;
}

bool SetKvLoadStringTableFile(const char* primary, const char* secondary) {
    return ProcessTable().SetFile(primary, secondary);
}

void StringId2String(int id, KvString& text) { text.Format("IDS_%05d", id); }

void StringId2String(int id, KvWString& text) { text.Format(u"IDS_%05d", id); }

void StringId2String(int id, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    std::snprintf(buffer, static_cast<std::size_t>(size), "IDS_%05d", id);
}

void StringId2String(int id, char16_t* buffer, int size) {
    if (!buffer || size <= 0) return;
    char narrow[32];
    std::snprintf(narrow, sizeof narrow, "IDS_%05d", id);
    int i = 0;
    for (; i < size - 1 && narrow[i]; ++i) buffer[i] = static_cast<char16_t>(narrow[i]);
    buffer[i] = 0;
}
