// CVirtualPanelState: what a virtual panel remembers between runs.
//
// Its memory pages (sparse: a page never written reads as its factory
// content), the four event logs and the last clock setting. Persisted as a
// small text file that holds only what differs from a factory-new panel, so
// the file stays readable and diffs stay short.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CVirtualPanelState {
public:
    using Page = std::array<std::uint8_t, 256>;
    static constexpr int kLogKinds = 4;
    static constexpr int kFactoryAddress = 1;

    // A factory-new panel: address 1, empty tables, a few log entries.
    CVirtualPanelState();

    // The page's content (factory content when never written).
    Page page(std::uint16_t number) const;
    void setPage(std::uint16_t number, const Page& data);
    // Factory content of a page: empty element records carry byte 27 = 1.
    static Page factoryPage(std::uint16_t number);

    int address() const { return page(4)[0]; }
    void setAddress(int address);

    std::vector<std::string>& log(int kind) { return m_logs[kind]; }
    const std::vector<std::string>& log(int kind) const { return m_logs[kind]; }
    std::array<std::uint8_t, 8>& clock() { return m_clock; }
    const std::array<std::uint8_t, 8>& clock() const { return m_clock; }

    // Reads the state file; false (with a reason) when it cannot be read or
    // is malformed, in which case the state is left as it was.
    bool load(const std::string& path, std::string& error);
    // Writes the state file atomically (temporary file, then rename).
    bool save(const std::string& path, std::string& error) const;

private:
    bool parse(const std::string& text, std::string& error);
    std::string serialize() const;

    std::map<std::uint16_t, Page> m_pages;  // only pages that differ from the factory content
    std::array<std::vector<std::string>, kLogKinds> m_logs;
    std::array<std::uint8_t, 8> m_clock{};
};
