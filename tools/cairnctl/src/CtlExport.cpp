// cairnctl export --json FILE.kvg
#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/XmlDocument.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "model/CFacilityManager.h"

int cmdExport(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdExport");
    CCommandLine cl;
    if (!cl.parse(args, {}, {"--json"}, context.err)) return 2;
    if (cl.positional.size() != 1 || !cl.has("--json"))
        return usage(context.err, "export needs --json and one FILE.kvg");
    CFacilityManager m;
    CFacilityFile file(m, context.err);
    if (!file.load(cl.positional[0])) return 1;
    // The facility loaded, so the file is a well-formed facility; its tree is what goes out.
    XmlDocument doc;
    if (!doc.Load(FromPlatformPath(cl.positional[0].c_str()))) return 1;
    KvString json;
    doc.Root()->toJson(json);
    context.out << json.c_str() << "\n";
    return 0;
}
