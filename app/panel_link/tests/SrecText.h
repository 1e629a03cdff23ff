// Motorola S-record text for tests: records with correct checksums.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One S-record line ('1', '2' or '3' addresses) with a correct checksum.
inline std::string Record(char type, std::uint32_t address, const std::vector<int>& bytes) {
    const int addressBytes = type == '3' ? 4 : (type == '2' ? 3 : 2);
    std::vector<int> all;
    for (int i = addressBytes - 1; i >= 0; --i) all.push_back(static_cast<int>((address >> (8 * i)) & 0xFF));
    all.insert(all.end(), bytes.begin(), bytes.end());
    const int count = static_cast<int>(all.size()) + 1;
    unsigned sum = static_cast<unsigned>(count);
    char buf[8];
    std::snprintf(buf, sizeof buf, "S%c%02X", type, count);
    std::string line = buf;
    for (int b : all) {
        sum += static_cast<unsigned>(b);
        std::snprintf(buf, sizeof buf, "%02X", b);
        line += buf;
    }
    std::snprintf(buf, sizeof buf, "%02X", ~sum & 0xFF);
    return line + buf + "\n";
}

// A whole file: header, data in records of 32 bytes, termination.
inline std::string SrecFile(char type, std::uint32_t address, const std::vector<std::uint8_t>& data) {
    std::string text = "S00600004844521B\n";
    for (std::size_t at = 0; at < data.size(); at += 32) {
        std::vector<int> chunk;
        for (std::size_t i = at; i < data.size() && i < at + 32; ++i) chunk.push_back(data[i]);
        text += Record(type, address + static_cast<std::uint32_t>(at), chunk);
    }
    return text + (type == '3' ? "S70500000000FA\n" : "S9030000FC\n");
}
