// The event-action editor on the largest facility (128 panels x 8 loops x 250 elements, 250
// zones each, 2048 rules), on the offscreen platform. Targets: both trees built in under 300 ms,
// an item's rule list filled in under 20 ms after it is selected.
#include <QApplication>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

#include "FacilityBuilder.h"
#include "ui/CDragNDropDlg.h"
#include "ui/CDragNDropTreeCtrl.h"
#include "ui/CLanguage.h"
#include "ui/CListCtrlEx.h"
#include "ui/CRuleListModel.h"
#include "ui/CUnsavedStatus.h"

namespace {

struct Editor {
    Editor() : view(facility, status, prompt) {
        FacilityBuilder::largest(facility);
        view.resize(1024, 768);
        view.show();
        QApplication::processEvents();
    }
    CFacilityManager facility;
    CUnsavedStatus status;
    ScriptedPrompt prompt;
    CDragNDropDlg view;
};

Editor& editor() {
    static Editor* shared = new Editor;
    return *shared;
}

// What showing the view does: both trees rebuilt from the model, the lists refilled, painted.
void BM_BuildBothTrees(benchmark::State& state) {
    Editor& e = editor();
    for (auto _ : state) {
        e.view.populate();
        QApplication::processEvents();
    }
    state.counters["rows"] = e.view.inputTree().model()->rowCount() + e.view.outputTree().model()->rowCount();
}
BENCHMARK(BM_BuildBothTrees)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The event items of the first two rules, which the input tree lists.
std::vector<CRuleNode> ruledItems(const CFacilityManager& facility) {
    std::vector<CRuleNode> items;
    for (const auto& rule : facility.facility().eventActions) {
        CRuleNode node;
        if (rule->event && CRuleNode::fromSide(*rule->event, node) && editor().view.inputTree().selectNode(node))
            items.push_back(node);
        if (items.size() == 2) break;
    }
    return items;
}

// Selecting an item fills its rule list (and repaints it); alternates between two items that
// have rules, so each round changes the list.
void BM_SelectItemFillsItsRuleList(benchmark::State& state) {
    Editor& e = editor();
    const std::vector<CRuleNode> items = ruledItems(e.facility);
    if (items.size() < 2) {
        state.SkipWithError("no two items with rules");
        return;
    }
    std::size_t next = 0;
    int listed = 0;
    for (auto _ : state) {
        e.view.inputTree().selectNode(items[next]);
        next = 1 - next;
        QApplication::processEvents();
        listed += e.view.inputList().ruleModel().rowCount();
    }
    state.counters["rules"] = benchmark::Counter(listed, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SelectItemFillsItsRuleList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    if (!CLanguage::select("en", CLanguage::shareFolder())) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
