#include "basalt/KvNewId.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

TEST(KvNewId, PacksTheTimeFields) {
    // 2026-12-07 07:30:45: year + 1 = 2027, low four bits 0xB.
    const std::uint32_t expected = (0xBu << 28) | (12u << 24) | (7u << 19) | (7u << 14) | (30u << 8) | (45u << 2);
    EXPECT_EQ(KvNewIdFromTime(2026, 12, 7, 7, 30, 45), expected);
    // One second later is 4 higher: two bits are left for calls within one second.
    EXPECT_EQ(KvNewIdFromTime(2026, 12, 7, 7, 30, 46) - expected, 4u);
    EXPECT_LT(KvNewIdFromTime(2026, 1, 31, 23, 59, 59), KvNewIdFromTime(2026, 2, 1, 0, 0, 0));
}

TEST(KvNewId, CallsInOneSecondAreConsecutive) {
    const std::uint32_t a = GetNewId();
    const std::uint32_t b = GetNewId();
    // Either consecutive, or the clock moved on to a later second.
    EXPECT_TRUE(b == a + 1 || (b > a && b % 4 == 0)) << a << " " << b;
}

TEST(KvNewId, StrictlyIncreasingAcrossThreads) {
    std::vector<std::vector<std::uint32_t>> got(4);
    std::vector<std::thread> threads;
    for (auto& ids : got)
        threads.emplace_back([&ids] {
            for (int i = 0; i < 1000; ++i) ids.push_back(GetNewId());
        });
    for (auto& t : threads) t.join();
    std::vector<std::uint32_t> all;
    for (const auto& ids : got) {
        for (std::size_t i = 1; i < ids.size(); ++i) EXPECT_LT(ids[i - 1], ids[i]);
        all.insert(all.end(), ids.begin(), ids.end());
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

}  // namespace
