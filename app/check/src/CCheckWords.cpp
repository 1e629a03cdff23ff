#include "check/CCheckWords.h"

#include "model/CDiffWords.h"

std::string CCheckWords::sentence(const CCheckFinding& finding) const {
    const auto it = sentences.find(finding.wording);
    if (it == sentences.end()) return finding.text;
    return CDiffWords::fill(it->second, finding.values, [this](const std::string& value) -> const std::string& {
        const auto word = words.find(value);
        return word == words.end() ? value : word->second;
    });
}

const CCheckWords& CCheckWords::english() {
    static const CCheckWords words;
    return words;
}
