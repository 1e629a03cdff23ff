// The one-pass reader against the tree-based reading it replaced, and the reasons it gives.
#include "CFacilityFileReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FacilityDump.h"
#include "ReferenceLoader.h"
#include "TestStrings.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string kDecl = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

std::string facility(const std::string& panels) { return kDecl + "<facility><panels>" + panels + "</panels></facility>"; }

std::string rule(int id, int panel) {
    return "<eventaction><id>" + std::to_string(id) + "</id><delay>2</delay><event><type>1</type><panelid>" +
           std::to_string(panel) + "</panelid><elementaddress>3</elementaddress></event><action><type>7</type>"
           "<panelid>1</panelid><zoneid>2</zoneid></action></eventaction>";
}

const std::string kLoops = "<loops><loop><address>2</address><elements><element><address>5</address><type>7</type>"
                           "<label>a</label><description>d</description><zone>1</zone><composite>1</composite>"
                           "<generic>5</generic></element></elements></loop></loops>";
const std::string kZones = "<zones><zone><id>1</id><description>Hall</description></zone></zones>";

// Documents that each stress one way the file can differ from what the program writes.
std::vector<std::string> oddDocuments() {
    const std::string events = "<events>" + rule(1, 1) + rule(2, 3) + "</events>";
    return {
        facility(""),
        facility("<panel><id>2</id><address>1</address>" + kLoops + kZones + "</panel>"
                 "<panel><id>3</id><address>2</address>" + kLoops + events + "</panel>"),  // rules only in a later panel
        facility("<panel><id>1</id><address>4</address>" + kLoops + "</panel><panel><id>1</id><address>2</address>"
                 "<phone>9</phone>" + kZones + "</panel>"),  // repeated id: the first entry's contents count
        facility("<panel><id>1</id></panel><panel><address>3</address>" + kLoops + "</panel>"),  // missing leaves
        facility("<panel><loops><loop><elements><element><type>1</type></element></elements></loop></loops></panel>"),
        facility("<panel>" + kLoops + "<id>4</id><address>4</address>" + kZones + "</panel>"),  // id after contents
        facility("<panel><id>5</id><id>6</id><address>1</address>" + kLoops + "</panel>"),   // two ids
        facility("<other><id>7</id><address>1</address>" + kLoops + events + "</other>"),  // not tagged panel
        facility("<panel><id>01</id><address>1</address>" + kLoops + "</panel><panel><id>1</id>" + kZones + "</panel>"),
        facility("<panel><id>1</id><address>1</address><label>a<x>hidden</x>b &amp; c</label>"
                 "<loops></loops><loops>" + kLoops + "</loops>" + events + "<events>" + rule(9, 9) + "</events></panel>"),
        facility("<panel><id>1</id><address>1</address><label>\xC3\xA9\xFF\xE4\xB8</label>" + kLoops + "</panel>"),
        facility("<panel><i\xFF" "d>8</i\xFF" "d><address>1</address>" + kLoops + "</panel>"),  // damaged tag
        facility("<panel><id>1</id><address>1</address><loops/><zones/><events/></panel>"),
        kDecl + "\n<facility>\n  <panels>\n    <panel>\n      <id>1</id>\n      <address> 3 </address>\n" + kLoops +
            events + "    </panel>\n  </panels>\n</facility>\n",
        facility("<panel><id>1</id><address>1</address><events><eventaction><id>4</id><event><type>1</type>"
                 "<panelid>1</panelid><type>3</type></event><event><zoneid>2</zoneid></event><id>5</id>"
                 "</eventaction>" + rule(5, 1) + rule(6, 2) + "</events></panel>"),
        facility("<panel><id>1</id><address>1</address>" + events + "</panel><panel><id>2</id><address>2</address>" +
                 events + "</panel><panel><id>3</id><address>3</address>" + events.substr(0, 60) + "</panel>"),
        facility("<panel><id>1</id><address>1</address>" + events + "</panel><panel><id>2</id><address>2</address>"
                 "<events>" + rule(1, 1) + "</events></panel>"),
        "<facility><other/><panels><panel><id>1</id><address>1</address></panel></panels>"
        "<panels><panel><id>2</id><address>2</address></panel></panels></facility> trailing <junk",
        "\xEF\xBB\xBF<facility><panels/></facility>",
        facility("<panel><id>1</id><address>1</address></panel>").substr(0, 90),
        "<settings><panels><panel><id>1</id><address>1</address></panel></panels></settings>",
        "<facility><panel><id>1</id></panel></facility>",
        facility("<panel><id>1</id><address>1</address></panel>") + std::string(1, '\0') + "<junk",
        facility("<panel><id>1</id><address>1</address><label>a" + std::string(1, '\0') + "b</label></panel>"),
    };
}

void expectSameAsReference(const std::string& text, const std::string& what) {
    CFacilityManager streamed, reference;
    const bool a = CXmlHandler(streamed).loadText(text.data(), text.size());
    const bool b = reference::load(reference, text.data(), text.size());
    EXPECT_EQ(a, b) << what;
    EXPECT_EQ(dump::facility(streamed), dump::facility(reference)) << what;
}

TEST(CFacilityFileReaderTest, LeavesTheSameFacilityAsReadingTheWholeTree) {
    int n = 0;
    for (const std::string& text : oddDocuments()) expectSameAsReference(text, "document " + std::to_string(n++));
    for (const fs::path& dir : {fs::path(CAIRN_SAMPLE_DIR), fs::path(CAIRN_SOURCE_ROOT) / "fuzz/corpus/kvg"})
        for (const auto& entry : fs::directory_iterator(dir))
            expectSameAsReference(readFile(entry.path()), entry.path().string());
}

TEST(CFacilityFileReaderTest, AFailedLoadAddsNothingEvenAfterManyGoodEntries) {
    CFacilityManager m;
    const std::string good = facility("<panel><id>1</id><address>1</address>" + kLoops + "</panel>");
    const std::string bad = good.substr(0, good.size() - 20) + "<broken>" + good.substr(good.size() - 20);
    EXPECT_FALSE(CXmlHandler(m).loadText(bad.data(), bad.size()));
    EXPECT_EQ(m.getNumberOfPanels(), 0);
}

TEST(CFacilityFileReaderTest, ATopIdInTheFileNeverLeadsToADuplicate) {
    // 99999999999 reads as 2147483647, the largest id; both are kept as one rule.
    const std::string text = facility("<panel><id>1</id><address>1</address><events>" + rule(2147483647, 1) +
                                      "<eventaction><id>99999999999</id></eventaction>" + rule(1, 1) +
                                      "</events></panel>");
    CFacilityManager m;
    ASSERT_TRUE(CXmlHandler(m).loadText(text.data(), text.size()));
    ASSERT_EQ(m.getNumberEventsInPanel(), 2);
    for (int i = 0; i < 3; ++i) {
        const int id = m.getFreeEventId();
        EXPECT_EQ(id, i + 2);
        EXPECT_TRUE(m.addEventActionItem(id, 0));
    }
}

class LoadErrorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(TestStrings::install()); }
    CLoadError loadFile(const std::string& name, const std::string* content = nullptr) {
        if (content) std::ofstream(dir / name, std::ios::binary) << *content;
        CXmlHandler h(m);
        EXPECT_FALSE(h.load(ToWide((dir / name).string().c_str())));
        return h.lastError();
    }

    TempFolder folder{"cairn-load"};
    const fs::path dir = folder.path();
    CFacilityManager m;
};

TEST_F(LoadErrorTest, MissingAndUnreadableFilesAreToldApart) {
    EXPECT_EQ(loadFile("none.kvg").kind, CLoadError::kNotFound);
    EXPECT_EQ(loadFile("none/deeper.kvg").kind, CLoadError::kNotFound);
    fs::create_directories(dir / "folder.kvg");
    EXPECT_EQ(loadFile("folder.kvg").kind, CLoadError::kNotReadable);
    CXmlHandler endless(m);
    EXPECT_FALSE(endless.load(u"/dev/zero"));  // read up to a bound, not until memory runs out
    EXPECT_EQ(endless.lastError().kind, CLoadError::kNotReadable);
    EXPECT_EQ(CLoadError{CLoadError::kNotFound}.textId(), 340);
    EXPECT_EQ(CLoadError{CLoadError::kNotReadable}.text(), KvWString(u"T341"));
}

TEST_F(LoadErrorTest, MalformedFilesNameLineAndColumn) {
    struct Case {
        std::string text;
        int line, column;
    } cases[] = {
        {"<facility>\n<panels>\n  <panel></panal>", 3, 10},                   // wrong end tag
        {"<facility>\n<panels>\n  <panel><id>1", 3, 15},                       // cut short: the end
        {kDecl + "\n<facility>\n <p\xC3\xA9>\xC3\xA9\xC3\xA9<!-- x --></p\xC3\xA9>", 3, 8},  // columns in characters
        {"", 1, 1},
        {"no xml", 1, 1},
    };
    for (const Case& c : cases) {
        const CLoadError e = loadFile("bad.kvg", &c.text);
        EXPECT_EQ(e.kind, CLoadError::kNotWellFormed) << c.text;
        EXPECT_EQ(e.line, c.line) << c.text;
        EXPECT_EQ(e.column, c.column) << c.text;
    }
}

TEST_F(LoadErrorTest, WellFormedFilesOfAnotherKindAreNotFacilities) {
    for (const std::string text : {"<settings><panels></panels></settings>", "<facility><loops/></facility>",
                                   "<facility/>", "<panels><panel><id>1</id></panel></panels>"}) {
        const CLoadError e = loadFile("other.kvg", &text);
        EXPECT_EQ(e.kind, CLoadError::kNotFacility) << text;
        EXPECT_EQ(e.text(), KvWString(u"T343"));
    }
    EXPECT_EQ(m.getNumberOfPanels(), 0);
}

TEST_F(LoadErrorTest, ASuccessfulLoadClearsTheLastError) {
    const std::string good = facility("");
    CXmlHandler h(m);
    EXPECT_FALSE(h.load(ToWide((dir / "gone.kvg").string().c_str())));
    std::ofstream(dir / "good.kvg") << good;
    EXPECT_TRUE(h.load(ToWide((dir / "good.kvg").string().c_str())));
    EXPECT_EQ(h.lastError().kind, CLoadError::kNone);
    EXPECT_TRUE(h.lastError().text().IsEmpty());
}

}  // namespace
