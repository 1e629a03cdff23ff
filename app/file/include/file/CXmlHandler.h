// CXmlHandler: saves a facility to a *.kvg configuration file and loads it back.
//
// The file layout is shared with every other reader and writer of *.kvg files and is kept to
// the byte: UTF-8, the XML declaration, then "facility/panels/panel..." with every value as
// the text of a leaf element and no white space. The handler talks to the facility only
// through the manager's numbered operations.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "basalt/KvBasicString.h"

class CFacilityManager;
class XmlText;
class XmlDocument;

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
    // any. The rule group indexes are emptied first. False, with the facility unchanged, when
    // the file cannot be read, is not well-formed, or has no "panels" under its root.
    bool load(const KvWString& path);
    // The same for file contents already in memory (`length` bytes of UTF-8).
    bool loadText(const char* text, std::size_t length);

    // The document of the last load (emptied by save).
    const XmlDocument& document() const { return *m_document; }

private:
    bool fill();
    void writePanel(XmlText& xml, int id, const std::string& rules);
    void writeLoops(XmlText& xml, int id);
    void writeElement(XmlText& xml, int id, int loop, int address);
    void writeZones(XmlText& xml, int id);
    void writeRules(XmlText& xml);
    void readPanelRecords();
    void readPanelContents(int id);
    void readRules();

    CFacilityManager& m_manager;
    std::unique_ptr<XmlDocument> m_document;
};
