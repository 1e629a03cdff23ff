// CCauseEffectView: the window of the cause-and-effect matrix, opened from the event-action
// editor beside it.
//
// Causes down the left, effects across the top (their headers stay in place while the cells
// scroll), the delays in the cells and the rules in words in their tooltips. The panel choice
// keeps the rules touching one panel, the text field the rules whose cause or effect holds
// the text. Double-click on a cell asks for its rule's edit dialog; moving to a cell tells the
// editor to select that rule's pair. The window reads the facility only.
#pragma once

#include <QDialog>

class CFacilityManager;
class CMatrixTableModel;
class CVerticalTextHeader;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QTableView;

class CCauseEffectView : public QDialog {
    Q_OBJECT
public:
    explicit CCauseEffectView(const CFacilityManager& facility, QWidget* parent = nullptr);

    // Rebuilds from the facility (its rules or panels changed), keeping the filters.
    void refresh();
    // Shows and selects the rule's cell; false when it is filtered out or missing.
    bool selectRule(int ruleId);
    CMatrixTableModel& model() { return *m_model; }
    QTableView& table() { return *m_table; }

signals:
    void editRequested(int ruleId);   // double-click on a cell
    void pairSelected(int ruleId);    // a cell became current

private:
    void fillPanels();
    void applyFilters();
    void fitHeaders();
    void onCurrentChanged(const QModelIndex& current);
    void onDoubleClicked(const QModelIndex& index);

    const CFacilityManager& m_facility;
    CMatrixTableModel* m_model;
    QComboBox* m_panels;
    QLineEdit* m_text;
    QTableView* m_table;
    CVerticalTextHeader* m_columnHead = nullptr;
    QLabel* m_empty;
    bool m_restoring = false;
};
