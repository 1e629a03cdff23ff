// CSiteHistory: the kept uploads, downloads and verifies of one facility file.
//
// They live in the folder "NAME.kvg.history/" beside the file, so they travel with it; a
// facility that has no file yet keeps them in the user's data folder (cairn/history/ under
// $XDG_DATA_HOME). Each entry is two files sharing one name: NAME.kvg, the snapshot of what was
// sent or received, written first, and NAME.json, the record, written last. Both go through a
// temporary file renamed into place, so a crash leaves a whole entry or a snapshot without a
// record (which is not listed). Names are the time followed by random letters, never taken
// before, so programs writing at once take no lock, lose no entry and rewrite nothing.
#pragma once

#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "history/CHistoryRecord.h"

class CFacilityManager;

class CSiteHistory {
public:
    // The history of the facility file `facilityFile` (empty: a facility without a file).
    explicit CSiteHistory(const KvWString& facilityFile);

    // The folder, with a trailing "/"; empty when there is nowhere to keep it.
    const KvWString& folder() const { return m_folder; }
    static KvWString folderFor(const KvWString& facilityFile);

    // Writes `snapshot` and `record` as a new entry, filling in the record's time (when empty)
    // and name. False, with `problem` in words, when the entry could not be written whole.
    bool add(CHistoryRecord& record, CFacilityManager& snapshot, std::string& problem);

    // Every readable record, oldest first; an unreadable one is left out. Empty when there is
    // no history.
    std::vector<CHistoryRecord> list() const;
    // The entry `which`: its number in list() counted from 1, "last", or its name. False when
    // there is no such entry.
    bool find(const std::string& which, CHistoryRecord& record) const;
    // The latest upload of panel `panelId`; false when there was none.
    bool lastUpload(int panelId, CHistoryRecord& record) const;
    // Adds the entry's snapshot to `into` (normally empty). False when it cannot be read.
    bool loadSnapshot(const CHistoryRecord& record, CFacilityManager& into) const;

    // The current UTC time as records carry it.
    static std::string now();

private:
    KvWString path(const std::string& name, const char16_t* extension) const;
    bool exists(const std::string& name) const;

    KvWString m_folder;
};
