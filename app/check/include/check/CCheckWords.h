// CCheckWords: the sentences the facility check's findings are written in.
//
// As built it holds the check's own English, which cairnctl prints and scripts read; the program
// fills one from its string table. A sentence is UTF-8 with %s placeholders filled in order by
// the finding's values; a value that is the key of one of `words` ("label", "event-side") is
// shown as that word.
#pragma once

#include <map>
#include <string>

#include "check/CCheckFinding.h"

class CCheckWords {
public:
    // By a finding's wording.
    std::map<std::string, std::string> sentences = {
        {"panel-address", "its address %s is not one of 1 to 255"},
        {"panel-address-shared", "its address %s is also panel %s's"},
        {"save-drops-panel/address", "a save leaves it out, as its address is 0"},
        {"save-drops-panel/id", "a save leaves it out, as its id is not one of 1 to 128"},
        {"value-does-not-fit/loop", "the panel has loops 1 to %s only; an upload leaves it out"},
        {"value-does-not-fit/element", "the panel has addresses 1 to %s only; an upload leaves it out"},
        {"value-does-not-fit/element-record",
         "its zone, type or composite mode does not fit the panel's element record"},
        {"value-does-not-fit/rule-record",
         "its delay, a type or an item number does not fit the panel's rule records"},
        {"element-without-zone", "it belongs to no zone"},
        {"zone-description-hidden", "a save keeps another panel's description of zone %s instead of this one"},
        {"zone-default-description", "it is in use but still has the default description"},
        {"output-without-rule", "no rule drives this output"},
        {"input-without-rule", "this input raises no rule"},
        {"rule-names-nothing", "%s names nothing"},
        {"rule-names-missing/panel", "%s names panel %s, which does not exist"},
        {"rule-names-missing/loop", "%s names loop %s of panel %s, which does not exist"},
        {"rule-names-missing/element", "%s names element %s on loop %s of panel %s, which does not exist"},
        {"rule-names-missing/zone", "%s names zone %s of panel %s, which does not exist"},
        {"rule-names-missing/zones", "%s names zones %s to %s of panel %s, which does not exist"},
        {"rules-per-upload", "%s rules would go in one upload; the panel holds %s"},
        {"rules-per-panel", "%s rules have their event on this panel; at most %s may"},
        {"text-too-long", "%s has %s characters; the panel shows the first %s"},
        {"text-not-shown", "%s has characters the panel shows as \"?\": %s"},
    };
    // Values that are words: the texts of a panel or item, the sides of a rule.
    std::map<std::string, std::string> words = {
        {"label", "the label"},
        {"installer", "the installer"},
        {"phone", "the phone number"},
        {"description", "the description"},
        {"event-side", "its event side"},
        {"action-side", "its action side"},
    };

    // The finding in these words; its own text when its wording has no sentence here.
    std::string sentence(const CCheckFinding& finding) const;
    // The check's own words, built once.
    static const CCheckWords& english();
};
