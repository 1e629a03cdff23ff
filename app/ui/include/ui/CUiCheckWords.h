// CUiCheckWords: the facility check's sentences from the string table, so that the program
// shows each finding in the user's language; a finding whose wording the table lacks keeps the
// check's own English.
#pragma once

#include <map>
#include <string>

#include "check/CCheckWords.h"

class CUiCheckWords {
public:
    // String-table number of every sentence and word of CCheckWords, by its key.
    static const std::map<std::string, int>& sentenceIds();
    static const std::map<std::string, int>& wordIds();
    // The words of the loaded string table.
    static CCheckWords load();
};
