#include "basalt/KvStringTableWriter.h"

#include <cerrno>
#include <cstring>

#include "basalt/KvCRC16.h"
#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}

}  // namespace

void KvStringTableWriter::Add(std::uint16_t id, std::string utf8) { m_texts[id] = Entry{true, std::move(utf8)}; }

void KvStringTableWriter::AddMissing(std::uint16_t id) { m_texts[id] = Entry{}; }

bool KvStringTableWriter::Build(std::vector<std::uint8_t>& out, std::string& error) const {
    out.clear();
    if (m_texts.size() > 0xFFFF) {
        error = "too many texts: " + std::to_string(m_texts.size()) + " (at most 65535)";
        return false;
    }
    std::uint64_t offset = 2 + 8 * m_texts.size() + 2;
    Put16(out, static_cast<unsigned>(m_texts.size()));
    for (const auto& [id, e] : m_texts) {
        if (e.present && e.text.size() >= 0xFFFF) {
            error = "text " + std::to_string(id) + " is " + std::to_string(e.text.size()) +
                    " bytes long (at most 65534)";
            return false;
        }
        if (e.present && offset + e.text.size() > 0x7FFFFFFF) {
            error = "texts exceed 2 GiB";
            return false;
        }
        Put16(out, id);
        Put32(out, e.present ? static_cast<std::uint32_t>(offset) : 0xFFFFFFFFu);
        Put16(out, e.present ? static_cast<unsigned>(e.text.size()) : 0xFFFFu);
        if (e.present) offset += e.text.size();
    }
    KvCRC16 crc;
    crc.Add(out.data(), out.size());
    Put16(out, crc.Value());
    for (const auto& entry : m_texts)
        if (entry.second.present) out.insert(out.end(), entry.second.text.begin(), entry.second.text.end());
    return true;
}

bool KvStringTableWriter::Save(const char* path, std::string& error) const {
    std::vector<std::uint8_t> bytes;
    if (!Build(bytes, error)) return false;
    const std::string target(path ? path : "");
    // An output folder that is missing is a mistake in the command, not a folder to make.
    if (!KvSaveFileAtomic(ToWide(target.c_str()).c_str(), bytes.data(), bytes.size(), KvFolder::MustExist)) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
