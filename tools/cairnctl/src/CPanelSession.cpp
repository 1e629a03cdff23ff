#include "cairnctl/CPanelSession.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

#include "cairnctl/CCommandLine.h"
#include "cairnctl/CConsoleWaitDialog.h"
#include "cairnctl/CFacilityFile.h"
#include "basalt/KvPaths.h"

CPanelSession::CPanelSession(CCommandContext& context, bool assumeYes)
    : out(context.out),
      err(context.err),
      prompt(context.err, assumeYes),
      handler(facility, prompt, [&e = context.err]() -> std::unique_ptr<IModalWaitDialog> {
          return std::make_unique<CConsoleWaitDialog>(e, &e == &std::cerr && ::isatty(STDERR_FILENO));
      }, context.usb()),
      history(prompt, "cairnctl") {
    CConsolePrompt::loadStrings();
    facility.setPrompt(&prompt);
}

bool CPanelSession::load(const std::string& path) { return CFacilityFile(facility, err).load(path); }

bool CPanelSession::save(const std::string& path) { return CFacilityFile(facility, err).save(path); }

bool CPanelSession::panelOption(const std::string& value, int& id) {
    return CCommandLine::facilityPanel(facility, value, id, err);
}

void CPanelSession::record(CHistoryRecord::Kind kind, const std::string& path, int panelId,
                           const CTransferOutcome& outcome) {
    history.setFile(FromPlatformPath(path.c_str()));
    history.record(kind, handler, panelId, outcome);
}
