// CAbstract: every rule of the facility on one line in words, in rule order.
#pragma once

#include <QDialog>

class CFacilityManager;
class QListWidget;

class CAbstract : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleText = 457;

    explicit CAbstract(const CFacilityManager& facility, QWidget* parent = nullptr);

    QStringList lines() const;

private:
    QListWidget* m_list;
};
