// CFacilityFile: the one way cairnctl loads and saves a facility file.
//
// A failure puts one line on the error stream naming the file and the fault.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "file/CXmlHandler.h"

class CFacilityManager;

class CFacilityFile {
public:
    CFacilityFile(CFacilityManager& facility, std::ostream& err) : m_handler(facility), m_err(err) {}

    // Adds the file's facility to the manager; false (facility unchanged) when the file cannot
    // be opened or read, is not well-formed, or is not a facility.
    bool load(const std::string& path);
    // Replaces the file only with complete new content.
    bool save(const std::string& path);
    // The document of the last load.
    const XmlDocument& document() const { return m_handler.document(); }

private:
    CXmlHandler m_handler;
    std::ostream& m_err;
};
