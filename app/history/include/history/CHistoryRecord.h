// CHistoryRecord: one upload, download or verify as the site history keeps it.
//
// The record is small JSON beside a snapshot of what was sent or received (a *.kvg file);
// both share the record's name.
#pragma once

#include <string>
#include <vector>

#include "basalt/JsonDocument.h"
#include "basalt/KvBasicString.h"
#include "check/CCheckFinding.h"

struct CHistoryRecord {
    enum class Kind { Upload, Download, Verify };

    Kind kind = Kind::Upload;
    std::string time;  // UTC, "2026-12-07T15:20:01.123Z"
    std::string program;
    std::string user;  // who was logged in, and on which computer
    std::string host;
    int panelId = 0;   // the panel's id in the facility
    int panelAddress = 0;
    // The panel's system information as sent or read.
    KvWString label;
    KvWString installer;
    KvWString phone;
    // The facility check run before an upload, when one ran.
    bool checked = false;
    std::vector<CCheckFinding> findings;
    // The read-back after an upload, or the verify itself, when one ran.
    bool verified = false;
    bool verifyRead = false;  // the whole panel could be read back
    std::vector<std::string> differences;
    // The name both files of the entry share (set when it is written or listed).
    std::string name;

    static const char* kindName(Kind kind);
    int checkErrors() const;
    int checkWarnings() const;

    void toJson(JsonDocument& document) const;
    // False when the document is not a record (no known kind or no time).
    static bool fromJson(const JsonDocument& document, CHistoryRecord& record);
};
