// KvStringTableWriter: builds string-table files that KvStringTableFile reads.
//
// Records are written in ascending id order, texts right after the index in the
// same order. Limits of the format: at most 65535 ids, texts of at most 65534
// bytes (65535 means "no text"), and the whole file below 2 GiB.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class KvStringTableWriter {
public:
    // Sets the UTF-8 text of `id`, replacing an earlier one.
    void Add(std::uint16_t id, std::string utf8);
    // Records `id` with no text in this file (a fallback file may have one).
    void AddMissing(std::uint16_t id);
    bool Contains(std::uint16_t id) const { return m_texts.count(id) != 0; }
    int Count() const { return static_cast<int>(m_texts.size()); }

    // The file's bytes; false, with a reason in `error`, when a limit is exceeded.
    bool Build(std::vector<std::uint8_t>& out, std::string& error) const;
    // Writes the file through a temporary beside it, so a failure never leaves a
    // half-written table under `path`; a missing folder is not created. False
    // with a reason on any failure.
    bool Save(const char* path, std::string& error) const;

private:
    struct Entry {
        bool present = false;
        std::string text;
    };
    std::map<std::uint16_t, Entry> m_texts;
};
