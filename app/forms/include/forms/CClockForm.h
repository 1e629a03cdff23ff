// CClockForm: what the clock dialog edits and does on OK.
//
// The dialog either sends the computer's local time or a date and time set
// by hand (its check box switches between the two and enables the pickers).
// OK builds the clock record and sets the panel's clock; when the panel
// cannot be reached it shows message 92. The record's year byte is the year
// less 2000 and wraps outside 2000..2255 (1999 gives 0xFF): the pickers
// should keep to kFirstYear..kLastYear.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>

#include "seams/IUserPrompt.h"

class CUsbHandler;

class CClockForm {
public:
    static constexpr int kPanelUnreachableText = 92;
    static constexpr int kFirstYear = 2000;
    static constexpr int kLastYear = 2255;

    struct DateTime {
        int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    };
    using Record = std::array<std::uint8_t, 6>;  // second, minute, hour, day, month, year - 2000

    CClockForm(CUsbHandler& handler, IUserPrompt& prompt) : m_handler(handler), m_prompt(prompt) {}

    // The check box: each click toggles between the computer's time and the pickers.
    void toggleManual() { m_manual = !m_manual; }
    bool manual() const { return m_manual; }
    // The pickers' value (used when manual()).
    void setDateTime(const DateTime& value) { m_value = value; }
    const DateTime& dateTime() const { return m_value; }

    static Record record(const DateTime& t);
    // The local time of `now` as a date and time.
    static DateTime localTime(std::time_t now);

    // OK: the record from the pickers, or from `now`'s local time; true when the clock request was sent.
    bool accept(std::time_t now = std::time(nullptr));

private:
    CUsbHandler& m_handler;
    IUserPrompt& m_prompt;
    bool m_manual = false;
    DateTime m_value;
};
