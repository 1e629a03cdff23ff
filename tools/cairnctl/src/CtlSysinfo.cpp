// cairnctl sysinfo [--label TEXT] [--installer TEXT] [--phone TEXT]
#include "basalt/KvUtf.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"
#include "forms/CSystemInfoForm.h"

namespace {

struct Field {
    const char* option;
    const char* name;
    KvWString CSystemInfoForm::*value;
};

constexpr Field kFields[] = {
    {"--label", "label", &CSystemInfoForm::label},
    {"--installer", "installer", &CSystemInfoForm::installer},
    {"--phone", "phone", &CSystemInfoForm::phone},
};

}  // namespace

int cmdSysinfo(const CommandArgs& args, CCommandContext& context) {
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--label", "--installer", "--phone"}, {}, err)) return 2;
    if (!cl.positional.empty()) return usage(err, "sysinfo takes only options");
    // Texts the panel cannot hold are refused before the panel is touched, never cut.
    bool setting = false;
    for (const Field& f : kFields) {
        const std::string* value = cl.value(f.option);
        if (!value) continue;
        setting = true;
        const std::string why = CSystemInfoForm::whyNotHeld(ToWide(value->c_str()));
        if (!why.empty()) return usage(err, std::string(f.option) + " \"" + *value + "\": " + why);
    }
    CPanelSession s(context, false);
    CSystemInfoForm form(s.facility, s.prompt);
    if (!form.readPanel(s.handler)) {
        s.prompt.showMessage(CUsbHandler::kUploadFailedText);
        return 1;
    }
    if (setting) {
        for (const Field& f : kFields)
            if (const std::string* value = cl.value(f.option)) form.*f.value = ToWide(value->c_str());
        if (!form.writePanel(s.handler)) {
            s.prompt.showMessage(CUsbHandler::kUploadFailedText);
            return 1;
        }
    }
    for (const Field& f : kFields) out << f.name << ": " << ToUtf8((form.*f.value).c_str()).c_str() << "\n";
    return 0;
}
