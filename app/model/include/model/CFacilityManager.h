// CFacilityManager: the single gateway to the facility model.
//
// Everything is addressed by number: panel id, loop address, element address, zone number,
// rule id. Lookups follow list order and the first match wins, so records that share a number
// (possible after setLoopAddress, setElementAddress or changeEventActionId) resolve to the
// earliest. Failures are results: false, 0, empty text, a null pointer, or -1 where stated.
// "Missing" below means the named panel, loop, element or rule does not exist.
//
// The model belongs to one thread, the user-interface thread, and so do const calls: the
// getters remember their last lookups in mutable caches. A worker thread never touches it;
// transfers take what they need before their worker starts and apply what it read after it
// has joined.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CEventActionGroup.h"
#include "model/CEventActionGroups.h"
#include "model/CUndoHistory.h"
#include "model/CFacilityItem.h"

class IFacilityObserver;
class IUserPrompt;

class CFacilityManager {
public:
    static constexpr int kMaxElementAddress = 250;
    static constexpr int kMaxZone = 250;
    static constexpr int kEventImageDrop = 31;   // image offset of an unused event group node
    static constexpr int kActionImageDrop = 62;  // image offset of an unused action group node

    CFacilityManager();
    ~CFacilityManager();
    CFacilityManager(const CFacilityManager&) = delete;
    CFacilityManager& operator=(const CFacilityManager&) = delete;

    // The user-interface seams; null (the default) silences view updates and messages. Not owned.
    void setObserver(IFacilityObserver* observer) { m_observer = observer; }
    IFacilityObserver* observer() const { return m_observer; }
    // Where the model's refusals (an edit it will not make) are shown.
    void setPrompt(IUserPrompt* prompt) { m_prompt = prompt; }
    IUserPrompt* prompt() const { return m_prompt; }

    // ---- Facility ----
    // Destroys everything and starts an empty facility; the rule group indexes are emptied too
    // (they would otherwise point at deleted rules).
    void flushFacility();
    // Stable-sorts each loop's elements, then each panel's loops, by address; panels stay put.
    void sortFacility();
    int getNumberOfPanels() const;
    // The records, read-only, for walks over the whole facility (comparing two of them).
    const CFacilityItem& facility() const { return *m_facility; }
    bool getExpandedView() const;
    void setExpandedView(bool expanded);

    // ---- Panels ----
    // False when the id exists; otherwise inserts before the first panel with a greater address.
    bool addPanel(int id, int address, const KvWString& label);
    // Deletes the panel with its loops, elements and zones; true even when missing. Rules stay.
    bool delPanel(int id);
    // Moves the panel before the first other panel with a greater address; true even when missing.
    bool sortPanel(int id);
    int getPanelAddress(int id) const;                        // 0 when missing
    void setPanelAddress(int id, int address);                // does not move the panel
    int getPanelId(int index) const;                          // id at list position; 0 past the end
    const KvWString* getPanelLabel(int id) const;             // null when missing
    bool setPanelLabel(int id, const KvWString& text);
    KvWString getPanelInstaller(int id) const;                // empty when missing
    KvWString getPanelPhone(int id) const;
    KvWString getPanelDescription(int id) const;
    bool setPanelInstaller(int id, const KvWString& text);
    bool setPanelPhone(int id, const KvWString& text);
    bool setPanelComments(int id, const KvWString& text);     // the panel description
    bool getPanelExpanded(int id) const;
    bool setPanelExpanded(int id, bool expanded);
    bool getPanelSelected(int id) const;
    bool setPanelSelected(int id, bool selected);

    // ---- Loops ----
    int getNumOfLoops(int panelId) const;
    // Appends a collapsed, empty loop; false when the panel is missing or the address is taken.
    bool addLoopToPanel(int panelId, int address);
    // Deletes the loop; removing a panel's last loop deletes all its zones too. False when missing.
    bool delLoopFromPanel(int panelId, int address);
    int getLoopAddress(int panelId, int index) const;         // 0 when missing or past the end
    bool setLoopAddress(int panelId, int index, int address); // no reordering, no uniqueness check
    bool getLoopExpanded(int panelId, int address) const;
    bool setLoopExpanded(int panelId, int address, bool expanded);
    int getNumberOfElementsInLoop(int panelId, int address) const;
    int getNumberOfInputElementsInLoop(int panelId, int address) const;   // generic type not 7/8
    int getNumberOfOutputElementsInLoop(int panelId, int address) const;  // generic type 7 or 8

    // ---- Elements (panel id, loop address, element address) ----
    // Appends the element; a null description copies the label. False when panel or loop is
    // missing or the address is taken (the existing element is kept).
    bool addElementToLoop(int panelId, int loopAddress, int address, int type, int zone,
                          const KvWString& label, const char16_t* description = nullptr);
    // Deletes every element with this address; true whenever the loop exists.
    bool delElementFromLoop(int panelId, int loopAddress, int address);
    int getElementAddress(int panelId, int loopAddress, int index) const;  // 0 past the end
    bool setElementAddress(int panelId, int loopAddress, int index, int address);
    int getElementType(int panelId, int loopAddress, int address) const;
    // Rebuilds the device at `address` as a device of `type` (one element per address, labels
    // from text 279, description from the catalogue, zone kept). A longer device must end at
    // 250 or below and must not reach the next element of the loop; otherwise message 278 goes
    // to the prompt and nothing changes. New elements are appended (call sortFacility for
    // address order). False when missing, when refused, or for an unknown type code.
    bool setElementType(int panelId, int loopAddress, int address, int type);
    const KvWString* getElementLabel(int panelId, int loopAddress, int address) const;
    bool setElementLabel(int panelId, int loopAddress, int address, const KvWString& text);
    const KvWString* getElementDescription(int panelId, int loopAddress, int address) const;
    // A null text copies the label.
    bool setElementDescription(int panelId, int loopAddress, int address, const char16_t* text);
    int getElementZone(int panelId, int loopAddress, int address) const;
    bool addElementToZone(int panelId, int loopAddress, int address, int zone);
    bool delElementFromZone(int panelId, int loopAddress, int address);  // zone becomes 0
    int getElementCompositeMode(int panelId, int loopAddress, int address) const;
    bool setElementCompositeMode(int panelId, int loopAddress, int address, int mode);
    int getElementGenericType(int panelId, int loopAddress, int address) const;
    bool setElementGenericType(int panelId, int loopAddress, int address, int generic);
    bool getElementFirst(int panelId, int loopAddress, int address) const;
    bool setElementFirst(int panelId, int loopAddress, int address, bool first);
    std::intptr_t getElementItem(int panelId, int loopAddress, int address) const;
    bool setElementItem(int panelId, int loopAddress, int address, std::intptr_t item);

    // ---- Zones ----
    int getNumOfZones(int panelId) const;
    int getZoneNumber(int panelId, int index) const;          // 0 when missing or past the end
    // This panel's own zone `number`, unlike getZoneDescription; null when it has none.
    const KvWString* getPanelZoneDescription(int panelId, int number) const;
    // Appends the zone; false when the panel is missing or the number is taken in that panel.
    bool addZone(int panelId, int number, const KvWString& description);
    // First zone with this number in any panel (panels in order); null when none.
    const KvWString* getZoneDescription(int number) const;
    bool setZoneDescription(int number, const KvWString& text);
    int getNumOfElementsInZone(int panelId, int zone) const;

    // ---- Event-action rules (by rule id) ----
    int getNumberEventsInPanel() const;   // number of rules in the facility
    // max(rule count, largest id). Not a bound for walking the rules: that is the count, since
    // a file may hold ids up to 2147483647.
    int getNumberOfEventActions() const;
    // getNumberOfEventActions() + 1, or when that would pass the largest int, the lowest positive
    // id not in use. Never the id of an existing rule.
    int getFreeEventId() const;
    int getEventActionId(int index) const;  // id at list position; 0 past the end
    // Appends a rule without sides; false when the id exists.
    bool addEventActionItem(int id, int delay);
    // Sets the event side (creating it with element type = type), resets the action side to
    // zeros, files the rule in the event groups under `key`. False when missing.
    bool addEventToEventActionItem(int id, int type, int panel, int loop, int element, int zone,
                                   int rangeBegin, int rangeEnd, int itemType, std::intptr_t key);
    // Sets the action side and files the rule in the action groups; the event side is untouched.
    bool addActionToEventActionItem(int id, int type, int panel, int loop, int element, int zone,
                                    int rangeBegin, int rangeEnd, int itemType, std::intptr_t key);
    // Removes the rule from its groups (an emptied group is reported to the observer) and deletes it.
    bool delEventActionItem(int id);
    // Renames the first rule with `id`; no uniqueness check. False when missing.
    bool changeEventActionId(int id, int newId);
    int getEventActionDelay(int id) const;
    void setEventActionDelay(int id, int delay);
    // Side getters give 0 when the rule or the side is missing.
    int getEventActionInType(int id) const;
    int getEventActionInElementType(int id) const;
    int getEventActionInPanel(int id) const;
    int getEventActionInLoop(int id) const;
    int getEventActionInElement(int id) const;
    int getEventActionInZone(int id) const;
    int getEventActionOutType(int id) const;
    int getEventActionOutElementType(int id) const;
    int getEventActionOutPanel(int id) const;
    int getEventActionOutLoop(int id) const;
    int getEventActionOutElement(int id) const;
    int getEventActionOutZone(int id) const;
    void setEventActionInType(int id, int type);   // element type unchanged
    void setEventActionOutType(int id, int type);
    std::pair<int, int> getEventActionInRange(int id) const;   // (begin, end); (0, 0) when missing
    std::pair<int, int> getEventActionOutRange(int id) const;
    void setEventActionInRange(int id, int begin, int end);
    void setEventActionOutRange(int id, int begin, int end);
    int getEventActionInItemType(int id) const;    // -1 when missing
    int getEventActionOutItemType(int id) const;
    // The rule's event (input) and action (output) side as a whole; null when the rule or the
    // side is missing. Valid until the rule or the facility changes.
    const CEventActionSide* getEventActionInSide(int id) const { return eventSide(id); }
    const CEventActionSide* getEventActionOutSide(int id) const { return actionSide(id); }

    // ---- Rule group indexes ----
    const std::vector<CEventActionGroup>& eventGroups() const { return m_eventGroups.groups(); }
    const std::vector<CEventActionGroup>& actionGroups() const { return m_actionGroups.groups(); }
    // Empties both indexes (before a file is loaded).
    void clearGroups();

    // ---- Undo history ----
    // One entry per user action. An editor opens an action before the action's first change and
    // commits it after its last (CFacilityAction does both); every change through the manager in
    // between is recorded, and undo and redo replay them through here, so the rule groups and
    // the observer follow. View state (expanded flags, panel choice marks, the editor's element
    // handles) is not recorded. A change outside any action (loading a file, flushFacility)
    // empties the history; flushFacility also counts the new facility as saved.
    const CUndoHistory& history() const { return m_history; }
    // Opens an action, or joins the open one; returns the mark cancelAction goes back to.
    std::size_t beginAction(const KvWString& description);
    // Ends one level of the open action; true when that made a history entry (an action that
    // changed nothing makes none).
    bool commitAction();
    // Renames the open action.
    void describeAction(const KvWString& description) { m_history.describe(description); }
    // Takes back the changes made since `mark` and ends one level; the outermost leaves no entry.
    void cancelAction(std::size_t mark);
    // False when there is nothing to undo or redo, or while an action is open.
    bool undo();
    bool redo();
    // The facility now matches its file.
    void markSaved() { m_history.markSaved(); }

    // Orderings used by sortFacility.
    static bool sortingElements(const CElementItem* a, const CElementItem* b);
    static bool sortingLoops(const CLoopItem* a, const CLoopItem* b);
    static bool sortingPanels(const CPanelItem* a, const CPanelItem* b);

private:
    CPanelItem* findPanel(int id) const;
    CLoopItem* findLoop(int panelId, int address) const;
    CElementItem* findElement(int panelId, int loopAddress, int address) const;
    CEventActionItem* findRule(int id) const;
    void dropRuleIndex() { m_ruleIndexValid = false; }
    CEventActionSide* eventSide(int id) const;
    CEventActionSide* actionSide(int id) const;
    void placePanel(std::unique_ptr<CPanelItem> panel);
    bool deviceFits(const CLoopItem& loop, int address, int oldCount, int newCount) const;
    void dropFromGroups(CEventActionGroups& groups, CEventActionItem* rule, int imageDrop);

    // Recording into the history. `Owners` are the record a change is made to and the records
    // that contain it; a change inside a record the open action made needs no step.
    using Owners = std::array<const void*, 3>;
    template <class T>
    using OwnedList = std::vector<std::unique_ptr<T>>;
    bool recordFor(const Owners& owners);
    Owners elementOwners(int panelId, int loopAddress, const CElementItem* element) const;
    template <class V>
    bool assign(V& field, const V& value, const Owners& owners);
    template <class T>
    void noteInserted(OwnedList<T>& list, T* item, const Owners& owners);
    template <class T>
    void removeAt(OwnedList<T>& list, std::size_t index, const Owners& owners);
    template <class T>
    void noteReorder(OwnedList<T>& list, const Owners& owners, bool& reopened);
    void rememberSides(CEventActionItem& rule);
    CUndoContext historyContext();
    void afterReplay();
    // A change that cannot be recorded: the history goes (or the open action breaks).
    void forgetHistory();
    void historyChanged();
    // Structure changes invalidate the remembered lookups at their level and below.
    enum Level { kPanels = 0, kLoops = 1, kElements = 2 };
    void changed(Level level) {
        for (int i = level; i <= kElements; ++i) ++m_generation[i];
    }

    // One remembered answer per lookup kind, valid while its level's generation is unchanged.
    // Walks ask many getters for the same record in a row; any change that could alter which
    // record is the first match bumps the generation, so the memo never contradicts a fresh scan.
    template <class T>
    struct Memo {
        std::uint64_t generation = ~std::uint64_t(0);
        int a = 0, b = 0, c = 0;
        T* record = nullptr;
    };

    std::unique_ptr<CFacilityItem> m_facility;
    CEventActionGroups m_eventGroups{true};
    CEventActionGroups m_actionGroups{false};
    IFacilityObserver* m_observer = nullptr;
    IUserPrompt* m_prompt = nullptr;
    CUndoHistory m_history;
    std::uint64_t m_generation[3] = {0, 0, 0};
    mutable Memo<CPanelItem> m_panelMemo;
    mutable Memo<CLoopItem> m_loopMemo;
    mutable Memo<CElementItem> m_elementMemo;
    // Rule id -> first rule in list order with that id. Appending keeps it valid (a later rule
    // never wins); deleting or renaming a rule drops it and the next lookup rebuilds it.
    mutable std::unordered_map<int, CEventActionItem*> m_ruleIndex;
    mutable bool m_ruleIndexValid = false;
};
