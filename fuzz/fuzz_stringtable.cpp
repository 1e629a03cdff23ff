// Feeds arbitrary bytes to KvStringTableFile as the primary and as the fallback file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvStringTableWriter.h"

namespace {

// An in-memory file reachable by path, so SetFile sees exactly the fuzzer's bytes.
class MemFile {
public:
    MemFile(const char* name, const void* data, std::size_t size) : m_fd(::memfd_create(name, 0)) {
        if (m_fd >= 0 && size > 0 && ::write(m_fd, data, size) != static_cast<ssize_t>(size)) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~MemFile() {
        if (m_fd >= 0) ::close(m_fd);
    }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(m_fd); }
    bool Ok() const { return m_fd >= 0; }

private:
    int m_fd;
};

// A valid primary whose texts all defer to the fallback file.
const std::vector<std::uint8_t>& DeferringPrimary() {
    static const std::vector<std::uint8_t> bytes = [] {
        KvStringTableWriter w;
        for (std::uint16_t id = 0; id < 16; ++id) w.Add(id, " ");
        std::vector<std::uint8_t> out;
        std::string error;
        w.Build(out, error);
        return out;
    }();
    return bytes;
}

void LookUp(KvStringTableFile& table, const std::uint8_t* data, std::size_t size) {
    KvString narrow;
    KvWString wide;
    for (int id = 0; id < 16; ++id) table.LoadStringW(narrow, id);
    // Ids named by the input's would-be index records.
    for (std::size_t at = 2; at + 2 <= size && at < 2 + 8 * 32; at += 8) table.LoadStringW(wide, data[at] << 8 | data[at + 1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemFile input("input", data, size);
    if (!input.Ok()) return 0;
    const std::string path = input.Path();
    KvStringTableFile table;
    table.SetFile(path.c_str());
    LookUp(table, data, size);

    const auto& primary = DeferringPrimary();
    MemFile first("primary", primary.data(), primary.size());
    const std::string firstPath = first.Path();
    table.SetFile(firstPath.c_str(), path.c_str());
    LookUp(table, data, size);
    return 0;
}
