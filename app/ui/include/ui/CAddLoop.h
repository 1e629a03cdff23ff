// CAddLoop: adds a loop (address 1 to 8) to a panel, then its first elements.
//
// OK refuses a loop address the panel already has (message 18; the dialog stays). The
// panel's first loop also brings the panel's 250 zones. The new loop then needs its
// elements (CAddElements): cancelling that takes the loop away again and leaves this
// dialog open; otherwise this dialog closes with OK.
#pragma once

#include <QDialog>

class CFacilityManager;
class CNumberField;
class IUserPrompt;

class CAddLoop : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLoopTakenText = 18;
    static constexpr int kNoDescriptionText = 42;
    static constexpr int kMostLoop = 8;
    static constexpr int kZones = 250;

    // A loop for panel `panel`; the elements dialog starts at address `startAddress`.
    CAddLoop(CFacilityManager& facility, IUserPrompt& prompt, int panel, int startAddress = 1,
             QWidget* parent = nullptr);

    // The loop added (0 before OK).
    int loopAddress() const { return m_added; }
    // The first element the elements dialog created.
    int firstElement() const { return m_firstElement; }

    void accept() override;

private:
    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    int m_panel;
    int m_start;
    int m_added = 0;
    int m_firstElement = 0;
    CNumberField* m_address;
};
