// cairnctl logs [--general F] [--alarm F] [--breakdown F] [--test F] [--yes]
#include "CPanelSession.h"
#include "PanelCommands.h"
#include "basalt/KvUtf.h"
#include "panel_link/CEventLogForm.h"

int cmdLogs(const PanelCommandArgs& args, std::ostream& out, std::ostream& err) {
    static const char* const kinds[CEventLogForm::kLogKinds] = {"--general", "--alarm", "--breakdown", "--test"};
    CCommandLine cl;
    if (!cl.parse(args, {kinds[0], kinds[1], kinds[2], kinds[3]}, {"--yes"}, err)) return 2;
    if (!cl.positional.empty()) {
        err << "cairnctl: logs takes only options\n";
        return 2;
    }
    CPanelSession s(out, err, cl.has("--yes"));
    CEventLogForm form(s.handler, s.prompt);
    int chosen = 0;
    for (int k = 0; k < CEventLogForm::kLogKinds; ++k)
        if (const std::string* file = cl.value(kinds[k])) {
            form.choose(k, true);
            form.setPath(k, ToWide(file->c_str()));
            ++chosen;
        }
    if (chosen == 0) {
        err << "cairnctl: choose at least one log: --general, --alarm, --breakdown or --test FILE\n";
        return 2;
    }
    if (form.accept() != CEventLogForm::Outcome::Exported) return 1;
    for (int k = 0; k < CEventLogForm::kLogKinds; ++k)
        if (form.chosen(k)) out << (kinds[k] + 2) << " log saved to " << ToUtf8(form.path(k).c_str()).c_str() << "\n";
    return 0;
}
