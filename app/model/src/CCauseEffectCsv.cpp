#include "model/CCauseEffectCsv.h"

#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "model/CRuleSideWords.h"

namespace {

std::string plainLabel(const CCauseEffectMatrix::Line& line, bool) { return CRuleSideWords::side(&line.side); }

}  // namespace

std::string CCauseEffectCsv::field(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string CCauseEffectCsv::text(const CCauseEffectMatrix& matrix, const Label& label) {
    const Label& words = label ? label : Label(plainLabel);
    std::string out = "cause / effect";
    for (const auto& column : matrix.columns()) out += "," + field(words(column, false));
    out += "\r\n";
    for (std::size_t row = 0; row < matrix.rows().size(); ++row) {
        out += field(words(matrix.rows()[row], true));
        // Delays are numbers joined by " / ": nothing in them needs quoting.
        std::size_t written = 0;  // columns written so far
        for (auto rest = matrix.effectsOf(row); !rest.empty();) {
            const auto place = CCauseEffectMatrix::samePlace(rest);
            out.append(place.first->column + 1 - written, ',');
            out += CCauseEffectMatrix::delays(place);
            written = place.first->column + 1;
            rest = {rest.first + place.count, rest.count - place.count};
        }
        out.append(matrix.columns().size() - written, ',');
        out += "\r\n";
    }
    return out;
}

bool CCauseEffectCsv::save(const KvWString& path, const CCauseEffectMatrix& matrix, const Label& label) {
    printk("\n CCauseEffectCsv::save");
    const std::string csv = text(matrix, label);
    return KvSaveFileAtomic(path.c_str(), csv.data(), csv.size());
}
