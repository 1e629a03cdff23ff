// CRecordConverter: between the facility model and the panel's records, in
// both directions.
//
// Upload builds the records of one panel from the model; download adds what
// the records describe to the model. Texts of the string table: 42 (a zone
// without description), 45 (element labels, "%s %d" with the address), 290
// (a panel without label).
//
// Values that do not fit their byte are never wrapped into another valid
// number: the record is refused instead, with a reason, so the caller can
// report it. A rule side that names nothing would be written as kind 0, which
// ends the panel's rule list and silently hides every later rule; such a rule
// is refused too.
#pragma once

#include "model/CFacilityManager.h"
#include "panel_link/CElementRecord.h"
#include "panel_link/CEventActionRecord.h"
#include "panel_link/CSystemInfoRecord.h"
#include "panel_link/CZoneRecord.h"

class CRecordConverter {
public:
    enum class Refusal {
        None,
        OutOfRange,    // a number does not fit its field (zone, loop, element, type, delay)
        NoItem,        // a rule side names nothing (or the rule has no such side)
        UnknownPanel,  // the action side names a panel the facility does not have
    };
    // Outcome of adding one downloaded element record.
    enum class ElementResult { Empty, Added, BadZone, NotAdded };

    // Placeholder for panels that actions name but the facility lacks.
    static constexpr const char16_t* kPlaceholder = u"----";
    static constexpr std::uint8_t kNoZone = 0xFF;  // zone byte of an element without zone

    explicit CRecordConverter(CFacilityManager& facility) : m_facility(facility) {}

    // ---- Upload ----
    // Zone `zone` (1..250) of panel `panelId` as the editors show it (the
    // model shares zone descriptions by number); text 42 when the panel has
    // no such zone, so a panel never receives another building's zone names.
    CZoneRecord zoneRecord(int panelId, int zone) const;
    // Empty record when the loop or element is missing or its generic type is
    // 0. False (refusal OutOfRange) when a field does not fit.
    bool elementRecord(int panelId, int loop, int address, CElementRecord& out) const;
    // Whether an element's numbers fit its record (what elementRecord refuses otherwise).
    static bool elementFits(int genericType, int zone, int type, int compositeMode);
    // The two records of rule `ruleId`; action byte 1 is 0 when the action
    // side's panel has the input side's panel address.
    Refusal eventActionRecords(int ruleId, CEventRecord& event, CActionRecord& action) const;
    CSystemInfoRecord systemInfo(int panelId) const;

    // ---- Download ----
    // Adds zone index+1 with the record's description, whatever byte 0 holds.
    bool addZone(int panelId, int index, const CZoneRecord& record);
    // Adds an element (creating its loop on the first one). A zone byte of
    // 250 to 254 gives BadZone and adds nothing; kNoZone means no zone.
    ElementResult addElement(int panelId, int loopIndex, int elementIndex, const CElementRecord& record);
    // Adds rule `ruleId` with its input side in the downloaded panel. The
    // output side goes to the panel whose address is action byte 1 (the
    // downloaded panel for 0 or its own address); a panel the facility lacks
    // is created as a placeholder (label "----", zones 1..250).
    bool addEventAction(int ruleId, int panelId, int panelAddress, const CEventRecord& event,
                        const CActionRecord& action);
    // Label (text 290 when empty), installer and phone of the panel.
    bool applySystemInfo(int panelId, const CSystemInfoRecord& info);

private:
    struct Side {
        int panel = 0, loop = 0, element = 0, zone = 0, rangeBegin = 0, rangeEnd = 0, itemType = 0;
    };
    static bool itemFromSide(int itemType, int loop, int element, int zone, std::pair<int, int> range,
                             int elementType, CRecordItem& item);
    static Side sideFromItem(const CRecordItem& item, int panelId);
    int outputPanel(int panelAddress, int panelId, const CActionRecord& action);
    int createPlaceholder(int address, const CActionRecord& action);

    CFacilityManager& m_facility;
};
