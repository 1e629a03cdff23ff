#include "panel_link/CUpdateManifest.h"

#include <gtest/gtest.h>

#include "basalt/KvUtf.h"
#include "UpdateSet.h"

namespace {

std::string utf8(const KvWString& s) { return ToUtf8(s.c_str()).c_str(); }

TEST(CUpdateManifest, FolderEndsAtTheLastSeparatorOfEitherKind) {
    const std::pair<const char*, const char*> cases[] = {
        {"/media/usb/update.xml", "/media/usb/"},
        {"C:\\Updates\\v2\\update.xml", "C:\\Updates\\v2\\"},
        {"/mnt/share\\v2/update.xml", "/mnt/share\\v2/"},
        {"/mnt/share/v2\\update.xml", "/mnt/share/v2\\"},
        {"update.xml", ""},
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(folder, utf8(CUpdateManifest::folderOf(ToWide(path)))) << path;
}

TEST(CUpdateManifest, NamesResolveInTheManifestFolder) {
    UpdateSet set;
    set.manifest("main.S37", "", "lang.bin");
    CUpdateManifest manifest;
    ASSERT_TRUE(manifest.load(set.manifestPath()));
    EXPECT_EQ(utf8(set.path("main.S37")), utf8(manifest.panelPath()));
    EXPECT_TRUE(manifest.loopPath().IsEmpty());
    // All four applets first, then the named payloads.
    const std::vector<KvWString> files = manifest.requiredFiles();
    ASSERT_EQ(6u, files.size());
    EXPECT_EQ(utf8(set.path("cf_flash.S19")), utf8(files[0]));
    EXPECT_EQ(utf8(set.path("serial_flash.S19")), utf8(files[3]));
    EXPECT_TRUE(manifest.firstMissingFile().IsEmpty());
    set.remove("lang.bin");
    EXPECT_EQ(utf8(set.path("lang.bin")), utf8(manifest.firstMissingFile()));

    set.write("update.xml", "<update>\n  <panel>\n    main.S37\n  </panel>\n  <loop> </loop>\n</update>");
    ASSERT_TRUE(manifest.load(set.manifestPath()));
    EXPECT_EQ(utf8(set.path("main.S37")), utf8(manifest.panelPath()));
    EXPECT_TRUE(manifest.loopPath().IsEmpty());
}

}  // namespace
