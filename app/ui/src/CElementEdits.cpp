#include "ui/CElementEdits.h"

#include <QTimer>

#include "basalt/KvTrace.h"
#include "model/CElementTypeCatalogue.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "ui/CElementDevices.h"
#include "ui/CUndoCommands.h"
#include "ui/CUnsavedStatus.h"
#include "ui/UiText.h"

CElementEdits::CElementEdits(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt,
                             CTreeListModel& model, QObject* parent)
    : QObject(parent), m_facility(facility), m_status(status), m_prompt(prompt), m_model(model) {}

void CElementEdits::cellEdited(const CTreeListModel::Key& row, int column, const QVariant& value) {
    switch (column) {
        case CTreeListModel::kType:
            QTimer::singleShot(0, this, [this, row, type = value.toInt()] { setElementType(row, type); });
            break;
        case CTreeListModel::kDescription: setElementDescription(row, value.toString()); break;
        case CTreeListModel::kZone: setElementZone(row, value.toInt()); break;
        case CTreeListModel::kZoneDescription: setZoneDescription(row, value.toString()); break;
        default: break;
    }
}

KvWString CElementEdits::elementChange(const CTreeListModel::Key& row) {
    return CUndoCommands::describe(CUndoCommands::kChangeElementText, row.element, row.loop, row.panel);
}

bool CElementEdits::typeFits(const CTreeListModel::Key& row, int type) {
    int first = 0, last = 0;
    CElementDevices::deviceBounds(m_facility, row.panel, row.loop, row.element, first, last);
    const int count = CElementTypeCatalogue::addressCount(type);
    bool fits = count > 0 && first + count - 1 <= CElementDevices::kMostAddress;
    // The addresses after the device's first must be free or the device's own.
    for (int a = first + 1; fits && a < first + count; ++a)
        fits = a <= last || m_facility.getElementType(row.panel, row.loop, a) == 0;
    if (!fits) m_prompt.showMessage(kAddressesTakenText);
    return fits;
}

bool CElementEdits::setElementType(const CTreeListModel::Key& row, int type) {
    printk("\n CExtendedControlsDlg::setElementType");
    const int p = row.panel, l = row.loop;
    int first = 0, last = 0;
    CElementDevices::deviceBounds(m_facility, p, l, row.element, first, last);
    if (m_facility.getElementType(p, l, first) == 0 || m_facility.getElementType(p, l, first) == type) return false;
    if (!typeFits(row, type)) return false;
    // One step, all or nothing: a refusal by the manager brings the parts removed here back.
    CFacilityAction action(m_facility, CUndoCommands::describe(CUndoCommands::kChangeElementText, first, l, p));
    // The old device's other parts go first; the manager then rebuilds the device at its first address.
    for (int a = first + 1; a <= last; ++a) m_facility.delElementFromLoop(p, l, a);
    const int count = CElementTypeCatalogue::addressCount(type);
    m_facility.setElementCompositeMode(p, l, first, CElementDevices::compositeMode(type, 0));
    m_changingType = true;
    const bool changed = m_facility.setElementType(p, l, first, type);
    m_changingType = false;
    if (!changed) return false;
    CElementDevices::markPart(m_facility, p, l, first, type, 0);
    const KvWString description = toKvWString(CElementDevices::partDescription(type, 0));
    m_facility.setElementDescription(p, l, first, description.c_str());
    const int zone = m_facility.getElementZone(p, l, first);
    for (int part = 1; part < count; ++part) {
        // The manager made these parts already; asking again only keeps what it gave them.
        CElementDevices::addPart(m_facility, p, l, first + part, type, part, zone, QString());
        CElementDevices::markPart(m_facility, p, l, first + part, type, part);
    }
    // The manager appends the new parts; their order back by address belongs to the same step.
    m_facility.sortFacility();
    action.commit();
    m_status.markChanged();
    // Only this loop's rows change: the rest of a large tree stays laid out.
    m_model.refreshLoop(p, l);
    emit selectRequested({CTreeListModel::kElement, p, l, first});
    return true;
}

void CElementEdits::setElementDescription(const CTreeListModel::Key& row, const QString& text) {
    printk("\n CExtendedControlsDlg::setElementDescription");
    const KvWString wide = toKvWString(text);
    CFacilityAction action(m_facility, elementChange(row));
    if (!m_facility.setElementDescription(row.panel, row.loop, row.element, wide.c_str())) return;
    action.commit();
    m_status.markChanged();
    m_model.refreshElement(row);
}

void CElementEdits::setElementZone(const CTreeListModel::Key& row, int zone) {
    printk("\n CExtendedControlsDlg::setElementZone");
    CFacilityAction action(m_facility, elementChange(row));
    if (zone <= 0 || !m_facility.addElementToZone(row.panel, row.loop, row.element, zone)) return;
    action.commit();
    m_status.markChanged();
    m_model.refreshElement(row);
}

void CElementEdits::setZoneDescription(const CTreeListModel::Key& row, const QString& text) {
    printk("\n CExtendedControlsDlg::setZoneDescription");
    const int zone = m_facility.getElementZone(row.panel, row.loop, row.element);
    if (zone <= 0) return;
    const KvWString wide = toKvWString(text);
    CFacilityAction action(m_facility, CUndoCommands::describe(CUndoCommands::kRenameZoneText, zone));
    // Zone names are shared by number; a panel read without its zones gets this one.
    if (!m_facility.setZoneDescription(zone, wide) && !m_facility.addZone(row.panel, zone, wide)) return;
    action.commit();
    m_status.markChanged();
    m_model.refreshZoneDescriptions();
}
