#include "ui/CUiCheckWords.h"

#include "ui/UiText.h"

const std::map<std::string, int>& CUiCheckWords::sentenceIds() {
    static const std::map<std::string, int> ids = {
        {"panel-address", 600},
        {"panel-address-shared", 601},
        {"save-drops-panel/address", 602},
        {"save-drops-panel/id", 603},
        {"value-does-not-fit/loop", 604},
        {"value-does-not-fit/element", 605},
        {"value-does-not-fit/element-record", 606},
        {"value-does-not-fit/rule-record", 607},
        {"element-without-zone", 608},
        {"zone-description-hidden", 609},
        {"zone-default-description", 610},
        {"output-without-rule", 611},
        {"input-without-rule", 612},
        {"rule-names-nothing", 613},
        {"rule-names-missing/panel", 614},
        {"rule-names-missing/loop", 615},
        {"rule-names-missing/element", 616},
        {"rule-names-missing/zone", 617},
        {"rule-names-missing/zones", 618},
        {"rules-per-upload", 619},
        {"rules-per-panel", 620},
        {"text-too-long", 621},
        {"text-not-shown", 622},
    };
    return ids;
}

const std::map<std::string, int>& CUiCheckWords::wordIds() {
    static const std::map<std::string, int> ids = {
        {"label", 623},
        {"installer", 624},
        {"phone", 625},
        {"description", 626},
        {"event-side", 627},
        {"action-side", 628},
    };
    return ids;
}

CCheckWords CUiCheckWords::load() {
    CCheckWords w;
    w.sentences.clear();
    w.words.clear();
    for (const auto& [key, id] : sentenceIds()) w.sentences[key] = loadText(id).toStdString();
    for (const auto& [key, id] : wordIds()) w.words[key] = loadText(id).toStdString();
    return w;
}
