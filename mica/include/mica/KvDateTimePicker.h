// KvDateTimePicker: a date picker, a time picker, or both in one field.
//
// Formats follow the user's locale (the time with seconds); a date picker
// opens a calendar. It starts at the current date and time. Years are limited
// to a range, 2000 to 2099 unless set.
#pragma once

#include <QDateTimeEdit>

class KvDateTimePicker : public QDateTimeEdit {
    Q_OBJECT

public:
    enum Mode { Date, Time, DateAndTime };

    explicit KvDateTimePicker(Mode mode, QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    // Years the picker offers; a value outside is moved to the nearest end.
    void SetYearRange(int firstYear, int lastYear);

private:
    Mode m_mode;
};
