// CLoadError: why a facility file could not be loaded, for the program and cairnctl alike.
#pragma once

#include "basalt/KvBasicString.h"

struct CLoadError {
    enum Kind {
        kNone,           // the last load succeeded
        kNotFound,       // no file at the path
        kNotReadable,    // there is something, but it cannot be read (rights, a folder, an I/O error)
        kNotWellFormed,  // not XML the reader accepts; line and column say where it stopped
        kNotFacility,    // well-formed so far, but the root is not "facility" or has no "panels"
    };

    Kind kind = kNone;
    int line = 0;    // 1-based, kNotWellFormed only
    int column = 0;  // 1-based, in characters

    // String-table number of the words for `kind`; 0 for kNone.
    int textId() const;
    // The words, with line and column filled in ("not a facility file"); empty for kNone.
    KvWString text() const;
};
