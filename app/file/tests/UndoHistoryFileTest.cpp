// The undo history judged by what matters to the user: the saved file. Each kind of editor
// action, undone and redone, must give back the exact bytes of before and after.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <algorithm>

#include "FacilityBuilder.h"
#include "FacilityDump.h"
#include "TestStrings.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"

namespace {

namespace fs = std::filesystem;

KvWString text(const char* s) { return ToWide(s); }

// ---- editor actions, as the editors call the manager ----

// Add on the root row: a panel, its first loop with zones 1..250, and a range of elements.
void addPanelWithLoop(CFacilityManager& m, int address) {
    const int id = m.getNumberOfPanels() + 1;
    m.addPanel(id, address, text("New panel"));
    m.addLoopToPanel(id, 1);
    for (int z = 1; z <= 250; ++z) m.addZone(id, z, text("Zone"));
    for (int a = 1; a <= 20; ++a) {
        m.addElementToLoop(id, 1, a, 2, 0, text("Element"), u"Detector 1");
        m.setElementGenericType(id, 1, a, 2);
        m.addElementToZone(id, 1, a, 3);
    }
    m.setZoneDescription(3, text("Stairs"));
    m.sortFacility();
}

// Add on a loop row: elements whose addresses fall between those already there.
void addElementsBetween(CFacilityManager& m) {
    for (int a = 30; a <= 33; ++a) {
        m.addElementToLoop(1, 1, a, 10, 0, text("Output"), nullptr);
        m.setElementGenericType(1, 1, a, 7);
    }
    m.sortFacility();
}

// Delete of several selected rows: a panel, a loop, and a four-address device from its middle.
void deleteRows(CFacilityManager& m) {
    m.delPanel(3);
    m.delLoopFromPanel(1, 2);
    for (int a = 40; a <= 43; ++a) m.delElementFromLoop(1, 1, a);
}

// Modify on a panel row: address and label, then the panel moves to its place.
void modifyPanel(CFacilityManager& m) {
    m.setPanelAddress(1, 50);
    m.setPanelLabel(1, text("Hall"));
    m.sortPanel(1);
}

// The in-place editors: description, zone, zone description.
void editInPlace(CFacilityManager& m) {
    m.setElementDescription(1, 1, 5, u"By the door");
    m.addElementToZone(1, 1, 6, 9);
    m.setZoneDescription(9, text("Kitchen"));
}

// The type change of the loops editor: the manager rebuilds the device, the editor sets the
// parts' modes again and sorts.
void changeType(CFacilityManager& m, int address, int type) {
    if (!m.setElementType(1, 1, address, type)) return;
    m.setElementCompositeMode(1, 1, address, 1);
    m.sortFacility();
}

// A rule made by a plain drop, and one through the range dialogs.
void dropRule(CFacilityManager& m) {
    const int id = m.getFreeEventId();
    m.addEventActionItem(id, 0);
    m.addEventToEventActionItem(id, 0, 1, 1, 7, 0, 0, 0, 5, 1001);
    m.addActionToEventActionItem(id, 0, 2, 1, 0, 0, 0, 0, 2, 2001);
}

void dropRangeRule(CFacilityManager& m) {
    const int id = m.getFreeEventId();
    m.addEventActionItem(id, 0);
    m.addEventToEventActionItem(id, 2, 1, 0, 0, 0, 0, 0, 1, 1002);
    m.addActionToEventActionItem(id, 3, 2, 0, 0, 0, 4, 9, 6, 2002);
}

void editRule(CFacilityManager& m) {
    m.setEventActionDelay(2, 45);
    m.setEventActionInType(2, 1);
    m.setEventActionOutType(2, 2);
}

// A download that found the device at panel 2's address: the user agreed to replace panel 2,
// its rules went, and the panel was read in again with its zones, loops and rules.
void downloadOverPanel2(CFacilityManager& m) {
    for (int i = m.getNumberEventsInPanel() - 1; i >= 0; --i) {
        const int id = m.getEventActionId(i);
        if (m.getEventActionInPanel(id) == 2) m.delEventActionItem(id);
    }
    const int address = m.getPanelAddress(2);
    m.delPanel(2);
    m.addPanel(2, address, text("Downloaded"));
    m.setPanelInstaller(2, text("Panel installer"));
    m.setPanelPhone(2, text("555"));
    for (int z = 1; z <= 250; ++z) m.addZone(2, z, text("From panel"));
    m.addLoopToPanel(2, 3);
    for (int a = 1; a <= 10; ++a) m.addElementToLoop(2, 3, a, 8, 1, text("Read"), nullptr);
    for (int k = 0; k < 3; ++k) {
        const int id = m.getFreeEventId();
        m.addEventActionItem(id, k);
        m.addEventToEventActionItem(id, 0, 2, 3, 1 + k, 0, 0, 0, 5, 0);
        m.addActionToEventActionItem(id, 0, 1, 1, 30, 0, 0, 0, 5, 0);
    }
}

class UndoHistoryFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(TestStrings::install()); }
    void SetUp() override {
        dir = fs::temp_directory_path() / ("cairn-undo-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        m.setObserver(&observer);
        m.setPrompt(&prompt);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Three panels: panel 1 with two loops (singles, a type-13 device at 40, room at 30..33
    // and after 60), panel 2 with a loop, panel 3 bare; rules between them.
    void buildSite() {
        build.panel(1, 10).details(u"Ann", u"600", u"Main building").loop(1);
        for (int a = 1; a <= 20; ++a) build.element(a, 1 + a % 6, a % 4);
        build.device(40, 13, 2).element(60, 2, 1).element(61, 5, 1).element(62, 1, 1).element(63, 1, 1)
            .loop(2).element(1, 1).element(2, 10).zones(250);
        build.panel(2, 20).loop(1).element(1, 1, 1).element(2, 16).zones(250).panel(3, 30);
        build.rule(1, 0, RuleSide{0, 1, 1, 7, 0, 0, 0, 5}, RuleSide{0, 2, 1, 2, 0, 0, 0, 5}, 11, 21)
            .rule(2, 5, RuleSide{1, 2, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 3, 0, 0, 4}, 12, 22)
            .rule(3, 9, RuleSide{0, 1, 1, 7, 0, 0, 0, 5}, RuleSide{1, 1, 0, 0, 0, 1, 4, 6}, 13, 23);
    }

    std::string saved() {
        const fs::path file = dir / ("f" + std::to_string(++saves) + ".kvg");
        EXPECT_TRUE(CXmlHandler(m).save(ToWide(file.string().c_str())));
        std::ifstream in(file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // The facility as the file holds it and as the manager tells it (flags, groups and keys too).
    struct State {
        std::string file, model;
        bool operator==(const State&) const = default;
        // Where two states part, instead of two files of 100 KB each.
        friend std::ostream& operator<<(std::ostream& out, const State& s) {
            return out << s.file.size() << " file bytes, " << s.model.size() << " model bytes";
        }
    };
    static ::testing::AssertionResult same(const State& a, const State& b) {
        for (const auto& [x, y, what] : {std::tuple{&a.file, &b.file, "file"}, std::tuple{&a.model, &b.model, "model"}}) {
            const auto at = std::mismatch(x->begin(), x->end(), y->begin(), y->end());
            if (at.first == x->end() && at.second == y->end()) continue;
            const auto from = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, at.first - x->begin() - 60));
            return ::testing::AssertionFailure() << what << " differs:\n  " << x->substr(from, 160) << "\n  "
                                                 << y->substr(from, 160);
        }
        return ::testing::AssertionSuccess();
    }
    State state() { return State{saved(), dump::facility(m)}; }

    void act(const char* description, const std::function<void(CFacilityManager&)>& change) {
        CFacilityAction action(m, text(description));
        change(m);
        action.commit();
    }

    fs::path dir;
    int saves = 0;
    CFacilityManager m;
    RecordingObserver observer;
    ScriptedPrompt prompt;
    FacilityBuilder build{m};
};

struct ActionCase {
    const char* name;
    std::function<void(CFacilityManager&)> change;
};

TEST_F(UndoHistoryFileTest, EveryKindOfActionUndoesAndRedoesToTheSameFile) {
    const ActionCase cases[] = {
        {"add panel, loop, zones and elements", [](CFacilityManager& m) { addPanelWithLoop(m, 25); }},
        {"add elements between others", addElementsBetween},
        {"delete panel, loop and device", deleteRows},
        {"delete the last loop and its zones", [](CFacilityManager& m) { m.delLoopFromPanel(2, 1); }},
        {"modify panel", modifyPanel},
        {"edit in place", editInPlace},
        {"type change to four addresses", [](CFacilityManager& m) { changeType(m, 20, 13); }},
        {"type change to one address", [](CFacilityManager& m) { changeType(m, 40, 1); }},
        {"rule by drop", dropRule},
        {"rule by range", dropRangeRule},
        {"rule edited", editRule},
        {"rule deleted", [](CFacilityManager& m) { m.delEventActionItem(1); }},
        {"download over panel 2", downloadOverPanel2},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.name);
        m.flushFacility();
        buildSite();
        m.sortFacility();
        const State before = state();
        act(c.name, c.change);
        const State after = state();
        ASSERT_FALSE(same(after, before));
        ASSERT_EQ(m.history().size(), 1u);
        EXPECT_EQ(m.history().undoDescription(), text(c.name));

        ASSERT_TRUE(m.undo());
        EXPECT_TRUE(same(state(), before));
        ASSERT_TRUE(m.redo());
        EXPECT_TRUE(same(state(), after));
        ASSERT_TRUE(m.undo());
        EXPECT_TRUE(same(state(), before));
    }
}

TEST_F(UndoHistoryFileTest, UndoingATypeChangeOfAFourAddressDeviceRestoresItsThreeOtherParts) {
    buildSite();
    m.sortFacility();
    for (int a = 41; a <= 43; ++a) {
        m.setElementDescription(1, 1, a, ToWide(("Part " + std::to_string(a)).c_str()).c_str());
        m.addElementToZone(1, 1, a, a - 30);
    }
    const State before = state();
    act("type", [](CFacilityManager& m) { changeType(m, 40, 1); });
    ASSERT_EQ(m.getNumberOfElementsInLoop(1, 1), 25);

    ASSERT_TRUE(m.undo());
    EXPECT_TRUE(same(state(), before));
    for (int a = 41; a <= 43; ++a) {
        EXPECT_EQ(m.getElementType(1, 1, a), 13);
        EXPECT_EQ(*m.getElementDescription(1, 1, a), ToWide(("Part " + std::to_string(a)).c_str()));
        EXPECT_EQ(m.getElementZone(1, 1, a), a - 30);
    }
}

TEST_F(UndoHistoryFileTest, UndoingATypeChangeToAFourAddressDeviceTakesItsNewPartsAway) {
    buildSite();
    m.sortFacility();
    m.setElementDescription(1, 1, 20, u"Lift lobby");
    const State before = state();
    act("type", [](CFacilityManager& m) { changeType(m, 20, 13); });
    ASSERT_EQ(m.getElementCompositeMode(1, 1, 23), 3);

    ASSERT_TRUE(m.undo());
    EXPECT_TRUE(same(state(), before));
    EXPECT_EQ(m.getElementType(1, 1, 21), 0);
    EXPECT_EQ(*m.getElementDescription(1, 1, 20), KvWString(u"Lift lobby"));
    EXPECT_FALSE(m.getElementFirst(1, 1, 20));
}

TEST_F(UndoHistoryFileTest, AHundredActionsUndoneOneByOneEndAtTheOpenedFile) {
    buildSite();
    const fs::path opened = dir / "site.kvg";
    ASSERT_TRUE(CXmlHandler(m).save(ToWide(opened.string().c_str())));
    m.flushFacility();
    ASSERT_TRUE(CXmlHandler(m).load(ToWide(opened.string().c_str())));
    m.markSaved();
    m.sortFacility();
    const State atOpen = state();

    for (int i = 0; i < 100; ++i) {
        switch (i % 10) {
            case 0: act("description", [i](CFacilityManager& m) { m.setElementDescription(1, 1, 1 + i % 20, ToWide(std::to_string(i).c_str()).c_str()); }); break;
            case 1: act("zone", [i](CFacilityManager& m) { m.addElementToZone(1, 1, 1 + i % 20, i); }); break;
            case 2: act("zone name", [i](CFacilityManager& m) { m.setZoneDescription(1 + i % 9, text(std::to_string(i).c_str())); }); break;
            case 3: act("rule", dropRule); break;
            case 4: act("type", [i](CFacilityManager& m) { changeType(m, 1 + i % 20, 1 + (i / 10) % 6); }); break;
            case 5: act("delay", [i](CFacilityManager& m) { m.setEventActionDelay(1 + i % 3, i); }); break;
            case 6: act("address", [i](CFacilityManager& m) { modifyPanel(m); m.setPanelAddress(2, i); m.sortPanel(2); }); break;
            case 7: act("delete rule", [](CFacilityManager& m) { m.delEventActionItem(m.getEventActionId(m.getNumberEventsInPanel() - 1)); }); break;
            case 8: act("add", [i](CFacilityManager& m) { m.addElementToLoop(1, 1, 100 + i, 1, 0, text("x"), nullptr); m.sortFacility(); }); break;
            case 9: act("delete element", [i](CFacilityManager& m) { m.delElementFromLoop(1, 1, 100 + i - 1); }); break;
        }
    }
    ASSERT_EQ(m.history().size(), 100u);  // every one of them changed something
    const State atEnd = state();
    EXPECT_FALSE(m.history().atSavedState());
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(m.undo()) << i;
    EXPECT_FALSE(m.undo());
    EXPECT_TRUE(same(state(), atOpen));
    EXPECT_TRUE(m.history().atSavedState());
    while (m.redo()) {}
    EXPECT_TRUE(same(state(), atEnd));
}

}  // namespace
