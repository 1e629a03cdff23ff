// Encoders and decoders of the panel's record layouts. They live together
// because they share the text-field rules; each checks the length it is
// given before touching a byte.
#include <cstring>

#include "panel_link/CElementRecord.h"
#include "panel_link/CEventActionRecord.h"
#include "panel_link/CSystemInfoRecord.h"
#include "panel_link/CZoneRecord.h"

namespace {

void putText(std::uint8_t* field, int size, const std::string& text) {
    std::memset(field, 0, static_cast<std::size_t>(size));
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size));
    std::memcpy(field, text.data(), n);
}

std::string getText(const std::uint8_t* field, int size) {
    const void* nul = std::memchr(field, 0, static_cast<std::size_t>(size));
    const std::size_t n = nul ? static_cast<const std::uint8_t*>(nul) - field : static_cast<std::size_t>(size);
    return std::string(reinterpret_cast<const char*>(field), n);
}

}  // namespace

void CZoneRecord::encode(std::uint8_t* out) const {
    std::memset(out, 0, kSize);
    putText(out + 1, kDescriptionSize, description);
}

bool CZoneRecord::decode(const std::uint8_t* in, int length, CZoneRecord& out) {
    if (!in || length < kSize) return false;
    out.description = getText(in + 1, kDescriptionSize);
    return true;
}

void CElementRecord::encode(std::uint8_t* out) const {
    std::memset(out, 0, kSize);
    out[0] = genericType;
    putText(out + 1, kDescriptionSize, description);
    out[25] = zoneIndex;
    out[27] = 1;
    out[29] = static_cast<std::uint8_t>((type & 0x3F) | (compositeMode & 3) << 6);
}

bool CElementRecord::decode(const std::uint8_t* in, int length, CElementRecord& out) {
    if (!in || length < kSize) return false;
    out.genericType = in[0];
    out.description = getText(in + 1, kDescriptionSize);
    out.zoneIndex = in[25];
    out.type = in[29] & 0x3F;
    out.compositeMode = in[29] >> 6;
    return true;
}

void CEventRecord::encode(std::uint8_t* out) const {
    std::memset(out, 0, kSize);
    out[0] = item.kind;
    out[2] = eventType;
    out[4] = item.first;
    out[5] = item.second;
    out[6] = item.elementType;
}

bool CEventRecord::decode(const std::uint8_t* in, int length, CEventRecord& out) {
    if (!in || length < kSize) return false;
    out.item = {in[0], in[4], in[5], in[6]};
    out.eventType = in[2];
    return true;
}

void CActionRecord::encode(std::uint8_t* out) const {
    std::memset(out, 0, kSize);
    out[0] = item.kind;
    out[1] = panelAddress;
    out[2] = static_cast<std::uint8_t>(delay >> 8);
    out[3] = static_cast<std::uint8_t>(delay & 0xFF);
    out[4] = actionType;
    out[12] = item.first;
    out[13] = item.second;
    out[14] = item.elementType;
}

bool CActionRecord::decode(const std::uint8_t* in, int length, CActionRecord& out) {
    if (!in || length < kSize) return false;
    out.item = {in[0], in[12], in[13], in[14]};
    out.panelAddress = in[1];
    out.delay = static_cast<std::uint16_t>(in[2] << 8 | in[3]);
    out.actionType = in[4];
    return true;
}

void CSystemInfoRecord::encode(std::uint8_t* out) const {
    putText(out, kFieldSize, label);
    putText(out + kFieldSize, kFieldSize, installer);
    putText(out + 2 * kFieldSize, kFieldSize, phone);
}

bool CSystemInfoRecord::decode(const std::uint8_t* in, int length, CSystemInfoRecord& out) {
    if (!in || length < kSize) return false;
    out.label = getText(in, kFieldSize);
    out.installer = getText(in + kFieldSize, kFieldSize);
    out.phone = getText(in + 2 * kFieldSize, kFieldSize);
    return true;
}
