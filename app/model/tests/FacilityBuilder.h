// FacilityBuilder: builds test facilities in a line or two, plus fakes of the model's seams.
//
//   FacilityBuilder(m).panel(1).loop(1).element(5, 1).device(10, 13).zones(3).rule(1, 0, in, out);
//
// Every call goes through the manager's public operations, so a builder-made facility is one
// the editors or the file reader could have made.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CElementTypeCatalogue.h"
#include "model/CFacilityManager.h"
#include "seams/IFacilityObserver.h"
#include "seams/IUserPrompt.h"

// One side of a rule as the editor would enter it.
struct RuleSide {
    int type = 0;
    int panel = 0;
    int loop = 0;
    int element = 0;
    int zone = 0;
    int rangeBegin = 0;
    int rangeEnd = 0;
    int itemType = 0;
};

class FacilityBuilder {
public:
    explicit FacilityBuilder(CFacilityManager& manager) : m_(manager) {}

    // Adds a panel and makes it current; the address defaults to the id.
    FacilityBuilder& panel(int id, int address = -1, const char16_t* label = nullptr) {
        KvWString text;
        if (label)
            text = label;
        else
            text.Format(u"Panel %d", id);
        m_.addPanel(id, address < 0 ? id : address, text);
        panel_ = id;
        return *this;
    }
    FacilityBuilder& details(const char16_t* installer, const char16_t* phone, const char16_t* comments) {
        m_.setPanelInstaller(panel_, installer);
        m_.setPanelPhone(panel_, phone);
        m_.setPanelComments(panel_, comments);
        return *this;
    }
    // Adds a loop to the current panel and makes it current.
    FacilityBuilder& loop(int address) {
        m_.addLoopToPanel(panel_, address);
        loop_ = address;
        return *this;
    }
    // One element record with the catalogue's generic type of the type's first address.
    FacilityBuilder& element(int address, int type = 1, int zone = 0) {
        m_.addElementToLoop(panel_, loop_, address, type, zone, label(address), nullptr);
        m_.setElementGenericType(panel_, loop_, address, CElementTypeCatalogue::genericType(type, 0));
        return *this;
    }
    // A whole device: one record per address with composite modes and generic types.
    FacilityBuilder& device(int address, int type, int zone = 0) {
        const int n = CElementTypeCatalogue::addressCount(type);
        for (int i = 0; i < n; ++i) {
            const int a = address + i;
            m_.addElementToLoop(panel_, loop_, a, type, zone, label(a), nullptr);
            m_.setElementGenericType(panel_, loop_, a, CElementTypeCatalogue::genericType(type, i));
            if (n > 1) m_.setElementCompositeMode(panel_, loop_, a, i == 0 ? 1 : (i == n - 1 ? 3 : 2));
        }
        return *this;
    }
    // Zones 1..count on the current panel, described "Zone n".
    FacilityBuilder& zones(int count) {
        for (int n = 1; n <= count; ++n) {
            KvWString text;
            text.Format(u"Zone %d", n);
            m_.addZone(panel_, n, text);
        }
        return *this;
    }
    // A complete rule, sides set in the only order that keeps both.
    FacilityBuilder& rule(int id, int delay, const RuleSide& in, const RuleSide& out, std::intptr_t inKey = 0,
                          std::intptr_t outKey = 0) {
        m_.addEventActionItem(id, delay);
        m_.addEventToEventActionItem(id, in.type, in.panel, in.loop, in.element, in.zone, in.rangeBegin, in.rangeEnd,
                                     in.itemType, inKey);
        m_.addActionToEventActionItem(id, out.type, out.panel, out.loop, out.element, out.zone, out.rangeBegin,
                                      out.rangeEnd, out.itemType, outKey);
        return *this;
    }

    // The largest facility the editors allow: 128 panels, 8 full loops of 250 single-address
    // elements each, 250 zones each, and 2048 rules.
    static void largest(CFacilityManager& m) {
        FacilityBuilder b(m);
        for (int p = 1; p <= 128; ++p) {
            b.panel(p);
            for (int l = 1; l <= 8; ++l) {
                b.loop(l);
                for (int a = 1; a <= 250; ++a) b.element(a, 1 + (a % 18), 1 + (a % 250));
            }
            b.zones(250);
        }
        for (int r = 1; r <= 2048; ++r) {
            const int p = 1 + r % 128;
            b.rule(r, r % 60, RuleSide{1, p, 1 + r % 8, 1 + r % 250, 0, 0, 0, 5},
                   RuleSide{2, 1 + (r * 7) % 128, 0, 0, 1 + r % 250, 0, 0, 4});
        }
    }

    // One largest facility per process, built on first use: benchmarks read it many times.
    static const CFacilityManager& sharedLargest() {
        static CFacilityManager m;
        static const bool built = (largest(m), true);
        (void)built;
        return m;
    }

private:
    static KvWString label(int address) {
        KvWString text;
        text.Format(u"Element %d", address);
        return text;
    }

    CFacilityManager& m_;
    int panel_ = 0;
    int loop_ = 0;
};

// Records what the model asked of the user interface.
class RecordingObserver : public IFacilityObserver {
public:
    void loopsChanged(bool expandAll) override { rebuilds.push_back(expandAll); }
    void groupEmptied(std::intptr_t key, int imageDrop) override { emptied.emplace_back(key, imageDrop); }
    void groupRefilled(std::intptr_t key, int imageDrop) override { refilled.emplace_back(key, imageDrop); }

    std::vector<bool> rebuilds;
    std::vector<std::pair<std::intptr_t, int>> emptied;
    std::vector<std::pair<std::intptr_t, int>> refilled;
};

// Answers questions from a script (yes when the script runs out) and records every text id.
class ScriptedPrompt : public IUserPrompt {
public:
    explicit ScriptedPrompt(std::vector<bool> answers = {}) : answers_(std::move(answers)) {}
    void showMessage(int textId) override { shown.push_back(textId); }
    bool askYesNo(int textId) override {
        asked.push_back(textId);
        if (next_ >= answers_.size()) return true;
        return answers_[next_++];
    }

    void showMessageWith(int textId, const KvWString& argument) override {
        arguments.push_back(argument);
        showMessage(textId);
    }
    bool askYesNoWith(int textId, const KvWString& argument) override {
        arguments.push_back(argument);
        return askYesNo(textId);
    }
    // Marks the panels of `choice` (none when `cancelChoice`), as the panel choice dialog would.
    bool choosePanels(CFacilityManager& facility, bool several) override {
        choices.push_back(several);
        if (cancelChoice) return false;
        for (int id : choice) facility.setPanelSelected(id, true);
        return true;
    }

    std::vector<int> shown;
    std::vector<int> asked;
    std::vector<KvWString> arguments;  // of the texts with an argument, in order
    std::vector<int> choice;           // panels the next choices mark
    bool cancelChoice = false;
    std::vector<bool> choices;         // one entry per choice offered: its several-allowed flag

private:
    std::vector<bool> answers_;
    std::size_t next_ = 0;
};
