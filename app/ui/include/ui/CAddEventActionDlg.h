// CAddEventActionDlg: the type dialog of a new rule: the event kinds an input item offers
// (heading 112) or the action kinds an output item offers (heading 111). The first is chosen
// when it opens; choice() is the position of the chosen kind, which is what the rule stores.
#pragma once

#include <QDialog>

#include "ui/CRuleNode.h"

class QListWidget;

class CAddEventActionDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleText = 463;

    // `eventKinds`: the kinds of the event side of `node`, else those of its action side.
    CAddEventActionDlg(bool eventKinds, const CRuleNode& node, QWidget* parent = nullptr);

    int choice() const;

private:
    QListWidget* m_kinds;
};
