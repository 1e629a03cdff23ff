// cairnctl clock [--now | --set "YYYY-MM-DD HH:MM:SS"]
#include <cstdio>

#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"
#include "forms/CClockForm.h"

namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Only dates the panel's year byte can hold, and only real ones.
bool parseDateTime(const std::string& text, CClockForm::DateTime& t) {
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                    &t.second, &tail) != 6)
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < CClockForm::kFirstYear || t.year > CClockForm::kLastYear || t.month < 1 || t.month > 12) return false;
    const int monthDays = days[t.month - 1] + (t.month == 2 && leap(t.year) ? 1 : 0);
    return t.day >= 1 && t.day <= monthDays && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
           t.second >= 0 && t.second <= 59;
}

}  // namespace

int cmdClock(const CommandArgs& args, CCommandContext& context) {
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--set"}, {"--now"}, err)) return 2;
    if (!cl.positional.empty() || (cl.has("--set") && cl.has("--now")))
        return usage(err, "clock takes either --now or --set \"YYYY-MM-DD HH:MM:SS\"");
    CClockForm::DateTime t;
    if (cl.has("--set") && !parseDateTime(*cl.value("--set"), t))
        return usage(err, "--set needs a real date and time \"YYYY-MM-DD HH:MM:SS\" in the years " +
                              std::to_string(CClockForm::kFirstYear) + " to " + std::to_string(CClockForm::kLastYear));
    CPanelSession s(context, false);
    CClockForm form(s.handler, s.prompt);
    const std::time_t now = std::time(nullptr);
    if (cl.has("--set")) {
        form.toggleManual();
        form.setDateTime(t);
    } else {
        t = CClockForm::localTime(now);
    }
    if (!form.accept(now)) return 1;
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    out << "panel clock set to " << when << "\n";
    return 0;
}
