#include "basalt/KvTrace.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "testkit/TempFolder.h"

namespace {

class Capture : public KvTraceChannel {
public:
    void Write(const char* utf8, int length) override { text.append(utf8, static_cast<std::size_t>(length)); }
    std::string text;
};

class KvTraceTest : public ::testing::Test {
protected:
    void SetUp() override { m_previous = SetKvTraceChannel(&m_capture); }
    void TearDown() override { SetKvTraceChannel(m_previous); }
    Capture m_capture;
    KvTraceChannel* m_previous = nullptr;
};

TEST_F(KvTraceTest, NarrowAndWideLinesReachTheChannelAsUtf8) {
    printk("\n CFacilityManager::addPanel");
    printk("\n panel %d of %s", 3, "four");
    printk(u"\n %s \u00FC %hs %04X", u"wide", "narrow", 0xBEEFu);
    EXPECT_EQ(m_capture.text, "\n CFacilityManager::addPanel\n panel 3 of four\n wide \xC3\xBC narrow BEEF");
}

TEST_F(KvTraceTest, LongLinesAreCutAt4095Characters) {
    const std::string longText(5000, 'x');
    printk("%s", longText.c_str());
    EXPECT_EQ(m_capture.text.size(), 4095u);
    m_capture.text.clear();
    printk(u"%hs", longText.c_str());
    EXPECT_EQ(m_capture.text.size(), 4095u);
}

TEST(KvTraceDefault, RestoringTheDefaultReturnsTheInstalledChannel) {
    Capture c;
    EXPECT_EQ(SetKvTraceChannel(&c), nullptr);
    EXPECT_EQ(SetKvTraceChannel(nullptr), &c);
    // Default channel without CAIRN_TRACE: nothing happens, nothing crashes.
    ::unsetenv("CAIRN_TRACE");
    printk("\n silent");
    printk(static_cast<const char*>(nullptr));
}

TEST(KvTraceLog, PrintlogAppendsUnderTheStateDirectory) {
    const TempFolder folder("cairn-log");
    const std::string root = folder.str();
    const char* old = std::getenv("XDG_STATE_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_STATE_HOME", root.c_str(), 1);
    EXPECT_STREQ(KvLogDirectory().c_str(), (root + "/cairn/").c_str());
    printlog("first %d\n", 1);
    printlog(u"second %s\n", u"\u00E9");
    std::ifstream in(root + "/cairn/log.txt");
    std::stringstream all;
    all << in.rdbuf();
    EXPECT_EQ(all.str(), "first 1\nsecond \xC3\xA9\n");
    // A relative XDG_STATE_HOME is not used, as the base-directory rules say.
    ::setenv("XDG_STATE_HOME", "relative", 1);
    EXPECT_EQ(std::string(KvLogDirectory().c_str()).find("relative"), std::string::npos);
    if (old) ::setenv("XDG_STATE_HOME", saved.c_str(), 1); else ::unsetenv("XDG_STATE_HOME");
}

}  // namespace
