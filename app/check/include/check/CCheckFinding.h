// CCheckFinding: one thing the facility check found, and the item it is about.
#pragma once

#include <string>
#include <vector>

struct CCheckFinding {
    enum class Severity { Error, Warning };  // an error blocks an upload, a warning does not
    enum class Item { Panel, Loop, Element, Zone, Rule };

    Severity severity = Severity::Error;
    Item item = Item::Panel;
    // The item's address: the panel always; loop and element, zone or rule as the item needs.
    int panel = 0;
    int loop = 0;
    int element = 0;
    int zone = 0;
    int rule = 0;
    std::string code;  // a stable name of the kind of finding, for scripts
    std::string text;  // what is wrong, in English words (UTF-8), without the item's name
    // What `text` is made of, for words in another language (CCheckWords): which sentence it is
    // (the code, or the code and a variant: "value-does-not-fit/loop") and the values it names.
    std::string wording;
    std::vector<std::string> values;

    bool isError() const { return severity == Severity::Error; }
};
