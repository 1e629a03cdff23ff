// A firmware update folder for tests: the four applets (named so the virtual
// panel recognises them), a main-board image, a loop-card image, language
// data and the manifest, all in a fresh temporary folder.
#pragma once

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "basalt/KvUtf.h"
#include "SrecText.h"
#include "testkit/TempFolder.h"

class UpdateSet {
public:
    static constexpr std::uint32_t kBoardBase = 0x4000;
    static constexpr std::uint32_t kCardBase = 0x2800;

    UpdateSet() {
        std::mt19937 rng(7);
        m_board = random(rng, 5000);
        m_card = random(rng, 3000);
        m_vectors = random(rng, 64);
        m_language = random(rng, 0x10100);
        writeApplet("cf_flash.S19", '3', 0x20000000, "CF_FLASH", 300);
        writeApplet("pipe_loop.S19", '3', 0x20000000, "PIPE_LOOP", 200);
        writeApplet("serial_flash.S19", '3', 0x20000000, "SERIAL_FLASH", 200);
        writeApplet("loop_flash.S19", '1', 0x0070, "LOOP_FLASH", 100);
        write("main.S37", SrecFile('3', kBoardBase, m_board));
        write("loop.S19", SrecFile('1', kCardBase, m_card) + SrecFile('1', 0xFFC0, m_vectors));
        write("lang.bin", std::string(m_language.begin(), m_language.end()));
        manifest("main.S37", "loop.S19", "lang.bin");
    }
    // Rewrites the manifest; an empty name leaves its element out.
    void manifest(const std::string& panel, const std::string& loop, const std::string& language) {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><update>";
        if (!panel.empty()) xml += "<panel>" + panel + "</panel>";
        if (!loop.empty()) xml += "<loop>" + loop + "</loop>";
        if (!language.empty()) xml += "<language>" + language + "</language>";
        write("update.xml", xml + "</update>");
    }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(m_dir / name, std::ios::binary) << content;
    }
    void remove(const std::string& name) const { std::filesystem::remove(m_dir / name); }

    KvWString path(const std::string& name) const { return ToWide((m_dir / name).c_str()); }
    KvWString manifestPath() const { return path("update.xml"); }
    const std::vector<std::uint8_t>& board() const { return m_board; }
    const std::vector<std::uint8_t>& card() const { return m_card; }
    const std::vector<std::uint8_t>& language() const { return m_language; }

private:
    static std::vector<std::uint8_t> random(std::mt19937& rng, std::size_t n) {
        std::vector<std::uint8_t> bytes(n);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng() & 0xFF);
        return bytes;
    }
    void writeApplet(const std::string& file, char type, std::uint32_t address, const char* name, std::size_t size) {
        std::vector<std::uint8_t> code(size, 0x4E);
        std::memcpy(code.data(), name, std::strlen(name) + 1);
        write(file, SrecFile(type, address, code));
    }

    TempFolder m_folder{"cairn-update"};
    std::filesystem::path m_dir = m_folder.path();
    std::vector<std::uint8_t> m_board, m_card, m_vectors, m_language;
};
