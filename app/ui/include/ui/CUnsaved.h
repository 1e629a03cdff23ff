// CUnsaved: asks whether to save unsaved changes before the facility is replaced or the program ends.
//
// Result 1 (button "1"): save first. Result 2 (button "2"): go on without saving.
// Closing the window or Escape gives 0: the caller must not go on, since
// nothing was decided.
#pragma once

#include <QDialog>

class CUnsaved : public QDialog {
    Q_OBJECT
public:
    enum Result { kCancelled = 0, kSave = 1, kDontSave = 2 };
    explicit CUnsaved(QWidget* parent = nullptr);
};
