// CFacilityFile: the one way cairnctl loads and saves a facility file.
//
// A failure puts one line on the error stream naming the file and the fault.
#pragma once

#include <ostream>
#include <string>

#include "file/CXmlHandler.h"

class CFacilityManager;

class CFacilityFile {
public:
    CFacilityFile(CFacilityManager& facility, std::ostream& err) : m_facility(facility), m_handler(facility), m_err(err) {}

    // Adds the file's facility to the manager; false (facility unchanged) when the file is
    // missing or unreadable, is not well-formed (the line names where), or is not a facility.
    bool load(const std::string& path);
    // The same, where `side` may also name an entry of a file's site history: "FILE.kvg@N" (the
    // N-th entry that `cairnctl history` lists), "FILE.kvg@last" or "FILE.kvg@NAME". An existing
    // file of that whole name wins. `entryPanel` (when given) becomes the entry's panel id, or
    // 0 for a file.
    bool loadSide(const std::string& side, int* entryPanel = nullptr);
    // Replaces the file only with complete new content.
    bool save(const std::string& path);

private:
    CFacilityManager& m_facility;
    CXmlHandler m_handler;
    std::ostream& m_err;
};
