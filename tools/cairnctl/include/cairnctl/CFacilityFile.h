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
    CFacilityFile(CFacilityManager& facility, std::ostream& err) : m_handler(facility), m_err(err) {}

    // Adds the file's facility to the manager; false (facility unchanged) when the file is
    // missing or unreadable, is not well-formed (the line names where), or is not a facility.
    bool load(const std::string& path);
    // Replaces the file only with complete new content.
    bool save(const std::string& path);

private:
    CXmlHandler m_handler;
    std::ostream& m_err;
};
