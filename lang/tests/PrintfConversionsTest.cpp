#include "PrintfConversions.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::string>;

TEST(PrintfConversionsTest, KindsInOrder) {
    struct Case {
        const char* format;
        List expected;
    };
    const Case cases[] = {
        {"No placeholder", {}},
        {"Element %d", {"d"}},
        {"Step %d: loop %d, element %d", {"d", "d", "d"}},
        {"The file %s already exists", {"s"}},
        {"%s %d", {"s", "d"}},
        {"%d %s", {"d", "s"}},
        {"%hs and %ls and %lld", {"hs", "ls", "lld"}},
        {"%-5d|%05.2f|%+i|%#x", {"d", "f", "i", "x"}},
        {"%*d and %.*s", {"*", "d", "*", "s"}},
        {"100%% sure, %d%%", {"d"}},
        // A stray percent sign is still a conversion to printf: "% s" reads an argument.
        {"100 % sure", {"s"}},
        {"50% off", {"o"}},
        {"50%!", {"?"}},
        {"ends with %", {"?"}},
        {"bad %y letter", {"?"}},
    };
    for (const Case& c : cases) EXPECT_EQ(PrintfConversions(c.format), c.expected) << c.format;
}

}  // namespace
