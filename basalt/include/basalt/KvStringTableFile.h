// KvStringTableFile: numbered user-interface texts from binary string-table files.
//
// File layout (all integers big-endian, offsets from the start of the file):
//   u16 count, count x { u16 id, u32 offset, u16 length }, u16 check value,
//   then the UTF-8 texts anywhere after. The check value is KvCRC16 over count
//   and the index records. Offset 0xFFFFFFFF or length 0xFFFF: no text here.
// A text of exactly one space in the primary file defers to the secondary
// (fallback-language) file. Only the index is held in memory; texts are read
// from the open files at each lookup. All operations are thread-safe.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

#include "basalt/KvBasicString.h"

class KvStringTableFile {
public:
    // Where one id's text lies in each file; -1 / 0xFFFF mean "none".
    struct tagStringInfo {
        std::int32_t primaryOffset = -1;
        std::uint16_t primaryLength = 0xFFFF;
        std::int32_t secondaryOffset = -1;
        std::uint16_t secondaryLength = 0xFFFF;
    };

    // No file selected: every lookup gives the placeholder "IDS_%05d".
    KvStringTableFile();
    virtual ~KvStringTableFile();
    KvStringTableFile(const KvStringTableFile&) = delete;
    KvStringTableFile& operator=(const KvStringTableFile&) = delete;

    // Selects the files (paths passed to the platform unchanged; `secondary` may be null).
    // False, with no file selected, when the primary cannot be opened or read, or its
    // index check value does not match. A primary with no entries gives true but selects
    // nothing. A secondary that is missing, truncated or fails its check is ignored.
    bool SetFile(const char* primary, const char* secondary = nullptr);

    // Text of `id`; true when found. Otherwise `text` becomes the placeholder and the
    // result is false. Ids outside 0..65535 are never found.
    bool LoadStringW(KvString& text, int id);
    bool LoadStringW(KvWString& text, int id);

    // True while a primary file is selected.
    bool IsOpen() const;
    // Number of ids in the merged index.
    int Count() const;

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;

    void CloseAll();
    bool ReadIndex(std::FILE* f, bool primary);
    static bool ReadText(std::FILE* f, std::int32_t offset, std::uint16_t length, KvString& text);

    std::map<std::uint16_t, std::unique_ptr<tagStringInfo>> m_index;
    File m_primary;
    File m_secondary;
    mutable std::recursive_mutex m_lock;
};

// The process-wide table. KvLoadString returns `text` whether or not the id was found.
KvWString& KvLoadString(int id, KvWString& text);
KvString& KvLoadString(int id, KvString& text);
bool SetKvLoadStringTableFile(const char* primary, const char* secondary = nullptr);

// The placeholder "IDS_%05d" of an id. The buffer forms write at most size-1
// characters and always terminate (size <= 0 writes nothing).
void StringId2String(int id, char16_t* buffer, int size);
void StringId2String(int id, char* buffer, int size);
void StringId2String(int id, KvWString& text);
void StringId2String(int id, KvString& text);
