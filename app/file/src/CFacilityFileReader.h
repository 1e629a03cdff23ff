// CFacilityFileReader: reads *.kvg text in one pass into plain records that the handler then
// hands to the manager.
//
// It keeps what the handler uses and checks the rest for well-formedness only: every entry
// under "panels" (any tag) as a panel record; the loops and zones of the first "panel" entry
// whose first "id" reads exactly 1 to 128 in decimal, for each such id; the rules of the first
// "panel" entry that has "events". Later copies of the rules are skipped, at memcmp speed
// when they repeat the first copy byte for byte, as files written by the program do.
// Nothing reaches the manager until the whole text has been read, so a bad file changes nothing.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "basalt/KvBasicString.h"
#include "basalt/XmlReader.h"
#include "file/CLoadError.h"

class CFacilityFileReader {
public:
    static constexpr int kFirstPanelId = 1;
    static constexpr int kLastPanelId = 128;

    struct Panel {
        int id = 0, address = 0;
        int expanded = 1;  // shown opened out unless the file says otherwise
        KvWString label, installer, description, phone;
    };
    struct Element {
        int address = 0, type = 0, zone = 0, composite = 0, generic = 0;
        KvWString label, description;
    };
    struct Loop {
        int address = 0;
        int expanded = 0;  // shown closed unless the file says otherwise
        std::vector<Element> elements;
    };
    struct Zone {
        int number = 0;
        KvWString description;
    };
    struct Contents {
        bool present = false;
        std::vector<Loop> loops;
        std::vector<Zone> zones;
    };
    struct Side {
        int type = 0, panel = 0, loop = 0, element = 0, zone = 0, rangeBegin = 0, rangeEnd = 0;
        // What the side names, derived because the file does not store it.
        int itemType() const;
    };
    struct Rule {
        int id = 0, delay = 0;
        Side event, action;
    };

    // False, with error() telling why, when the text is not well-formed or not a facility.
    bool read(const char* text, std::size_t length);

    const CLoadError& error() const { return m_error; }
    const std::vector<Panel>& panels() const { return m_panels; }
    // Loops and zones for panel id 1..128; `present` is false when no entry claimed the id.
    const Contents& contents(int id) const { return m_contents[id - kFirstPanelId]; }
    const std::vector<Rule>& rules() const { return m_rules; }
    // The facility's own opened-out flag (true when the file does not give one).
    bool expandedView() const { return m_expandedView != 0; }

private:
    // One-character-at-a-time helpers over the open element; each consumes through its end tag.
    template <class OnChild>
    bool children(OnChild onChild, KvWString* value = nullptr);
    bool skip() { return m_reader->SkipElement(); }
    bool readText(KvWString& out);
    bool readInt(int& out);

    bool readRoot();
    bool readEntry();
    bool readLoops(std::vector<Loop>& loops);
    bool readElements(std::vector<Element>& elements);
    bool readZones(std::vector<Zone>& zones);
    bool readRules();
    bool readSide(Side& side);
    bool skipRules();
    int claim(const KvWString& idText);

    XmlReader* m_reader = nullptr;
    CLoadError m_error;
    std::vector<Panel> m_panels;
    std::array<Contents, kLastPanelId> m_contents;
    std::array<bool, kLastPanelId> m_claimed{};
    std::vector<Rule> m_rules;
    bool m_rulesTaken = false;
    int m_expandedView = 1;
    XmlReader::Span m_rulesSpan;
};
