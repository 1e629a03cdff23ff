// CDiffWords: the words a facility difference is written in.
//
// As built it holds the fixed English of the command-line tool, whose output scripts read; the
// program fills one from its string table. Patterns are UTF-8 with %s placeholders, filled in
// order by fill(); a pattern with fewer placeholders than values simply leaves the rest out.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "basalt/KvBasicString.h"

class CEventActionSide;

class CDiffWords {
public:
    using Quote = std::function<std::string(const KvWString&)>;
    using Side = std::function<std::string(const CEventActionSide& side, bool input)>;
    using Number = std::function<std::string(const std::string& field, int value)>;

    // Where a change lies; each %s takes a number.
    std::string panel = "panel %s";
    std::string loop = "panel %s, loop %s";
    std::string element = "panel %s, loop %s, element %s";
    std::string zone = "panel %s, zone %s";
    std::string rule = "rule %s";
    std::string renumberedRule = "rule %s (now %s)";
    // What happened there; %s takes the place.
    std::string added = "%s added";
    std::string removed = "%s removed";
    std::string changed = "%s changed";
    // What an added or removed panel or loop held: the change, then its counts.
    std::string withContents = "%s with %s";
    std::string oneLoop = "%s loop";
    std::string loops = "%s loops";
    std::string oneElement = "%s element";
    std::string elements = "%s elements";
    std::string listSeparator = ", ";
    // The change, then its fields; a field is its name and value, a changed value before and after.
    std::string withFields = "%s: %s";
    std::string field = "%s %s";
    std::string change = "%s -> %s";
    // Field names by the names of CFacilityChange::Field; a name missing here is shown as it is.
    std::map<std::string, std::string> fieldNames;
    // A rule side that is missing, when `side` writes the sides.
    std::string nothing = "nothing";

    // Texts from the file; in double quotes as they are when not set.
    Quote quote;
    // A rule side; the comparison's own English words when not set.
    Side side;
    // A number field ("type", "zone", ...); the number in digits when not set.
    Number number;

    // `pattern` with its placeholders replaced by `values` in order.
    static std::string fill(const std::string& pattern, std::initializer_list<std::string> values);
    static std::string fill(const std::string& pattern, const std::vector<std::string>& values);
    // The same with each value passed through `shown` first.
    static std::string fill(const std::string& pattern, const std::vector<std::string>& values,
                            const std::function<const std::string&(const std::string&)>& shown);
};
