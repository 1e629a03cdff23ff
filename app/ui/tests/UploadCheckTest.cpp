// The program's upload around the sending: the check's list before it (errors stop it, warnings
// ask, rows show their items) and the read-back's table after it.
#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include "LoopsFixture.h"
#include "check/CCheckWords.h"
#include "check/CFacilityCheck.h"
#include "history/CSiteHistory.h"
#include "model/CFacilityManager.h"
#include "ui/CCheckFindingsDlg.h"
#include "ui/CCheckFindingsModel.h"
#include "ui/CDragNDropDlg.h"
#include "ui/CLanguage.h"
#include "ui/CListCtrlEx.h"
#include "ui/CReadBackModel.h"
#include "ui/CUiCheckWords.h"
#include "ui/UiText.h"

namespace {

QString shown(QWidget* dialog, const char* table, int row, int column) {
    auto* view = dialog->findChild<QTableView*>(table);
    EXPECT_NE(view, nullptr) << table;
    return view ? view->model()->index(row, column).data().toString() : QString();
}

int rows(QWidget* dialog, const char* table) {
    auto* view = dialog->findChild<QTableView*>(table);
    return view ? view->model()->rowCount() : -1;
}

// The first row whose `column` shows `text`; -1 when none does.
int rowWith(QWidget* dialog, const char* table, int column, const QString& text) {
    for (int row = 0; row < rows(dialog, table); ++row)
        if (shown(dialog, table, row, column) == text) return row;
    return -1;
}

QString buttonText(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QPushButton*>(name);
    return button ? button->text() : QString();
}

}  // namespace

class UploadCheckTest : public LoopsFixture {
protected:
    // What the dialog named `name` showed when it came up, read by `look` before `button` closed it.
    void answer(const QString& name, std::function<void(QWidget*)> look, const QString& button) {
        m_answerer = std::make_unique<ModalAnswerer>(name, [look, button](QWidget* dialog) {
            look(dialog);
            clickButton(button)(dialog);
        });
    }
    int seen() const { return m_answerer ? m_answerer->seen() : 0; }

    std::unique_ptr<ModalAnswerer> m_answerer;
};

// Warnings alone ask: Cancel sends nothing and asks nothing more; the rows go to their elements.
TEST_F(UploadCheckTest, WarningsAskAndTheirRowsShowTheirElements) {
    loopsWithSample();
    ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
    prompt.choosePanel(1);
    answer("CCheckFindingsDlg", [this](QWidget* dialog) {
        EXPECT_EQ(dialog->findChild<QLabel*>("heading")->text(), loadText(CCheckFindingsDlg::kWarningsText));
        EXPECT_EQ(buttonText(dialog, "send"), loadText(CCheckFindingsDlg::kSendAnywayText));
        ASSERT_EQ(rows(dialog, "findings"), 7);
        EXPECT_EQ(shown(dialog, "findings", 0, CCheckFindingsModel::kSeverity), loadText(CCheckFindingsModel::kWarningText));
        EXPECT_EQ(shown(dialog, "findings", 0, CCheckFindingsModel::kPanel), "1");
        EXPECT_EQ(shown(dialog, "findings", 0, CCheckFindingsModel::kItem), loadTextWith(565, "1", "2"));
        EXPECT_EQ(shown(dialog, "findings", 0, CCheckFindingsModel::kText), "this input raises no rule");
        auto* check = static_cast<CCheckFindingsDlg*>(dialog);
        check->selectRow(6);
        EXPECT_EQ(tree().currentKey(), elementRow(1, 2, 4));
        check->selectRow(0);
        EXPECT_EQ(tree().currentKey(), elementRow(1, 1, 2));
    }, "2");
    EXPECT_FALSE(loops().usbUpload());
    EXPECT_EQ(seen(), 1);
    EXPECT_EQ(waits.seen(), 0);
    EXPECT_TRUE(prompt.messages().empty());  // not even the history's question
}

// An error blocks: only Close, nothing sent; a rule's row goes to the event-action editor, a
// zone's to its first element.
TEST_F(UploadCheckTest, ErrorsOfferOnlyCloseAndRowsGoToTheirEditor) {
    loopsWithSample();
    ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
    facility().addEventActionItem(99, 0);  // an event on panel 2 that drives nothing
    facility().addEventToEventActionItem(99, 1, 2, 1, 1, 0, 0, 0, 5, 0);
    facility().setZoneDescription(2, u"Renamed");  // panel 1's zone 2 now hides panel 2's
    prompt.choosePanel(2);
    answer("CCheckFindingsDlg", [this](QWidget* dialog) {
        EXPECT_EQ(dialog->findChild<QPushButton*>("send"), nullptr);
        EXPECT_EQ(buttonText(dialog, "2"), loadText(512));
        EXPECT_EQ(dialog->findChild<QLabel*>("heading")->text(), loadText(CCheckFindingsDlg::kErrorsText));
        ASSERT_GE(rows(dialog, "findings"), 2);
        EXPECT_EQ(shown(dialog, "findings", 0, CCheckFindingsModel::kSeverity), loadText(CCheckFindingsModel::kErrorText));
        EXPECT_EQ(shown(dialog, "findings", 0, CCheckFindingsModel::kItem), loadTextWith(567, "99"));
        auto* check = static_cast<CCheckFindingsDlg*>(dialog);
        check->selectRow(0);
        EXPECT_EQ(m_frame->view(), CMainFrame::View::Events);
        EXPECT_EQ(m_frame->findChild<CDragNDropDlg*>()->inputList().selectedRule(), 99);
        const int zoneRow = rowWith(dialog, "findings", CCheckFindingsModel::kItem, loadTextWith(566, "2"));
        ASSERT_GE(zoneRow, 0);
        check->selectRow(zoneRow);
        EXPECT_EQ(m_frame->view(), CMainFrame::View::Loops);
        EXPECT_EQ(tree().currentKey(), elementRow(2, 1, 3));
    }, "2");
    EXPECT_FALSE(m_frame->findChild<CExtendedControlsDlg*>()->usbUpload());
    EXPECT_EQ(seen(), 1);
    EXPECT_EQ(waits.seen(), 0);  // the panel was never opened
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_TRUE(CSiteHistory(m_frame->unsavedStatus().filePath).list().empty());
}

// A page the panel acknowledged but stored wrong, wherever it lies: the read-back's table names
// it, never a success message, and the history keeps what the read-back found.
TEST_F(UploadCheckTest, APageStoredWrongIsShownInTheReadBackTable) {
    for (int page : {1, 40, 260}) {
        SCOPED_TRACE(page);
        m_frame.reset();
        m_panel.reset();  // before the next one sets the environment
        const std::size_t asked = prompt.messages().size();
        frame({}, "corrupt@" + QString::number(page));
        ASSERT_TRUE(m_frame->fileCommands().openFile(sampleFacility()));
        ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
        prompt.choosePanel(2);
        prompt.answer(true);  // the first upload to this panel: send it
        answer("CReadBackDlg", [](QWidget* dialog) {
            EXPECT_EQ(dialog->findChild<QLabel*>("heading")->text(), loadText(570));
            ASSERT_GE(rows(dialog, "differences"), 1);
            const QString sent = shown(dialog, "differences", 0, CReadBackModel::kSent);
            const QString held = shown(dialog, "differences", 0, CReadBackModel::kHeld);
            EXPECT_FALSE(shown(dialog, "differences", 0, CReadBackModel::kItem).isEmpty());
            EXPECT_NE(sent, held);
        }, "2");
        EXPECT_FALSE(loops().usbUpload());
        EXPECT_EQ(seen(), 1);
        const std::vector<int> messages = prompt.messages();
        EXPECT_EQ(std::vector<int>(messages.begin() + static_cast<long>(asked), messages.end()),
                  std::vector<int>({517}));  // neither 480 nor 263
        const std::vector<CHistoryRecord> kept = CSiteHistory(m_frame->unsavedStatus().filePath).list();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(kept[0].checked);
        EXPECT_TRUE(kept[0].verified);
        EXPECT_FALSE(kept[0].differences.empty());
    }
}

// In another language the read-back's table names the item in that language, not in the
// read-back's English words.
TEST_F(UploadCheckTest, TheReadBackTableNamesItsItemsInTheUsersLanguage) {
    m_frame.reset();
    m_panel.reset();
    frame({}, "corrupt@40");
    ASSERT_TRUE(m_frame->fileCommands().openFile(sampleFacility()));
    ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
    prompt.choosePanel(2);
    prompt.answer(true);
    ScopedLanguage french("fr");
    ASSERT_TRUE(french.selected());
    QString item;
    answer("CReadBackDlg", [&item](QWidget* dialog) {
        ASSERT_GE(rows(dialog, "differences"), 1);
        item = shown(dialog, "differences", 0, CReadBackModel::kItem);
    }, "2");
    EXPECT_FALSE(loops().usbUpload());
    EXPECT_EQ(seen(), 1);
    EXPECT_EQ(item, "Boucle 2, élément 49");  // "loop 2 element 49" in the lines
}

// A fault while sending fails the upload (92); past the upload's transfers it strikes the
// read-back (482): either way no success message, and only a panel that was written is recorded.
TEST_F(UploadCheckTest, AFaultWhileSendingOrReadingBackIsNeverASuccess) {
    const struct {
        const char* fault;
        int message;
    } cases[] = {{"error@100", 92}, {"short@401", 92}, {"error@600", 482}, {"timeout@900", 482}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        m_frame.reset();
        m_panel.reset();  // before the next one sets the environment
        const std::size_t asked = prompt.messages().size();
        frame({}, c.fault);
        ASSERT_TRUE(m_frame->fileCommands().openFile(sampleFacility()));
        ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
        prompt.choosePanel(2);
        prompt.answer(true);  // the first upload to this panel: send it
        EXPECT_FALSE(loops().usbUpload());
        const std::vector<int> messages = prompt.messages();
        EXPECT_EQ(std::vector<int>(messages.begin() + static_cast<long>(asked), messages.end()),
                  std::vector<int>({517, c.message}));
        const std::vector<CHistoryRecord> kept = CSiteHistory(m_frame->unsavedStatus().filePath).list();
        ASSERT_EQ(kept.size(), c.message == 482 ? 1u : 0u);
        if (!kept.empty()) {
            EXPECT_FALSE(kept[0].verifyRead);
        }
    }
}

// Every sentence and word the check writes has a text: in English the check's own, so that the
// program and cairnctl say the same; in the other languages a translation of it.
TEST(CheckWords, EveryWordingHasATextInEveryLanguage) {
    const CCheckWords& english = CCheckWords::english();
    for (const char* language : {"en", "es", "ca", "it", "fr"}) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(CLanguage::select(language, CLanguage::shareFolder()));
        const CCheckWords loaded = CUiCheckWords::load();
        ASSERT_TRUE(CLanguage::select("en", CLanguage::shareFolder()));
        ASSERT_EQ(loaded.sentences.size(), english.sentences.size());
        ASSERT_EQ(loaded.words.size(), english.words.size());
        if (std::string(language) == "en") {
            EXPECT_EQ(loaded.sentences, english.sentences);
            EXPECT_EQ(loaded.words, english.words);
            continue;
        }
        for (const auto& [key, text] : english.sentences) {
            const auto it = loaded.sentences.find(key);
            ASSERT_NE(it, loaded.sentences.end()) << key;
            EXPECT_NE(it->second, text) << key;
            EXPECT_EQ(it->second.rfind("IDS_", 0), std::string::npos) << key;
        }
        for (const auto& [key, word] : english.words) EXPECT_NE(loaded.words.at(key), word) << key;
    }
}

// The list speaks the user's language, values filled in; a finding the table has no words for
// keeps the check's English.
TEST_F(UploadCheckTest, FindingsAreShownInTheUsersLanguage) {
    loopsWithSample();
    facility().setZoneDescription(2, u"Renamed");  // panel 1's zone 2 now hides panel 2's
    std::vector<CCheckFinding> findings = CFacilityCheck(facility()).run(2);
    CCheckFinding tooLong = findings.back();
    tooLong.wording = "text-too-long";
    tooLong.values = {"label", "40", "32"};
    CCheckFinding unknown = findings.back();
    unknown.wording = "a-later-finding";
    unknown.text = "something the program has no words for";
    findings.push_back(tooLong);
    findings.push_back(unknown);
    ASSERT_TRUE(CLanguage::select("es", CLanguage::shareFolder()));
    CCheckFindingsDlg dialog(findings);
    const int zoneRow = rowWith(&dialog, "findings", CCheckFindingsModel::kItem, loadTextWith(566, "2"));
    const int last = rows(&dialog, "findings") - 1;
    const QString hidden = shown(&dialog, "findings", zoneRow, CCheckFindingsModel::kText);
    const QString label = shown(&dialog, "findings", last - 1, CCheckFindingsModel::kText);
    const QString fallback = shown(&dialog, "findings", last, CCheckFindingsModel::kText);
    ASSERT_TRUE(CLanguage::select("en", CLanguage::shareFolder()));
    ASSERT_GE(zoneRow, 0);
    EXPECT_EQ(hidden, "al guardar se conserva la descripción de la zona 2 de otra central en lugar de esta");
    EXPECT_EQ(label, "la etiqueta tiene 40 caracteres; la central muestra los 32 primeros");
    EXPECT_EQ(fallback, "something the program has no words for");
}
