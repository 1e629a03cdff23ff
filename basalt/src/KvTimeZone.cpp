#include "basalt/KvTimeZone.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

#include "basalt/KvTimeZoneNames.h"
#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

namespace {

constexpr std::size_t kMaxFileSize = 1 << 20;  // real zone files are a few kilobytes
constexpr char kSystemZoneDir[] = "/usr/share/zoneinfo/";

// Big-endian reader over outside bytes: each read checks the length first.
struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
    bool ok = true;

    bool Has(std::uint64_t n) const { return ok && n <= size - pos; }
    std::uint64_t Be(int bytes) {
        if (!Has(bytes)) {
            ok = false;
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | data[pos++];
        return v;
    }
    void Skip(std::uint64_t n) {
        if (!Has(n)) ok = false;
        else pos += static_cast<std::size_t>(n);
    }
};

struct Header {
    char version = 0;
    std::uint32_t isutcnt = 0, isstdcnt = 0, leapcnt = 0, timecnt = 0, typecnt = 0, charcnt = 0;

    std::uint64_t BlockSize(int timeBytes) const {
        return std::uint64_t(timecnt) * (timeBytes + 1) + std::uint64_t(typecnt) * 6 + charcnt +
               std::uint64_t(leapcnt) * (timeBytes + 4) + isstdcnt + isutcnt;
    }
};

bool ReadHeader(Reader& r, Header& h) {
    if (!r.Has(44) || r.data[r.pos] != 'T' || r.data[r.pos + 1] != 'Z' || r.data[r.pos + 2] != 'i' ||
        r.data[r.pos + 3] != 'f')
        return false;
    h.version = static_cast<char>(r.data[r.pos + 4]);
    r.Skip(20);
    h.isutcnt = static_cast<std::uint32_t>(r.Be(4));
    h.isstdcnt = static_cast<std::uint32_t>(r.Be(4));
    h.leapcnt = static_cast<std::uint32_t>(r.Be(4));
    h.timecnt = static_cast<std::uint32_t>(r.Be(4));
    h.typecnt = static_cast<std::uint32_t>(r.Be(4));
    h.charcnt = static_cast<std::uint32_t>(r.Be(4));
    return r.ok;
}

struct TzData {
    std::vector<std::int64_t> times;
    std::vector<std::int32_t> offsets;
    std::vector<std::uint8_t> dst;
    bool hasRule = false;
    KvPosixTzRule rule;
};

// Offsets beyond +-26 h are no real zone's and would only feed overflow.
bool SaneOffset(std::int64_t v) { return v > -93600 && v < 93600; }

bool ReadBlock(Reader& r, const Header& h, int timeBytes, TzData& out) {
    // Leap-second corrected files count time differently; refuse them rather than be off by seconds.
    if (h.typecnt == 0 || h.typecnt > 256 || h.leapcnt != 0 || !r.Has(h.BlockSize(timeBytes))) return false;
    std::vector<std::int64_t> times(h.timecnt);
    for (auto& t : times) {
        const std::uint64_t raw = r.Be(timeBytes);
        t = timeBytes == 4 ? std::int64_t(std::int32_t(std::uint32_t(raw))) : std::int64_t(raw);
    }
    std::vector<std::uint8_t> index(h.timecnt);
    for (auto& i : index) i = static_cast<std::uint8_t>(r.Be(1));
    std::vector<std::int32_t> typeOffset(h.typecnt);
    std::vector<std::uint8_t> typeDst(h.typecnt);
    for (std::uint32_t k = 0; k < h.typecnt; ++k) {
        const std::int64_t off = std::int32_t(std::uint32_t(r.Be(4)));
        typeDst[k] = static_cast<std::uint8_t>(r.Be(1));
        r.Skip(1);  // abbreviation index: the names are not used
        if (!SaneOffset(off) || typeDst[k] > 1) return false;
        typeOffset[k] = static_cast<std::int32_t>(off);
    }
    r.Skip(std::uint64_t(h.charcnt) + h.isstdcnt + h.isutcnt);
    if (!r.ok) return false;
    out.times.assign(1, std::numeric_limits<std::int64_t>::min());  // before the first transition: type 0
    out.offsets.assign(1, typeOffset[0]);
    out.dst.assign(1, typeDst[0]);
    for (std::uint32_t k = 0; k < h.timecnt; ++k) {
        if (index[k] >= h.typecnt || (k > 0 && times[k] <= times[k - 1])) return false;
        out.times.push_back(times[k]);
        out.offsets.push_back(typeOffset[index[k]]);
        out.dst.push_back(typeDst[index[k]]);
    }
    return true;
}

// "\n" TZ-string "\n"; an empty string means the last period goes on for ever.
// A missing footer is refused: it would silently end daylight time after the list.
bool ReadFooter(Reader& r, TzData& out) {
    if (r.Be(1) != '\n' || !r.ok) return false;
    const std::size_t start = r.pos;
    while (r.pos < r.size && r.data[r.pos] != '\n') ++r.pos;
    if (r.pos == r.size) return false;
    const std::size_t length = r.pos - start;
    if (length == 0) return true;
    out.hasRule = out.rule.Parse(reinterpret_cast<const char*>(r.data + start), length);
    return out.hasRule;
}

bool ParseTzif(const std::uint8_t* data, std::size_t size, TzData& out) {
    Reader r{data, size};
    Header h;
    if (!ReadHeader(r, h)) return false;
    if (h.version == 0) return ReadBlock(r, h, 4, out);
    if (h.version < '2') return false;
    // Version 2 and later repeat everything with 64-bit times; the 32-bit block is only skipped.
    r.Skip(h.BlockSize(4));
    Header h2;
    if (!r.ok || !ReadHeader(r, h2) || h2.version < '2') return false;
    return ReadBlock(r, h2, 8, out) && ReadFooter(r, out);
}

// A run of periods: each starts at times[i]; [0] holds everything before [1].
struct Periods {
    const std::int64_t* times;
    const std::int32_t* offsets;
    const std::uint8_t* dst;
    int n;
};

// Index of the period holding `t`.
int FindPeriod(const Periods& p, std::int64_t t, bool isUtc, int ambiguity) {
    auto reached = [&](int i) { return isUtc ? t >= p.times[i] : t - p.offsets[i] >= p.times[i]; };
    int lo = 0, hi = p.n;  // reached(lo) holds, reached(hi) does not
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (reached(mid) ? lo : hi) = mid;
    }
    if (isUtc) return lo;
    // A repeated hour after leaving daylight time: the local reading fits the previous period too.
    if (ambiguity == 1 && lo > 0 && p.dst[lo - 1] && !p.dst[lo] && t - p.offsets[lo - 1] < p.times[lo]) return lo - 1;
    // A skipped hour before entering daylight time: read with the standard offset it lands past the change.
    if (ambiguity == 2 && lo + 1 < p.n && !p.dst[lo] && p.dst[lo + 1] && t - p.offsets[lo] >= p.times[lo + 1])
        return lo + 1;
    return lo;
}

// The rule's changes of the years around `t`, after the last listed period.
struct RulePeriods {
    std::int64_t times[7];
    std::int32_t offsets[7];
    std::uint8_t dst[7];
    int n = 0;

    void Add(std::int64_t time, std::int32_t offset, std::uint8_t isDst) {
        times[n] = time, offsets[n] = offset, dst[n] = isDst;
        ++n;
    }
    Periods View() const { return Periods{times, offsets, dst, n}; }
};

void BuildRulePeriods(const KvPosixTzRule& rule, std::int64_t approxUtc, RulePeriods& out) {
    if (!rule.hasDst) {
        out.Add(std::numeric_limits<std::int64_t>::min(), rule.stdOffset, 0);
        return;
    }
    struct Change {
        std::int64_t time;
        std::int32_t offset;
        std::uint8_t dst;
    } changes[6];
    int n = 0;
    const std::int64_t year = KvPosixTzRule::YearOfUnixTime(approxUtc);
    for (std::int64_t y = year - 1; y <= year + 1; ++y) {
        std::int64_t start = 0, end = 0;
        rule.Transitions(static_cast<int>(y), start, end);
        changes[n++] = {end, rule.stdOffset, 0};
        changes[n++] = {start, rule.dstOffset, 1};
    }
    // At equal times the daylight start wins (a zone on daylight time all year).
    std::stable_sort(changes, changes + n, [](const Change& a, const Change& b) {
        return a.time != b.time ? a.time < b.time : a.dst < b.dst;
    });
    for (int i = 0; i < n; ++i) {
        if (i + 1 < n && changes[i + 1].time == changes[i].time) continue;
        out.Add(out.n == 0 ? std::numeric_limits<std::int64_t>::min() : changes[i].time, changes[i].offset,
                changes[i].dst);
    }
}

// Refuses absolute names and ".." parts: the name becomes a file path.
bool SafeZoneName(const KvString& name) {
    if (name.IsEmpty() || name[0] == '/') return false;
    int start = 0;
    for (int i = 0; i <= name.Length(); ++i) {
        if (i == name.Length() || name[i] == '/') {
            const KvString part = name.Mid(start, i - start);
            if (part.IsEmpty() || part == KvString("..") || part == KvString(".")) return false;
            start = i + 1;
        }
    }
    return true;
}

bool ReadWholeFile(const KvString& path, std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    bytes.resize(kMaxFileSize + 1);
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f.get());
    if (n > kMaxFileSize) return false;
    bytes.resize(n);
    return true;
}

bool IsZoneFile(const KvString& path) {
    unsigned char magic[4] = {};
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    return f && std::fread(magic, 1, 4, f.get()) == 4 && magic[0] == 'T' && magic[1] == 'Z' && magic[2] == 'i' &&
           magic[3] == 'f';
}

void CollectZones(const KvString& root, const KvString& sub, std::vector<KvWString>& names, int depth) {
    if (depth > 4) return;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir((root + sub).c_str()), &closedir);
    if (!dir) return;
    while (dirent* e = readdir(dir.get())) {
        const KvString entry(e->d_name);
        if (entry[0] == '.') continue;
        // Duplicated trees and aliases of the local zone.
        if (sub.IsEmpty() && (entry == KvString("posix") || entry == KvString("right") ||
                              entry == KvString("posixrules") || entry == KvString("localtime")))
            continue;
        const KvString rel = sub + entry;
        struct stat st {};
        if (stat((root + rel).c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) CollectZones(root, rel + "/", names, depth + 1);
        else if (S_ISREG(st.st_mode) && IsZoneFile(root + rel)) names.push_back(FromPlatformPath(rel.c_str()));
    }
}

}  // namespace

KvTimeZone::KvTimeZone() = default;
KvTimeZone::~KvTimeZone() = default;

void KvTimeZone::Reset() {
    m_name.Empty();
    m_times.clear();
    m_offsets.clear();
    m_dst.clear();
    m_count = -1;
    m_hasRule = false;
    m_rule = KvPosixTzRule();
}

bool KvTimeZone::Set(const char16_t* name) {
    const KvWString wanted(name);
    if (wanted == m_name && IsValid()) return true;
    Reset();
    const KvString narrow = ToUtf8(wanted.c_str());
    if (!SafeZoneName(narrow)) return false;
    if (!LoadFile(ToPlatformPath(GetTimeZonePath().c_str()) + narrow) && !LoadFile(KvString(kSystemZoneDir) + narrow))
        return false;
    m_name = wanted;
    return true;
}

bool KvTimeZone::LoadFile(const KvString& path) {
    std::vector<std::uint8_t> bytes;
    return ReadWholeFile(path, bytes) && Load(bytes.data(), bytes.size(), nullptr);
}

bool KvTimeZone::Load(const std::uint8_t* data, std::size_t size, const char16_t* name) {
    Reset();
    TzData d;
    if (!data || !ParseTzif(data, size, d)) return false;
    m_times = std::move(d.times);
    m_offsets = std::move(d.offsets);
    m_dst = std::move(d.dst);
    m_hasRule = d.hasRule;
    m_rule = d.rule;
    m_count = static_cast<std::int32_t>(m_times.size() - 1);
    m_name = name;
    return true;
}

int KvTimeZone::OffsetAt(std::int64_t t, bool isUtc, int ambiguity, bool* dst) const {
    if (dst) *dst = false;
    if (!IsValid()) return 0;
    t = std::clamp<std::int64_t>(t, -(std::int64_t(1) << 40), std::int64_t(1) << 40);  // keeps t - offset exact
    const int n = static_cast<int>(m_times.size());
    const std::int64_t approxUtc = isUtc ? t : t - m_offsets[n - 1];
    Periods table{m_times.data(), m_offsets.data(), m_dst.data(), n};
    RulePeriods rule;
    // Past the last listed transition the footer's rule takes over; its first
    // period stands for everything before its first change.
    if (m_hasRule && approxUtc >= m_times[n - 1]) {
        BuildRulePeriods(m_rule, approxUtc, rule);
        table = rule.View();
    }
    const int i = FindPeriod(table, t, isUtc, ambiguity);
    if (dst) *dst = table.dst[i] != 0;
    return table.offsets[i];
}

int KvTimeZone::Offset(const KvDateTime& dateTime, bool isUtc, int ambiguity) const {
    if (!dateTime.Valid()) return 0;
    return OffsetAt(dateTime.EpochSeconds(), isUtc, ambiguity);
}

bool KvTimeZone::Dst(const KvDateTime& dateTime) const {
    bool dst = false;
    if (dateTime.Valid()) OffsetAt(dateTime.EpochSeconds(), true, 0, &dst);
    return dst;
}

void KvTimeZone::GetSupportedOlsonTimeZones(std::vector<KvWString>& names) {
    names.clear();
    CollectZones(ToPlatformPath(GetTimeZonePath().c_str()), KvString(), names, 0);
    CollectZones(KvString(kSystemZoneDir), KvString(), names, 0);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

KvTimeZone& KvTimeZone::Get() {
    static KvTimeZone zone;
    return zone;
}

KvTimeZone& KvTimeZone::GetAnother() {
    static KvTimeZone zone;
    return zone;
}
