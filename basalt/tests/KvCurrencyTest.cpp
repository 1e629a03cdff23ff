#include "basalt/KvCurrency.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "testkit/TempFolder.h"

namespace {

class KvCurrencyTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_file = m_dir + "/currencies.curr";
        std::ofstream(m_file, std::ios::binary) << "\xEF\xBB\xBF" "EUR \xE2\x82\xAC\n"
                                                   "USD\t$\r\n"
                                                   "CHF Fr.  GBP \xC2\xA3\n"
                                                   "EUR second\n"
                                                   "ODD";
    }
    TempFolder m_folder{"cairn-cur"};
    const std::string m_dir = m_folder.str();
    std::string m_file;
};

TEST_F(KvCurrencyTest, FirstMatchingPairSetsCodeAndSymbol) {
    KvCurrency c;
    EXPECT_FALSE(c.IsValid());
    const struct {
        const char16_t* code;
        const char16_t* symbol;
    } cases[] = {{u"EUR", u"\u20AC"}, {u"USD", u"$"}, {u"CHF", u"Fr."}, {u"GBP", u"\u00A3"}};
    for (const auto& k : cases) {
        ASSERT_TRUE(c.Set(k.code, m_file.c_str()));
        EXPECT_TRUE(c.Code() == k.code);
        EXPECT_TRUE(c.Symbol() == k.symbol);
    }
}

TEST_F(KvCurrencyTest, UnknownCodeOrMissingFileLeavesItInvalid) {
    KvCurrency c;
    ASSERT_TRUE(c.Set(u"USD", m_file.c_str()));
    EXPECT_TRUE(c.Set(u"", m_file.c_str()));     // empty: nothing happens
    EXPECT_TRUE(c.Set(u"USD", "/nonexistent"));  // the current code: nothing happens
    EXPECT_FALSE(c.Set(u"ODD", m_file.c_str())); // a code without a symbol
    EXPECT_FALSE(c.IsValid());
    ASSERT_TRUE(c.Set(u"EUR", m_file.c_str()));
    EXPECT_FALSE(c.Set(u"JPY", (m_dir + "/absent.curr").c_str()));
    EXPECT_FALSE(c.IsValid());
    EXPECT_TRUE(c.Symbol().IsEmpty());
}

TEST_F(KvCurrencyTest, ProcessInstanceReadsTheShareDirectory) {
    ::setenv("CAIRN_SHARE_DIR", m_dir.c_str(), 1);
    KvCurrency& c = KvCurrency::Get();
    c.Reset();
    EXPECT_TRUE(c.Set(u"GBP"));
    EXPECT_TRUE(c.Symbol() == u"\u00A3");
    c.Reset();
    EXPECT_FALSE(c.IsValid());
    ::unsetenv("CAIRN_SHARE_DIR");
}

}  // namespace
