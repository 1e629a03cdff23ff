// TestStrings: installs a small string table so code under test gets known texts by number.
//
// Text n reads "T<n>" unless listed below; 279 carries the address format so labels of new
// elements can be checked.
#pragma once

#include <string>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvStringTableWriter.h"
#include "testkit/TempFolder.h"

class TestStrings {
public:
    // Writes the table into a per-process temporary file and selects it; true on success.
    static bool install() {
        KvStringTableWriter w;
        for (int id = 1; id <= 400; ++id) w.Add(static_cast<std::uint16_t>(id), "T" + std::to_string(id));
        w.Add(42, "Zone");
        w.Add(68, "Cairn");
        w.Add(279, "Element %d");
        // The table keeps its open handle, so the file may go with its folder at once.
        const TempFolder folder("cairn-test-strings");
        const std::string path = (folder / "test.stc").string();
        std::string error;
        return w.Save(path.c_str(), error) && SetKvLoadStringTableFile(path.c_str());
    }
};
