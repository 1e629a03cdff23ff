// CAddElements: adds elements to one loop, either a range of single-address elements or a
// number of devices of a type that takes several addresses.
//
// Range mode (single-address types): first and last address; the last never stays below
// the first. Device mode: first address and number of devices. OK refuses (message 249,
// nothing created) when any requested address holds an element or the first device does
// not fit below 251; later devices stop at the first that would not fit. Each element gets
// the label "Element <address>", the typed description or its part's default, and the zone
// and zone description when given.
#pragma once

#include <QDialog>

class CFacilityManager;
class CNumberField;
class IUserPrompt;
class QComboBox;
class QLabel;
class QLineEdit;

class CAddElements : public QDialog {
    Q_OBJECT
public:
    static constexpr int kAddressesTakenText = 249;

    // Elements for loop `loop` of panel `panel`; both address fields start at `startAddress`.
    CAddElements(CFacilityManager& facility, IUserPrompt& prompt, int panel, int loop, int startAddress,
                 QWidget* parent = nullptr);

    // The address of the first element created (0 before OK).
    int firstCreated() const { return m_firstCreated; }
    // The address typed in the first field.
    int firstAddress() const;

    void accept() override;

private:
    bool deviceMode() const;
    void onTypeChanged();
    void onFirstChanged(int first);
    void onSecondChanged(int second);
    void onZoneChanged(int zone);
    void showName();
    // The addresses the request covers, within 1..250.
    bool requestedFree(int first, int last) const;
    void createRange(int type, int first, int last);
    void createDevices(int type, int first, int devices);
    void finishElement(int address);

    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    int m_panel;
    int m_loop;
    int m_firstCreated = 0;
    QComboBox* m_type;
    CNumberField* m_first;
    CNumberField* m_second;
    CNumberField* m_zone;
    QLineEdit* m_description;
    QLineEdit* m_zoneDescription;
    QLabel* m_firstLabel;
    QLabel* m_secondLabel;
    QLabel* m_name;
};
