#include "forms/CClockForm.h"

#include "basalt/KvTrace.h"
#include "panel_link/CUsbHandler.h"

CClockForm::Record CClockForm::record(const DateTime& t) {
    auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
    return {byte(t.second), byte(t.minute), byte(t.hour), byte(t.day), byte(t.month), byte(t.year - 2000)};
}

CClockForm::DateTime CClockForm::localTime(std::time_t now) {
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

bool CClockForm::accept(std::time_t now) {
    printk("\n CClockForm::accept");
    const Record r = record(m_manual ? m_value : localTime(now));
    if (m_handler.uploadSystemDate(r.data())) return true;
    m_prompt.showMessage(kPanelUnreachableText);
    return false;
}
