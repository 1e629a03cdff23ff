// CHistoryDlg: the site history of a facility file: its uploads, downloads and verifies, oldest
// first, and the difference between the two entries selected (or between one entry and the
// facility as it is now, which compares what an upload of that entry's panel would send).
//
// The list is read when the dialog opens; the entries' snapshots only when compared.
#pragma once

#include <QDialog>
#include <vector>

#include "basalt/KvBasicString.h"
#include "history/CHistoryRecord.h"

class CFacilityManager;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class CHistoryDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleText = 501;
    static constexpr int kNoHistoryText = 513;
    static constexpr int kChooseTwoText = 514;
    static constexpr int kEqualText = 515;

    // `facility` (not owned) is the open facility, compared when one entry is selected.
    CHistoryDlg(const KvWString& facilityFile, CFacilityManager& facility, QWidget* parent = nullptr);

    int entries() const { return static_cast<int>(m_records.size()); }
    // Selects rows `first` and `second` (-1: none) as the user would.
    void select(int first, int second = -1);
    // Shows the difference of the selection; what it shows is differences().
    void compare();
    QString differences() const;

private:
    void fillRow(int row, const CHistoryRecord& record);
    bool loadEntry(int row, CFacilityManager& into) const;

    KvWString m_file;
    CFacilityManager& m_facility;
    std::vector<CHistoryRecord> m_records;
    QTableWidget* m_list;
    QPushButton* m_compare;
    QPlainTextEdit* m_differences;
};
