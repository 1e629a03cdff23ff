// Time-zone names: the platform's zone names ("Romance Standard Time") beside
// the time-zone database names ("Europe/Brussels"), and where zone files live.
#pragma once

#include "basalt/KvBasicString.h"
#include "basalt/KvDateTime.h"

// Database name of a platform zone name; empty when the name is not in the table.
KvWString Win32TimeZoneToOlsonTimeZone(const char16_t* name);
// Platform zone name of a database name (first match); empty when unknown.
KvWString OlsonTimeZoneToWin32TimeZone(const char16_t* name);
// Standard UTC offset in seconds of a zone, looked up by platform name and
// then by database name; 0 for names the table does not know.
int getBias(const char16_t* name);
// The summer-time rule used when a zone has no file: one hour from the last
// Sunday of March to the last Sunday of October, changing at 02:00 of the
// zone's standard time, which `standard` holds.
bool IsSummerTimeWithoutZone(const KvDateTime& standard);
// Number of rows in the name table, and one row (null pointers past the end).
int TimeZoneNameCount();
const char16_t* TimeZoneNameWin32(int row);
const char16_t* TimeZoneNameOlson(int row);

// The program's own zone folder: GetSharePath() followed by "zoneinfo/".
// Zones not found there are read from the system's database.
KvWString GetTimeZonePath();
