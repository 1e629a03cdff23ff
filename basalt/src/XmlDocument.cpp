// XmlDocument: tag table, parsing entry points, loading and crash-safe saving.
#include "basalt/XmlDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "basalt/KvUtf.h"
#include "internal/XmlCodec.h"
#include "internal/XmlNodePool.h"

namespace {

namespace fs = std::filesystem;

bool ReadWholeFile(const std::string& path, std::string& content) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char chunk[1 << 16];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) content.append(chunk, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// Mode for the replacement file: that of the file it replaces, else what a
// plain create would give under the current umask.
mode_t TargetMode(const std::string& target) {
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes `write(FILE*)` to a temporary file beside `target`, flushes it to the
// disk and renames it over `target`. On any failure the temporary file is
// removed and `target` is left as it was.
template <class Write>
bool ReplaceFile(const std::string& target, Write write) {
    const fs::path path(target);
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(dir, ec) && !fs::create_directories(dir, ec)) return false;
    std::string temp = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    bool ok = write(f);
    ok = std::fflush(f) == 0 && ok;
    ok = ::fchmod(fd, TargetMode(target)) == 0 && ok;
    ok = ::fsync(fd) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);  // makes the rename itself durable; the data is already safe
        ::close(dfd);
    }
    return true;
}

// Saving through a symbolic link replaces the file it points at, not the link.
std::string ResolveTarget(const std::string& target) {
    std::error_code ec;
    if (!fs::is_symlink(target, ec)) return target;
    const fs::path real = fs::weakly_canonical(target, ec);
    return ec ? target : real.string();
}

}  // namespace

bool XmlDocument::TagLess::operator()(const KvWString& a, const KvWString& b) const {
    return Cmp(a.c_str(), a.Length(), b.c_str(), b.Length()) < 0;
}
bool XmlDocument::TagLess::operator()(const KvWString& a, const TagView& b) const {
    return Cmp(a.c_str(), a.Length(), b.text, b.length) < 0;
}
bool XmlDocument::TagLess::operator()(const TagView& a, const KvWString& b) const {
    return Cmp(a.text, a.length, b.c_str(), b.Length()) < 0;
}
int XmlDocument::TagLess::Cmp(const char16_t* a, int al, const char16_t* b, int bl) {
    const int n = al < bl ? al : bl;
    for (int i = 0; i < n; ++i)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return al < bl ? -1 : (al > bl ? 1 : 0);
}

XmlDocument::XmlDocument() = default;

XmlDocument::XmlDocument(const XmlNode& node) : m_fileName(node.Document()->FileName()) {
    m_root = new (Pool()) XmlNode(this, node.Tag().c_str(), node.Tag().Length());
    *m_root = node;
}

XmlDocument::~XmlDocument() { Reset(); }

void XmlDocument::Reset() {
    delete m_root;
    m_root = nullptr;
    if (m_pool) m_pool->Detach();  // lives on while nodes moved to other documents remain
    m_pool = nullptr;
    m_tags.clear();
    m_dirty = false;
}

void XmlDocument::Create(const KvWString& tag) {
    Reset();
    m_root = new (Pool()) XmlNode(this, tag.c_str(), tag.Length());
}

XmlNodePool* XmlDocument::Pool() {
    if (!m_pool) m_pool = new XmlNodePool(sizeof(XmlNode));
    return m_pool;
}

const KvWString* XmlDocument::Tag(const char16_t* text, int length) {
    if (!text) text = u"";
    if (length < 0) length = KvWideChar::Length(text);
    const TagView key{text, length};
    auto it = m_tags.find(key);
    if (it == m_tags.end()) it = m_tags.emplace(KvWString(text, length), length).first;
    return &it->first;
}

KvWString XmlDocument::Value(const KvWString& path, const KvWString& def) const {
    return m_root ? m_root->Value(path, def) : def;
}

bool XmlDocument::Parse(const char* text) { return Parse(text, text ? std::strlen(text) : 0); }

bool XmlDocument::Parse(const char* text, size_t length) {
    Reset();
    if (!text) return false;
    if (const void* nul = std::memchr(text, 0, length)) length = static_cast<const char*>(nul) - text;
    XmlParser parser(*this, text, text + length);
    m_root = parser.ParseDocument();
    if (!m_root) m_tags.clear();
    return m_root != nullptr;
}

bool XmlDocument::Load(const KvWString& path) {
    Reset();
    SetFileName(path);
    std::string content;
    if (!ReadWholeFile(ToUtf8(path.c_str()).c_str(), content)) return false;
    return Parse(content.data(), content.size());
}

bool XmlDocument::Save() {
    if (!m_root || m_fileName.IsEmpty()) return false;
    const std::string target = ResolveTarget(ToUtf8(m_fileName.c_str()).c_str());
    const bool ok = ReplaceFile(target, [this](FILE* f) { return SaveXmlCode(f, true); });
    if (ok) m_dirty = false;
    return ok;
}

bool XmlDocument::SaveAs(const KvWString& path) {
    SetFileName(path);
    return Save();
}
