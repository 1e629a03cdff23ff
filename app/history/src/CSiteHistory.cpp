#include "history/CSiteHistory.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "basalt/KvFileFind.h"
#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "basalt/uuid.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"

namespace {

bool isFolder(const KvWString& path) {
    struct stat st {};
    return ::stat(ToPlatformPath(path.c_str()).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Time first, so that names sort as the entries were made.
std::string newName(const std::string& time, CHistoryRecord::Kind kind) {
    std::string stamp;
    for (char c : time)
        if (c != '-' && c != ':' && c != '.') stamp += c;
    const uuid id = uuid::create();
    char random[16];
    std::snprintf(random, sizeof random, "%08X%04X", id.data1(), id.data2());
    return stamp + "-" + CHistoryRecord::kindName(kind) + "-" + random;
}

std::string reason(const char* what) {
    return std::string(what) + (errno ? std::string(": ") + std::strerror(errno) : std::string());
}

}  // namespace

CSiteHistory::CSiteHistory(const KvWString& facilityFile) : m_folder(folderFor(facilityFile)) {}

KvWString CSiteHistory::folderFor(const KvWString& facilityFile) {
    if (!facilityFile.IsEmpty()) return facilityFile + u".history/";
    const KvWString data = KvUserFolder("XDG_DATA_HOME", ".local/share");
    return data.IsEmpty() ? data : data + u"history/";
}

std::string CSiteHistory::now() {
    const auto t = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count() % 1000;
    std::tm utc {};
    ::gmtime_r(&seconds, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms));
    return text;
}

KvWString CSiteHistory::path(const std::string& name, const char16_t* extension) const {
    return m_folder + FromPlatformPath(name.c_str()) + extension;
}

bool CSiteHistory::exists(const std::string& name) const {
    struct stat st {};
    return ::lstat(ToPlatformPath(path(name, u".json").c_str()).c_str(), &st) == 0 ||
           ::lstat(ToPlatformPath(path(name, u".kvg").c_str()).c_str(), &st) == 0;
}

bool CSiteHistory::add(CHistoryRecord& record, CFacilityManager& snapshot, std::string& problem) {
    printk("\n CSiteHistory::add");
    errno = 0;
    if (m_folder.IsEmpty()) {
        problem = "no folder for the history (HOME is not set)";
        return false;
    }
    CreateDirectoryW(m_folder.c_str());
    if (!isFolder(m_folder)) {
        problem = reason("the folder cannot be made");
        return false;
    }
    if (record.time.empty()) record.time = now();
    do record.name = newName(record.time, record.kind);
    while (exists(record.name));
    errno = 0;
    if (!CXmlHandler(snapshot).save(path(record.name, u".kvg"))) {
        problem = reason("the snapshot cannot be written");
        return false;
    }
    JsonDocument document;
    record.toJson(document);
    KvString json;
    document.CreateJsonCode(json);
    errno = 0;
    if (!KvSaveFileAtomic(path(record.name, u".json").c_str(), json.c_str(), static_cast<std::size_t>(json.Length()))) {
        problem = reason("the record cannot be written");
        wideremove(path(record.name, u".kvg").c_str());
        return false;
    }
    return true;
}

std::vector<CHistoryRecord> CSiteHistory::list() const {
    std::vector<CHistoryRecord> records;
    if (m_folder.IsEmpty()) return records;
    KvFileFind find;
    for (bool more = find.FindFile((m_folder + u"*.json").c_str()); more;) {
        more = find.FindNextFileW();
        if (find.IsDirectory()) continue;
        JsonDocument document;
        CHistoryRecord record;
        if (!document.Load(find.GetFilePath().c_str()) || !CHistoryRecord::fromJson(document, record)) continue;
        record.name = ToPlatformPath(find.GetFileTitle().c_str()).c_str();
        records.push_back(std::move(record));
    }
    std::sort(records.begin(), records.end(),
              [](const CHistoryRecord& a, const CHistoryRecord& b) { return a.name < b.name; });
    return records;
}

bool CSiteHistory::find(const std::string& which, CHistoryRecord& record) const {
    const std::vector<CHistoryRecord> records = list();
    if (records.empty()) return false;
    std::size_t index = records.size();
    if (which == "last") {
        index = records.size() - 1;
    } else if (!which.empty() && which.find_first_not_of("0123456789") == std::string::npos && which.size() < 9) {
        const std::size_t n = std::stoul(which);
        if (n >= 1 && n <= records.size()) index = n - 1;
    } else {
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i].name == which) index = i;
    }
    if (index >= records.size()) return false;
    record = records[index];
    return true;
}

bool CSiteHistory::lastUpload(int panelId, CHistoryRecord& record) const {
    const std::vector<CHistoryRecord> records = list();
    const auto it = std::find_if(records.rbegin(), records.rend(), [&](const CHistoryRecord& r) {
        return r.kind == CHistoryRecord::Kind::Upload && r.panelId == panelId;
    });
    if (it == records.rend()) return false;
    record = *it;
    return true;
}

bool CSiteHistory::loadSnapshot(const CHistoryRecord& record, CFacilityManager& into) const {
    if (record.name.empty()) return false;
    return CXmlHandler(into).load(path(record.name, u".kvg"));
}
