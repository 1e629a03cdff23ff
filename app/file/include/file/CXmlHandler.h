// CXmlHandler: saves a facility to a *.kvg configuration file and loads it back.
//
// The file layout is shared with every other reader and writer of *.kvg files and is kept to
// the byte: UTF-8, the XML declaration, then "facility/panels/panel..." with every value as
// the text of a leaf element and no white space. The handler talks to the facility only
// through the manager's numbered operations.
#pragma once

#include <cstddef>
#include <string>

#include "basalt/KvBasicString.h"
#include "file/CLoadError.h"

class CFacilityFileReader;
class CFacilityManager;
class XmlText;

class CXmlHandler {
public:
    // Keeps `manager` (not owned); it must outlive the handler.
    explicit CXmlHandler(CFacilityManager& manager);
    ~CXmlHandler();
    CXmlHandler(const CXmlHandler&) = delete;
    CXmlHandler& operator=(const CXmlHandler&) = delete;

    // Writes panels with ids 1..128 and an address above 0, their loops, elements and zones,
    // and every rule inside each panel. The file is replaced only once the new content is
    // complete, so a failed save leaves any previous file intact. False when nothing could be
    // written; callers must not report success then.
    bool save(const KvWString& path);

    // Adds the file's facility to the one in the manager (callers flush first). Panels enter
    // by address; refused entries are skipped. Rules come from the first panel entry that has
    // any. The rule group indexes are emptied first. False, with the facility unchanged and
    // lastError() telling why, when the file is missing or unreadable, is not well-formed, or
    // is not a facility (its root is not "facility" or has no "panels").
    bool load(const KvWString& path);
    // The same for file contents already in memory (`length` bytes of UTF-8).
    bool loadText(const char* text, std::size_t length);
    // Why the last load failed; kind kNone after a successful one.
    const CLoadError& lastError() const { return m_error; }

private:
    void writePanel(XmlText& xml, int id, const std::string& rules);
    void writeLoops(XmlText& xml, int id);
    void writeElement(XmlText& xml, int id, int loop, int address);
    void writeZones(XmlText& xml, int id);
    void writeRules(XmlText& xml);
    void fill(const CFacilityFileReader& file);
    void fillContents(int id, const CFacilityFileReader& file);
    void fillRules(const CFacilityFileReader& file);

    CFacilityManager& m_manager;
    CLoadError m_error;
};
