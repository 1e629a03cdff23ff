// uuid: a 128-bit unique identifier, with its text form
// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (upper-case hexadecimal, 36 characters).
#pragma once

#include <cstdint>

class uuid {
public:
    static const uuid null;  // all zeros

    uuid() = default;
    uuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
         std::uint8_t b3, std::uint8_t b4, std::uint8_t b5, std::uint8_t b6, std::uint8_t b7);
    uuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, const std::uint8_t bytes[8]);

    void set(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, const std::uint8_t bytes[8]);
    void set(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
             std::uint8_t b3, std::uint8_t b4, std::uint8_t b5, std::uint8_t b6, std::uint8_t b7) {
        *this = uuid(d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7);
    }
    void clear() { *this = uuid(); }
    bool is_null() const { return *this == null; }

    std::uint32_t data1() const { return m_data1; }
    std::uint16_t data2() const { return m_data2; }
    std::uint16_t data3() const { return m_data3; }
    const std::uint8_t* data4() const { return m_data4; }

    friend bool operator==(const uuid& a, const uuid& b);
    friend bool operator!=(const uuid& a, const uuid& b) { return !(a == b); }
    // By data1, data2, data3, then the bytes of data4 in order.
    friend bool operator<(const uuid& a, const uuid& b);

    // A new random (version 4) identifier from the system's random source; the
    // null identifier when that source cannot be read.
    static uuid create();

private:
    std::uint32_t m_data1 = 0;
    std::uint16_t m_data2 = 0;
    std::uint16_t m_data3 = 0;
    std::uint8_t m_data4[8] = {};
};

// `id` becomes uuid::create(); true when the result is not null.
bool NewGUID(uuid& id);

// Writes the text form into `text` (room for `size` characters with the terminator;
// 37 needed). False, writing an empty text, when it does not fit.
bool guidtow(const uuid& id, char16_t* text, int size);
bool guidtoc(const uuid& id, char* text, int size);

// Parses the 8-4-4-4-12 hexadecimal form (either case), which must be followed by
// the end of the text or a space; anything else gives uuid::null.
uuid wtouuid(const char16_t* text);
uuid ctouuid(const char* text);
