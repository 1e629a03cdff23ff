// CFirmwareImage: one memory window of a Motorola S-record file, as the
// firmware updater sends it to the panel.
//
// The window is filled with 0xFF, then every data byte of the file's S1 or S3
// records that falls inside the window is stored; bytes outside are dropped.
// A record with a wrong checksum, or a record line too short for the fields
// its count announces, fails the load: a damaged image is never flashed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "basalt/KvBasicString.h"

class CFirmwareImage {
public:
    enum class Kind { S1, S3 };  // 16-bit or 32-bit addresses
    enum class PostProcess {
        None,
        MainBoardChecksum,  // 32-bit word sum stored at window offset 0x200
        LoopCardChecksum,   // vector copy, then 16-bit byte sum at offsets 0xCFFE..0xCFFF
    };
    enum State { NotParsed = 0, ChecksumError = 1, Parsed = 2 };

    CFirmwareImage(std::uint32_t rangeStart, std::uint32_t rangeEnd, Kind kind, PostProcess post);

    // The four image kinds of an update.
    static CFirmwareImage mainBoardApplet();    // S3, 0x20000000..0x20001FFF
    static CFirmwareImage mainBoardFirmware();  // S3, 0x00004000..0x0003FFFF, 32-bit checksum
    static CFirmwareImage loopCardApplet();     // S1, 0x0070..0x076F
    static CFirmwareImage loopCardFirmware();   // S1, 0x2800..0xFFFF, vectors and 16-bit checksum

    // Reads and parses the file; true when the state is Parsed. A missing file leaves NotParsed.
    bool load(const KvWString& path);
    // Parses S-record text held in memory; true when the state is Parsed.
    bool parse(const char* text, std::size_t size);

    std::uint32_t rangeStart() const { return m_rangeStart; }
    std::uint32_t rangeEnd() const { return m_rangeEnd; }
    const std::vector<std::uint8_t>& data() const { return m_data; }
    std::uint32_t lowest() const { return m_lowest; }
    std::uint32_t highest() const { return m_highest; }
    std::uint32_t stored() const { return m_stored; }
    std::uint32_t checksum() const { return m_checksum; }
    State state() const { return m_state; }
    Kind kind() const { return m_kind; }

    // Number of `size`-byte pieces that cover lowest..highest; 0 when nothing was stored.
    int pieceCount(int size) const;
    // The `size` bytes at data offset size * index (0xFF beyond the window).
    std::vector<std::uint8_t> piece(int index, int size) const;

private:
    bool parseLine(const char* line, std::size_t length);
    void storeByte(std::uint32_t address, std::uint8_t value);
    void postProcess();
    void mainBoardChecksum();
    void loopCardChecksum();

    std::uint32_t m_rangeStart;
    std::uint32_t m_rangeEnd;
    std::vector<std::uint8_t> m_data;
    std::uint32_t m_lowest;
    std::uint32_t m_highest;
    std::uint32_t m_stored = 0;
    std::uint32_t m_checksum = 0;
    Kind m_kind;
    PostProcess m_post;
    State m_state = NotParsed;
};
