// Feeds arbitrary text to the PO reader and compiles whatever it accepts.
#include <cstdint>
#include <string_view>
#include <vector>

#include "stc/PoFile.h"
#include "stc/StcCompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PoFile po;
    if (!po.Parse(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.po")) return 0;
    StcCompiler compiler;
    KvStringTableWriter table;
    if (compiler.Compile(po, table)) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        table.Build(bytes, error);
    }
    return 0;
}
