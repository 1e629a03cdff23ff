// CRuleTreeTexts: the texts of the rule trees' items, with their words loaded once.
#pragma once

#include <QString>

#include "basalt/KvBasicString.h"

class CRuleTreeTexts {
public:
    static constexpr int kZoneWordText = 450;
    static constexpr int kZonesText = 451;

    explicit CRuleTreeTexts(bool inputTree);

    // "Input Panel - 3 (Main building)" or "Output Panel - ...".
    QString panel(int address, const KvWString& label) const;
    QString loop(int address) const;
    // "@:5 - Optical detector - Element 5"; an unknown type has no name.
    QString element(int address, int type, const KvWString& label) const;
    // The panel's zones item.
    QString zones() const { return m_zones; }
    // "Zone 3 - Entrance hall"; a zone without a record shows its number alone.
    QString zone(int number, const KvWString* description) const;

private:
    bool m_input;
    KvWString m_loopWord;
    KvWString m_zoneWord;
    QString m_zones;
};
