// The clock dialog's OK: the request bytes and the unreachable panel.
#include <gtest/gtest.h>

#include "TransferRig.h"
#include "forms/CClockForm.h"

namespace {

TEST(CClockForm, SendsTheDateAndTimeSetByHand) {
    struct Case {
        CClockForm::DateTime at;
        std::array<std::uint8_t, 8> sent;  // the request after its command byte
    } cases[] = {
        {{2099, 12, 31, 23, 59, 59}, {0x00, 59, 59, 23, 0x00, 31, 12, 99}},
        {{2026, 3, 1, 7, 5, 0}, {0x00, 0, 5, 7, 0x00, 1, 3, 26}},
        {{1999, 6, 15, 12, 0, 0}, {0x00, 0, 0, 12, 0x00, 15, 6, 0xFF}},  // the year byte wraps
    };
    for (const Case& c : cases) {
        TransferRig rig;
        CClockForm form(rig.handler, rig.prompt);
        form.toggleManual();
        form.setDateTime(c.at);
        ASSERT_TRUE(form.accept());
        EXPECT_EQ(rig.bus->panel().state().clock(), c.sent) << c.at.year;
        EXPECT_EQ(rig.bus->panel().pageWrites(), 0);  // the panel's address is never written
        EXPECT_EQ(rig.bus->openHandles(), 0);
    }
}

TEST(CClockForm, WithoutTheCheckBoxTheComputersTimeIsSent) {
    TransferRig rig;
    CClockForm form(rig.handler, rig.prompt);
    form.setDateTime({2099, 12, 31, 23, 59, 59});
    const std::time_t now = 1767323045;
    ASSERT_TRUE(form.accept(now));
    const CClockForm::Record r = CClockForm::record(CClockForm::localTime(now));
    const auto& sent = rig.bus->panel().state().clock();
    EXPECT_EQ((std::array<std::uint8_t, 6>{sent[1], sent[2], sent[3], sent[5], sent[6], sent[7]}), r);
}

TEST(CClockForm, AnUnreachablePanelShowsTheFailure) {
    CVirtualFaults f;
    f.refuseClaim = true;
    TransferRig rig(f);
    CClockForm form(rig.handler, rig.prompt);
    EXPECT_FALSE(form.accept());
    EXPECT_EQ(rig.prompt.shown, std::vector<int>{92});
    EXPECT_EQ(rig.bus->opens(), 2);  // tried twice
}

}  // namespace
