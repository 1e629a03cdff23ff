#include <gtest/gtest.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "basalt/KvFileFind.h"
#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"
#include "testkit/TempFolder.h"

namespace {

std::u16string U(const KvWString& s) { return std::u16string(s.c_str(), s.Length()); }

// A fresh directory per case, removed afterwards.
class KvPaths : public ::testing::Test {
protected:
    KvWString W(const std::string& relative) const { return ToWide((m_dir + "/" + relative).c_str()); }
    std::string P(const std::string& relative) const { return m_dir + "/" + relative; }
    void Write(const std::string& relative, const std::string& content) const {
        std::ofstream(P(relative), std::ios::binary) << content;
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(P(relative), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    bool Exists(const std::string& relative) const {
        struct stat st;
        return ::lstat(P(relative).c_str(), &st) == 0;
    }

    TempFolder m_folder{"kvpaths"};
    const std::string m_dir = m_folder.str();
};

TEST_F(KvPaths, PathPieces) {
    struct Case {
        const char16_t* path;
        const char16_t* name;
        const char16_t* directory;
        const char16_t* previous;  // null: PreviousDirectory fails
    };
    const Case cases[] = {
        {u"/data/site/report.xml", u"report.xml", u"/data/site/", u"/data/site/"},
        {u"C:\\site\\report.xml", u"report.xml", u"C:\\site\\", u"C:\\site/"},
        {u"a/b/c/", u"", u"a/b/c/", u"a/b/"},
        {u"report.xml", u"report.xml", u"", nullptr},
        {u"a/", u"", u"a/", nullptr},
        {u"/a", u"a", u"/", u"/"},
    };
    for (const Case& c : cases) {
        KvWString name(u"x"), directory(u"x"), previous(u"untouched");
        EXPECT_TRUE(ExtractNameFromPath(c.path, name, directory));
        EXPECT_EQ(std::u16string(c.name), U(name));
        EXPECT_EQ(std::u16string(c.directory), U(directory));
        EXPECT_EQ(c.previous != nullptr, PreviousDirectory(c.path, previous)) << U(KvWString(c.path)).size();
        EXPECT_EQ(std::u16string(c.previous ? c.previous : u"untouched"), U(previous));
    }
}

TEST_F(KvPaths, FullPathResolvesWithoutChangingTheCurrentDirectory) {
    char before[4096];
    ASSERT_NE(nullptr, ::getcwd(before, sizeof before));
    KvWString out;
    EXPECT_TRUE(RelativePathToFullPath(u"/data/site", u"../lang/./cairn.en.stc", out));
    EXPECT_EQ(u"/data/lang/cairn.en.stc", U(out));
    EXPECT_TRUE(RelativePathToFullPath(u"/data/site/", u"images\\logo.bmp", out));
    EXPECT_EQ(u"/data/site/images/logo.bmp", U(out));
    EXPECT_TRUE(RelativePathToFullPath(u"/data", u"/etc//x/..", out));
    EXPECT_EQ(u"/etc", U(out));
    EXPECT_TRUE(RelativePathToFullPath(u"/", u"../../..", out));
    EXPECT_EQ(u"/", U(out));
    EXPECT_TRUE(RelativePathToFullPath(u"sub", u"f.txt", out));
    EXPECT_EQ(ToWide(before) + u"/sub/f.txt", out);
    char after[4096];
    ASSERT_NE(nullptr, ::getcwd(after, sizeof after));
    EXPECT_STREQ(before, after);
}

TEST_F(KvPaths, CreateDirectoryMakesEveryLevel) {
    EXPECT_TRUE(CreateDirectoryW(W("a/b\\c/file.xml").c_str()));
    EXPECT_TRUE(Exists("a/b/c"));
    EXPECT_FALSE(Exists("a/b/c/file.xml"));
    EXPECT_FALSE(CreateDirectoryW(W("a/b/c/other.xml").c_str()));  // last level existed
    EXPECT_FALSE(CreateDirectoryW(u"no-directory-part.xml"));
}

TEST_F(KvPaths, WideFileFunctionsUseUtf8Names) {
    const KvWString name = W("\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.txt");
    std::FILE* f = widefopen(name.c_str(), u"wt");
    ASSERT_NE(nullptr, f);
    std::fputs("zone", f);
    std::fclose(f);
    EXPECT_EQ("zone", Read("\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.txt"));
    const int fd = wideopen(name.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(0, widerename(name.c_str(), W("b.txt").c_str()));
    EXPECT_EQ(0, wideremove(W("b.txt").c_str()));
    EXPECT_FALSE(Exists("b.txt"));
}

TEST_F(KvPaths, RenameNeverReplacesAnExistingFile) {
    Write("a.txt", "new");
    Write("b.txt", "precious");
    EXPECT_NE(0, widerename(W("a.txt").c_str(), W("b.txt").c_str()));
    EXPECT_EQ("precious", Read("b.txt"));
    EXPECT_EQ("new", Read("a.txt"));
}

TEST_F(KvPaths, RenameFilesByPrefix) {
    Write("old_1.csv", "1");
    Write("old_2.csv", "2");
    Write("other.csv", "3");
    Write("new_3.csv", "keep");
    Write("old_3.csv", "clash");
    EXPECT_FALSE(RenameFilesName(W("").c_str(), u"old_", u"new_"));  // old_3 would replace new_3
    EXPECT_EQ("1", Read("new_1.csv"));
    EXPECT_EQ("2", Read("new_2.csv"));
    EXPECT_EQ("keep", Read("new_3.csv"));
    EXPECT_TRUE(Exists("other.csv"));
    // A new prefix that starts with the old one renames each file once.
    EXPECT_TRUE(RenameFilesName(W("").c_str(), u"new_", u"new_new_"));
    EXPECT_EQ("1", Read("new_new_1.csv"));
    EXPECT_FALSE(Exists("new_new_new_1.csv"));
    EXPECT_TRUE(RenameFilesName(W("missing").c_str(), u"a", u"b"));
}

TEST_F(KvPaths, RemoveFolderHonoursFlagsAndNeverFollowsLinks) {
    const TempFolder outsideFolder("kvpaths-outside");
    const std::string outside = outsideFolder.str();
    std::ofstream(std::string(outside) + "/keep.txt") << "x";
    CreateDirectoryW(W("tree/sub/leaf/f").c_str());
    Write("tree/a.txt", "a");
    Write("tree/sub/b.txt", "b");
    ASSERT_EQ(0, ::symlink(outside.c_str(), P("tree/link").c_str()));

    EXPECT_EQ(-1, wideremovefolder(W("tree").c_str(), false, true));  // subdirectories stay, so does the folder
    EXPECT_FALSE(Exists("tree/a.txt"));
    EXPECT_TRUE(Exists("tree/sub/b.txt"));
    EXPECT_EQ(0, wideremovefolder(W("tree").c_str(), true, true));
    EXPECT_FALSE(Exists("tree"));
    struct stat st;
    EXPECT_EQ(0, ::stat((outside + "/keep.txt").c_str(), &st));
}

TEST_F(KvPaths, CopyReplacesOnlyWhenComplete) {
    std::string big(5000, 'q');
    big[1023] = '\0';
    Write("src.bin", big);
    Write("dst.bin", "old content that is longer than nothing");
    EXPECT_TRUE(widecopy(W("src.bin").c_str(), W("dst.bin").c_str(), false));
    EXPECT_EQ(big, Read("dst.bin"));
    EXPECT_FALSE(widecopy(W("src.bin").c_str(), W("dst.bin").c_str(), true));  // exists
    EXPECT_FALSE(widecopy(W("missing").c_str(), W("dst.bin").c_str(), false));
    EXPECT_EQ(big, Read("dst.bin"));
    EXPECT_TRUE(widecopy(W("src.bin").c_str(), W("new/dir/copy.bin").c_str(), true));
    EXPECT_EQ(big, Read("new/dir/copy.bin"));
}

TEST_F(KvPaths, SaveFileAtomicKeepsOldFileOnFailure) {
    Write("cfg.json", "old");
    ::chmod(P("cfg.json").c_str(), 0640);
    EXPECT_TRUE(KvSaveFileAtomic(W("cfg.json").c_str(), "new", 3));
    EXPECT_EQ("new", Read("cfg.json"));
    struct stat st;
    ASSERT_EQ(0, ::stat(P("cfg.json").c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 0777);
    EXPECT_TRUE(KvSaveFileAtomic(W("deep/er/cfg.json").c_str(), "x", 1));
    EXPECT_FALSE(KvSaveFileAtomic(W("deep").c_str(), "x", 1));  // a folder is not replaced
    EXPECT_EQ(EISDIR, errno);
    // A caller that names a folder the user chose must not get one made up for it.
    EXPECT_FALSE(KvSaveFileAtomic(W("absent/cfg.json").c_str(), "x", 1, KvFolder::MustExist));
    EXPECT_EQ(ENOENT, errno);
    EXPECT_FALSE(Exists("absent"));
    EXPECT_TRUE(KvSaveFileAtomic(W("deep/er/cfg.json").c_str(), "y", 1, KvFolder::MustExist));
    EXPECT_EQ("y", Read("deep/er/cfg.json"));
    if (::geteuid() != 0) {
        ::chmod(m_dir.c_str(), 0500);  // folder not writable: no temporary file possible
        EXPECT_FALSE(KvSaveFileAtomic(W("cfg.json").c_str(), "lost", 4));
        EXPECT_EQ(EACCES, errno);  // says why, for the caller's message
        ::chmod(m_dir.c_str(), 0700);
        EXPECT_EQ("new", Read("cfg.json"));
    }
    KvFileFind find;
    int leftovers = 0;
    for (bool more = find.FindFile(W("*.tmp*").c_str()); more;) {
        more = find.FindNextFileW();
        ++leftovers;
    }
    EXPECT_EQ(0, leftovers);
}

TEST_F(KvPaths, SaveFileAtomicThroughLinksAndWithTheUmask) {
    Write("real.json", "old");
    ASSERT_EQ(0, ::symlink(P("real.json").c_str(), P("link.json").c_str()));
    EXPECT_TRUE(KvSaveFileAtomic(W("link.json").c_str(), "new", 3));
    struct stat st;
    ASSERT_EQ(0, ::lstat(P("link.json").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ("new", Read("real.json"));

    // A loop cannot be followed: the save fails rather than replace the link.
    ASSERT_EQ(0, ::symlink(P("loop.b").c_str(), P("loop.a").c_str()));
    ASSERT_EQ(0, ::symlink(P("loop.a").c_str(), P("loop.b").c_str()));
    EXPECT_FALSE(KvSaveFileAtomic(W("loop.a").c_str(), "x", 1));
    ASSERT_EQ(0, ::lstat(P("loop.a").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    const mode_t before = ::umask(027);
    EXPECT_TRUE(KvSaveFileAtomic(W("private.json").c_str(), "x", 1));
    ::umask(before);
    ASSERT_EQ(0, ::stat(P("private.json").c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 0777);

    std::string content;
    EXPECT_TRUE(KvReadFile(W("link.json").c_str(), content));
    EXPECT_EQ("new", content);
    EXPECT_FALSE(KvReadFile(W("missing.json").c_str(), content));
}

TEST(KvStrtok, SplitsLikeWcstok) {
    char16_t text[] = u",,panel;loop,,zone;";
    char16_t* context = nullptr;
    std::u16string got;
    for (char16_t* t = wideStrtok(text, u",;", &context); t; t = wideStrtok(nullptr, u",;", &context))
        got += std::u16string(t) + u"|";
    EXPECT_EQ(u"panel|loop|zone|", got);
    EXPECT_EQ(nullptr, wideStrtok(nullptr, u",", &context));
}

TEST_F(KvPaths, FileFindListsMatchesInOrder) {
    Write("b.XML", "");
    Write("a.xml", "");
    Write("c.txt", "");
    Write("noext", "");
    CreateDirectoryW(W("d.xml/x").c_str());
    KvFileFind find;
    std::u16string names;
    for (bool more = find.FindFile(W("*.xml").c_str()); more;) {
        more = find.FindNextFileW();
        names += U(find.GetFileName()) + (find.IsDirectory() ? u"/" : u"") + u" ";
        EXPECT_EQ(find.GetRoot() + find.GetFileName(), find.GetFilePath());
    }
    EXPECT_EQ(u"a.xml b.XML d.xml/ ", names);

    int all = 0, dots = 0;
    for (bool more = find.FindFile(W("*.*").c_str()); more;) {
        more = find.FindNextFileW();
        ++all;
        dots += find.IsDots() ? 1 : 0;
    }
    EXPECT_EQ(7, all);  // ".", "..", five entries: "*.*" matches names without a dot too
    EXPECT_EQ(2, dots);

    EXPECT_TRUE(find.FindFile(W("a.xml").c_str()));
    EXPECT_FALSE(find.FindNextFileW());  // the only entry is also the last
    EXPECT_EQ(u"a", U(find.GetFileTitle()));
    EXPECT_FALSE(find.FindFile(W("*.none").c_str()));
    EXPECT_FALSE(find.FindFile(W("missing/*").c_str()));
    EXPECT_TRUE(find.GetFileName().IsEmpty());
}

TEST_F(KvPaths, FileFindTakesOnlyStarAndQuestionMarkAsWildcards) {
    for (const char* name : {"a[1].txt", "a1.txt", "b].txt", "\xC3\x89t\xC3\xA9.txt", "x\xF0\x9F\x94\xA5y"}) Write(name, "");
    auto find = [this](const std::string& pattern) {
        KvFileFind f;
        std::u16string names;
        for (bool more = f.FindFile(W(pattern).c_str()); more;) {
            more = f.FindNextFileW();
            names += U(f.GetFileName()) + u" ";
        }
        return names;
    };
    EXPECT_EQ(u"a[1].txt ", find("a[1].txt"));
    EXPECT_EQ(u"a[1].txt ", find("A[1].TXT"));
    EXPECT_EQ(u"a1.txt ", find("a?.txt"));
    EXPECT_EQ(u"a[1].txt b].txt ", find("*].txt"));
    EXPECT_EQ(u"", find("[ab]1.txt"));
    EXPECT_EQ(u"\u00c9t\u00e9.txt ", find("\xC3\xA9T\xC3\x89.*"));  // case beyond ASCII too
    EXPECT_EQ(u"x\U0001F525y ", find("x?y"));                  // a surrogate pair is one character
    EXPECT_EQ(u"a1.txt a[1].txt ", find("a*t*"));
}

// A Latin-1 name is no UTF-8: it must reach the same file when listed and saved back.
TEST_F(KvPaths, FileNamesThatAreNotUtf8SurviveTheRoundTrip) {
    const std::string latin1 = "caf\xE9 \xC0\xAF\xED\xA0\x80.xml";  // e-acute, an overlong "/", a surrogate
    Write(latin1, "old");
    KvFileFind find;
    ASSERT_TRUE(find.FindFile(W("*.xml").c_str()));
    find.FindNextFileW();
    const KvWString path = find.GetFilePath();
    EXPECT_EQ(P(latin1), ToPlatformPath(path.c_str()).c_str());
    EXPECT_EQ(u"caf\xDCE9 \xDCC0\xDCAF\xDCED\xDCA0\xDC80.xml", U(find.GetFileName()));

    std::string content;
    EXPECT_TRUE(KvReadFile(path.c_str(), content));
    EXPECT_EQ("old", content);
    EXPECT_TRUE(KvSaveFileAtomic(path.c_str(), "new", 3));
    EXPECT_EQ("new", Read(latin1));
    EXPECT_EQ(u"caf\xDCE9 \xDCC0\xDCAF\xDCED\xDCA0\xDC80.xml ", [&] {
        std::u16string all;
        for (bool more = find.FindFile(W("*").c_str()); more;) {
            more = find.FindNextFileW();
            if (!find.IsDots()) all += U(find.GetFileName()) + u" ";
        }
        return all;
    }());

    // Valid UTF-8 is unchanged both ways, and the escapes never stand for anything else.
    EXPECT_EQ(u"\u00e9\U0001F525/x", U(FromPlatformPath("\xC3\xA9\xF0\x9F\x94\xA5/x")));
    EXPECT_STREQ("a/b\xFF", ToPlatformPath(u"a\\b\xDCFF").c_str());
    EXPECT_STREQ("ab", ToPlatformPath(u"a\xD800" u"b\xDC7F").c_str());  // lone surrogates that stand for no byte
    EXPECT_EQ(u"\xDCE9", U(FromPlatformPath("\xE9")));
    EXPECT_EQ(u"\xDCF0\xDC9F\xDC94", U(FromPlatformPath("\xF0\x9F\x94")));  // cut short at the end
}

}  // namespace

TEST(KvUserFolder, TakesTheVariableOnlyWhenAbsoluteElseHome) {
    const auto saved = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto restore = [](const char* name, const std::optional<std::string>& v) {
        if (v) ::setenv(name, v->c_str(), 1); else ::unsetenv(name);
    };
    const auto data = saved("XDG_DATA_HOME");
    const auto home = saved("HOME");
    ::setenv("HOME", "/home/\xE9", 1);  // not UTF-8: the byte must survive
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(U(KvUserFolder("XDG_DATA_HOME", ".local/share")), u"/srv/data/cairn/");
    ::setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_STREQ(ToPlatformPath(KvUserFolder("XDG_DATA_HOME", ".local/share").c_str()).c_str(),
                 "/home/\xE9/.local/share/cairn/");
    ::unsetenv("HOME");
    EXPECT_TRUE(KvUserFolder("XDG_DATA_HOME", ".local/share").IsEmpty());
    restore("XDG_DATA_HOME", data);
    restore("HOME", home);
}
