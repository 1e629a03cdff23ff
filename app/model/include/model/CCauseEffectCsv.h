// CCauseEffectCsv: a cause-and-effect matrix as a CSV file a spreadsheet opens.
//
// UTF-8, lines ended by CR LF, fields quoted only where a comma, a quote or a line break needs
// it. The first row holds a corner cell and one column per effect; then one row per cause: its
// words, then in each effect's column the delay of the rule joining them, empty where no rule
// does, "5 / 30" (in rule list order) where several do.
#pragma once

#include <functional>
#include <string>

#include "basalt/KvBasicString.h"
#include "model/CCauseEffectMatrix.h"

class CCauseEffectCsv {
public:
    // The words of a row (cause true) or column; the default is the side in fixed English,
    // "kind 1, panel 2, loop 1, element 17".
    using Label = std::function<std::string(const CCauseEffectMatrix::Line& line, bool cause)>;

    static std::string text(const CCauseEffectMatrix& matrix, const Label& label = {});
    // Replaces `path` with the whole text or leaves it as it was; false when it cannot.
    static bool save(const KvWString& path, const CCauseEffectMatrix& matrix, const Label& label = {});
    // One field, quoted when it has to be.
    static std::string field(const std::string& value);
};
