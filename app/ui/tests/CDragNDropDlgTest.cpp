// The event-action editor driven offscreen through the frame: drops, the range path, the rule
// lists, editing, deleting, the keyboard command and the per-panel limit.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "FrameFixture.h"
#include "art/CArt.h"
#include "ui/CAbstract.h"
#include "ui/CDragNDropDlg.h"
#include "ui/CDragNDropTreeCtrl.h"
#include "ui/CListCtrlEx.h"
#include "ui/CRuleTreeModel.h"
#include "ui/CZoneRangeDlg.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace {

CRuleNode panelNode(int p) { return CRuleNode{CRuleNodeKind::Panel, p, 0, 0, 0}; }
CRuleNode elementNode(int p, int l, int e) { return CRuleNode{CRuleNodeKind::Element, p, l, e, 0}; }
CRuleNode zonesNode(int p) { return CRuleNode{CRuleNodeKind::ZoneRange, p, 0, 0, 0}; }

// One side of a rule as numbers, for comparisons.
struct Side {
    int type, panel, loop, element, zone, rangeBegin, rangeEnd, itemType;
    bool operator==(const Side&) const = default;
};

Side inSide(const CFacilityManager& m, int id) {
    const auto range = m.getEventActionInRange(id);
    return Side{m.getEventActionInType(id), m.getEventActionInPanel(id), m.getEventActionInLoop(id),
                m.getEventActionInElement(id), m.getEventActionInZone(id), range.first, range.second,
                m.getEventActionInItemType(id)};
}

Side outSide(const CFacilityManager& m, int id) {
    const auto range = m.getEventActionOutRange(id);
    return Side{m.getEventActionOutType(id), m.getEventActionOutPanel(id), m.getEventActionOutLoop(id),
                m.getEventActionOutElement(id), m.getEventActionOutZone(id), range.first, range.second,
                m.getEventActionOutItemType(id)};
}

std::ostream& operator<<(std::ostream& out, const Side& s) {
    return out << "{" << s.type << " p" << s.panel << " l" << s.loop << " e" << s.element << " z" << s.zone << " r"
               << s.rangeBegin << "-" << s.rangeEnd << " t" << s.itemType << "}";
}

// Drops `source` of tree `from` onto `target` of tree `onto`, as the pointer would.
void drop(CDragNDropTreeCtrl& from, const CRuleNode& source, CDragNDropTreeCtrl& onto, const CRuleNode& target) {
    std::unique_ptr<QMimeData> data(from.dragData(source));
    const QModelIndex at = onto.ruleModel().indexOf(target);
    ASSERT_TRUE(at.isValid());
    for (QModelIndex up = at.parent(); up.isValid(); up = up.parent()) onto.expand(up);
    onto.scrollTo(at);
    QApplication::processEvents();
    ASSERT_EQ(onto.indexAt(onto.visualRect(at).center()), at);
    // As a real drag: the tree sees the drag come in and move over the item before the drop.
    const QPoint point = onto.visualRect(at).center();
    QDragEnterEvent enter(point, Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto.viewport(), &enter);
    QDragMoveEvent move(point, Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto.viewport(), &move);
    QDropEvent event(QPointF(point), Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto.viewport(), &event);
}

// Answers the range dialog with `kind` and zones `begin`..`end`.
std::function<void(QWidget*)> chooseRange(int kind, int begin, int end) {
    return [=](QWidget* window) {
        auto* dialog = static_cast<CZoneRangeDlg*>(window);
        window->findChild<QComboBox*>("kind")->setCurrentIndex(kind);
        dialog->setRange(begin, end);
        dialog->accept();
    };
}

std::function<void(QWidget*)> chooseKind(int row) {
    return [=](QWidget* window) {
        window->findChild<QListWidget*>("kinds")->setCurrentRow(row);
        static_cast<QDialog*>(window)->accept();
    };
}

class CDragNDropDlgTest : public FrameFixture {
protected:
    CDragNDropDlg& editor() {
        CMainFrame& f = frameWithSample();
        f.switchToEvents();
        auto* view = f.findChild<CDragNDropDlg*>("CDragNDropDlg");
        EXPECT_NE(view, nullptr);
        return *view;
    }
    CFacilityManager& model() { return m_frame->facility(); }
    int rules() { return model().getNumberEventsInPanel(); }
    int imageOf(CDragNDropTreeCtrl& tree, const CRuleNode& node) {
        return tree.ruleModel().imageIndex(tree.ruleModel().indexOf(node));
    }
};

TEST_F(CDragNDropDlgTest, AnItemDroppedOnItsOwnTreeMakesNothing) {
    CDragNDropDlg& view = editor();
    drop(view.inputTree(), elementNode(1, 1, 2), view.inputTree(), elementNode(1, 1, 3));
    drop(view.outputTree(), elementNode(1, 1, 9), view.outputTree(), elementNode(1, 1, 10));
    EXPECT_EQ(rules(), 3);
    EXPECT_FALSE(frame().unsavedStatus().unsaved);
}

TEST_F(CDragNDropDlgTest, APlainDropMakesARuleWithDelayAndKindsZeroAndSelectsItsPair) {
    CDragNDropDlg& view = editor();
    const CRuleNode detector = elementNode(1, 1, 2);
    const CRuleNode sounder = elementNode(1, 1, 9);
    EXPECT_EQ(imageOf(view.inputTree(), detector), 0);
    drop(view.outputTree(), sounder, view.inputTree(), detector);
    ASSERT_EQ(rules(), 4);
    const int id = model().getEventActionId(3);
    EXPECT_EQ(id, 4);
    EXPECT_EQ(model().getEventActionDelay(id), 0);
    EXPECT_EQ(inSide(model(), id), (Side{0, 1, 1, 2, 0, 0, 0, 5}));
    EXPECT_EQ(outSide(model(), id), (Side{0, 1, 1, 9, 0, 0, 0, 5}));
    EXPECT_TRUE(frame().unsavedStatus().unsaved);
    EXPECT_EQ(*view.inputTree().selectedNode(), detector);
    EXPECT_EQ(*view.outputTree().selectedNode(), sounder);
    EXPECT_EQ(view.inputList().selectedRule(), id);
    EXPECT_EQ(view.outputList().selectedRule(), id);
    EXPECT_EQ(imageOf(view.inputTree(), detector), 0 + CArt::kUsedInput);
    EXPECT_EQ(imageOf(view.outputTree(), sounder), 19 + CArt::kUsedOutput);
    EXPECT_EQ(view.findChild<QLabel*>("status")->text(), "Panel 1: 3 of 1024 rules");
}

TEST_F(CDragNDropDlgTest, DeletingTheOnlyRuleOfAnItemShowsItsBasePictureAgain) {
    CDragNDropDlg& view = editor();
    // Rule 1 of the sample comes from the file (group key 0); rule 4 is made here.
    const CRuleNode detector = elementNode(1, 1, 1);
    const CRuleNode other = elementNode(2, 1, 1);
    drop(view.inputTree(), other, view.outputTree(), elementNode(1, 1, 8));
    for (const CRuleNode& node : {detector, other}) {
        ASSERT_TRUE(view.inputTree().selectNode(node));
        EXPECT_TRUE(view.inputTree().ruleModel().isUsed(view.inputTree().ruleModel().indexOf(node)));
        CListCtrlEx& list = view.inputList();
        ASSERT_EQ(list.ruleModel().rowCount(), node == detector ? 1 : 2);
        list.selectRow(list.ruleModel().rowCount() - 1);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_F2);
        EXPECT_NE(list.selectedRule(), 0);
        const int id = list.selectedRule();
        QTest::keyClick(&list, Qt::Key_Delete);
        EXPECT_FALSE(model().getEventActionInSide(id));
    }
    EXPECT_EQ(imageOf(view.inputTree(), detector), 0);
    // Panel 2's detector still has sample rule 3.
    EXPECT_TRUE(view.inputTree().ruleModel().isUsed(view.inputTree().ruleModel().indexOf(other)));
    EXPECT_EQ(view.inputList().ruleModel().rowCount(), 1);
}

TEST_F(CDragNDropDlgTest, EditingChangesDelayAndKindsButNeverItemsOrRange) {
    CDragNDropDlg& view = editor();
    const Side in = inSide(model(), 3), out = outSide(model(), 3);
    ModalAnswerer edit("CEventEdit", [](QWidget* w) {
        w->findChild<QSpinBox*>("delay")->setValue(45);
        w->findChild<QComboBox*>("eventKind")->setCurrentIndex(1);
        w->findChild<QComboBox*>("actionKind")->setCurrentIndex(2);
        clickButton("1")(w);
    });
    ASSERT_TRUE(view.selectEventActionPair(3));
    emit view.inputList().doubleClicked(view.inputList().ruleModel().index(0, 0));
    EXPECT_EQ(edit.seen(), 1);
    EXPECT_EQ(model().getEventActionDelay(3), 45);
    EXPECT_EQ(inSide(model(), 3), (Side{1, in.panel, in.loop, in.element, in.zone, in.rangeBegin, in.rangeEnd, in.itemType}));
    EXPECT_EQ(outSide(model(), 3), (Side{2, out.panel, out.loop, out.element, out.zone, 1, 4, out.itemType}));
    EXPECT_EQ(model().getEventActionOutElementType(3), 0);
    EXPECT_TRUE(frame().unsavedStatus().unsaved);
}

TEST_F(CDragNDropDlgTest, OkWithoutChangesKeepsAKindTheListDoesNotKnow) {
    CDragNDropDlg& view = editor();
    // The sample's rule 1 drives its output element with action type 7; an element offers one.
    ModalAnswerer edit("CEventEdit", clickButton("1"));
    ASSERT_TRUE(view.selectEventActionPair(1));
    view.outputList().setFocus();
    QTest::keyClick(&view.outputList(), Qt::Key_Return);
    EXPECT_EQ(edit.seen(), 1);
    EXPECT_EQ(model().getEventActionOutType(1), 7);
    EXPECT_EQ(model().getEventActionInType(1), 1);
    EXPECT_EQ(model().getEventActionDelay(1), 0);
    ModalAnswerer cancel("CEventEdit", clickButton("2"));
    EXPECT_FALSE(view.editRule(2));
}

TEST_F(CDragNDropDlgTest, TheRangePathMakesARangedSideFromBothDialogs) {
    CDragNDropDlg& view = editor();
    {
        // Input zones onto an output: the action kind first, then the event on a zone range.
        ModalAnswerer type("CAddEventActionDlg", chooseKind(0));
        ModalAnswerer range("CActionRangeDlg", chooseRange(2, 3, 7));
        const int id = view.dropNode(zonesNode(1), panelNode(2), true);
        ASSERT_NE(id, 0);
        EXPECT_EQ(inSide(model(), id), (Side{2, 1, 0, 0, 0, 3, 7, 6}));
        EXPECT_EQ(outSide(model(), id), (Side{0, 2, 0, 0, 0, 0, 0, 1}));
        EXPECT_TRUE(view.inputTree().ruleModel().isUsed(view.inputTree().ruleModel().indexOf(zonesNode(1))));
    }
    {
        // An input element dragged onto the output zones: the event kind, then the action range.
        ModalAnswerer type("CAddEventActionDlg", chooseKind(1));
        ModalAnswerer range("CEventRangeDlg", chooseRange(3, 1, 250));
        const int id = view.dropNode(zonesNode(2), elementNode(1, 1, 2), false);
        ASSERT_NE(id, 0);
        EXPECT_EQ(inSide(model(), id), (Side{1, 1, 1, 2, 0, 0, 0, 5}));
        EXPECT_EQ(outSide(model(), id), (Side{3, 2, 0, 0, 0, 1, 250, 6}));
    }
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(CDragNDropDlgTest, CancelInEitherDialogOfTheRangePathMakesNoRule) {
    CDragNDropDlg& view = editor();
    {
        ModalAnswerer type("CAddEventActionDlg", clickButton("2"));
        EXPECT_EQ(view.dropNode(zonesNode(1), elementNode(1, 1, 9), true), 0);
        EXPECT_EQ(type.seen(), 1);
    }
    {
        ModalAnswerer type("CAddEventActionDlg", clickButton("1"));
        ModalAnswerer range("CActionRangeDlg", clickButton("2"));
        EXPECT_EQ(view.dropNode(elementNode(1, 1, 9), zonesNode(1), false), 0);
        EXPECT_EQ(range.seen(), 1);
    }
    EXPECT_EQ(rules(), 3);
    EXPECT_FALSE(frame().unsavedStatus().unsaved);
}

TEST_F(CDragNDropDlgTest, ARangeEndingBelowItsBeginningKeepsTheDialogOpen) {
    CDragNDropDlg& view = editor();
    bool stayedOpen = false;
    ModalAnswerer type("CAddEventActionDlg", clickButton("1"));
    ModalAnswerer range("CActionRangeDlg", [&](QWidget* w) {
        auto* dialog = static_cast<CZoneRangeDlg*>(w);
        dialog->setRange(9, 4);
        dialog->accept();
        stayedOpen = dialog->isVisible() && dialog->result() == 0;
        dialog->setRange(4, 9);
        dialog->accept();
    });
    const int id = view.dropNode(zonesNode(1), elementNode(1, 1, 9), true);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompt.messages(), std::vector<int>({158}));
    EXPECT_EQ(model().getEventActionInRange(id), std::make_pair(4, 9));
}

TEST_F(CDragNDropDlgTest, APanelTakesAtMost1024RulesWhileOthersStillTakeTheirs) {
    CDragNDropDlg& view = editor();
    CFacilityManager& m = model();
    // Panel 1 has sample rules 1 and 2; ids left sparse on purpose.
    for (int i = 0; i < 1022; ++i) {
        const int id = 1000 + 3 * i;
        m.addEventActionItem(id, 0);
        m.addEventToEventActionItem(id, 0, 1, 1, 1, 0, 0, 0, 5, 0);
        m.addActionToEventActionItem(id, 0, 1, 1, 10, 0, 0, 0, 5, 0);
    }
    // The limit is the event side's panel, whichever tree the drag started in.
    drop(view.outputTree(), elementNode(1, 1, 10), view.inputTree(), elementNode(1, 1, 2));
    drop(view.inputTree(), elementNode(1, 1, 2), view.outputTree(), panelNode(2));
    EXPECT_EQ(prompt.messages(), std::vector<int>({289, 289}));
    EXPECT_EQ(rules(), 1025);
    drop(view.inputTree(), elementNode(2, 1, 1), view.outputTree(), elementNode(1, 1, 10));
    EXPECT_EQ(rules(), 1026);
    EXPECT_EQ(m.getEventActionInPanel(m.getEventActionId(1025)), 2);
}

TEST_F(CDragNDropDlgTest, TheKeyboardCommandMakesTheSameRuleAsADrop) {
    CDragNDropDlg& view = editor();
    drop(view.inputTree(), elementNode(1, 1, 3), view.outputTree(), elementNode(1, 2, 3));
    ASSERT_TRUE(view.inputTree().selectNode(elementNode(1, 1, 3)));
    ASSERT_TRUE(view.outputTree().selectNode(elementNode(1, 2, 3)));
    view.outputTree().setFocus();
    QTest::keyClick(&view.outputTree(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(rules(), 5);
    EXPECT_EQ(inSide(model(), 5), inSide(model(), 4));
    EXPECT_EQ(outSide(model(), 5), outSide(model(), 4));
    EXPECT_EQ(model().getEventActionDelay(5), 0);
    // The button does the same; with nothing selected on one side it does nothing.
    view.outputTree().clearSelection();
    view.findChild<QPushButton*>("makeRule")->click();
    EXPECT_EQ(rules(), 5);
}

TEST_F(CDragNDropDlgTest, SelectingARuleSelectsItsPairInBothTrees) {
    CDragNDropDlg& view = editor();
    ASSERT_TRUE(view.outputTree().selectNode(panelNode(2)));
    CListCtrlEx& list = view.outputList();
    ASSERT_EQ(list.ruleModel().rowCount(), 1);
    list.setCurrentIndex(list.ruleModel().index(0, 0));
    EXPECT_EQ(*view.inputTree().selectedNode(), (CRuleNode{CRuleNodeKind::Zone, 1, 0, 0, 3}));
    EXPECT_EQ(*view.outputTree().selectedNode(), panelNode(2));
    EXPECT_EQ(view.inputList().selectedRule(), 2);
    EXPECT_EQ(list.ruleModel().data(list.ruleModel().index(0, 0)).toString(),
              "Zone fault - Panel 1 Zone 3");
    EXPECT_EQ(list.ruleModel().data(list.ruleModel().index(0, 1)).toString(), "Unknown type 7 - Panel 2");
}

TEST_F(CDragNDropDlgTest, TheSummaryPutsEveryRuleOnOneLineInWords) {
    CDragNDropDlg& view = editor();
    ModalAnswerer look("CAbstract", [](QWidget* w) {
        const QStringList lines = static_cast<CAbstract*>(w)->lines();
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[2], QString("Rule: 3  Fault - Panel 2 Loop 1 Element 1  \u2192  "
                                    "Unknown type 7 - Panel 1 Zones 1 - 4  (Delay: 5)"));
        clickButton("1")(w);
    });
    view.findChild<QPushButton*>("1126")->click();
    EXPECT_EQ(look.seen(), 1);
    view.findChild<QPushButton*>("1108")->click();
    EXPECT_EQ(frame().view(), CMainFrame::View::Home);
}

TEST_F(CDragNDropDlgTest, TheFilterNarrowsItsTreeAndTheRulesStayReachable) {
    CDragNDropDlg& view = editor();
    auto* filter = view.findChild<QLineEdit*>("filter1001");
    filter->setText("Entrance");
    emit filter->returnPressed();
    CRuleTreeModel& in = view.inputTree().ruleModel();
    EXPECT_TRUE(in.indexOf(elementNode(1, 1, 1)).isValid());
    EXPECT_FALSE(in.indexOf(elementNode(1, 1, 3)).isValid());
    filter->clear();
    emit filter->returnPressed();
    EXPECT_TRUE(in.indexOf(elementNode(1, 1, 3)).isValid());
}

}  // namespace
