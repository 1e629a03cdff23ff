// cairnctl firmware MANIFEST.xml
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFirmwareCommand.h"
#include "cairnctl/Commands.h"

int cmdFirmware(const CommandArgs& args, CCommandContext& context) {
    CCommandLine cl;
    if (!cl.parse(args, {}, {}, context.err)) return 2;
    if (cl.positional.size() != 1) return usage(context.err, "firmware takes exactly one MANIFEST.xml");
    return CFirmwareCommand(context.out, context.err, context.usb()).run(cl.positional[0]);
}
