#include "basalt/KvTimeZoneNames.h"

#include <iterator>

#include "basalt/KvLanguage.h"

namespace {

struct ZoneRow {
    const char16_t* win32;
    const char16_t* olson;
    int bias;  // standard offset, seconds east of UTC
};

// Order matters: lookups return the first match.
constexpr ZoneRow kZones[] = {
    {u"Tonga Standard Time", u"Pacific/Tongatapu", 46800},
    {u"Fiji Standard Time", u"Pacific/Fiji", 43200},
    {u"New Zealand Standard Time", u"Pacific/Auckland", 43200},
    {u"Central Pacific Standard Time", u"Pacific/Guadalcanal", 39600},
    {u"Vladivostok Standard Time", u"Asia/Vladivostok", 36000},
    {u"Tasmania Standard Time", u"Australia/Hobart", 36000},
    {u"West Pacific Standard Time", u"Pacific/Port_Moresby", 36000},
    {u"AUS Eastern Standard Time", u"Australia/Sydney", 36000},
    {u"E. Australia Standard Time", u"Australia/Brisbane", 36000},
    {u"Cen. Australia Standard Time", u"Australia/Adelaide", 34200},
    {u"AUS Central Standard Time", u"Australia/Darwin", 34200},
    {u"Yakutsk Standard Time", u"Asia/Yakutsk", 32400},
    {u"Korea Standard Time", u"Asia/Seoul", 32400},
    {u"Tokyo Standard Time", u"Asia/Tokyo", 32400},
    {u"Taipei Standard Time", u"Asia/Taipei", 28800},
    {u"W. Australia Standard Time", u"Australia/Perth", 28800},
    {u"Singapore Standard Time", u"Asia/Singapore", 28800},
    {u"North Asia East Standard Time", u"Asia/Irkutsk", 28800},
    {u"China Standard Time", u"Asia/Shanghai", 28800},
    {u"North Asia Standard Time", u"Asia/Krasnoyarsk", 25200},
    {u"SE Asia Standard Time", u"Asia/Bangkok", 25200},
    {u"Myanmar Standard Time", u"Asia/Rangoon", 23400},
    {u"Sri Lanka Standard Time", u"Asia/Colombo", 19800},
    {u"Central Asia Standard Time", u"Asia/Almaty", 21600},
    {u"N. Central Asia Standard Time", u"Asia/Novosibirsk", 21600},
    {u"Nepal Standard Time", u"Asia/Katmandu", 20700},
    {u"India Standard Time", u"Asia/Calcutta", 19800},
    {u"West Asia Standard Time", u"Asia/Tashkent", 18000},
    {u"Ekaterinburg Standard Time", u"Asia/Yekaterinburg", 18000},
    {u"Afghanistan Standard Time", u"Asia/Kabul", 16200},
    {u"Caucasus Standard Time", u"Asia/Yerevan", 14400},
    {u"Arabian Standard Time", u"Asia/Dubai", 14400},
    {u"Iran Standard Time", u"Asia/Tehran", 12600},
    {u"E. Africa Standard Time", u"Africa/Nairobi", 10800},
    {u"Russian Standard Time", u"Europe/Moscow", 10800},
    {u"Arab Standard Time", u"Asia/Riyadh", 10800},
    {u"Arabic Standard Time", u"Asia/Baghdad", 10800},
    {u"Israel Standard Time", u"Asia/Jerusalem", 7200},
    {u"FLE Standard Time", u"Europe/Helsinki", 7200},
    {u"South Africa Standard Time", u"Africa/Johannesburg", 7200},
    {u"Egypt Standard Time", u"Africa/Cairo", 7200},
    {u"E. Europe Standard Time", u"Europe/Chisinau", 7200},
    {u"GTB Standard Time", u"Europe/Bucharest", 7200},
    {u"W. Central Africa Standard Time", u"Africa/Lagos", 3600},
    {u"Central European Standard Time", u"Europe/Warsaw", 3600},
    {u"Romance Standard Time", u"Europe/Brussels", 3600},
    {u"Central Europe Standard Time", u"Europe/Budapest", 3600},
    {u"W. Europe Standard Time", u"Europe/Berlin", 3600},
    {u"Greenwich Standard Time", u"Atlantic/Reykjavik", 0},
    {u"GMT Standard Time", u"Europe/Dublin", 0},
    {u"Azores Standard Time", u"Atlantic/Azores", -3600},
    {u"Cape Verde Standard Time", u"Atlantic/Cape_Verde", -3600},
    {u"Mid-Atlantic Standard Time", u"Atlantic/South_Georgia", -7200},
    {u"E. South America Standard Time", u"America/Sao_Paulo", -10800},
    {u"SA Eastern Standard Time", u"America/Cayenne", -10800},
    {u"Greenland Standard Time", u"America/Godthab", -10800},
    {u"Newfoundland Standard Time", u"America/St_Johns", -12600},
    {u"Atlantic Standard Time", u"America/Halifax", -14400},
    {u"SA Western Standard Time", u"America/La_Paz", -14400},
    {u"Pacific SA Standard Time", u"America/Santiago", -14400},
    {u"SA Pacific Standard Time", u"America/Bogota", -18000},
    {u"Eastern Standard Time", u"America/New_York", -18000},
    {u"US Eastern Standard Time", u"America/Indianapolis", -18000},
    {u"Central America Standard Time", u"America/Guatemala", -21600},
    {u"Central Standard Time", u"America/Chicago", -21600},
    {u"Mexico Standard Time", u"America/Mexico_City", -21600},
    {u"Canada Central Standard Time", u"America/Regina", -21600},
    {u"US Mountain Standard Time", u"America/Phoenix", -25200},
    {u"Mexico Standard Time 2", u"America/Chihuahua", -25200},
    {u"Mountain Standard Time", u"America/Denver", -25200},
    {u"Pacific Standard Time", u"America/Los_Angeles", -28800},
    {u"Alaskan Standard Time", u"America/Anchorage", -32400},
    {u"Hawaiian Standard Time", u"Pacific/Honolulu", -36000},
    {u"Samoa Standard Time", u"Pacific/Apia", -39600},
    // The platform zone is UTC-12 while its database zone is UTC+12: no offset is given.
    {u"Dateline Standard Time", u"Pacific/Kwajalein", 0},
};
constexpr int kZoneCount = static_cast<int>(std::size(kZones));

bool Same(const char16_t* a, const char16_t* b) {
    if (!a || !b) return false;
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

const ZoneRow* FindWin32(const char16_t* name) {
    for (const ZoneRow& row : kZones)
        if (Same(row.win32, name)) return &row;
    return nullptr;
}

const ZoneRow* FindOlson(const char16_t* name) {
    for (const ZoneRow& row : kZones)
        if (Same(row.olson, name)) return &row;
    return nullptr;
}

}  // namespace

KvWString Win32TimeZoneToOlsonTimeZone(const char16_t* name) {
    const ZoneRow* row = FindWin32(name);
    return row ? KvWString(row->olson) : KvWString();
}

KvWString OlsonTimeZoneToWin32TimeZone(const char16_t* name) {
    const ZoneRow* row = FindOlson(name);
    return row ? KvWString(row->win32) : KvWString();
}

int getBias(const char16_t* name) {
    const ZoneRow* row = FindWin32(name);
    if (!row) row = FindOlson(name);
    return row ? row->bias : 0;
}

bool IsSummerTimeWithoutZone(const KvDateTime& standard) {
    const int month = standard.Month();
    if (month > 3 && month < 10) return true;
    if (month != 3 && month != 10) return false;
    const int last = KvDateTime::DaysInMonth(month, standard.Year());
    const int change = last - (KvDateTime(standard.Year(), month, last).DayOfWeek() - 1);  // last Sunday
    const bool afterChange = standard.Day() > change || (standard.Day() == change && standard.Hour() >= 2);
    return month == 3 ? afterChange : !afterChange;
}

int TimeZoneNameCount() { return kZoneCount; }
const char16_t* TimeZoneNameWin32(int row) { return row >= 0 && row < kZoneCount ? kZones[row].win32 : nullptr; }
const char16_t* TimeZoneNameOlson(int row) { return row >= 0 && row < kZoneCount ? kZones[row].olson : nullptr; }

KvWString GetTimeZonePath() { return GetSharePath() + u"zoneinfo/"; }
