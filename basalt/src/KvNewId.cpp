#include "basalt/KvNewId.h"

#include <atomic>
#include <ctime>

// The UTC clock is read through the C library here; the date-and-time classes
// are not needed for six broken-down fields.

namespace {
std::atomic<std::uint32_t> g_last{0};
}

std::uint32_t KvNewIdFromTime(int year, int month, int day, int hour, int minute, int second) {
    const auto u = [](int v) { return static_cast<std::uint32_t>(v); };
    std::uint32_t v = u(month) << 5 | u(day);
    v = v << 5 | u(hour);
    v = v << 6 | u(minute);
    v = v << 6 | u(second);
    return (u(year + 1) << 28) | (v << 2);
}

std::uint32_t GetNewId() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    const std::uint32_t candidate = KvNewIdFromTime(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour,
                                                    utc.tm_min, utc.tm_sec);
    std::uint32_t last = g_last.load();
    std::uint32_t next;
    do {
        next = last >= candidate ? last + 1 : candidate;
    } while (!g_last.compare_exchange_weak(last, next));
    return next;
}
