// CSpinEditorCtrl: the in-place zone editor: a number box with spin buttons, zones 1 to 250.
//
// Enter takes the value and tells the owner (zoneConfirmed); Escape is left to
// whoever hosts the editor.
#pragma once

#include "ui/CNumberField.h"

class CSpinEditorCtrl : public CNumberField {
    Q_OBJECT
public:
    static constexpr int kLeastZone = 1;
    static constexpr int kMostZone = 250;

    explicit CSpinEditorCtrl(QWidget* parent = nullptr);

    // Zones 1 to 250: the only range a zone can have.
    void SetSpinRange();
    void SetValue(int value);
    int GetValue() const { return value(0); }

signals:
    void zoneConfirmed(int zone);  // 2057

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hands the value to the owner.
    void sendTo();
};
