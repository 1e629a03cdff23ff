// Loads arbitrary bytes as a configuration file (with and without the "ASCII"
// line), looks groups up, and checks that what is written reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "basalt/KvCfgFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    KvCfgFile cfg;
    cfg.LoadFromMemory(raw.data(), raw.size());
    const std::string marked = "ASCII\r\n" + raw;
    cfg.LoadFromMemory(marked.data(), marked.size());
    cfg.Group(u"a/b:c='1'/d");
    KvCfgFile::CCfgWriter writer;
    cfg.SaveMainGroup(writer);
    KvCfgFile again;
    if (!again.LoadFromMemory(writer.Text().c_str(), static_cast<std::size_t>(writer.Text().Length()))) std::abort();
    KvCfgFile::CCfgWriter second;
    again.SaveMainGroup(second);
    if (!(second.Text() == writer.Text())) std::abort();
    return 0;
}
