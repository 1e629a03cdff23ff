// CElementEdits: what the loops editor does with an edited element cell: the type change,
// the description, the zone and the zone description, each through the facility manager.
//
// A type change works on the whole device the element belongs to. A type that needs more
// addresses than are free after the device, or addresses beyond 250, is refused with
// message 249 and changes nothing.
#pragma once

#include <QObject>
#include <QVariant>

#include "basalt/KvBasicString.h"
#include "ui/CTreeListModel.h"

class CFacilityManager;
class CUnsavedStatus;
class IUserPrompt;

class CElementEdits : public QObject {
    Q_OBJECT
public:
    static constexpr int kAddressesTakenText = 249;

    CElementEdits(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt, CTreeListModel& model,
                  QObject* parent = nullptr);

    // Writes an edited cell back (the model's edit handler). A type change runs once the
    // editor has closed, since it rebuilds the loop's rows.
    void cellEdited(const CTreeListModel::Key& row, int column, const QVariant& value);
    // What Undo calls an edit of the element of `row`.
    static KvWString elementChange(const CTreeListModel::Key& row);
    // True when `type` fits where the element's device is; otherwise message 249.
    bool typeFits(const CTreeListModel::Key& row, int type);
    // True while a type change is under way: the tree refreshes the loop itself afterwards.
    bool changingType() const { return m_changingType; }
    // Gives the element's device the type `type` (all its parts).
    bool setElementType(const CTreeListModel::Key& row, int type);
    void setElementDescription(const CTreeListModel::Key& row, const QString& text);
    void setElementZone(const CTreeListModel::Key& row, int zone);
    void setZoneDescription(const CTreeListModel::Key& row, const QString& text);

signals:
    // Select `row` (after a type change has refreshed its loop).
    void selectRequested(const CTreeListModel::Key& row);

private:
    CFacilityManager& m_facility;
    CUnsavedStatus& m_status;
    IUserPrompt& m_prompt;
    CTreeListModel& m_model;
    bool m_changingType = false;
};
