// TestStrings: installs a small string table so code under test gets known texts by number.
//
// Text n reads "T<n>" unless listed below; 279 carries the address format so labels of new
// elements can be checked.
#pragma once

#include <cstdio>
#include <string>
#include <unistd.h>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvStringTableWriter.h"

class TestStrings {
public:
    // Writes the table into a per-process temporary file and selects it; true on success.
    static bool install() {
        KvStringTableWriter w;
        for (int id = 1; id <= 400; ++id) w.Add(static_cast<std::uint16_t>(id), "T" + std::to_string(id));
        w.Add(42, "Zone");
        w.Add(68, "Cairn");
        w.Add(279, "Element %d");
        const std::string path = "/tmp/cairn-test-strings-" + std::to_string(::getpid()) + ".stc";
        std::string error;
        const bool ok = w.Save(path.c_str(), error) && SetKvLoadStringTableFile(path.c_str());
        std::remove(path.c_str());  // the table keeps its open handle
        return ok;
    }
};
