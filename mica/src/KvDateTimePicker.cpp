#include "mica/KvDateTimePicker.h"

#include <QDateTime>
#include <QLocale>

namespace {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;

// The locale's time format always with seconds: a panel clock is set to the second.
QString timeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(u's')) format.replace(QStringLiteral("mm"), QStringLiteral("mm:ss"));
    return format;
}

}  // namespace

KvDateTimePicker::KvDateTimePicker(Mode mode, QWidget* parent) : QDateTimeEdit(parent), m_mode(mode) {
    setObjectName(QStringLiteral("KvDateTimePicker"));
    const QLocale locale;
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    switch (mode) {
        case Date:
            setDisplayFormat(date);
            setCalendarPopup(true);
            break;
        case Time:
            setDisplayFormat(timeFormat(locale));
            break;
        case DateAndTime:
            setDisplayFormat(date + u' ' + timeFormat(locale));
            setCalendarPopup(true);
            break;
    }
    SetYearRange(kFirstYear, kLastYear);
    setDateTime(QDateTime::currentDateTime());
}

void KvDateTimePicker::SetYearRange(int firstYear, int lastYear) {
    setDateRange(QDate(firstYear, 1, 1), QDate(lastYear, 12, 31));
}
