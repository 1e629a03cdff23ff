#include "basalt/KvPaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "basalt/KvUtf.h"
#include "internal/Utf8Decoder.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// A byte of a file name that is not UTF-8 travels as a lone low surrogate
// U+DC80..U+DCFF: no UTF-8 text decodes to one, so the bytes come back exactly.
constexpr char16_t kEscapeBase = 0xDC00;
bool IsEscapedByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

int LastSeparator(const KvWString& path, int before) {
    for (int i = before - 1; i >= 0; --i)
        if (IsSeparator(path[i])) return i;
    return -1;
}

bool IsDirectoryPath(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Names of the entries of `dir` other than "." and ".."; false when it cannot be read.
bool ListDirectory(const std::string& dir, std::vector<std::string>& names) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(d);
    return true;
}

// Renames without ever replacing an existing target.
int RenameNoReplace(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // The file system cannot rename exclusively: link then unlink keeps the guarantee.
    if (::link(from, to) != 0) return -1;
    return ::unlink(from);
}

void AppendComponent(std::vector<KvWString>& parts, const KvWString& part) {
    if (part.IsEmpty() || part == u".") return;
    if (part == u"..") {
        if (!parts.empty()) parts.pop_back();
        return;
    }
    parts.push_back(part);
}

void SplitInto(std::vector<KvWString>& parts, const KvWString& path) {
    int start = 0;
    for (int i = 0; i <= path.Length(); ++i)
        if (i == path.Length() || IsSeparator(path[i])) {
            AppendComponent(parts, path.Mid(start, i - start));
            start = i + 1;
        }
}

KvWString CurrentDirectory() {
    std::string buf(4096, '\0');
    while (!::getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE) return u"/";
        buf.resize(buf.size() * 2);
    }
    return FromPlatformPath(buf.c_str());
}

// Copies the bytes of `from` to `to`; false on any read or write error.
bool CopyStream(std::FILE* from, std::FILE* to) {
    char block[1024];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, from)) > 0)
        if (std::fwrite(block, 1, n, to) != n) return false;
    return !std::ferror(from);
}

// The umask, read without changing it: setting it to read it back would race other threads.
mode_t ProcessUmask() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    unsigned mask = 022;
    if (f) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
        std::fclose(f);
    }
    return static_cast<mode_t>(mask & 0777);
}

// A temporary file beside `target`: its descriptor, or -1. Creates the folder when missing
// and allowed. It gets the mode of the file it will replace, or for a new file what the
// umask allows.
int CreateSibling(const std::string& target, std::string& tempName, const char16_t* widePath,
                  KvFolder folder = KvFolder::Create) {
    tempName = target + ".tmpXXXXXX";
    int fd = ::mkstemp(tempName.data());
    if (fd < 0 && errno == ENOENT && folder == KvFolder::Create) {
        CreateDirectoryW(widePath);
        tempName = target + ".tmpXXXXXX";
        fd = ::mkstemp(tempName.data());
    }
    if (fd >= 0) {
        struct stat st;
        ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~ProcessUmask()));
    }
    return fd;
}

void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);  // best effort: makes the rename itself durable
        ::close(fd);
    }
}

// Removes a temporary file, keeping errno for the caller: it says why the save failed.
void DiscardSibling(const std::string& temp) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
}

// Moves the finished temporary file over the target; removes it on failure.
bool CommitSibling(const std::string& temp, const std::string& target, bool failIfExists) {
    const int r = failIfExists ? RenameNoReplace(temp.c_str(), target.c_str()) : ::rename(temp.c_str(), target.c_str());
    if (r != 0) {
        DiscardSibling(temp);
        return false;
    }
    SyncFolderOf(target);
    return true;
}

// Saving through a symbolic link replaces the file it points at and keeps the link. False when
// the link cannot be followed (a loop, say): replacing the link itself would lose it silently.
bool ResolveLink(const std::string& path, std::string& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    target = path;
    if (!fs::is_symlink(path, ec)) return true;
    const fs::path real = fs::weakly_canonical(path, ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    target = real.string();
    return true;
}

bool WriteAll(int fd, const char* p, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

KvString ToPlatformPath(const char16_t* path) {
    KvString out;
    if (!path) return out;
    const int n = KvWideChar::Length(path);
    int run = 0;
    for (int i = 0; i <= n; ++i) {
        const bool escaped = i < n && IsEscapedByte(path[i]);
        if (i < n && !escaped) continue;
        KvString piece;
        Utf16ToUtf8(piece, path + run, i - run);
        out.Append(piece);
        if (escaped) out.Append(static_cast<char>(path[i] - kEscapeBase));
        run = i + 1;
    }
    out.Replace('\\', '/');
    return out;
}

KvWString FromPlatformPath(const char* bytes) {
    KvWString out;
    if (!bytes) return out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto* end = p + std::strlen(bytes);
    const auto* run = p;  // start of the valid UTF-8 not yet appended
    while (p < end) {
        const Utf8Sequence seq = Utf8Step(p, end);
        if (seq.kind == Utf8Sequence::Valid) {
            p += seq.length;
            continue;
        }
        AppendUtf8ToUtf16(out, reinterpret_cast<const char*>(run), static_cast<int>(p - run));
        out.Append(static_cast<char16_t>(kEscapeBase + *p++));  // one byte at a time: nothing is lost
        run = p;
    }
    AppendUtf8ToUtf16(out, reinterpret_cast<const char*>(run), static_cast<int>(p - run));
    out.FreeExtra();
    return out;
}

KvWString KvUserFolder(const char* variable, const char* homeDefault) {
    // A relative base folder is ignored, as the base-directory rules ask.
    const char* base = variable ? std::getenv(variable) : nullptr;
    if (base && *base == '/') return FromPlatformPath((std::string(base) + "/cairn/").c_str());
    const char* home = std::getenv("HOME");
    if (!home || !*home || !homeDefault) return KvWString();
    return FromPlatformPath((std::string(home) + "/" + homeDefault + "/cairn/").c_str());
}

bool CreateDirectoryW(const char16_t* path) {
    const KvWString p(path);
    const int end = LastSeparator(p, p.Length());
    if (end <= 0) return false;
    bool created = false;
    for (int i = 1; i <= end; ++i) {
        if (i < end && !IsSeparator(p[i])) continue;
        if (IsSeparator(p[i - 1])) continue;  // "//" or a leading root
        const KvString level = ToPlatformPath(p.Left(i).c_str());
        created = ::mkdir(level.c_str(), 0777) == 0;
    }
    return created;
}

bool RelativePathToFullPath(const char16_t* base, const char16_t* relative, KvWString& out) {
    const KvWString rel(relative), b(base);
    std::vector<KvWString> parts;
    if (rel.IsEmpty() || !IsSeparator(rel[0])) {
        if (b.IsEmpty() || !IsSeparator(b[0])) SplitInto(parts, CurrentDirectory());
        SplitInto(parts, b);
    }
    SplitInto(parts, rel);
    KvWString result;
    for (const KvWString& part : parts) result.Append(u'/').Append(part);
    if (result.IsEmpty() || (!rel.IsEmpty() && IsSeparator(rel[rel.Length() - 1]))) result.Append(u'/');
    out = static_cast<KvWString&&>(result);
    return true;
}

bool ExtractNameFromPath(const char16_t* path, KvWString& name, KvWString& directory) {
    const KvWString p(path);
    const int sep = LastSeparator(p, p.Length());
    name = p.Mid(sep + 1);
    directory = p.Left(sep + 1);
    return true;
}

bool PreviousDirectory(const char16_t* path, KvWString& out) {
    const KvWString p(path);
    int sep = LastSeparator(p, p.Length());
    if (sep >= 0 && sep == p.Length() - 1) sep = LastSeparator(p, sep);
    if (sep < 0) return false;
    out = p.Left(sep) + u"/";
    return true;
}

bool RenameFilesName(const char16_t* directory, const char16_t* oldPrefix, const char16_t* newPrefix) {
    std::string dir = ToPlatformPath(directory).c_str();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::vector<std::string> names;
    if (!ListDirectory(dir.empty() ? "." : dir, names)) return errno == ENOENT;
    const std::string from = ToPlatformPath(oldPrefix).c_str();
    const std::string to = ToPlatformPath(newPrefix).c_str();
    bool ok = true;
    for (const std::string& name : names) {  // listed first: renaming while reading could revisit
        if (name.compare(0, from.size(), from) != 0) continue;
        struct stat st;
        if (::lstat((dir + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const std::string renamed = to + name.substr(from.size());
        if (RenameNoReplace((dir + name).c_str(), (dir + renamed).c_str()) != 0 && errno != ENOENT) ok = false;
    }
    return ok;
}

int wideremovefolder(const char16_t* path, bool recursive, bool removeFiles) {
    const std::string dir = ToPlatformPath(path).c_str();
    std::vector<std::string> names;
    ListDirectory(dir, names);
    for (const std::string& name : names) {
        const std::string full = dir + "/" + name;
        struct stat st;
        if (::lstat(full.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            if (recursive) wideremovefolder(FromPlatformPath(full.c_str()).c_str(), recursive, removeFiles);
        } else if (removeFiles) {
            ::unlink(full.c_str());
        }
    }
    ::rmdir(dir.c_str());
    struct stat st;
    return ::lstat(dir.c_str(), &st) == 0 ? -1 : 0;
}

std::FILE* widefopen(const char16_t* path, const char16_t* mode) {
    KvString m = ToUtf8(mode ? mode : u"r");
    while (m.Find('t') >= 0) m.Delete(m.Find('t'));
    return std::fopen(ToPlatformPath(path).c_str(), m.c_str());
}

int wideopen(const char16_t* path, int flags, int mode) {
    return ::open(ToPlatformPath(path).c_str(), flags, static_cast<mode_t>(mode));
}

int wideremove(const char16_t* path) { return std::remove(ToPlatformPath(path).c_str()); }

int widerename(const char16_t* from, const char16_t* to) {
    return RenameNoReplace(ToPlatformPath(from).c_str(), ToPlatformPath(to).c_str());
}

char16_t* wideStrtok(char16_t* text, const char16_t* delimiters, char16_t** context) {
    if (!context) return nullptr;
    char16_t* p = text ? text : *context;
    if (!p) return nullptr;
    auto isDelimiter = [delimiters](char16_t c) {
        for (const char16_t* d = delimiters; d && *d; ++d)
            if (*d == c) return true;
        return false;
    };
    while (*p && isDelimiter(*p)) ++p;
    if (!*p) {
        *context = p;
        return nullptr;
    }
    char16_t* token = p;
    while (*p && !isDelimiter(*p)) ++p;
    if (*p) *p++ = u'\0';
    *context = p;
    return token;
}

bool widecopy(const char16_t* source, const char16_t* target, bool failIfExists) {
    std::FILE* in = widefopen(source, u"rb");
    if (!in) return false;
    const std::string to = ToPlatformPath(target).c_str();
    struct stat st;
    if (failIfExists && ::stat(to.c_str(), &st) == 0) {
        std::fclose(in);
        return false;
    }
    std::string temp;
    const int fd = CreateSibling(to, temp, target);
    std::FILE* out = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!out) {
        if (fd >= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
        }
        std::fclose(in);
        return false;
    }
    bool ok = CopyStream(in, out);
    std::fclose(in);
    ok = std::fflush(out) == 0 && ok;
    ok = ::fsync(::fileno(out)) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    return CommitSibling(temp, to, failIfExists);
}

bool KvReadFile(const char16_t* path, std::string& content) {
    content.clear();
    std::FILE* f = widefopen(path, u"rb");
    if (!f) return false;
    char block[1 << 16];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) content.append(block, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool KvSaveFileAtomic(const char16_t* path, const void* data, std::size_t size, KvFolder folder) {
    std::string target;
    if (!ResolveLink(ToPlatformPath(path).c_str(), target)) return false;
    if (target.empty() || target.back() == '/' || IsDirectoryPath(target)) {
        errno = EISDIR;
        return false;
    }
    std::string temp;
    const int fd = CreateSibling(target, temp, FromPlatformPath(target.c_str()).c_str(), folder);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, static_cast<const char*>(data), size);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        DiscardSibling(temp);
        return false;
    }
    return CommitSibling(temp, target, false);
}
