#include "file/CLoadError.h"

#include "basalt/KvStringTableFile.h"

int CLoadError::textId() const {
    switch (kind) {
        case kNotFound: return 340;
        case kNotReadable: return 341;
        case kNotWellFormed: return 342;
        case kNotFacility: return 343;
        case kNone: break;
    }
    return 0;
}

KvWString CLoadError::text() const {
    KvWString words;
    if (kind == kNone) return words;
    KvLoadString(textId(), words);
    if (kind != kNotWellFormed) return words;
    KvWString placed;
    return placed.Format(words.c_str(), line, column);
}
