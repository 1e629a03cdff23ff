// The read-back table names its items and the word for nothing in the user's language, while the
// lines the command line and the history print keep their English words.
#include <gtest/gtest.h>

#include "UiTestKit.h"
#include "panel_link/CPanelImage.h"
#include "ui/CReadBackModel.h"

namespace {

CElementRecord element(const char* description) {
    CElementRecord r;
    r.genericType = 1;
    r.type = 2;
    r.description = description;
    return r;
}

// Two images that differ in every kind of item the comparison knows.
std::vector<CPanelDifference> everyKind() {
    CPanelImage sent, held;
    sent.address = 5;
    held.address = 6;
    sent.info.label = "North";
    sent.info.installer = "Ada";
    sent.info.phone = "555";
    sent.zones[2].description = "Stairs";
    sent.element(1, 6) = element("Hall");   // only sent
    held.element(7, 249) = element("Loft");  // only held
    sent.element(0, 0) = element("Door");
    held.element(0, 0) = element("Dxor");
    sent.rules.resize(2);
    held.rules.resize(3);
    held.rules[0].first.eventType = 9;
    held.rules[1].second.delay = 30;
    return CPanelImage::differences(sent, held);
}

QString item(const CReadBackModel& model, int row) { return model.index(row, CReadBackModel::kItem).data().toString(); }
QString sent(const CReadBackModel& model, int row) { return model.index(row, CReadBackModel::kSent).data().toString(); }
QString held(const CReadBackModel& model, int row) { return model.index(row, CReadBackModel::kHeld).data().toString(); }

}  // namespace

TEST(CReadBackModel, EveryItemTheComparisonFindsIsNamedInTheUsersLanguage) {
    const std::vector<CPanelDifference> differences = everyKind();
    ASSERT_EQ(differences.size(), 11u);
    ScopedLanguage french("fr");
    ASSERT_TRUE(french.selected());
    CReadBackModel model(differences);
    for (int row = 0; row < model.rowCount(); ++row) {
        const CPanelDifference& d = differences[static_cast<std::size_t>(row)];
        SCOPED_TRACE(d.item);
        EXPECT_NE(d.kind, CPanelDifference::Kind::kOther);
        EXPECT_FALSE(item(model, row).isEmpty());
        EXPECT_FALSE(item(model, row).contains("IDS_"));
        EXPECT_NE(item(model, row).toStdString(), d.item);
    }
    const QStringList expected = {"Adresse de la centrale", "Libellé de la centrale", "Installateur", "Téléphone",
                                  "Zone 3, description", "Boucle 1, élément 1", "Boucle 2, élément 7",
                                  "Boucle 8, élément 250", "Entrée 1 de la liste des règles",
                                  "Entrée 2 de la liste des règles", "Entrée 3 de la liste des règles"};
    for (int row = 0; row < model.rowCount(); ++row) EXPECT_EQ(item(model, row), expected[row]);
    // The word for nothing, on either side; real values stay as the read-back wrote them.
    EXPECT_EQ(held(model, 6), "aucun élément");
    EXPECT_EQ(sent(model, 7), "aucun élément");
    EXPECT_EQ(sent(model, 10), "aucune");
    EXPECT_EQ(sent(model, 4).toStdString(), differences[4].sent);
    EXPECT_EQ(held(model, 8).toStdString(), differences[8].held);
}

TEST(CReadBackModel, TheLinesKeepTheirEnglishWordsAndAnUnknownItemItsOwnName) {
    const std::vector<std::string> lines = CPanelImage::lines(everyKind());
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1], "panel label: the panel has \"\", an upload writes \"North\"");
    EXPECT_EQ(lines[4], "zone 3 description: the panel has \"\", an upload writes \"Stairs\"");
    EXPECT_EQ(lines[6].rfind("loop 2 element 7: the panel has no element, an upload writes type 2,", 0), 0u) << lines[6];
    EXPECT_EQ(lines[10].rfind("rule entry 3: the panel has when ", 0), 0u) << lines[10];
    EXPECT_TRUE(lines[10].ends_with(", an upload writes none")) << lines[10];

    ScopedLanguage spanish("es");
    ASSERT_TRUE(spanish.selected());
    CReadBackModel model({{"battery", "full", "low"}});
    EXPECT_EQ(item(model, 0), "battery");
    EXPECT_EQ(held(model, 0), "low");
}
