// The site history window for the pictures: two uploads of the sample's panel 1 with a few
// changes between them, both selected and compared.
#include <QDir>
#include <QTemporaryDir>

#include "CScreenshots.h"
#include "file/CXmlHandler.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "ui/CHistoryDlg.h"
#include "ui/IFileDialogs.h"
#include "ui/UiText.h"

namespace {

class Silent : public IUserPrompt {
public:
    void showMessage(int) override {}
    bool askYesNo(int) override { return false; }
};

class NoPdf : public IFileDialogs {
public:
    QString openFacility() override { return {}; }
    QString saveFacility(const QString&) override { return {}; }
    QString openManifest() override { return {}; }
    QString saveCsv(const QString&) override { return {}; }
};

// An upload of panel 1 as `facility` is now, at `time`.
bool upload(const KvWString& file, CFacilityManager& facility, const char* time) {
    CFacilityManager sent;
    std::string problem;
    if (!CPanelSnapshot::fromFacility(facility, 1, sent, problem)) return false;
    CHistoryRecord record;
    record.time = time;
    record.panelId = 1;
    record.panelAddress = facility.getPanelAddress(1);
    if (const KvWString* label = facility.getPanelLabel(1)) record.label = *label;
    record.user = "installer";
    record.host = "site-laptop";
    return CSiteHistory(file).add(record, sent, problem);
}

}  // namespace

bool CScreenshots::renderHistory(const QString& code) {
    QTemporaryDir folder;
    const KvWString file = toKvWString(folder.filePath("site.kvg"));
    CFacilityManager facility;
    if (!folder.isValid() || !CXmlHandler(facility).load(toKvWString(m_sample))) return false;
    if (!upload(file, facility, "2026-03-02T09:14:05.000Z")) return false;
    facility.addElementToZone(1, 1, 2, 3);
    facility.setElementDescription(1, 1, 3, u"Stairs, first floor landing by the fire door");
    facility.setEventActionDelay(2, 60);
    facility.delEventActionItem(1);
    facility.setPanelPhone(1, u"+34 931 000 001");
    if (!upload(file, facility, "2026-11-20T16:40:31.000Z")) return false;
    Silent prompt;
    NoPdf files;
    CHistoryDlg history(file, facility, prompt, files);
    history.select(0, 1);
    history.compare();
    return save(history, code, "CHistoryDlg");
}
