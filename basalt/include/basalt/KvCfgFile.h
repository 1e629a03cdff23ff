// KvCfgFile: the library's text configuration files, a tree of named groups
// holding options with quoted values.
//
//   ASCII<CR><LF>
//   panel { name = "Main" port = "COM1" loop { id = "1" } }
//
// Names are letters, digits and "_" (bytes from 0x80 up count as letters, so
// UTF-8 names stay whole); anything else between tokens is skipped, and
// characters between name characters are skipped too ("ab cd" is "abcd").
// In a quoted value "\" or "/" escapes the next character: '"', "/" and "\"
// stand for themselves, "n" and "r" give line feed and carriage return, any
// other escaped character is dropped with its escape; raw control characters
// are dropped. Values are UTF-8 in the file, UTF-16 in the tree.
#pragma once

#include <vector>

#include "basalt/KvBasicString.h"

class KvCfgFile {
public:
    class CCfgWriter;

    class KvGroup {
    public:
        class KvOption {
        public:
            KvOption(const KvWString& name, const KvWString& value) : m_name(name), m_value(value) {}
            const KvWString& Name() const { return m_name; }
            const KvWString& Value() const { return m_value; }
            void SetValue(const KvWString& value) { m_value = value; }

        private:
            KvWString m_name;
            KvWString m_value;
        };
        using OptionList = std::vector<KvOption*>;
        using GroupList = std::vector<KvGroup*>;

        explicit KvGroup(const KvWString& name = KvWString()) : m_name(name) {}
        KvGroup(const KvGroup&) = delete;
        KvGroup& operator=(const KvGroup&) = delete;
        virtual ~KvGroup();
        // Destroys all options and subgroups.
        virtual void Reset();

        const KvWString& Name() const { return m_name; }

        // Lookup below this group: "panel/loop:id='2'/zone". Each segment takes
        // the first subgroup of that name (and, with a condition, whose option
        // has exactly that value); the rest continues below it only. A
        // malformed condition or no match gives null; an empty path this group.
        KvGroup* Group(const KvWString& path);
        const KvGroup* Group(const KvWString& path) const;
        // The path formatted with the wide printf rules (at most 256 units), then Group.
        KvGroup* GroupV(const char16_t* format, ...);

        KvGroup* AddGroup(const KvWString& name);
        // Unlinks and destroys `group` when it is a direct subgroup.
        void RemoveGroup(KvGroup* group);

        // The value of the first option `name`, or `def`.
        KvWString OptionValue(const KvWString& name, const KvWString& def) const;
        // Removes the first option `name`; false when there is none.
        bool RemoveOption(const KvWString& name);
        // Sets the first option `name`, appending it when missing.
        void SetOptionValue(const KvWString& name, const KvWString& value);
        KvOption* AddOption(const KvWString& name, const KvWString& value);

        int Size() const { return static_cast<int>(m_groups.size()); }  // number of subgroups
        GroupList::iterator GroupsBegin() { return m_groups.begin(); }
        GroupList::iterator GroupsEnd() { return m_groups.end(); }
        GroupList::const_iterator GroupsBegin() const { return m_groups.begin(); }
        GroupList::const_iterator GroupsEnd() const { return m_groups.end(); }
        OptionList::const_iterator OptionsBegin() const { return m_options.begin(); }
        OptionList::const_iterator OptionsEnd() const { return m_options.end(); }

        // Writes this group with its name, options and subgroups.
        void Save(CCfgWriter& writer) const;
        // Writes the options and subgroups only (the unnamed root).
        void SaveContent(CCfgWriter& writer) const;

    private:
        KvWString m_name;
        OptionList m_options;
        GroupList m_groups;
    };

    // Splits the bytes after the "ASCII" line into tokens.
    class CCfgTokenizer {
    public:
        enum Kind { GroupStart, GroupEnd, Option, Error, End };
        struct Token {
            Kind kind = End;
            KvWString name;
            KvWString value;
        };
        CCfgTokenizer(const char* data, std::size_t size) : m_p(data), m_end(data + size) {}
        // The next token. Error: a "{" without a name, or a value cut short by
        // the end of the text.
        Token Next();

    private:
        bool ReadValue(KvString& value);

        const char* m_p;
        const char* m_end;
    };

    // Builds the text of a file: the "ASCII" line, then groups and options.
    class CCfgWriter {
    public:
        CCfgWriter();
        void BeginGroup(const KvWString& name);
        void EndGroup();
        void Option(const KvWString& name, const KvWString& value);
        const KvString& Text() const { return m_text; }

    private:
        void Indent();
        KvString m_text;
        int m_depth = 0;
    };

    KvCfgFile() = default;
    KvCfgFile(const KvCfgFile&) = delete;
    KvCfgFile& operator=(const KvCfgFile&) = delete;
    virtual ~KvCfgFile() = default;

    // Reset(fileName), then reads the file. False when it cannot be read, does
    // not begin with "ASCII" CR LF, or holds an error at the top level (groups
    // read before it stay). A broken or unclosed group is dropped alone.
    // Groups nested deeper than 256 levels are dropped.
    bool Load(const KvWString& fileName);
    // The same over bytes in memory (file name unchanged).
    bool LoadFromMemory(const char* data, std::size_t size);
    // Clears dirty, stores the file name, empties the tree.
    void Reset(const KvWString& fileName = KvWString());

    const KvWString& FileName() const { return m_fileName; }
    void SetFileName(const KvWString& name) { m_fileName = name; }
    KvGroup& Root() { return m_root; }
    const KvGroup& Root() const { return m_root; }
    KvGroup* Group(const KvWString& path) { return m_root.Group(path); }
    const KvGroup* Group(const KvWString& path) const { return m_root.Group(path); }
    KvGroup* GroupV(const char16_t* format, ...);
    KvGroup* AddGroup(const KvWString& name) { return m_root.AddGroup(name); }
    void SetDirty(bool dirty) { m_dirty = dirty; }
    bool Dirty() const { return m_dirty; }

    // Writes the tree to the file name (temporary file renamed over it, so a
    // failure leaves the old file). Names keep only their name characters, and
    // control characters other than line breaks in values cannot be written.
    // Clears dirty on success; false when writing fails or there is no file name.
    bool Save();
    bool SaveAs(const KvWString& fileName);
    // The text Save writes.
    void SaveMainGroup(CCfgWriter& writer) const { m_root.SaveContent(writer); }

private:
    KvWString m_fileName;
    KvGroup m_root;
    bool m_dirty = false;
};

class XmlDocument;

// Loads the configuration file `cfgFileName` into `document`: root element
// "main"; each group becomes an element of its name holding one element per
// option (named by the option, its value as text) followed by its subgroups.
// The document's file name becomes `xmlFileName`. False when loading fails.
bool KvCfgFile2XmlDocument(const KvWString& cfgFileName, const KvWString& xmlFileName, XmlDocument& document);
