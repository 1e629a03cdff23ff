#include "ui/CRuleTreeTexts.h"

#include "basalt/KvStringTableFile.h"
#include "model/CElementTypeCatalogue.h"
#include "ui/UiText.h"

namespace {

constexpr int kLoopWordText = 44;

}  // namespace

CRuleTreeTexts::CRuleTreeTexts(bool inputTree) : m_input(inputTree), m_zones(loadText(kZonesText)) {
    KvLoadString(kLoopWordText, m_loopWord);
    KvLoadString(kZoneWordText, m_zoneWord);
}

QString CRuleTreeTexts::panel(int address, const KvWString& label) const {
    return (m_input ? QStringLiteral("Input Panel - ") : QStringLiteral("Output Panel - ")) + QString::number(address) +
           QStringLiteral(" (") + toQString(label) + QStringLiteral(")");
}

QString CRuleTreeTexts::loop(int address) const {
    KvWString text;
    text.Format(u"%s %d", m_loopWord.c_str(), address);
    return toQString(text);
}

QString CRuleTreeTexts::element(int address, int type, const KvWString& label) const {
    KvWString name;
    // The catalogue knows each type's name (types 15 and 16 have theirs in crossed order).
    if (const int nameId = CElementTypeCatalogue::descriptionTextId(type)) KvLoadString(nameId, name);
    KvWString text;
    text.Format(u"@:%d - %s - %s", address, name.c_str(), label.c_str());
    return toQString(text);
}

QString CRuleTreeTexts::zone(int number, const KvWString* description) const {
    KvWString text;
    if (description)
        text.Format(u"%s %d - %s", m_zoneWord.c_str(), number, description->c_str());
    else
        text.Format(u"%s %d", m_zoneWord.c_str(), number);
    return toQString(text);
}
