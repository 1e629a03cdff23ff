// CDragNDropDlg: the event-action editor view.
//
// Two trees side by side, the input tree (1001) and the output tree (1002), each with a filter
// box above it and the rule list of its selected item below it. A rule is made by dragging an
// item onto an item of the other tree, or from the keyboard with the make-rule command (the
// selected input item to the selected output item); a rule is edited from a list by
// double-click or Enter and deleted with Delete. Every change goes through the facility
// manager, marks the facility unsaved and asks the frame to refresh (listsChanged, 2058). The
// status line counts the rules of the selected panel against its limit.
#pragma once

#include <QWidget>

#include "ui/CRuleNode.h"

class CCauseEffectView;
class CDragNDropTreeCtrl;
class CFacilityManager;
class CListCtrlEx;
class CRuleListModel;
class CRuleTreeModel;
class CUnsavedStatus;
class IUserPrompt;
class QLabel;
class QLineEdit;

class CDragNDropDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStatusText = 461;

    CDragNDropDlg(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt, QWidget* parent = nullptr);
    ~CDragNDropDlg() override;

    // Rebuilds both trees from the model, keeping what was expanded and selected.
    void populate();
    void unPopulate();
    void repopulate() { populate(); }
    // Refills both rule lists for the items selected in the trees.
    void populateLists();
    // Shows the used pictures as the rules now are and refills the lists (2058).
    void updateEventActionLists();
    // Selects rule `id`'s event item in the input tree and its action item in the output tree,
    // and the rule in both lists. False when the rule is missing.
    bool selectEventActionPair(int id);
    // Opens the edit dialog of rule `id`; true when it was changed.
    bool editRule(int id);
    // Deletes rule `id`; false when missing.
    bool deleteRule(int id);
    // Links the selected input item to the selected output item, as a drop does; the new
    // rule's id, or 0.
    int makeRule();
    // A drop of `source` onto `target`, `sourceIsInput` telling which tree it came from; the
    // new rule's id, or 0. Ignored while another drop is being handled.
    int dropNode(const CRuleNode& source, const CRuleNode& target, bool sourceIsInput);
    // Opens the summary of every rule.
    void showSummary();
    // Shows the cause-and-effect matrix window beside the editor (made on first use).
    CCauseEffectView& showMatrix();
    // Nothing of the trees outlives them; kept for the frame's exit order.
    void freePointers() {}

    CDragNDropTreeCtrl& inputTree() { return *m_inTree; }
    CDragNDropTreeCtrl& outputTree() { return *m_outTree; }
    CListCtrlEx& inputList() { return *m_inList; }
    CListCtrlEx& outputList() { return *m_outList; }

public slots:
    // A rule group emptied: `imageDrop` 31 for the input tree, 62 for the output tree.
    void lowerGroupImage(qintptr key, int imageDrop);

signals:
    void backRequested();  // 2062
    void listsChanged();   // 2058

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeSide(CDragNDropTreeCtrl* tree, QLineEdit* filter, CListCtrlEx* list);
    QLayout* makeBottomRow();
    void connectParts();
    void onListSelection(int id);
    void updateStatus();
    void changed();

    CFacilityManager& m_facility;
    CUnsavedStatus& m_status;
    IUserPrompt& m_prompt;
    CRuleTreeModel* m_inModel;
    CRuleTreeModel* m_outModel;
    CRuleListModel* m_inRules;
    CRuleListModel* m_outRules;
    CDragNDropTreeCtrl* m_inTree;
    CDragNDropTreeCtrl* m_outTree;
    CListCtrlEx* m_inList;
    CListCtrlEx* m_outList;
    QLineEdit* m_inFilter;
    QLineEdit* m_outFilter;
    QLabel* m_statusLine;
    CCauseEffectView* m_matrix = nullptr;
    bool m_dropping = false;
    bool m_selectingPair = false;
};
