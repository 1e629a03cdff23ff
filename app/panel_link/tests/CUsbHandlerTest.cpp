// Whole-configuration transfers through the handler, its worker threads and
// a virtual panel: round trip, the page traffic, the id a download takes,
// and what becomes of every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "TransferRig.h"
#include "panel_link/CPanelImage.h"
#include "panel_link/CZoneDescriptionNotice.h"

namespace {

// Panel 1 (address 5) with loops, a multi-address device, zones and rules, some
// of them driving panel 2 (address 9).
void buildSite(CFacilityManager& m) {
    FacilityBuilder b(m);
    b.panel(1, 5, u"Main hall").details(u"Fire & Co", u"555-0101", u"").zones(250);
    b.loop(1).element(1, 1, 1).device(10, 13, 2).element(250, 7, 3);
    b.loop(8).element(17, 2, 250);
    b.panel(2, 9, u"Annex").loop(1).element(4, 8, 1);
    b.rule(1, 300, RuleSide{3, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 2, 0, 0, 4});
    b.rule(2, 0, RuleSide{1, 1, 8, 0, 0, 0, 0, 2}, RuleSide{4, 2, 1, 4, 0, 0, 0, 5});
    b.rule(3, 30, RuleSide{2, 1, 0, 0, 0, 3, 9, 6}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
    b.rule(4, 10, RuleSide{2, 2, 1, 4, 0, 0, 0, 5}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});  // another panel's rule
}

std::vector<std::uint16_t> pagesWritten(CVirtualUsbBus& bus) {
    std::vector<std::uint16_t> pages;
    for (const CVirtualTransfer& t : bus.transcript())
        if (t.out && t.data.size() == 259 && t.data[0] == 0x02)
            pages.push_back(static_cast<std::uint16_t>(t.data[1] << 8 | t.data[2]));
    return pages;
}

bool sawText(TransferRig& rig, const char16_t* text) {
    return std::any_of(rig.dialogs->texts.begin(), rig.dialogs->texts.end(),
                       [&](const KvWString& t) { return t == text; });
}

std::vector<std::string> differences(CFacilityManager& expected, int expectedId, CFacilityManager& actual,
                                     int actualId) {
    CPanelImage e, a;
    std::string problem;
    EXPECT_TRUE(e.build(expected, expectedId, problem)) << problem;
    EXPECT_TRUE(a.build(actual, actualId, problem)) << problem;
    return CPanelImage::compare(e, a);
}

TEST(CUsbHandler, UploadThenDownloadReproducesThePanel) {
    TransferRig up;
    buildSite(up.facility);
    up.prompt.choice = {1};
    ASSERT_TRUE(up.handler.uploadAndReport());
    EXPECT_EQ(up.prompt.shown, std::vector<int>{480});
    EXPECT_EQ(up.prompt.choices, std::vector<bool>{false});  // exactly one panel may be chosen
    EXPECT_EQ(up.bus->panel().state().address(), 5);

    TransferRig down(CVirtualFaults(), &up.bus->panel().state());
    FacilityBuilder(down.facility).panel(2, 9, u"Annex");
    ASSERT_TRUE(down.handler.downloadAndReport());
    EXPECT_EQ(down.prompt.shown, std::vector<int>{264});
    EXPECT_TRUE(down.prompt.asked.empty());
    ASSERT_EQ(down.handler.panel(), 1);
    EXPECT_EQ(down.facility.getPanelAddress(1), 5);
    EXPECT_EQ(utf8(*down.facility.getPanelLabel(1)), "Main hall");
    EXPECT_EQ(utf8(down.facility.getPanelInstaller(1)), "Fire & Co");
    EXPECT_EQ(utf8(down.facility.getPanelPhone(1)), "555-0101");
    EXPECT_EQ(down.facility.getNumberEventsInPanel(), 3);
    EXPECT_EQ(down.facility.getElementCompositeMode(1, 1, 11), 2);
    EXPECT_EQ(differences(up.facility, 1, down.facility, 1), std::vector<std::string>());
    // The rule driving the annex still drives the annex, not a placeholder.
    EXPECT_EQ(down.facility.getNumberOfPanels(), 2);
}

TEST(CUsbHandler, UploadOfAPanelWithoutLoopsWritesEveryTableOnce) {
    TransferRig rig;
    FacilityBuilder(rig.facility).panel(1, 1);
    rig.prompt.choice = {1};
    rig.bus->setRecording(true);
    ASSERT_TRUE(rig.handler.uploadAll());
    std::vector<std::uint16_t> expected;
    for (int p = 0x01A0; p <= 0x029F; ++p) expected.push_back(static_cast<std::uint16_t>(p));  // 8 x 250 elements
    for (int p = 0x0120; p <= 0x013F; ++p) expected.push_back(static_cast<std::uint16_t>(p));  // 250 zones
    expected.insert(expected.end(), {0x03A0, 0x03E0, 0x03E1, 0x0005});  // empty rule list, system info
    EXPECT_EQ(pagesWritten(*rig.bus), expected);  // page 4 untouched: the address already matches
    CPanelLink link(rig.bus);
    CEventRecord e;
    CActionRecord a;
    ASSERT_TRUE(link.prepareDevice() && link.beginEventActionRead() && link.readNextEventAction(e, a));
    EXPECT_EQ(e.item.kind, CRecordItem::kEnd);
}

TEST(CUsbHandler, ProgressShowsLoopsAndAddressesAsTheInstallerCountsThem) {
    TransferRig up;
    FacilityBuilder(up.facility).panel(1).loop(1).element(1).loop(3).element(250);
    up.prompt.choice = {1};
    ASSERT_TRUE(up.handler.uploadAll());
    EXPECT_EQ(up.dialogs->texts.front(), u"T88");
    EXPECT_TRUE(sawText(up, u"T105"));
    EXPECT_TRUE(sawText(up, u"S1 L1 E1"));
    EXPECT_TRUE(sawText(up, u"S1 L3 E250"));
    EXPECT_TRUE(sawText(up, u"SZ250"));
    TransferRig down(CVirtualFaults(), &up.bus->panel().state());
    ASSERT_TRUE(down.handler.downloadAll());
    EXPECT_EQ(down.dialogs->texts.front(), u"T89");
    EXPECT_TRUE(sawText(down, u"R1 L3 E250"));
    EXPECT_TRUE(sawText(down, u"RZ1"));
    EXPECT_EQ(down.dialogs->dialogs, 1);
}

TEST(CUsbHandler, RulesOfOtherPanelsAreLeftOut) {
    TransferRig rig;
    FacilityBuilder b(rig.facility);
    b.panel(1).loop(1).element(1).panel(3).loop(1).element(1);
    b.rule(1, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{1, 3, 1, 1, 0, 0, 0, 5});  // drives panel 3
    b.rule(2, 0, RuleSide{1, 3, 1, 1, 0, 0, 0, 5}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
    rig.prompt.choice = {3};
    ASSERT_TRUE(rig.handler.uploadAll());
    std::vector<std::string> diff;
    ASSERT_TRUE(rig.handler.verify(3, diff));
    EXPECT_EQ(diff, std::vector<std::string>());
    CPanelImage image;
    std::string problem;
    ASSERT_TRUE(image.build(rig.facility, 3, problem));
    ASSERT_EQ(image.rules.size(), 1u);
    EXPECT_EQ(image.rules[0].second.item.kind, CRecordItem::kPanel);
}

TEST(CUsbHandler, TheRuleListEndsEvenAfterAFullGroup) {
    for (int count : {0, 31, 32, 64, 65}) {
        // Stale rules in every group of the panel, as an earlier, longer configuration leaves them.
        CVirtualPanelState stale;
        CVirtualPanelState::Page page{};
        page.fill(1);
        for (int p = 0x03A0; p <= 0x045F; ++p) stale.setPage(static_cast<std::uint16_t>(p), page);
        TransferRig up(CVirtualFaults(), &stale);
        FacilityBuilder b(up.facility);
        b.panel(1).loop(1).element(1);
        for (int r = 1; r <= count; ++r) b.rule(r, r, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 0, 0, 0, 1});
        up.prompt.choice = {1};
        ASSERT_TRUE(up.handler.uploadAll()) << count;
        TransferRig down(CVirtualFaults(), &up.bus->panel().state());
        ASSERT_TRUE(down.handler.downloadAll()) << count;
        EXPECT_EQ(down.facility.getNumberEventsInPanel(), count);
    }
}

struct IdCase {
    const char* name;
    std::vector<std::pair<int, int>> panels;  // id, address
    std::vector<bool> answers;
    bool ok;
    int id;            // the downloaded panel's id
    bool asked;        // question 291
    int panelsAfter;
};

TEST(CUsbHandler, DownloadTakesTheFirstFreeIdOrAsksToReplace) {
    const IdCase cases[] = {
        {"no panel has the address", {{1, 7}}, {}, true, 2, false, 2},
        {"panel 2 has it, replaced", {{1, 7}, {2, 5}}, {true}, true, 2, true, 2},
        {"panel 2 has it, kept", {{1, 7}, {2, 5}}, {false}, false, 0, true, 2},
        {"id 2 free before panel 3", {{1, 7}, {3, 5}}, {}, true, 2, false, 3},
    };
    for (const IdCase& c : cases) {
        CVirtualPanelState device;
        device.setAddress(5);
        TransferRig rig(CVirtualFaults(), &device);
        FacilityBuilder b(rig.facility);
        for (auto [id, address] : c.panels) b.panel(id, address).loop(1).element(1);
        b.rule(1, 0, RuleSide{1, 2, 1, 1, 0, 0, 0, 5}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
        b.rule(2, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
        const std::string before = snapshot(rig.facility);
        rig.prompt = ScriptedPrompt(c.answers);
        const int writesBefore = rig.bus->panel().pageWrites();

        EXPECT_EQ(rig.handler.downloadAndReport(), c.ok) << c.name;
        EXPECT_EQ(rig.prompt.asked == std::vector<int>{291}, c.asked) << c.name;
        EXPECT_EQ(rig.facility.getNumberOfPanels(), c.panelsAfter) << c.name;
        EXPECT_EQ(rig.bus->panel().pageWrites(), writesBefore) << c.name << ": a download wrote to the panel";
        if (!c.ok) {
            EXPECT_EQ(snapshot(rig.facility), before) << c.name;
            EXPECT_EQ(rig.prompt.shown, std::vector<int>{81}) << c.name;
            continue;
        }
        EXPECT_EQ(rig.handler.panel(), c.id) << c.name;
        EXPECT_EQ(rig.facility.getPanelAddress(c.id), 5) << c.name;
        // Replacing panel 2 removes its rule 1; panel 1's rule stays.
        EXPECT_EQ(rig.facility.getEventActionInItemType(1) == -1, c.asked) << c.name;
        EXPECT_EQ(rig.facility.getEventActionInPanel(2), 1) << c.name;
    }
}

TEST(CUsbHandler, ADownloadTakesOnlyTheRuleIdsUpTo1024) {
    TransferRig up;
    FacilityBuilder b(up.facility);
    b.panel(1).loop(1).element(1);
    for (int r = 1; r <= 10; ++r) b.rule(r, r, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 0, 0, 0, 1});
    up.prompt.choice = {1};
    ASSERT_TRUE(up.handler.uploadAll());
    TransferRig down(CVirtualFaults(), &up.bus->panel().state());
    FacilityBuilder(down.facility).panel(1, 7).rule(1020, 0, RuleSide{1, 1, 0, 0, 0, 0, 0, 1}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
    ASSERT_TRUE(down.handler.downloadAll());
    EXPECT_EQ(down.facility.getNumberEventsInPanel(), 1 + 4);  // ids 1021 to 1024
    EXPECT_TRUE(down.handler.rulesLeftOnPanel());
    EXPECT_EQ(down.facility.getEventActionDelay(1024), 4);
}

TEST(CUsbHandler, AnElementWithAnImpossibleZoneStopsTheDownloadAndChangesNothing) {
    CVirtualPanelState device;
    CVirtualPanelState::Page page = CVirtualPanelState::factoryPage(0x01A1);
    page[32 * 3 + 0] = 1;    // loop 1, element 12: generic type 1
    page[32 * 3 + 25] = 250;  // zone byte past zone 250
    page[32 * 3 + 29] = 1;
    device.setPage(0x01A1, page);
    TransferRig rig(CVirtualFaults(), &device);
    FacilityBuilder(rig.facility).panel(1, 7).loop(1).element(3);
    const std::string before = snapshot(rig.facility);
    EXPECT_FALSE(rig.handler.downloadAndReport());
    EXPECT_EQ(rig.prompt.shown, (std::vector<int>{330, 81}));
    EXPECT_EQ(snapshot(rig.facility), before);
}

TEST(CUsbHandler, PanelChoiceOutcomes) {
    TransferRig none;
    EXPECT_FALSE(none.handler.uploadAndReport());
    EXPECT_EQ(none.prompt.shown, std::vector<int>{80});
    EXPECT_TRUE(none.prompt.choices.empty());

    TransferRig cancelled;
    FacilityBuilder(cancelled.facility).panel(1);
    cancelled.prompt.cancelChoice = true;
    EXPECT_FALSE(cancelled.handler.uploadAndReport());
    EXPECT_EQ(cancelled.handler.panel(), 0);  // nothing was sent
    EXPECT_TRUE(cancelled.prompt.shown.empty());
    EXPECT_EQ(cancelled.bus->opens(), 0);
    EXPECT_EQ(cancelled.dialogs->dialogs, 0);

    TransferRig nothingChosen;
    FacilityBuilder(nothingChosen.facility).panel(1);
    EXPECT_FALSE(nothingChosen.handler.uploadAndReport());
    EXPECT_EQ(nothingChosen.prompt.shown, std::vector<int>{92});
    EXPECT_EQ(nothingChosen.bus->opens(), 0);
}

TEST(CUsbHandler, UploadProgramsThePanelAddressAndRefusesOneThatDoesNotFit) {
    TransferRig rig;
    FacilityBuilder(rig.facility).panel(1, 9).panel(2, 300);
    rig.prompt.choice = {1};
    ASSERT_TRUE(rig.handler.uploadAll());
    EXPECT_EQ(rig.bus->panel().state().address(), 9);
    rig.prompt.choice = {2};
    const int writes = rig.bus->panel().pageWrites();
    EXPECT_FALSE(rig.handler.uploadAndReport());
    EXPECT_EQ(rig.bus->panel().pageWrites(), writes);  // nothing sent
    EXPECT_EQ(rig.prompt.shown.back(), 92);
}

// What the panel cannot hold exactly stops the upload before anything is sent;
// a rule that names nothing on one side is left out rather than ending the list.
TEST(CUsbHandler, UploadRefusesWhatThePanelCannotHold) {
    struct Case {
        const char* name;
        void (*build)(CFacilityManager&);
        bool ok;
        std::size_t rulesOnPanel;
    } cases[] = {
        {"element type past the type bits",
         [](CFacilityManager& m) {
             FacilityBuilder(m).panel(1).loop(1);
             m.addElementToLoop(1, 1, 5, 63, 1, u"E5");
             m.setElementGenericType(1, 1, 5, 1);
         },
         false, 0},
        {"rule driving a missing panel",
         [](CFacilityManager& m) {
             FacilityBuilder(m).panel(1).loop(1).element(1).rule(1, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5},
                                                                 RuleSide{1, 7, 0, 0, 0, 0, 0, 1});
         },
         false, 0},
        {"more rules than the panel holds",
         [](CFacilityManager& m) {
             FacilityBuilder b(m);
             b.panel(1).loop(1).element(1);
             for (int r = 1; r <= 2049; ++r)
                 b.rule(r, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
         },
         false, 0},
        {"rule without an action side",
         [](CFacilityManager& m) {
             FacilityBuilder(m).panel(1).loop(1).element(1).rule(1, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5},
                                                                 RuleSide{}).rule(2, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5},
                                                                                  RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
         },
         true, 1},
    };
    for (const Case& c : cases) {
        TransferRig rig;
        c.build(rig.facility);
        rig.prompt.choice = {1};
        EXPECT_EQ(rig.handler.uploadAll(), c.ok) << c.name;
        EXPECT_EQ(rig.bus->panel().pageWrites(), c.ok ? 292 : 0) << c.name;
        EXPECT_EQ(rig.handler.lastProblem().empty(), c.ok) << c.name;
        if (!c.ok) continue;
        TransferRig down(CVirtualFaults(), &rig.bus->panel().state());
        ASSERT_TRUE(down.handler.downloadAll()) << c.name;
        EXPECT_EQ(static_cast<std::size_t>(down.facility.getNumberEventsInPanel()), c.rulesOnPanel) << c.name;
    }
}

TEST(CUsbHandler, ADownloadNeverMergesIntoATakenLastId) {
    TransferRig rig;
    FacilityBuilder b(rig.facility);
    for (int id = 1; id <= 128; ++id) b.panel(id, 200);  // none has the device's address 1
    const std::string before = snapshot(rig.facility);
    EXPECT_FALSE(rig.handler.downloadAndReport());
    EXPECT_EQ(snapshot(rig.facility), before);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(CUsbHandler, VerifyNamesEveryDifference) {
    TransferRig rig;
    buildSite(rig.facility);
    rig.prompt.choice = {1};
    ASSERT_TRUE(rig.handler.uploadAll());
    std::vector<std::string> diff;
    ASSERT_TRUE(rig.handler.verify(1, diff));
    EXPECT_TRUE(diff.empty());
    rig.facility.setElementDescription(1, 8, 17, u"Kitchen");
    rig.facility.setPanelPhone(1, u"555-0199");
    rig.facility.setEventActionDelay(3, 31);
    EXPECT_TRUE(rig.handler.verify(1, diff));
    ASSERT_EQ(diff.size(), 3u);
    EXPECT_NE(diff[0].find("phone"), std::string::npos);
    EXPECT_NE(diff[1].find("loop 8 element 17"), std::string::npos);
    EXPECT_NE(diff[1].find("\"Kitchen\""), std::string::npos);
    EXPECT_NE(diff[2].find("rule entry 3"), std::string::npos);
    EXPECT_EQ(rig.bus->panel().state().address(), 5);
}

// Every fault the virtual panel can inject, at transfers spread over the
// whole transfer and the read-back after an upload: the result is false, the
// failure message is shown and no success message, and a failed download
// leaves the facility as it was.
TEST(CUsbHandler, EveryInjectedFaultFailsTheTransfer) {
    TransferRig clean;
    buildSite(clean.facility);
    clean.prompt.choice = {1};
    ASSERT_TRUE(clean.handler.uploadAll());
    const int uploadTransfers = clean.bus->transfersIn() + clean.bus->transfersOut();
    const CVirtualPanelState panel = clean.bus->panel().state();
    TransferRig cleanDown(CVirtualFaults(), &panel);
    ASSERT_TRUE(cleanDown.handler.downloadAll());
    const int transfers = std::max(clean.bus->transfersIn() + clean.bus->transfersOut(),
                                   cleanDown.bus->transfersIn() + cleanDown.bus->transfersOut());

    const char* faults[] = {"absent", "refuse-config", "refuse-claim", "error@", "timeout@", "short@", "length@",
                            "length-1@"};
    int struck = 0;
    for (const char* fault : faults) {
        const bool perTransfer = std::string(fault).back() == '@';
        for (int n = 1; n <= (perTransfer ? transfers + 40 : 1); n += perTransfer ? 1 + n / 3 : 1) {
            CVirtualFaults f;
            ASSERT_TRUE(CVirtualFaults::parse(perTransfer ? fault + std::to_string(n) : fault, f));
            for (bool upload : {true, false}) {
                TransferRig rig(f, &panel);
                if (upload)
                    buildSite(rig.facility);
                else
                    FacilityBuilder(rig.facility).panel(2, 9, u"Annex").loop(1).element(4, 8, 1);
                const std::string before = snapshot(rig.facility);
                rig.prompt.choice = {1};
                const bool ok = upload ? rig.handler.uploadAndReport() : rig.handler.downloadAndReport();
                const std::string what = std::string(upload ? "upload " : "download ") + fault + std::to_string(n);
                if (!rig.bus->faultStruck() && perTransfer) {
                    EXPECT_TRUE(ok) << what;  // the fault came after the last transfer
                    continue;
                }
                ++struck;
                EXPECT_FALSE(ok) << what;
                if (!upload) {
                    EXPECT_EQ(rig.prompt.shown, std::vector<int>{81}) << what;
                } else {
                    // Each connection counts its own transfers: a fault the upload outlived strikes
                    // the read-back, which must never pass for a verified panel.
                    ASSERT_EQ(rig.prompt.shown.size(), 1u) << what;
                    const int shown = rig.prompt.shown[0];
                    EXPECT_TRUE(shown == 92 || shown == 482) << what << " showed " << shown;
                    if (perTransfer && n > uploadTransfers) {
                        EXPECT_EQ(shown, 482) << what;
                    }
                }
                if (!upload) {
                    EXPECT_EQ(snapshot(rig.facility), before) << what;
                }
            }
        }
    }
    EXPECT_GT(struck, 100);
}

}  // namespace

TEST(CUsbHandler, VerifyCatchesAPageThePanelStoredWrong) {
    TransferRig clean;
    buildSite(clean.facility);
    ASSERT_TRUE(clean.handler.upload(1));
    const int pages = clean.bus->panel().pageWrites();
    // The settings (the address), a zone, two element, the event, the first action and the system
    // information page. The last action page holds only the end entry, which no panel reads.
    for (int page : {1, 2, 37, 257, pages - 3, pages - 2, pages}) {
        CVirtualFaults faults;
        ASSERT_TRUE(CVirtualFaults::parse("corrupt@" + std::to_string(page), faults));
        TransferRig rig(faults);
        buildSite(rig.facility);
        ASSERT_TRUE(rig.handler.upload(1)) << page;  // the panel acknowledged every page
        ASSERT_EQ(rig.bus->panel().pageWrites(), pages);
        std::vector<std::string> diff;
        rig.handler.verify(1, diff);
        EXPECT_FALSE(diff.empty()) << "page " << page;
    }
}

// An upload reads the panel back: a page the panel stored wrong, wherever it lies, is reported
// with the differences, and the success messages are never shown for it.
TEST(CUsbHandler, UploadReportsWhatTheReadBackFound) {
    TransferRig clean;
    buildSite(clean.facility);
    clean.prompt.choice = {1};
    ASSERT_TRUE(clean.handler.uploadAndReport());
    EXPECT_EQ(clean.prompt.shown, std::vector<int>{480});
    const int pages = clean.bus->panel().pageWrites();
    for (int page : {1, 3, 100, 258, pages - 2, pages}) {
        CVirtualFaults faults;
        ASSERT_TRUE(CVirtualFaults::parse("corrupt@" + std::to_string(page), faults));
        TransferRig rig(faults);
        buildSite(rig.facility);
        rig.prompt.choice = {1};
        EXPECT_FALSE(rig.handler.uploadAndReport()) << page;
        EXPECT_EQ(rig.prompt.shown, std::vector<int>{481}) << page;
        ASSERT_EQ(rig.prompt.arguments.size(), 1u);
        EXPECT_NE(utf8(rig.prompt.arguments[0]).find("the panel has"), std::string::npos) << page;

        const CUploadResult unverified = rig.handler.uploadPanel(1, false);
        EXPECT_EQ(unverified.outcome, CUploadResult::Outcome::Sent);  // a panel that acknowledges everything
    }
}

TEST(CUsbHandler, UploadSaysWhichRulesItLeftOut) {
    TransferRig rig;
    const RuleSide input{1, 1, 1, 1, 0, 0, 0, 5};
    FacilityBuilder(rig.facility).panel(1).loop(1).element(1)
        .rule(4, 0, input, RuleSide{})
        .rule(5, 0, input, RuleSide{1, 1, 0, 0, 0, 0, 0, 1})
        .rule(9, 0, RuleSide{}, RuleSide{1, 1, 0, 0, 0, 0, 0, 1});
    rig.prompt.choice = {1};
    EXPECT_TRUE(rig.handler.uploadAndReport(false));
    EXPECT_EQ(rig.prompt.shown, (std::vector<int>{483, 263}));
    ASSERT_FALSE(rig.prompt.arguments.empty());
    EXPECT_EQ(utf8(rig.prompt.arguments[0]), "4");
    const CUploadResult result = rig.handler.uploadPanel(1, true);
    EXPECT_EQ(result.outcome, CUploadResult::Outcome::Verified);
    EXPECT_EQ(result.skippedRules, std::vector<int>{4});
}

// A received panel whose zones the facility already describes otherwise: the user hears which,
// and the panel's descriptions become the facility's only on yes.
TEST(CUsbHandler, DownloadOffersTheReceivedPanelsHiddenZoneDescriptions) {
    TransferRig up;
    FacilityBuilder(up.facility).panel(1, 5).zones(3);
    up.facility.setZoneDescription(1, u"Kitchen");
    up.facility.setZoneDescription(3, u"Boiler room");
    ASSERT_TRUE(up.handler.upload(1));
    for (bool yes : {false, true}) {
        TransferRig down(CVirtualFaults(), &up.bus->panel().state());
        FacilityBuilder(down.facility).panel(1, 3).zones(2);  // listed first (lower address); zone 2 alike
        down.facility.setZoneDescription(1, u"Hall");
        down.prompt = ScriptedPrompt({yes});
        ASSERT_TRUE(down.handler.downloadAndReport());
        EXPECT_EQ(down.prompt.shown, std::vector<int>{264});
        EXPECT_EQ(down.prompt.asked, std::vector<int>{493});
        const std::vector<CZoneDescriptionNotice::Hidden> hidden = CZoneDescriptionNotice::find(down.facility, 2);
        EXPECT_EQ(utf8(*down.facility.getZoneDescription(1)), yes ? "Kitchen" : "Hall");
        EXPECT_EQ(utf8(*down.facility.getPanelZoneDescription(2, 1)), "Kitchen");
        EXPECT_EQ(utf8(*down.facility.getZoneDescription(3)), "Boiler room");  // panel 1 has no zone 3
        ASSERT_EQ(hidden.size(), yes ? 0u : 1u);
        if (!yes) {
            EXPECT_EQ(hidden[0].zone, 1);
            EXPECT_EQ(utf8(hidden[0].shown), "Hall");
        }
    }
    // Nothing hidden, nothing asked.
    TransferRig alone(CVirtualFaults(), &up.bus->panel().state());
    ASSERT_TRUE(alone.handler.downloadAndReport());
    EXPECT_TRUE(alone.prompt.asked.empty());
}
