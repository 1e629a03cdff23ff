// CVirtualFaults: the faults a virtual bus can inject, for tests and drills.
//
// Device-level faults hold for every connection. A transfer fault strikes
// once, at the N-th bulk transfer (either direction, counted from 1) of each
// connection; the transfers after it behave normally again, which is exactly
// when a careless host would be tempted to carry on.
#pragma once

#include <string>

#include "virtual_panel/CVirtualBootFaults.h"

enum class CVirtualTransferFault {
    None,
    Error,        // the transfer fails with an I/O error, nothing moves
    Timeout,      // the transfer times out, nothing moves
    Short,        // one byte fewer than asked moves, without an error
    WrongLength,  // the reply being read from then on announces and carries one byte too many
};

struct CVirtualFaults {
    bool deviceAbsent = false;         // no panel on the bus
    bool refuseConfiguration = false;  // set configuration fails
    bool refuseClaim = false;          // claiming interface 0 fails
    bool twoBuses = false;             // another panel sits on an earlier bus
    CVirtualTransferFault transfer = CVirtualTransferFault::None;
    int atTransfer = 0;                // 1-based index of the transfer to spoil
    int lengthDelta = 1;               // for WrongLength: bytes added (negative: removed)
    int corruptPage = 0;               // the N-th page written (from 1) is acknowledged but stored with one wrong byte
    CVirtualBootFaults boot;           // faults of the update mode

    // Parses a comma-separated list such as "absent", "refuse-config",
    // "refuse-claim", "two-buses", "error@5", "timeout@3", "short@1",
    // "length@2", "length-1@2", "corrupt@4", or an update-mode fault of CVirtualBootFaults
    // ("card-silent:2", "board-erase", ...). False (and `faults` unchanged) on anything else.
    static bool parse(const std::string& text, CVirtualFaults& faults);
};
