// CPanelImage: one panel's whole configuration as the panel holds it: the
// address byte of page 4, the system information, the 250 zone records, the
// 8 x 250 element records and the rule list.
//
// An upload builds the image from the model and writes it; a download reads
// it from the device and adds it to the facility only when everything was
// read, so a failed download never leaves half a panel behind; a verify reads
// it back and compares it with the image an upload would write.
//
// The progress texts go to an optional wait dialog: 105, then 90 after each
// element record ("%d %d %d": 1, loop, address) and 104 per zone on writing;
// 103 per zone and 91 per element on reading.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/CFacilityManager.h"
#include "panel_link/CElementRecord.h"
#include "panel_link/CEventActionRecord.h"
#include "panel_link/CPanelDifference.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CSystemInfoRecord.h"
#include "panel_link/CZoneRecord.h"
#include "seams/IWaitDialog.h"

class CPanelImage {
public:
    static constexpr int kSendingElementsText = 105;
    static constexpr int kSendingElementText = 90;
    static constexpr int kSendingZoneText = 104;
    static constexpr int kReceivingZoneText = 103;
    static constexpr int kReceivingElementText = 91;
    static constexpr int kNewPanelText = 78;

    enum class ReadResult { Ok, Failed, BadZone };
    using Rule = std::pair<CEventRecord, CActionRecord>;

    CPanelImage();

    // ---- From the model ----
    // The image an upload of panel `panelId` writes: every rule whose input
    // side lies in that panel, in list order. A rule with a side that names
    // nothing is left out (skippedRules() names it): written, it would end
    // the panel's list early. False, with `problem` in words, when a value
    // does not fit its record or there are more rules than the panel holds.
    bool build(CFacilityManager& facility, int panelId, std::string& problem);
    const std::vector<int>& skippedRules() const { return m_skipped; }

    // ---- To and from the device (an open, claimed connection) ----
    // Elements, zones, rules, then page 5. Any failed page write fails the
    // whole write. A full last group of 32 rules is followed by an empty
    // group, so the panel never reads on into stale rules.
    bool write(CPanelLink& link, IWaitDialog* dialog) const;
    // Page 5, zones, elements, then at most `ruleCapacity` rules (up to the
    // end of the list). BadZone when an element names a zone the panel
    // cannot have; badZoneAt() tells where.
    ReadResult read(CPanelLink& link, IWaitDialog* dialog, int ruleCapacity);
    // True when the panel held more rules than the capacity given to read().
    bool rulesLeftOnPanel() const { return m_rulesLeft; }
    std::pair<int, int> badZoneAt() const { return m_badZoneAt; }

    // ---- Into the model ----
    // Adds the image as panel `id` with `address`, its rules taking ids from
    // `firstRuleId` on. False, with nothing changed, when the id is taken.
    // Element records the model refuses are counted in refusedElements().
    bool addTo(CFacilityManager& facility, int id, int address, int firstRuleId);
    int refusedElements() const { return m_refused; }

    // ---- Comparison ----
    // Every difference of `actual` (read from a panel) from `expected` (what
    // an upload writes), one line each, in words.
    static std::vector<std::string> compare(const CPanelImage& expected, const CPanelImage& actual);
    // The same differences as item, what an upload writes and what the panel holds.
    static std::vector<CPanelDifference> differences(const CPanelImage& expected, const CPanelImage& actual);
    // Each difference as its line in words.
    static std::vector<std::string> lines(const std::vector<CPanelDifference>& differences);

    int address = 0;  // page 4 byte 0; 0 leaves the panel's address alone
    CSystemInfoRecord info;
    std::vector<CZoneRecord> zones;        // index = zone number - 1
    std::vector<CElementRecord> elements;  // index = loop index * 250 + element index
    std::vector<Rule> rules;

    CElementRecord& element(int loopIndex, int elementIndex) {
        return elements[static_cast<std::size_t>(loopIndex * CPanelLink::kElementsPerLoop + elementIndex)];
    }
    const CElementRecord& element(int loopIndex, int elementIndex) const {
        return elements[static_cast<std::size_t>(loopIndex * CPanelLink::kElementsPerLoop + elementIndex)];
    }

private:
    bool writeElements(CPanelLink& link, IWaitDialog* dialog) const;
    bool writeZones(CPanelLink& link, IWaitDialog* dialog) const;
    bool writeRules(CPanelLink& link) const;
    bool readZones(CPanelLink& link, IWaitDialog* dialog);
    ReadResult readElements(CPanelLink& link, IWaitDialog* dialog);
    bool readRules(CPanelLink& link, int ruleCapacity);

    std::vector<int> m_skipped;
    bool m_rulesLeft = false;
    std::pair<int, int> m_badZoneAt{0, 0};  // loop, element address
    int m_refused = 0;
};
