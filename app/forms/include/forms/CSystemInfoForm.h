// CSystemInfoForm: what the system-information dialog edits and does on OK.
//
// open() offers the panel choice (several panels allowed) and loads the
// label, installer and phone of the first chosen panel; accept() stores them
// back into the model. Nothing goes to the panel here: the three values
// travel with the next upload. The dialog limits typing to kFieldLength
// characters; longer values already in the model are kept as they are.
#pragma once

#include <string>

#include "basalt/KvBasicString.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"

class CUsbHandler;

class CSystemInfoForm {
public:
    static constexpr int kFieldLength = 20;

    CSystemInfoForm(CFacilityManager& facility, IUserPrompt& prompt) : m_facility(facility), m_prompt(prompt) {}

    // False when the choice was cancelled or no panel was chosen.
    bool open();
    // Stores the three fields into the chosen panel; false when there is none.
    bool accept();
    int panel() const { return m_panel; }

    // ---- The panel's own copy (page 5), without the model ----
    // Loads the three fields from the attached panel. False when it cannot be reached or read.
    bool readPanel(CUsbHandler& handler);
    // Writes the three fields to the attached panel and reads them back. False when one does
    // not fit (nothing is sent then), the panel cannot be reached, or it holds something else
    // afterwards.
    bool writePanel(CUsbHandler& handler);
    // Why the panel cannot hold `text` as it is, in words: more bytes than its field, or a
    // character it would store as another; empty when it fits.
    static std::string whyNotHeld(const KvWString& text);

    KvWString label;
    KvWString installer;
    KvWString phone;

private:
    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    int m_panel = 0;
};
