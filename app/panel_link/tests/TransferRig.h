// TransferRig: a facility, a scripted prompt, a recording wait dialog and a
// virtual panel in memory, wired to one CUsbHandler; plus a facility
// snapshot to prove that a failed transfer changed nothing.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>
#include <sstream>
#include <string>

#include "FacilityBuilder.h"
#include "basalt/KvStringTableFile.h"
#include "basalt/KvStringTableWriter.h"
#include "TestWaitDialog.h"
#include "basalt/KvUtf.h"
#include "panel_link/CUsbHandler.h"
#include "testkit/TempFolder.h"
#include "virtual_panel/CVirtualUsbBus.h"

struct TransferRig {
    explicit TransferRig(CVirtualFaults faults = CVirtualFaults(),
                         const CVirtualPanelState* state = nullptr)
        : bus(std::make_shared<CVirtualUsbBus>("", faults)),
          dialogs(std::make_shared<TestWaitDialog::Log>()),
          handler(facility, prompt, TestWaitDialog::factory(dialogs), bus) {
        installStrings();
        if (state) bus->panel().state() = *state;
        handler.setDialogSettleTime(std::chrono::milliseconds(0));
    }

    // The test table, with the progress formats filled in so their numbers can be checked.
    // Selected again by every rig: other suites of the same process select their own tables.
    static void installStrings() {
        static const std::string path = [] {
            KvStringTableWriter w;
            for (int id = 1; id <= 400; ++id) w.Add(static_cast<std::uint16_t>(id), "T" + std::to_string(id));
            w.Add(90, "S%d L%d E%d");
            w.Add(91, "R%d L%d E%d");
            w.Add(103, "RZ%d");
            w.Add(104, "SZ%d");
            static const TempFolder folder("cairn-transfer-strings");  // removed at exit
            std::string file = (folder / "test.stc").string();
            std::string error;
            if (!w.Save(file.c_str(), error)) std::abort();
            return file;
        }();
        if (!SetKvLoadStringTableFile(path.c_str())) std::abort();
    }

    bool shown(int id) const {
        for (int s : prompt.shown)
            if (s == id) return true;
        return false;
    }

    CFacilityManager facility;
    ScriptedPrompt prompt;
    std::shared_ptr<CVirtualUsbBus> bus;
    std::shared_ptr<TestWaitDialog::Log> dialogs;
    CUsbHandler handler;
};

inline std::string utf8(const KvWString& t) { return ToUtf8(t.c_str()).c_str(); }

// A rule side as "item type:panel,loop,element,zone"; "-1:0,0,0,0" when missing.
inline std::string side(const CEventActionSide* s) {
    if (!s) return "-1:0,0,0,0";
    return std::to_string(s->itemType) + ":" + std::to_string(s->panel) + "," + std::to_string(s->loop) + "," +
           std::to_string(s->element) + "," + std::to_string(s->zone);
}

// Everything the model holds, in words, by number.
inline std::string snapshot(const CFacilityManager& m) {
    std::ostringstream o;
    for (int p = 0; p < m.getNumberOfPanels(); ++p) {
        const int id = m.getPanelId(p);
        o << "panel " << id << " @" << m.getPanelAddress(id) << " " << utf8(*m.getPanelLabel(id)) << "|"
          << utf8(m.getPanelInstaller(id)) << "|" << utf8(m.getPanelPhone(id)) << " zones " << m.getNumOfZones(id)
          << "\n";
        for (int l = 0; l < m.getNumOfLoops(id); ++l) {
            const int loop = m.getLoopAddress(id, l);
            for (int e = 0; e < m.getNumberOfElementsInLoop(id, loop); ++e) {
                const int a = m.getElementAddress(id, loop, e);
                o << " " << loop << "." << a << " t" << m.getElementType(id, loop, a) << " z"
                  << m.getElementZone(id, loop, a) << " g" << m.getElementGenericType(id, loop, a) << " c"
                  << m.getElementCompositeMode(id, loop, a) << " " << utf8(*m.getElementLabel(id, loop, a)) << "/"
                  << utf8(*m.getElementDescription(id, loop, a)) << "\n";
            }
        }
    }
    for (int z = 1; z <= 250; ++z)
        if (const KvWString* d = m.getZoneDescription(z)) o << "zone " << z << " " << utf8(*d) << "\n";
    for (int i = 0; i < m.getNumberEventsInPanel(); ++i) {
        const int r = m.getEventActionId(i);
        o << "rule " << r << " d" << m.getEventActionDelay(r) << " in " << side(m.getEventActionInSide(r)) << " out "
          << side(m.getEventActionOutSide(r)) << "\n";
    }
    return o.str();
}
