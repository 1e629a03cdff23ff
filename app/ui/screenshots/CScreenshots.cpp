#include "CScreenshots.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

#include "mica/KvProgressDlg.h"
#include "check/CFacilityCheck.h"
#include "mica/KvWaitDlg.h"
#include "model/CFacilityManager.h"
#include "panel_link/UsbBackendChoice.h"
#include "model/CElementTypeCatalogue.h"
#include "ui/CAboutBox.h"
#include "ui/CAddElements.h"
#include "ui/CAddLoop.h"
#include "ui/CCauseEffectView.h"
#include "ui/CElementDevices.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CModifyPanel.h"
#include "ui/CAbstract.h"
#include "ui/CActionRangeDlg.h"
#include "ui/CAddEventActionDlg.h"
#include "ui/CCheckFindingsDlg.h"
#include "ui/CDragNDropDlg.h"
#include "ui/CEventEdit.h"
#include "ui/CEventRangeDlg.h"
#include "ui/CFileCommands.h"
#include "ui/CLanguage.h"
#include "ui/CMainFrame.h"
#include "ui/CQtPrompt.h"
#include "ui/CReadBackDlg.h"
#include "ui/CSelectPanels.h"
#include "ui/CSysHourDlg.h"
#include "ui/CSysInfoDlg.h"
#include "ui/CSysLogDlg.h"
#include "ui/CSysReports.h"
#include "ui/CUnsaved.h"
#include "ui/CWaitDialogs.h"
#include "ui/IFileDialogs.h"
#include "ui/KvSplashDlg.h"
#include "ui/UiText.h"

namespace {

// Answers nothing and chooses the first panel, so dialogs open as after a user's choice.
class FirstPanelPrompt : public IUpdatePrompt {
public:
    void showMessage(int) override {}
    bool askYesNo(int) override { return false; }
    void showText(const KvWString&) override {}
    bool choosePanels(CFacilityManager& facility, bool) override {
        if (facility.getNumberOfPanels() > 0) facility.setPanelSelected(facility.getPanelId(0), true);
        return facility.getNumberOfPanels() > 0;
    }
};

class NoFiles : public IFileDialogs {
public:
    QString openFacility() override { return {}; }
    QString saveFacility(const QString&) override { return {}; }
    QString openManifest() override { return {}; }
    QString saveCsv(const QString&) override { return {}; }
};

void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// The main window with the prompt and file dialogs it is shown with.
struct ShownFrame {
    FirstPanelPrompt prompt;
    NoFiles files;
    std::string problem;
    CMainFrame frame{CFrameServices{prompt, files, usbBackendFromEnvironment(problem), nullptr, nullptr}};
};

// The loops editor with every row opened out and `row` chosen.
void showLoops(CMainFrame& frame, const CTreeListModel::Key& row) {
    frame.switchToLoops();
    if (auto* loops = frame.findChild<CExtendedControlsDlg*>()) {
        loops->OnBnClickedBtExpand();
        loops->populateAndSelect(row);
    }
}

}  // namespace

CScreenshots::CScreenshots(const QString& folder, const QString& sampleFacility)
    : m_folder(folder), m_sample(sampleFacility) {}

bool CScreenshots::renderAll() {
    bool ok = true;
    for (const QString& code : CLanguage::supportedCodes()) ok = renderLanguage(code) && ok;
    return ok;
}

bool CScreenshots::renderLanguage(const QString& code) {
    if (!CLanguage::select(code, CLanguage::shareFolder())) return false;
    if (!QDir().mkpath(m_folder + "/" + code)) return false;
    const bool frame = renderFrame(code) && renderFullPanel(code);
    const bool dialogs = renderDialogs(code);
    const bool workers = renderWorkerDialogs(code);
    return frame && dialogs && workers && contactSheet(code);
}

// All windows of one language on one page, for a quick look.
bool CScreenshots::contactSheet(const QString& code) {
    QList<QImage> pictures;
    for (const QString& path : m_written)
        if (path.startsWith(m_folder + "/" + code + "/")) pictures << QImage(path);
    const int columns = 3;
    const int cell = 820;
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    QImage sheet(columns * cell, rows * cell, QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    QPainter painter(&sheet);
    for (int i = 0; i < pictures.size(); ++i)
        painter.drawImage(QPoint((i % columns) * cell + 4, (i / columns) * cell + 4), pictures[i]);
    painter.end();
    return sheet.save(m_folder + "/" + code + "-contact-sheet.png");
}

bool CScreenshots::save(QWidget& window, const QString& code, const QString& name) {
    window.show();
    settle();
    const QString path = m_folder + "/" + code + "/" + name + ".png";
    const bool saved = window.grab().save(path);
    if (saved) m_written << path;
    window.hide();
    return saved;
}

bool CScreenshots::renderFrame(const QString& code) {
    ShownFrame shown;
    CMainFrame& frame = shown.frame;
    FirstPanelPrompt& prompt = shown.prompt;
    NoFiles& files = shown.files;
    frame.fileCommands().openFile(m_sample);
    bool ok = save(frame, code, "home");
    showLoops(frame, {CTreeListModel::kElement, 1, 1, 6});
    ok = save(frame, code, "loops-editor") && ok;
    ok = renderLoopsDialogs(frame.facility(), code) && ok;
    frame.switchToEvents();
    if (auto* rules = frame.findChild<CDragNDropDlg*>("CDragNDropDlg")) rules->selectEventActionPair(1);
    ok = save(frame, code, "event-action-editor") && ok;
    frame.onBack();
    ok = renderRuleDialogs(frame.facility(), code) && ok;
    ok = renderUploadDialogs(frame.facility(), code) && ok;

    CSelectPanels choice(frame.facility(), false, prompt);
    ok = save(choice, code, "CSelectPanels") && ok;
    CSysInfoDlg info(frame.facility(), frame.unsavedStatus(), prompt);
    info.choosePanel();
    ok = save(info, code, "CSysInfoDlg") && ok;
    CSysHourDlg clock(frame.usbHandler(), prompt);
    clock.findChild<QCheckBox*>("manual")->click();
    ok = save(clock, code, "CSysHourDlg") && ok;
    CSysLogDlg logs(frame.usbHandler(), prompt, files);
    logs.findChild<QCheckBox*>("general")->click();
    ok = save(logs, code, "CSysLogDlg") && ok;
    CSysReports reports(frame.facility(), prompt, files, m_sample);
    reports.findChild<QCheckBox*>("1168")->click();
    ok = save(reports, code, "CSysReports") && ok;
    return ok;
}

// The event-action editor's dialogs, on the sample's rules.
bool CScreenshots::renderRuleDialogs(CFacilityManager& facility, const QString& code) {
    FirstPanelPrompt prompt;
    CAddEventActionDlg type(true, CRuleNode{CRuleNodeKind::Panel, 1, 0, 0, 0});
    bool ok = save(type, code, "CAddEventActionDlg");
    CActionRangeDlg eventRange(prompt);
    ok = save(eventRange, code, "CActionRangeDlg") && ok;
    CEventRangeDlg actionRange(prompt);
    ok = save(actionRange, code, "CEventRangeDlg") && ok;
    CEventEdit edit(facility, 3);
    ok = save(edit, code, "CEventEdit") && ok;
    CAbstract summary(facility);
    ok = save(summary, code, "CAbstract") && ok;
    CCauseEffectView matrix(facility);
    matrix.selectRule(2);
    ok = save(matrix, code, "CCauseEffectView") && ok;
    return ok;
}

// The loops editor's dialogs, on the sample.
bool CScreenshots::renderLoopsDialogs(CFacilityManager& facility, const QString& code) {
    FirstPanelPrompt prompt;
    CModifyPanel panel(prompt);
    const KvWString* label = facility.getPanelLabel(1);
    panel.setPanel(facility.getPanelAddress(1), label ? toQString(*label) : QString());
    bool ok = save(panel, code, "CModifyPanel");
    CAddLoop loop(facility, prompt, 1, 1);
    ok = save(loop, code, "CAddLoop") && ok;
    CAddElements elements(facility, prompt, 1, 1, 11);
    elements.findChild<QComboBox*>("type")->setCurrentIndex(12);
    ok = save(elements, code, "CAddElements") && ok;
    return ok;
}

// The loops editor with one panel whose eight loops are full, devices of every type.
bool CScreenshots::renderFullPanel(const QString& code) {
    ShownFrame shown;
    CMainFrame& frame = shown.frame;
    CFacilityManager& facility = frame.facility();
    facility.addPanel(1, 1, KvWString(u"Main building"));
    const KvWString unnamed = toKvWString(loadText(42));
    for (int zone = 1; zone <= 250; ++zone) facility.addZone(1, zone, unnamed);
    for (int loop = 1; loop <= 8; ++loop) {
        facility.addLoopToPanel(1, loop);
        int type = loop;
        for (int address = 1; address <= 250; type = type % 18 + 1) {
            const int count = CElementTypeCatalogue::addressCount(type);
            if (address + count - 1 > 250) continue;
            for (int part = 0; part < count; ++part, ++address)
                CElementDevices::addPart(facility, 1, loop, address, type, part, 1 + address / 10, QString());
        }
    }
    frame.show();
    showLoops(frame, {CTreeListModel::kElement, 1, 1, 13});
    return save(frame, code, "loops-editor-full");
}

// The check before an upload (warnings alone, then with an error) and the read-back after it.
bool CScreenshots::renderUploadDialogs(CFacilityManager& facility, const QString& code) {
    std::vector<CCheckFinding> findings = CFacilityCheck(facility).run(1);
    CCheckFindingsDlg warnings(findings);
    bool ok = save(warnings, code, "CCheckFindingsDlg");
    CCheckFinding error;
    error.item = CCheckFinding::Item::Rule;
    error.panel = 1;
    error.rule = 7;
    error.code = "rule-names-missing";
    error.wording = "rule-names-missing/zone";
    error.values = {"action-side", "12", "3"};
    error.text = "its action side names zone 12 of panel 3, which does not exist";
    findings.insert(findings.begin(), error);
    CCheckFindingsDlg errors(findings);
    ok = save(errors, code, "CCheckFindingsDlg-errors") && ok;
    using Kind = CPanelDifference::Kind;
    CReadBackDlg differences({{"panel label", "\"North wing\"", "\"Nxrth wing\"", Kind::kPanelLabel},
                              {"zone 3 description", "\"Stairs\"", "\"Stbirs\"", Kind::kZoneDescription, 3},
                              {"loop 1 element 4",
                               "type 2, generic type 1, zone 3, composite mode 0, description \"Hall\"",
                               "no element", Kind::kElement, 1, 4, false, true},
                              {"rule entry 2",
                               "when loop 1 element 2 (type 1) reports event type 1, drive zone 3 "
                               "with action type 1 after 0 s",
                               "none", Kind::kRule, 2, 0, false, true}});
    return save(differences, code, "CReadBackDlg") && ok;
}

bool CScreenshots::renderDialogs(const QString& code) {
    CAboutBox about;
    bool ok = save(about, code, "CAboutBox");
    CUnsaved unsaved;
    ok = save(unsaved, code, "CUnsaved") && ok;
    KvSplashDlg splash(0);
    ok = save(splash, code, "KvSplashDlg") && ok;
    CQtPrompt prompt;
    std::unique_ptr<QMessageBox> message(prompt.makeBox(loadText(197), false));
    ok = save(*message, code, "message") && ok;
    std::unique_ptr<QMessageBox> question(prompt.makeBox(loadText(291), true));
    ok = save(*question, code, "question") && ok;
    return renderHistory(code) && ok;
}

bool CScreenshots::renderWorkerDialogs(const QString& code) {
    std::unique_ptr<IModalWaitDialog> wait = CWaitDialogs::waitDialog();
    auto* waitWindow = dynamic_cast<KvWaitDlg*>(wait.get());
    wait->SetText(toKvWString(loadText(88)));
    bool ok = waitWindow && save(*waitWindow, code, "KvWaitDlg");
    std::unique_ptr<IModalWaitDialog> progress = CWaitDialogs::progressDialog();
    auto* progressWindow = dynamic_cast<KvProgressDlg*>(progress.get());
    progress->SetText(toKvWString(loadText(282)));
    progress->SetProgress(40, 100);
    ok = progressWindow && save(*progressWindow, code, "KvProgressDlg") && ok;
    return ok;
}
