// TempFolder: a fresh folder of its own under the system's temporary folder, removed
// with everything in it when the object goes, so a test that writes files leaves
// nothing behind and never meets another test's files.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "cairn") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        // Throws rather than leave an empty path: a test would then write into the working folder.
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder like " + pattern);
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        unlock(m_path);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder's path as text, for APIs that take one.
    std::string str() const { return m_path.string(); }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    // Tests take rights away to make writes fail; give them back so removal succeeds.
    static void unlock(const std::filesystem::path& folder) {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec)) unlock(it->path());
    }

    std::filesystem::path m_path;
};
