#include "file/CXmlHandler.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"
#include "model/CFacilityManager.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDeclaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A panel entry as the program writes it, with optional extra content.
std::string panelXml(const std::string& id, int address, const std::string& inner = "") {
    return "<panel><id>" + id + "</id><address>" + std::to_string(address) +
           "</address><label>L" + id + "</label><installer></installer><description></description><phone></phone>" +
           inner + "</panel>";
}

std::string ruleXml(int id, const std::string& event, const std::string& action) {
    return "<eventaction><id>" + std::to_string(id) + "</id><delay>3</delay><event>" + event + "</event><action>" +
           action + "</action></eventaction>";
}

std::string side(int type, int panel, int loop, int element, int zone, int begin, int end) {
    auto f = [](const char* t, int v) { return std::string("<") + t + ">" + std::to_string(v) + "</" + t + ">"; };
    return f("type", type) + f("elementtype", type) + f("panelid", panel) + f("loopaddress", loop) +
           f("elementaddress", element) + f("zoneid", zone) + f("rangebegin", begin) + f("rangeend", end);
}

std::string facilityXml(const std::string& panels) {
    return std::string(kDeclaration) + "<facility><panels>" + panels + "</panels></facility>";
}

class CXmlHandlerTest : public ::testing::Test {
protected:
    KvWString path(const char* name) const { return ToWide((dir / name).string().c_str()); }
    std::string saved(CFacilityManager& m, const char* name) {
        CXmlHandler h(m);
        EXPECT_TRUE(h.save(path(name)));
        return readFile(dir / name);
    }
    bool loadText(CFacilityManager& m, const std::string& text) {
        CXmlHandler h(m);
        return h.loadText(text.data(), text.size());
    }

    TempFolder folder{"cairn-xml"};
    const fs::path dir = folder.path();
    CFacilityManager m;
    FacilityBuilder build{m};
};

TEST_F(CXmlHandlerTest, EmptyFacilityIsTheRootWithEmptyPanels) {
    EXPECT_EQ(saved(m, "empty.kvg"), facilityXml(""));
}

TEST_F(CXmlHandlerTest, OnlyPanelsWithIdsUpTo128AndAPositiveAddressAreSaved) {
    build.panel(0, 1).panel(129, 2).panel(7, 0).panel(8).panel(2, 9, u"L2");
    m.setPanelAddress(8, -3);
    const std::string text = saved(m, "ids.kvg");
    EXPECT_EQ(text, facilityXml(panelXml("2", 9, "<loops></loops><zones></zones>")));
}

TEST_F(CXmlHandlerTest, RoundTripIsByteForByte) {
    build.panel(3, 1, u"Main <hall> & \"stairs\"").details(u"Ann Smith", u"+34 600", u"Floor 2, \u00e9 \u4e2d")
        .loop(2).device(1, 13, 4).element(9, 16, 2).element(7, 5).loop(1).device(1, 12).zones(250)
        .panel(1, 5).loop(1).element(250, 1, 250).zones(2)
        .panel(2, 2);  // a panel without loops or zones
    m.setElementDescription(3, 2, 9, u"");
    build.rule(1, 5, RuleSide{1, 3, 2, 1, 0, 0, 0, 5}, RuleSide{7, 1, 0, 0, 0, 4, 9, 6})
        .rule(9, 0, RuleSide{2, 1, 1, 0, 0, 0, 0, 2}, RuleSide{7, 2, 0, 0, 3, 0, 0, 4});
    m.addEventActionItem(4, 2);  // no sides: written as zeros
    const std::string first = saved(m, "first.kvg");

    CFacilityManager loaded;
    CXmlHandler h(loaded);
    ASSERT_TRUE(h.load(path("first.kvg")));
    EXPECT_EQ(saved(loaded, "second.kvg"), first);
    EXPECT_EQ(*loaded.getPanelLabel(3), KvWString(u"Main <hall> & \"stairs\""));
    EXPECT_NE(first.find("Main &lt;hall&gt; &amp; &quot;stairs&quot;"), std::string::npos);
}

TEST_F(CXmlHandlerTest, SavedBytesAreWhatTheXmlDocumentWritesForTheSameTree) {
    const char16_t awkward[] = {u'q', u'"', u'\'', u'&', u'<', u'>', u'\t', 0xD83D, 0xDE00, u' ', 0xD800, u'x', 0};
    build.panel(1, 1, awkward).details(u"&amp;", u"<>", u"line\nbreak").loop(1).element(1);
    m.setElementDescription(1, 1, 1, awkward);
    build.zones(1).rule(1, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{7, 1, 0, 0, 1, 0, 0, 4});
    const std::string text = saved(m, "a.kvg");
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse(text.c_str()));
    KvString again;
    doc.CreateXmlCode(again, true);
    EXPECT_EQ(std::string(again.c_str()), text);
    CFacilityManager loaded;
    ASSERT_TRUE(CXmlHandler(loaded).load(path("a.kvg")));
    EXPECT_EQ(saved(loaded, "b.kvg"), text);
}

TEST_F(CXmlHandlerTest, SampleFileLoadsAndSavesUnchanged) {
    // The shipped sample doubles as a guard on the file layout: any change to it shows here.
    const fs::path sample = fs::path(CAIRN_SAMPLE_DIR) / "sample.kvg";
    ASSERT_TRUE(CXmlHandler(m).load(ToWide(sample.string().c_str())));
    EXPECT_EQ(m.getNumberEventsInPanel(), 3);
    EXPECT_EQ(m.getNumberOfElementsInLoop(1, 1), 10);
    EXPECT_EQ(saved(m, "sample.kvg"), readFile(sample));
}

TEST_F(CXmlHandlerTest, OpenedAndClosedRowsSurviveASaveButTheFirstFlagDoesNot) {
    build.panel(1).loop(1).element(5);
    build.panel(2).loop(1).loop(2);
    m.setElementFirst(1, 1, 5, true);
    m.setLoopExpanded(1, 1, true);
    m.setPanelExpanded(1, false);
    m.setExpandedView(false);
    const std::string first = saved(m, "v.kvg");
    CFacilityManager loaded;
    ASSERT_TRUE(CXmlHandler(loaded).load(path("v.kvg")));
    EXPECT_FALSE(loaded.getElementFirst(1, 1, 5));
    EXPECT_TRUE(loaded.getLoopExpanded(1, 1));
    EXPECT_FALSE(loaded.getPanelExpanded(1));
    EXPECT_FALSE(loaded.getExpandedView());
    EXPECT_TRUE(loaded.getPanelExpanded(2));
    EXPECT_FALSE(loaded.getLoopExpanded(2, 2));
    EXPECT_EQ(saved(loaded, "again.kvg"), first);
}

TEST_F(CXmlHandlerTest, FilesWithoutViewFlagsOpenWithPanelsOpenAndLoopsClosed) {
    const std::string xml =
        facilityXml(panelXml("1", 9, "<loops><loop><address>1</address><elements></elements></loop></loops>"));
    ASSERT_TRUE(loadText(m, xml));
    EXPECT_TRUE(m.getExpandedView());
    EXPECT_TRUE(m.getPanelExpanded(1));
    EXPECT_FALSE(m.getLoopExpanded(1, 1));
}

// Control characters pasted into a label (an escape sequence, a form feed) have no place in
// an XML file: written as they were, the file could never be opened again.
TEST_F(CXmlHandlerTest, LabelsWithControlCharactersSaveToAFileThatOpens) {
    build.panel(1, 1, u"Hall\x1B[0m").loop(1).element(3).zones(2);
    ASSERT_TRUE(m.setElementLabel(1, 1, 3, KvWString(u"Door\x0C\x01 2\tA")));
    ASSERT_TRUE(m.setZoneDescription(2, KvWString(u"\x0BStairs")));
    const std::string text = saved(m, "control.kvg");
    EXPECT_EQ(text.find_first_of(std::string("\x01\x0B\x0C\x1B", 4)), std::string::npos);

    CFacilityManager loaded;
    ASSERT_TRUE(CXmlHandler(loaded).load(path("control.kvg")));
    EXPECT_EQ(*loaded.getPanelLabel(1), KvWString(u"Hall[0m"));
    EXPECT_EQ(saved(loaded, "again.kvg"), text);
    EXPECT_NE(text.find("<label>Door 2\tA</label>"), std::string::npos);
    EXPECT_NE(text.find("Stairs"), std::string::npos);
}

TEST_F(CXmlHandlerTest, PanelsEnterByAddressAndRepeatedIdsOnlyUpdateDetails) {
    const std::string xml = facilityXml(panelXml("1", 9) + panelXml("2", 3) +
                                        "<panel><id>1</id><address>1</address><phone>555</phone></panel>");
    ASSERT_TRUE(loadText(m, xml));
    EXPECT_EQ(m.getPanelId(0), 2);
    EXPECT_EQ(m.getPanelAddress(1), 9);
    EXPECT_EQ(m.getPanelPhone(1), KvWString(u"555"));
}

TEST_F(CXmlHandlerTest, SecondPassMatchesTheIdTextExactly) {
    const std::string loops = "<loops><loop><address>1</address><elements></elements></loop></loops>";
    ASSERT_TRUE(loadText(m, facilityXml(panelXml("01", 4, loops) + panelXml(" 2", 5, loops))));
    EXPECT_EQ(m.getNumberOfPanels(), 2);
    EXPECT_EQ(m.getNumOfLoops(1), 0);
    EXPECT_EQ(m.getNumOfLoops(2), 0);
}

TEST_F(CXmlHandlerTest, ZoneDescriptionsComeFromTheFirstPanel) {
    build.panel(1).loop(1).panel(2).loop(1);
    m.addZone(1, 1, KvWString(u"first"));
    m.addZone(2, 1, KvWString(u"second"));
    const std::string text = saved(m, "z.kvg");
    size_t at = 0, count = 0;
    while ((at = text.find("<zone><id>1</id><description>first</description></zone>", at)) != std::string::npos) {
        ++count;
        ++at;
    }
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(text.find("second"), std::string::npos);
}

TEST_F(CXmlHandlerTest, RulesAreReadOnceEvenWithoutPanelOne) {
    build.panel(2).loop(1).panel(3).loop(1).rule(1, 4, RuleSide{1, 2, 1, 1, 0, 0, 0, 5}, RuleSide{7, 3, 0, 0, 2, 0, 0, 4});
    saved(m, "r.kvg");
    CFacilityManager loaded;
    ASSERT_TRUE(CXmlHandler(loaded).load(path("r.kvg")));
    EXPECT_EQ(loaded.getNumberEventsInPanel(), 1);
    EXPECT_EQ(loaded.getEventActionDelay(1), 4);
    EXPECT_EQ(loaded.getEventActionOutZone(1), 2);
}

struct ItemTypeCase {
    int panel, loop, element, zone, begin, end, itemType;
};

TEST_F(CXmlHandlerTest, ItemTypesAreDerivedOnLoad) {
    const ItemTypeCase cases[] = {
        {2, 0, 0, 3, 0, 0, 4}, {2, 1, 5, 3, 0, 0, 4}, {2, 1, 5, 0, 0, 0, 5}, {2, 1, 0, 0, 0, 0, 2},
        {0, 0, 0, 0, 5, 9, 0}, {2, 0, 0, 0, 5, 9, 6}, {2, 0, 0, 0, 5, 0, 1}, {2, 0, 0, 0, 0, 0, 1},
    };
    std::string rules;
    int id = 0;
    for (const ItemTypeCase& c : cases)
        rules += ruleXml(++id, side(1, 1, 1, 1, 0, 0, 0), side(7, c.panel, c.loop, c.element, c.zone, c.begin, c.end));
    ASSERT_TRUE(loadText(m, facilityXml(panelXml("1", 1, "<events>" + rules + "</events>"))));
    id = 0;
    for (const ItemTypeCase& c : cases) {
        ++id;
        EXPECT_EQ(m.getEventActionOutItemType(id), c.itemType) << "rule " << id;
        EXPECT_EQ(m.getEventActionInItemType(id), 5);
    }
}

TEST_F(CXmlHandlerTest, ElementTypeOfASideIsSavedButLoadedAsTheType) {
    build.panel(1).rule(1, 0, RuleSide{3, 1, 0, 0, 0, 0, 0, 1}, RuleSide{7, 1, 0, 0, 1, 0, 0, 4});
    m.setEventActionInType(1, 5);
    const std::string text = saved(m, "t.kvg");
    EXPECT_NE(text.find("<event><type>5</type><elementtype>3</elementtype>"), std::string::npos);
    CFacilityManager loaded;
    ASSERT_TRUE(CXmlHandler(loaded).load(path("t.kvg")));
    EXPECT_EQ(loaded.getEventActionInElementType(1), 5);
}

TEST_F(CXmlHandlerTest, RefusedEntriesDoNotOverwriteEarlierOnes) {
    const std::string element = "<element><address>4</address><type>1</type><label>a</label><description>d</description>"
                                "<zone>1</zone><composite>0</composite><generic>1</generic></element>";
    const std::string twin = "<element><address>4</address><type>10</type><label>b</label><description>e</description>"
                             "<zone>2</zone><composite>3</composite><generic>7</generic></element>";
    const std::string loops = "<loops><loop><address>1</address><elements>" + element + twin + "</elements></loop></loops>";
    const std::string rules = "<events>" + ruleXml(1, side(1, 1, 1, 4, 0, 0, 0), side(7, 1, 0, 0, 1, 0, 0)) +
                              ruleXml(1, side(2, 2, 2, 2, 0, 0, 0), side(8, 2, 0, 0, 2, 0, 0)) + "</events>";
    ASSERT_TRUE(loadText(m, facilityXml(panelXml("1", 1, loops + rules))));
    EXPECT_EQ(m.getNumberOfElementsInLoop(1, 1), 1);
    EXPECT_EQ(m.getElementGenericType(1, 1, 4), 1);
    EXPECT_EQ(m.getElementCompositeMode(1, 1, 4), 0);
    EXPECT_EQ(m.getNumberEventsInPanel(), 1);
    EXPECT_EQ(m.getEventActionInType(1), 1);
    EXPECT_EQ(m.getEventActionOutZone(1), 1);
}

TEST_F(CXmlHandlerTest, UnreadableOrForeignFilesLeaveTheFacilityAlone) {
    build.panel(1).loop(1);
    const std::string bad[] = {
        "", "not xml", facilityXml("").substr(0, 70), "<facility><other></other></facility>",
        "<facility><panels><panel><id>2</id></panel></panels>",  // truncated before the end tag
    };
    for (const std::string& text : bad) {
        EXPECT_FALSE(loadText(m, text)) << text;
        EXPECT_EQ(m.getNumberOfPanels(), 1);
    }
    EXPECT_FALSE(CXmlHandler(m).load(path("missing.kvg")));
}

TEST_F(CXmlHandlerTest, OddNumbersReadLikeTheirLeadingDigits) {
    const std::string panel = "<panel><id> 4x</id><address>+7</address></panel>"
                              "<panel><id>99999999999</id><address>-2</address></panel>";
    ASSERT_TRUE(loadText(m, facilityXml(panel)));
    EXPECT_EQ(m.getPanelAddress(4), 7);
    EXPECT_EQ(m.getPanelAddress(2147483647), -2);
}

TEST_F(CXmlHandlerTest, FailedSaveReportsFailureAndKeepsThePreviousFile) {
    build.panel(1).loop(1);
    const std::string before = saved(m, "keep.kvg");
    build.panel(2);
    fs::create_directories(dir / "keep.kvg.d");
    CXmlHandler h(m);
    std::ofstream(dir / "blocker") << "a file, not a folder";
    EXPECT_FALSE(h.save(path("blocker/x.kvg")));
    EXPECT_FALSE(h.save(path("keep.kvg.d")));  // a folder cannot be replaced by a file
    EXPECT_EQ(readFile(dir / "keep.kvg"), before);
    EXPECT_TRUE(fs::is_directory(dir / "keep.kvg.d"));
}

TEST_F(CXmlHandlerTest, SavingThroughALinkReplacesTheFileItPointsAt) {
    build.panel(1).loop(1);
    saved(m, "real.kvg");
    fs::create_symlink(dir / "real.kvg", dir / "link.kvg");
    build.panel(2);
    const std::string text = saved(m, "link.kvg");
    EXPECT_TRUE(fs::is_symlink(dir / "link.kvg"));
    EXPECT_EQ(readFile(dir / "real.kvg"), text);
    EXPECT_NE(text.find("<id>2</id>"), std::string::npos);
}

}  // namespace
