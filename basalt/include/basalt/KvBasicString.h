// KvBasicString: the string type of Basalt, over a character-traits class.
//
// KvString carries 8-bit text (UTF-8 by convention), KvWString UTF-16 text.
// Layout is three fields: buffer, flags-and-spare, length. A string that owns
// nothing points at a shared empty text (flag kNotOwned) and allocates on the
// first change. Growth modes trade memory for fewer reallocations in builders
// that append one character at a time.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

// 8-bit traits. All members are static; the type is stateless.
struct KvChar {
    using CharType = char;
    static int Compare(const char* a, const char* b);
    static int Compare(const char* a, const char* b, int n);
    static int Length(const char* s);
    static bool IsSpace(char c);  // ASCII white space only: other bytes belong to UTF-8 sequences
    static char ToUpper(char c);  // ASCII letters only, for the same reason
    static char ToLower(char c);
    static const char* EmptyString();
};

// UTF-16 traits; comparison is by unsigned code unit. Case and white space
// follow fixed Unicode tables, never the process locale: simple case mapping
// over Latin-1, Latin Extended-A, Greek and Cyrillic, the White_Space
// characters (U+00A0 included) for trimming.
struct KvWideChar {
    using CharType = char16_t;
    static int Compare(const char16_t* a, const char16_t* b);
    static int Compare(const char16_t* a, const char16_t* b, int n);
    static int Length(const char16_t* s);
    static bool IsSpace(char16_t c);
    static char16_t ToUpper(char16_t c);
    static char16_t ToLower(char16_t c);
    static const char16_t* EmptyString();
};

// The length of a terminated text of either width, for code written once for
// both; 0 for a null pointer.
inline int KvTextLength(const char* s) { return KvChar::Length(s); }
inline int KvTextLength(const char16_t* s) { return KvWideChar::Length(s); }

enum class KvGrowth : std::uint8_t {
    Exact = 0x00,  // no spare characters
    Small = 0x20,  // 255 spare characters on each reallocation
    Large = 0x21,  // 65535 spare characters on each reallocation
};

template <class T, class Traits>
class KvBasicString {
public:
    using CharType = T;
    static constexpr std::uint32_t kNotOwned = 0x10;
    static constexpr std::uint32_t kGrowthMask = 0x21;
    static constexpr int kMaxSpare = 0xFFFFFF;                // what the 24-bit spare field holds
    static constexpr int kMaxLength = 0x7FFFFFFF - 65536 - 1;  // longer texts throw std::bad_alloc

    KvBasicString() noexcept : m_buf(const_cast<T*>(Traits::EmptyString())), m_flags(kNotOwned), m_len(0) {}
    KvBasicString(const T* s) : KvBasicString() { Assign(s); }  // NOLINT: implicit on purpose
    KvBasicString(const T* s, int n) : KvBasicString() { Assign(s, n); }
    KvBasicString(int count, T c) : KvBasicString() {
        if (count <= 0) return;
        GrowTo(count);
        for (int i = 0; i < count; ++i) m_buf[i] = c;
    }
    KvBasicString(const KvBasicString& o) : KvBasicString() { Assign(o.m_buf, o.m_len); }
    KvBasicString(KvBasicString&& o) noexcept : m_buf(o.m_buf), m_flags(o.m_flags), m_len(o.m_len) { o.Reset(); }
    ~KvBasicString() { Release(); }

    KvBasicString& operator=(const KvBasicString& o) {
        if (this != &o) Assign(o.m_buf, o.m_len);
        return *this;
    }
    KvBasicString& operator=(KvBasicString&& o) noexcept {
        if (this != &o) {
            Release();
            m_buf = o.m_buf;
            m_flags = o.m_flags;
            m_len = o.m_len;
            o.Reset();
        }
        return *this;
    }
    KvBasicString& operator=(const T* s) { return Assign(s); }

    // Replaces the text; a null pointer gives the empty string.
    KvBasicString& Assign(const T* s) { return Assign(s, s ? Traits::Length(s) : 0); }
    KvBasicString& Assign(const T* s, int n) {
        if (!s || n <= 0) {
            Truncate(0);
            return *this;
        }
        if (s >= m_buf && s <= m_buf + m_len) {  // assigning a piece of ourselves
            KvBasicString copy(s, n);
            return *this = static_cast<KvBasicString&&>(copy);
        }
        if (IsOwned() && Capacity() >= n) {
            std::memmove(m_buf, s, sizeof(T) * n);
            Resize(n);
            if (!IsGrowing()) FreeExtra();
            return *this;
        }
        Allocate(n);
        std::memcpy(m_buf, s, sizeof(T) * n);
        return *this;
    }

    int Length() const noexcept { return m_len; }
    bool IsEmpty() const noexcept { return m_len == 0; }
    const T* c_str() const noexcept { return m_buf; }
    const T* Data() const noexcept { return m_buf; }
    operator const T*() const noexcept { return m_buf; }  // NOLINT: mirrors the callers' text-pointer use

    // Character access; an index outside the text gives the terminator value 0.
    T At(int i) const noexcept { return (i >= 0 && i < m_len) ? m_buf[i] : T(0); }
    T operator[](int i) const noexcept { return At(i); }
    void SetAt(int i, T c) {
        if (i < 0 || i >= m_len) return;
        MakeOwned();
        m_buf[i] = c;
    }

    KvBasicString& Append(T c) {
        if (IsOwned() && m_flags >= (1u << 8)) {  // at least one spare character
            m_buf[m_len++] = c;
            m_buf[m_len] = T(0);
            m_flags -= 1u << 8;
            return *this;
        }
        const int old = m_len;
        GrowTo(old + 1);
        m_buf[old] = c;
        return *this;
    }
    KvBasicString& Append(const T* s) { return Append(s, s ? Traits::Length(s) : 0); }
    KvBasicString& Append(const T* s, int n) {
        if (!s || n <= 0) return *this;
        if (s >= m_buf && s <= m_buf + m_len) {
            KvBasicString copy(s, n);
            return Append(copy.m_buf, copy.m_len);
        }
        if (static_cast<long long>(m_len) + n > kMaxLength) throw std::bad_alloc();
        const int old = m_len;
        if (!IsOwned() || Capacity() < old + n) {
            GrowTo(old + n);
        } else {
            Resize(old + n);
        }
        std::memcpy(m_buf + old, s, sizeof(T) * n);
        return *this;
    }
    KvBasicString& Append(const KvBasicString& o) { return Append(o.m_buf, o.m_len); }
    KvBasicString& operator+=(T c) { return Append(c); }
    KvBasicString& operator+=(const T* s) { return Append(s); }
    KvBasicString& operator+=(const KvBasicString& o) { return Append(o); }

    // Searches; -1 when absent.
    int Find(T c, int from = 0) const noexcept {
        for (int i = from < 0 ? 0 : from; i < m_len; ++i)
            if (m_buf[i] == c) return i;
        return -1;
    }
    int Find(const T* s, int from = 0) const noexcept {
        if (!s) return -1;
        const int n = Traits::Length(s);
        for (int i = from < 0 ? 0 : from; i + n <= m_len; ++i)
            if (n == 0 || std::memcmp(m_buf + i, s, sizeof(T) * n) == 0) return i;
        return -1;
    }
    int ReverseFind(T c) const noexcept {
        for (int i = m_len - 1; i >= 0; --i)
            if (m_buf[i] == c) return i;
        return -1;
    }
    bool StartsWith(const T* s) const noexcept {
        const int n = s ? Traits::Length(s) : 0;
        return n == 0 || (n <= m_len && std::memcmp(m_buf, s, sizeof(T) * n) == 0);
    }
    bool EndsWith(const T* s) const noexcept {
        const int n = s ? Traits::Length(s) : 0;
        return n == 0 || (n <= m_len && std::memcmp(m_buf + m_len - n, s, sizeof(T) * n) == 0);
    }

    // Substring of `count` characters from `start` (-1: to the end), clipped to the text.
    KvBasicString Mid(int start, int count = -1) const {
        if (start < 0) start = 0;
        if (start >= m_len) return KvBasicString();
        if (count < 0 || count > m_len - start) count = m_len - start;
        return KvBasicString(m_buf + start, count);
    }
    KvBasicString Left(int count) const { return Mid(0, count < 0 ? 0 : count); }
    KvBasicString Right(int count) const {
        if (count <= 0) return KvBasicString();
        return count >= m_len ? *this : Mid(m_len - count);
    }

    KvBasicString& TrimLeft() {
        int i = 0;
        while (i < m_len && Traits::IsSpace(m_buf[i])) ++i;
        if (i > 0) Delete(0, i);
        return *this;
    }
    KvBasicString& TrimRight() {
        int n = m_len;
        while (n > 0 && Traits::IsSpace(m_buf[n - 1])) --n;
        Truncate(n);
        return *this;
    }
    KvBasicString& Trim() { return TrimRight().TrimLeft(); }

    KvBasicString& MakeUpper() {
        if (m_len == 0) return *this;
        MakeOwned();
        for (int i = 0; i < m_len; ++i) m_buf[i] = Traits::ToUpper(m_buf[i]);
        return *this;
    }
    KvBasicString& MakeLower() {
        if (m_len == 0) return *this;
        MakeOwned();
        for (int i = 0; i < m_len; ++i) m_buf[i] = Traits::ToLower(m_buf[i]);
        return *this;
    }

    // Removes `count` characters at `start` (clipped).
    KvBasicString& Delete(int start, int count = 1) {
        if (start < 0 || start >= m_len || count <= 0) return *this;
        if (count > m_len - start) count = m_len - start;
        MakeOwned();
        std::memmove(m_buf + start, m_buf + start + count, sizeof(T) * (m_len - start - count));
        Resize(m_len - count);
        if (!IsGrowing()) FreeExtra();
        return *this;
    }
    KvBasicString& Insert(int at, const T* s) {
        if (at < 0) at = 0;
        if (at >= m_len) return Append(s);
        const KvBasicString piece(s);  // `s` may point into this string
        KvBasicString tail = Mid(at);
        Truncate(at);
        Append(piece);
        return Append(tail);
    }
    KvBasicString& Insert(int at, T c) {
        const T s[2] = {c, T(0)};
        return Insert(at, s);
    }
    // Replaces every `from` with `to`; returns the count.
    int Replace(T from, T to) {
        int n = 0;
        for (int i = 0; i < m_len; ++i)
            if (m_buf[i] == from) {
                if (n++ == 0) MakeOwned();
                m_buf[i] = to;
            }
        return n;
    }
    int Replace(const T* from, const T* to) {
        const int fl = from ? Traits::Length(from) : 0;
        if (fl == 0) return 0;
        KvBasicString out;
        out.SetGrowth(KvGrowth::Small);
        int n = 0, i = 0;
        for (int at; (at = Find(from, i)) >= 0; i = at + fl, ++n) {
            out.Append(m_buf + i, at - i);
            out.Append(to);
        }
        if (n == 0) return 0;
        out.Append(m_buf + i, m_len - i);
        out.SetGrowth(Growth());
        *this = static_cast<KvBasicString&&>(out);
        return n;
    }

    // Shortens the text to `n` characters; the freed room becomes spare in a growth mode.
    void Truncate(int n) {
        if (n < 0) n = 0;
        if (n >= m_len) return;
        if (!IsOwned()) {
            KvBasicString copy(m_buf, n);
            *this = static_cast<KvBasicString&&>(copy);
            return;
        }
        Resize(n);
        if (!IsGrowing()) FreeExtra();
    }
    void Empty() { Truncate(0); }

    // Ordering by the traits' Compare, so strings can key ordered maps.
    int Compare(const T* s) const noexcept { return Traits::Compare(m_buf, s ? s : Traits::EmptyString()); }
    // Compares every unit, embedded NULs included, so it agrees with operator==.
    int Compare(const KvBasicString& o) const noexcept {
        const int n = m_len < o.m_len ? m_len : o.m_len;
        for (int i = 0; i < n; ++i) {
            const T a[2] = {m_buf[i], T(0)}, b[2] = {o.m_buf[i], T(0)};
            if (a[0] != b[0]) return Traits::Compare(a, b, 1);
        }
        return m_len < o.m_len ? -1 : (m_len > o.m_len ? 1 : 0);
    }
    int CompareNoCase(const T* s) const noexcept {
        KvBasicString a(*this), b(s);
        return a.MakeLower().Compare(b.MakeLower());
    }
    friend bool operator==(const KvBasicString& a, const KvBasicString& b) noexcept {
        return a.m_len == b.m_len && std::memcmp(a.m_buf, b.m_buf, sizeof(T) * a.m_len) == 0;
    }
    friend bool operator==(const KvBasicString& a, const T* b) noexcept { return a.Compare(b) == 0; }
    friend bool operator<(const KvBasicString& a, const KvBasicString& b) noexcept { return a.Compare(b) < 0; }
    friend bool operator>(const KvBasicString& a, const KvBasicString& b) noexcept { return a.Compare(b) > 0; }
    friend bool operator<=(const KvBasicString& a, const KvBasicString& b) noexcept { return a.Compare(b) <= 0; }
    friend bool operator>=(const KvBasicString& a, const KvBasicString& b) noexcept { return a.Compare(b) >= 0; }
    friend KvBasicString operator+(const KvBasicString& a, const KvBasicString& b) {
        KvBasicString r(a);
        return r.Append(b);
    }
    friend KvBasicString operator+(const KvBasicString& a, const T* b) {
        KvBasicString r(a);
        return r.Append(b);
    }
    friend KvBasicString operator+(const T* a, const KvBasicString& b) {
        KvBasicString r(a);
        return r.Append(b);
    }
    friend KvBasicString operator+(const KvBasicString& a, T c) {
        KvBasicString r(a);
        return r.Append(c);
    }

    // Growth mode: Exact releases any spare capacity at once.
    void SetGrowth(KvGrowth g) {
        m_flags = (m_flags & ~kGrowthMask) | static_cast<std::uint32_t>(g);
        if (g == KvGrowth::Exact) FreeExtra();
    }
    KvGrowth Growth() const noexcept {
        const std::uint32_t g = m_flags & kGrowthMask;
        return g == 0x21 ? KvGrowth::Large : (g == 0x20 ? KvGrowth::Small : KvGrowth::Exact);
    }
    // Gives back the spare characters after the terminator.
    void FreeExtra() {
        if (!IsOwned() || SpareCount() == 0) return;
        Reallocate(m_len + 1);
        SetSpare(0);
    }
    // Makes room for `n` characters without changing the text. A hint: it never
    // reserves more than the spare field holds (16M characters past the length).
    void Reserve(int n) {
        const int spare = GrowthSpare(m_flags);
        if (n < m_len) n = m_len;
        if (n - m_len > kMaxSpare - spare) n = m_len + kMaxSpare - spare;
        if (IsOwned() && n <= Capacity()) return;
        Reallocate(n + 1 + spare);
        SetSpare(n + spare - m_len);
    }

    // Writable buffer of at least `n` characters; finish with ReleaseBuffer.
    // Asking for more than the spare field holds makes the zero-filled buffer
    // part of the text until ReleaseBuffer sets the length.
    T* GetBuffer(int n) {
        if (n < m_len) n = m_len;
        if (n - m_len <= kMaxSpare - GrowthSpare(m_flags)) {
            Reserve(n);
            return m_buf;
        }
        const int old = m_len;
        GrowTo(n);
        std::memset(m_buf + old, 0, sizeof(T) * (n - old));
        return m_buf;
    }
    // Sets the length to `n`, or to the terminated text's length when `n` is negative.
    void ReleaseBuffer(int n = -1) {
        if (!IsOwned()) return;
        const int cap = Capacity();
        if (n < 0 || n > cap) {
            n = 0;
            while (n < cap && m_buf[n]) ++n;
        }
        Resize(n);
        if (!IsGrowing()) FreeExtra();
    }

    // printf-style formatting into this string; in a wide format %s takes a wide string.
    KvBasicString& Format(const T* fmt, ...);
    KvBasicString& AppendFormat(const T* fmt, ...);

    // Introspection, mainly for tests and builders.
    std::uint32_t Flags() const noexcept { return m_flags & 0xFF; }
    int SpareCount() const noexcept { return static_cast<int>(m_flags >> 8); }
    bool IsOwned() const noexcept { return (m_flags & kNotOwned) == 0; }

private:
    static int GrowthSpare(std::uint32_t flags) noexcept {
        const std::uint32_t g = flags & kGrowthMask;
        return g == 0x21 ? 65535 : (g == 0x20 ? 255 : 0);
    }
    bool IsGrowing() const noexcept { return (m_flags & 0x20) != 0; }
    int Capacity() const noexcept { return IsOwned() ? m_len + SpareCount() : 0; }
    void SetSpare(int n) noexcept { m_flags = (m_flags & 0xFF) | (static_cast<std::uint32_t>(n) << 8); }
    // Sets the length within the allocation: the spare count absorbs the
    // difference. Spare beyond what the field holds is given back.
    void Resize(int n) {
        const int cap = Capacity();
        m_len = n;
        if (cap - n > kMaxSpare) {
            const int spare = GrowthSpare(m_flags);
            Reallocate(n + 1 + spare);
            SetSpare(spare);
        } else {
            SetSpare(cap - n);
        }
        m_buf[n] = T(0);
    }
    void Reset() noexcept {
        m_buf = const_cast<T*>(Traits::EmptyString());
        m_flags = kNotOwned | (m_flags & kGrowthMask);
        m_len = 0;
    }
    void Release() noexcept {
        if (IsOwned()) std::free(m_buf);
    }
    void Reallocate(int chars) {
        const std::size_t bytes = sizeof(T) * static_cast<std::size_t>(chars);
        void* p = IsOwned() ? std::realloc(m_buf, bytes) : std::malloc(bytes);
        if (!p) throw std::bad_alloc();
        if (!IsOwned()) std::memcpy(p, m_buf, sizeof(T) * (m_len + 1));
        m_buf = static_cast<T*>(p);
        m_flags &= ~kNotOwned;
    }
    // Fresh buffer whose text is `n` unspecified characters, plus the growth
    // spare; the old text is dropped.
    void Allocate(int n) {
        if (n > kMaxLength) throw std::bad_alloc();
        const int spare = GrowthSpare(m_flags);
        Release();
        void* p = std::malloc(sizeof(T) * (static_cast<std::size_t>(n) + 1 + spare));
        if (!p) throw std::bad_alloc();
        m_buf = static_cast<T*>(p);
        m_flags &= ~kNotOwned;
        m_len = n;
        SetSpare(spare);
        m_buf[n] = T(0);
    }
    // Keeps the text, lengthens it to `n` characters (the added ones unspecified)
    // and leaves the growth spare after them.
    void GrowTo(int n) {
        if (n > kMaxLength) throw std::bad_alloc();
        const int spare = GrowthSpare(m_flags);
        Reallocate(n + 1 + spare);
        m_len = n;
        SetSpare(spare);
        m_buf[n] = T(0);
    }
    void MakeOwned() {
        if (!IsOwned()) GrowTo(m_len);
    }

    T* m_buf;
    std::uint32_t m_flags;  // low 8 bits flags, high 24 bits spare characters
    std::int32_t m_len;
};

using KvString = KvBasicString<char, KvChar>;
using KvWString = KvBasicString<char16_t, KvWideChar>;

// printf-style formatting. Narrow formats follow C printf. Wide formats follow
// the wide-printf convention: %s and %ls take a wide string, %hs a narrow one,
// %c a wide character. Both replace `out`.
void KvVFormat(KvString& out, const char* fmt, va_list ap);
void KvVFormat(KvWString& out, const char16_t* fmt, va_list ap);

template <class T, class Traits>
KvBasicString<T, Traits>& KvBasicString<T, Traits>::Format(const T* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    KvVFormat(*this, fmt, ap);
    va_end(ap);
    return *this;
}

template <class T, class Traits>
KvBasicString<T, Traits>& KvBasicString<T, Traits>::AppendFormat(const T* fmt, ...) {
    KvBasicString piece;
    va_list ap;
    va_start(ap, fmt);
    KvVFormat(piece, fmt, ap);
    va_end(ap);
    return Append(piece);
}
