// cairnctl logs [--general F] [--alarm F] [--breakdown F] [--test F] [--yes]
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"
#include "basalt/KvPaths.h"
#include "forms/CEventLogForm.h"

int cmdLogs(const CommandArgs& args, CCommandContext& context) {
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    static const char* const kinds[CEventLogForm::kLogKinds] = {"--general", "--alarm", "--breakdown", "--test"};
    CCommandLine cl;
    if (!cl.parse(args, {kinds[0], kinds[1], kinds[2], kinds[3]}, {"--yes"}, err)) return 2;
    if (!cl.positional.empty()) return usage(err, "logs takes only options");
    CPanelSession s(context, cl.has("--yes"));
    CEventLogForm form(s.handler, s.prompt);
    int chosen = 0;
    for (int k = 0; k < CEventLogForm::kLogKinds; ++k)
        if (const std::string* file = cl.value(kinds[k])) {
            form.choose(k, true);
            form.setPath(k, FromPlatformPath(file->c_str()));
            ++chosen;
        }
    if (chosen == 0) return usage(err, "choose at least one log: --general, --alarm, --breakdown or --test FILE");
    if (form.accept() != CEventLogForm::Outcome::Exported) return 1;
    for (int k = 0; k < CEventLogForm::kLogKinds; ++k)
        if (form.chosen(k)) out << (kinds[k] + 2) << " log saved to " << ToPlatformPath(form.path(k).c_str()).c_str() << "\n";
    return 0;
}
