// CUnsavedStatus: the one record of the document state, shared by the frame,
// the views and the dialogs that edit the facility; owned by the frame.
#pragma once

#include "basalt/KvBasicString.h"

class CUnsavedStatus {
public:
    // The facility changed since it was last saved, opened or created.
    bool unsaved = false;
    // The facility has a file (it was opened from or saved to one).
    bool named = false;
    // Full path of that file.
    KvWString filePath;

    void markChanged() { unsaved = true; }
    // After a save to, or an open from, `path`.
    void markSaved(const KvWString& path) {
        unsaved = false;
        named = true;
        filePath = path;
    }
    // A new, empty facility.
    void reset() {
        unsaved = false;
        named = false;
        filePath = KvWString();
    }
};
