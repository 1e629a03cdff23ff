// cairn-stc: compiles a gettext PO file into a string-table (.stc) file.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "basalt/KvStringTableWriter.h"
#include "stc/PoFile.h"
#include "stc/StcCompiler.h"

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kHelp[] =
    "Usage: cairn-stc [OPTION]... INPUT.po\n"
    "Compile a gettext PO file into a Cairn string-table file.\n"
    "\n"
    "Each entry's msgctxt holds the string id (0 to 65535), its msgstr the text.\n"
    "Untranslated and fuzzy entries are stored as missing, so the fallback\n"
    "language or the IDS_nnnnn placeholder shows instead.\n"
    "\n"
    "  -o, --output FILE       write FILE (default: INPUT with .stc instead of .po)\n"
    "      --use-fuzzy         use fuzzy translations\n"
    "      --fill-untranslated store msgid where no usable translation exists\n"
    "  -c, --check             check INPUT only; write nothing\n"
    "  -v, --verbose           report the counts of texts on standard error\n"
    "  -h, --help              show this help and exit\n"
    "\n"
    "Exit status: 0 success, 1 bad input or write failure, 2 bad command line.\n";

struct Args {
    std::string input, output;
    StcOptions options;
    bool check = false, verbose = false, help = false;
};

int Usage(const std::string& message) {
    std::fprintf(stderr, "cairn-stc: %s\nTry 'cairn-stc --help'.\n", message.c_str());
    return kUsage;
}

// Returns -1 when the arguments are good, otherwise the exit status.
int ParseArgs(int argc, char** argv, Args& a) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            a.help = true;
        } else if (arg == "-o" || arg == "--output") {
            if (++i >= argc) return Usage("option '" + arg + "' needs a file name");
            a.output = argv[i];
        } else if (arg.rfind("--output=", 0) == 0) {
            a.output = arg.substr(9);
        } else if (arg == "--use-fuzzy") {
            a.options.useFuzzy = true;
        } else if (arg == "--fill-untranslated") {
            a.options.fillUntranslated = true;
        } else if (arg == "-c" || arg == "--check") {
            a.check = true;
        } else if (arg == "-v" || arg == "--verbose") {
            a.verbose = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option '" + arg + "'");
        } else if (!a.input.empty()) {
            return Usage("only one input file may be given");
        } else {
            a.input = arg;
        }
    }
    if (a.help) return -1;
    if (a.input.empty()) return Usage("no input file");
    if (a.output.empty()) {
        const bool po = a.input.size() > 3 && a.input.compare(a.input.size() - 3, 3, ".po") == 0;
        a.output = (po ? a.input.substr(0, a.input.size() - 3) : a.input) + ".stc";
    }
    if (a.output == a.input) return Usage("the output would overwrite the input '" + a.input + "'");
    return -1;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "cairn-stc: error: %s\n", message.c_str());
    return kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    Args a;
    if (const int status = ParseArgs(argc, argv, a); status >= 0) return status;
    if (a.help) {
        std::fputs(kHelp, stdout);
        return kOk;
    }
    PoFile po;
    if (!po.Load(a.input)) return Fail(po.Error());
    StcCompiler compiler(a.options);
    KvStringTableWriter table;
    if (!compiler.Compile(po, table)) return Fail(compiler.Error());
    std::string error;
    if (a.check) {
        std::vector<std::uint8_t> bytes;
        if (!table.Build(bytes, error)) return Fail(a.input + ": " + error);
    } else if (!table.Save(a.output.c_str(), error)) {
        return Fail(error);
    }
    if (a.verbose) {
        const StcCounts& c = compiler.Counts();
        std::fprintf(stderr, "cairn-stc: %s: %d translated, %d untranslated, %d fuzzy not used\n",
                     a.input.c_str(), c.translated, c.untranslated, c.fuzzy);
    }
    return kOk;
}
