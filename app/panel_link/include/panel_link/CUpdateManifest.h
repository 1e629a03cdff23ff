// CUpdateManifest: the XML file that names what a firmware update installs.
//
// Its root holds three values: "panel" (main-board image, S3 records),
// "loop" (loop-card image, S1 records) and "language" (raw language data),
// each a file name relative to the manifest's folder; an empty or missing
// value skips that stage. The four RAM applets always lie in the same folder.
// The folder is the path up to its last separator, "/" or "\": manifests
// written on either kind of system are found.
#pragma once

#include <vector>

#include "basalt/KvBasicString.h"

class CUpdateManifest {
public:
    // Applet file names, in the order the pre-check looks for them.
    static constexpr const char16_t* kBoardFlashApplet = u"cf_flash.S19";
    static constexpr const char16_t* kCardFlashApplet = u"loop_flash.S19";
    static constexpr const char16_t* kPipeApplet = u"pipe_loop.S19";
    static constexpr const char16_t* kLanguageApplet = u"serial_flash.S19";

    // Reads the manifest; false when it cannot be read or parsed as XML.
    bool load(const KvWString& path);

    // The chosen path up to and including its last "/" or "\" (empty when it has none).
    const KvWString& folder() const { return m_folder; }
    // Full paths; empty when the manifest does not name that file.
    const KvWString& panelPath() const { return m_panel; }
    const KvWString& loopPath() const { return m_loop; }
    const KvWString& languagePath() const { return m_language; }
    // True when none of the three files is named.
    bool empty() const { return m_panel.IsEmpty() && m_loop.IsEmpty() && m_language.IsEmpty(); }
    // An applet file of the manifest's folder.
    KvWString appletPath(const char16_t* name) const;

    // Every file the update needs, in checking order: the four applets
    // (whatever the values say), then each named payload file.
    std::vector<KvWString> requiredFiles() const;
    // The first required file that cannot be opened for reading; empty when all can.
    KvWString firstMissingFile() const;

    // The folder part of `path`, separator included.
    static KvWString folderOf(const KvWString& path);

private:
    KvWString m_folder;
    KvWString m_panel;
    KvWString m_loop;
    KvWString m_language;
};
