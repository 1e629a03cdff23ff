// CListCtrlEx: the rule list below a rule tree.
//
// Delete removes the selected rule, double-click or Enter opens it for editing, F2 does
// nothing; the context menu offers the same two commands. The list only asks: the editor does
// the work through the facility manager.
#pragma once

#include <QTableView>

#include "ui/CRuleListModel.h"

class CListCtrlEx : public QTableView {
    Q_OBJECT
public:
    CListCtrlEx(CRuleListModel& model, const QString& name, QWidget* parent = nullptr);

    CRuleListModel& ruleModel() { return m_model; }
    // The rule of the selected row; 0 when none.
    int selectedRule() const;
    // Selects the row of rule `id`, without telling anyone; false when it is not listed.
    bool selectRule(int id);

signals:
    void ruleSelected(int id);
    void editRequested(int id);
    void deleteRequested(int id);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CRuleListModel& m_model;
    bool m_quiet = false;
};
