// FacilityDump: everything the manager can tell about a facility, as one text, so that two
// facilities compare with one EXPECT_EQ and a difference shows where it is.
#pragma once

#include <string>

#include "basalt/KvUtf.h"
#include "model/CFacilityManager.h"

namespace dump {

inline std::string text(const KvWString* t) { return t ? std::string(ToUtf8(t->c_str()).c_str()) : "(null)"; }
inline std::string text(const KvWString& t) { return text(&t); }

inline void element(std::string& out, const CFacilityManager& m, int id, int loop, int a) {
    out += "    element " + std::to_string(a) + " type " + std::to_string(m.getElementType(id, loop, a)) + " zone " +
           std::to_string(m.getElementZone(id, loop, a)) + " mode " +
           std::to_string(m.getElementCompositeMode(id, loop, a)) + " generic " +
           std::to_string(m.getElementGenericType(id, loop, a)) + " first " +
           std::to_string(m.getElementFirst(id, loop, a)) + " [" + text(m.getElementLabel(id, loop, a)) + "] [" +
           text(m.getElementDescription(id, loop, a)) + "]\n";
}

inline void panel(std::string& out, const CFacilityManager& m, int id) {
    out += "panel " + std::to_string(id) + " address " + std::to_string(m.getPanelAddress(id)) + " expanded " +
           std::to_string(m.getPanelExpanded(id)) + " [" + text(m.getPanelLabel(id)) + "] [" +
           text(m.getPanelInstaller(id)) + "] [" + text(m.getPanelDescription(id)) + "] [" +
           text(m.getPanelPhone(id)) + "] zones " + std::to_string(m.getNumOfZones(id)) + "\n";
    for (int l = 0; l < m.getNumOfLoops(id); ++l) {
        const int loop = m.getLoopAddress(id, l);
        out += "  loop " + std::to_string(loop) + " expanded " + std::to_string(m.getLoopExpanded(id, loop)) + "\n";
        for (int e = 0; e < m.getNumberOfElementsInLoop(id, loop); ++e)
            element(out, m, id, loop, m.getElementAddress(id, loop, e));
    }
}

inline void rules(std::string& out, const CFacilityManager& m) {
    for (int p = 0; p < m.getNumberEventsInPanel(); ++p) {
        const int r = m.getEventActionId(p);
        const auto in = m.getEventActionInRange(r);
        const auto outRange = m.getEventActionOutRange(r);
        const int fields[] = {m.getEventActionDelay(r),         m.getEventActionInType(r),
                              m.getEventActionInElementType(r), m.getEventActionInPanel(r),
                              m.getEventActionInLoop(r),        m.getEventActionInElement(r),
                              m.getEventActionInZone(r),        in.first,
                              in.second,                        m.getEventActionInItemType(r),
                              m.getEventActionOutType(r),       m.getEventActionOutElementType(r),
                              m.getEventActionOutPanel(r),      m.getEventActionOutLoop(r),
                              m.getEventActionOutElement(r),    m.getEventActionOutZone(r),
                              outRange.first,                   outRange.second,
                              m.getEventActionOutItemType(r)};
        out += "rule " + std::to_string(r);
        for (int f : fields) out += " " + std::to_string(f);
        out += "\n";
    }
    for (const auto* groups : {&m.eventGroups(), &m.actionGroups()}) {
        out += "groups";
        for (const CEventActionGroup& g : *groups) {
            out += " (" + std::to_string(g.key);
            for (const CEventActionItem* rule : g.rules) out += " " + std::to_string(rule->id);
            out += ")";
        }
        out += "\n";
    }
}

// Panels in list order with their loops and elements, zone descriptions 1..250, rules, groups.
inline std::string facility(const CFacilityManager& m) {
    std::string out;
    for (int i = 0; i < m.getNumberOfPanels(); ++i) panel(out, m, m.getPanelId(i));
    for (int n = 1; n <= CFacilityManager::kMaxZone; ++n)
        if (const KvWString* d = m.getZoneDescription(n)) out += "zone " + std::to_string(n) + " [" + text(d) + "]\n";
    rules(out, m);
    return out;
}

}  // namespace dump
