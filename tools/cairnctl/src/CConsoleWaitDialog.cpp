#include "cairnctl/CConsoleWaitDialog.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "basalt/KvUtf.h"

void CConsoleWaitDialog::SetText(const KvWString& text) {
    std::lock_guard<std::mutex> g(m_lock);
    m_text = ToUtf8(text.c_str()).c_str();
}

void CConsoleWaitDialog::SetProgress(int position, int range) {
    std::lock_guard<std::mutex> g(m_lock);
    m_position = position;
    m_range = range;
}

bool CConsoleWaitDialog::IsOK() const {
    std::lock_guard<std::mutex> g(m_lock);
    return m_up;
}

void CConsoleWaitDialog::Done() {
    std::lock_guard<std::mutex> g(m_lock);
    m_done = true;
    m_changed.notify_all();
}

std::string CConsoleWaitDialog::bar(int position, int range, const std::string& text, int width) {
    constexpr int kCells = 30;
    const int percent = range > 0 ? std::min(100, std::max(0, position * 100 / range)) : 0;
    const int filled = percent * kCells / 100;
    std::string line = "[" + std::string(filled, '#') + std::string(kCells - filled, '.') + "] ";
    const std::string number = std::to_string(percent);
    line += std::string(3 - std::min<std::size_t>(3, number.size()), ' ') + number + "% " + text;
    // Cut on a character boundary: continuation bytes of UTF-8 are 10xxxxxx.
    std::size_t end = line.size(), columns = 0;
    for (std::size_t i = 0; i < line.size(); ++i)
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80 && ++columns > static_cast<std::size_t>(width)) {
            end = i;
            break;
        }
    return line.substr(0, end);
}

void CConsoleWaitDialog::draw() {
    m_err << "\r\033[K" << bar(m_position, m_range, m_text, 79) << std::flush;
}

void CConsoleWaitDialog::RunModal() {
    std::unique_lock<std::mutex> g(m_lock);
    m_up = true;
    while (!m_done) {
        if (m_terminal) draw();
        m_changed.wait_for(g, std::chrono::milliseconds(100));
    }
    if (m_terminal) {
        draw();
        m_err << "\n";
    }
    m_up = false;
}
