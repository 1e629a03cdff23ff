// The facility model belongs to the user-interface thread. While a transfer's worker talks to
// the panel, that thread keeps reading the model, as a modal dialog's event loop does when it
// repaints the main window. Built with -fsanitize=thread (scripts/tsan.sh), any model access
// from the worker shows up as a data race.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "TransferRig.h"

namespace {

// A wait dialog whose modal loop reads the whole model through const calls until Done.
class RepaintingDialog : public IModalWaitDialog {
public:
    RepaintingDialog(const CFacilityManager& facility, int& repaints) : m_facility(facility), m_repaints(repaints) {}

    void SetText(const KvWString&) override {}
    bool IsOK() const override { return m_up.load(); }
    void Done() override { m_done.store(true); }
    void RunModal() override {
        m_up.store(true);
        // At least one repaint even when the worker is quicker than this loop's first turn.
        do {
            m_painted += snapshot(m_facility).size();
            ++m_repaints;
        } while (!m_done.load());
    }

private:
    const CFacilityManager& m_facility;
    int& m_repaints;
    std::atomic<bool> m_up{false};
    std::atomic<bool> m_done{false};
    std::size_t m_painted = 0;
};

TEST(TransferThreads, UploadAndDownloadLeaveTheModelToTheCallingThread) {
    TransferRig::installStrings();
    CFacilityManager facility;
    FacilityBuilder(facility).panel(1, 3, u"Hall").zones(20).loop(1).element(1, 1, 1).device(5, 13, 2).loop(2).element(
        9, 7, 3);
    FacilityBuilder(facility).rule(1, 10, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 3, 0, 0, 4});
    ScriptedPrompt prompt;  // yes to replacing the panel on the way back
    prompt.choice = {1};
    int repaints = 0;
    auto bus = std::make_shared<CVirtualUsbBus>("", CVirtualFaults());
    CUsbHandler handler(
        facility, prompt,
        [&]() -> std::unique_ptr<IModalWaitDialog> { return std::make_unique<RepaintingDialog>(facility, repaints); },
        bus);
    handler.setDialogSettleTime(std::chrono::milliseconds(0));

    ASSERT_TRUE(handler.uploadAll());
    ASSERT_TRUE(handler.downloadAll());
    EXPECT_EQ(prompt.asked, std::vector<int>{CUsbHandler::kReplacePanelText});
    EXPECT_EQ(facility.getNumberOfPanels(), 1);
    EXPECT_EQ(*facility.getPanelLabel(1), u"Hall");
    EXPECT_EQ(facility.getElementType(1, 2, 9), 7);
    EXPECT_EQ(facility.getEventActionOutZone(1), 3);
    EXPECT_GE(repaints, 2);
}

}  // namespace
