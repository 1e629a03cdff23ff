// XmlDocument: Basalt's in-memory XML tree.
//
// Reads a small, strict subset of XML (an optional declaration, elements,
// attributes in single or double quotes, character data with the five named
// entities) and writes compact UTF-8 XML without any white space. Text inside
// the tree is UTF-16; text outside (files, parse input, output) is UTF-8.
//
// Nodes are found with slash-separated paths below a node:
//   "panels/panel"             first "panel" under the first "panels"
//   "panels/panel?id?"         ... the first "panel" that has an "id" child
//   "panels/panel?id=3?"       ... the first "panel" whose "id" child reads "3"
// The first child matching a segment is taken and the search never goes back
// to try a later sibling when the rest of the path fails below it.
//
// Tags and attribute names are XML names (a letter, "_" or ":" first, then
// also digits, "-" and "."; no spaces, markup or control characters): calls
// that would make any other name refuse with null or false, and a tree holding
// one anyway (through the XmlNode constructor) is never written. Text the XML
// format cannot carry (control characters other than tab, line feed and
// carriage return, U+FFFE, U+FFFF, lone surrogates) is left out when writing.
//
// Failures are results: false, null or the caller's default. Nothing throws
// except std::bad_alloc.
#pragma once

#include <cstddef>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "basalt/KvBasicString.h"

class uuid;
class XmlNodePool;

class XmlDocument {
public:
    class XmlNode;
    using ChildList = std::vector<XmlNode*>;
    using AttributeMap = std::map<KvWString, KvWString>;
    using NodeGroups = std::map<KvWString, std::vector<XmlNode*>>;

    // Deepest element nesting Parse accepts; deeper input is rejected rather
    // than risking the stack.
    static constexpr int kMaxDepth = 1000;

    // The 55-byte declaration written before the tree by Save and CreateXmlCode.
    static constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";

    class XmlNode {
    public:
        // New node of `document`; a `length` of -1 means `tag` is NUL-terminated.
        // The tag is not checked: a tree with a node whose tag is no XML name is
        // never written.
        XmlNode(XmlDocument* document, const char16_t* tag, int length = -1);
        XmlNode(const XmlNode&) = delete;
        // Destroys value, attributes and the whole subtree.
        ~XmlNode();
        // Nodes made by the document come from its block pool; any node may be
        // destroyed with plain delete.
        static void* operator new(std::size_t size);
        static void* operator new(std::size_t size, XmlNodePool* pool);
        static void operator delete(void* block);
        static void operator delete(void* block, XmlNodePool* pool);

        XmlDocument* Document() const { return m_document; }
        const KvWString& Tag() const { return *m_tag; }
        // False, the tag unchanged, when `tag` is no XML name.
        bool Rename(const KvWString& tag);

        // The element's text; the shared empty string when it has none.
        const KvWString& Value() const { return m_value; }
        // The text of Node(path), or `def` when the path finds nothing.
        KvWString Value(const KvWString& path, const KvWString& def) const;
        void SetValue(const KvWString& text) { m_value = text; }
        void SetValue(const char16_t* text) { m_value = text; }
        void SetValue(const char* utf8);

        // Sets the text of Node(name); when that finds nothing, of a new last
        // child whose tag is exactly `name`. False, nothing changed, when the
        // path finds nothing and is no XML name either ("a/b", "n?x?").
        // Numbers are written the same in every process locale.
        bool SetValue(const KvWString& name, const KvWString& value);
        bool SetValue(const KvWString& name, const char* utf8);
        bool SetValue(const KvWString& name, int value);            // "%d"
        bool SetValue(const KvWString& name, long value);           // "%ld"
        bool SetValue(const KvWString& name, unsigned long value);  // "%lu"
        bool SetValue(const KvWString& name, double value);         // "%f", with a decimal point
        bool SetValue(const KvWString& name, const uuid& value);    // 8-4-4-4-12 text form
        template <class T>
        bool SetValue(const char* utf8Name, const T& value) {
            return SetValue(WideName(utf8Name), value);
        }

        // Appends a new empty child and returns it; null when `tag` is no XML name.
        XmlNode* NewChild(const KvWString& tag);
        XmlNode* NewChild(const char* utf8Tag);
        // Appends `node` and takes ownership. A node of another document has its
        // tags re-interned here so it never points into a foreign tag table.
        void AddChild(XmlNode* node);
        // Finds `node` among the children or deeper, unlinks and destroys it;
        // nothing when it is not in this subtree.
        void RemoveChild(XmlNode* node);

        // Path query (see the top of this file); an empty path gives this node.
        XmlNode* Node(const KvWString& path);
        const XmlNode* Node(const KvWString& path) const;
        // Formats the path with wide printf rules (%s takes a wide string), then Node.
        XmlNode* NodeV(const char16_t* format, ...);
        const XmlNode* NodeV(const char16_t* format, ...) const;
        bool HasNode(const KvWString& path) const { return Node(path) != nullptr; }

        // Destroys the node the path finds; false when none or the path is empty.
        bool Erase(const KvWString& path);
        bool EraseV(const char16_t* format, ...);
        // Destroys every direct child with `tag`; always true.
        bool EraseTag(const KvWString& tag);
        // Destroys the index-th (from 0) direct child with `tag`; false when
        // there are fewer; true when this node has no children at all.
        bool EraseTag(const KvWString& tag, int index);

        int Size() const { return m_childs ? static_cast<int>(m_childs->size()) : 0; }
        bool HasChilds() const { return Size() > 0; }
        // Iteration over the children in document order. Adding or removing a
        // child invalidates the iterators.
        ChildList::iterator ChildsBegin() { return Childs().begin(); }
        ChildList::iterator ChildsEnd() { return Childs().end(); }
        ChildList::const_iterator ChildsBegin() const { return Childs().begin(); }
        ChildList::const_iterator ChildsEnd() const { return Childs().end(); }
        ChildList::reverse_iterator ReverseChildsBegin() { return Childs().rbegin(); }
        ChildList::reverse_iterator ReverseChildsEnd() { return Childs().rend(); }
        ChildList::const_reverse_iterator ReverseChildsBegin() const { return Childs().rbegin(); }
        ChildList::const_reverse_iterator ReverseChildsEnd() const { return Childs().rend(); }

        // Attributes, in ascending name order (ordinal UTF-16 comparison).
        AttributeMap::const_iterator attributesBegin() const { return Attributes().begin(); }
        AttributeMap::const_iterator attributesEnd() const { return Attributes().end(); }
        int attributesSize() const { return m_attributes ? static_cast<int>(m_attributes->size()) : 0; }
        bool HasAttributes() const { return attributesSize() > 0; }
        // Inserts or replaces; false, nothing changed, when `name` is no XML name.
        bool setAttribute(const KvWString& name, const KvWString& value);
        // The attribute's value, or `def` when there is no such attribute.
        KvWString getAttribute(const KvWString& name, const KvWString& def) const;
        // False when the node has attributes but not this one; true otherwise.
        bool eraseAttribute(const KvWString& name);

        // Adds the direct children to `groups` by tag, each list in document
        // order; `groups` is not cleared first.
        void ChildListGroupedByName(NodeGroups& groups) const;
        // Appends to `found`, in pre-order over this node and its subtree, every
        // node having attribute `name` (a value of exactly "-1" counts as
        // absent); true when something was appended.
        bool searchNodeByAttributeName(std::vector<XmlNode*>& found, const KvWString& name);
        // The same, for nodes whose attribute `name` equals `value` exactly.
        bool searchNodeByAttributeNameAndValue(std::vector<XmlNode*>& found, const KvWString& name,
                                               const KvWString& value);

        // Appends this node's XML (UTF-8, no white space) to `text`; false,
        // nothing appended, when a tag or attribute name is no XML name.
        bool CreateXmlCode(KvString& text) const;
        // Writes the same bytes to `file`; false when a write fails or, before
        // anything is written, when the subtree could not be read back.
        bool SaveXmlCode(FILE* file) const;

        // Replaces `json` with a JSON object holding this subtree as one member
        // named by the tag. Leaves become strings (null when empty); children
        // are grouped by tag in ascending order, a group of two or more being an
        // array; attributes become string members named "-" + name. A leaf with
        // attributes becomes an object whose text, if any, is member "#text".
        void toJson(KvString& json) const;
        // The same rendering added as one new member under `parent`, a
        // JsonDocument::JsonNode (or any node type offering its Type, NewChild,
        // SetValue and SetNullValue calls). Under an array the member has no name.
        template <class JsonNode>
        void toJson(JsonNode* parent) const;

        // Equal when both serialize to the same bytes.
        bool operator==(const XmlNode& other) const;
        bool operator!=(const XmlNode& other) const { return !(*this == other); }
        // Deep copy of `source` (tag, value, attributes, children) into this
        // node's document. Safe when `source` lies inside this node's subtree.
        XmlNode& operator=(const XmlNode& source);

        // Destroys value, attributes and all children.
        void Reset();
        void printk(int) const {}

    private:
        friend class XmlDocument;
        friend class XmlParser;
        static KvWString WideName(const char* utf8);
        ChildList& Childs();
        const ChildList& Childs() const;
        const AttributeMap& Attributes() const;
        ChildList& OwnChilds();
        AttributeMap& OwnAttributes();
        XmlNode(XmlDocument* document, const KvWString* internedTag);
        // Finds the node of the path [p, end) and, when it is not this node, its parent and index.
        XmlNode* Find(const char16_t* p, const char16_t* end, XmlNode** parent, size_t* index) const;
        XmlNode* MatchSegment(const char16_t*& p, const char16_t* end, size_t* index) const;
        void SearchByAttribute(std::vector<XmlNode*>& found, const KvWString& name, const KvWString* value);
        void Adopt(XmlDocument* document);
        // Destroys `node` if it lies in this subtree (this node excluded); true when it did.
        bool Unlink(XmlNode* node);
        static XmlNode* CopyTree(XmlDocument* document, const XmlNode& source);

        XmlDocument* m_document;
        const KvWString* m_tag;
        KvWString m_value;
        std::unique_ptr<ChildList> m_childs;
        std::unique_ptr<AttributeMap> m_attributes;

        static ChildList m_emptyChilds;
        static const AttributeMap m_emptyAttributes;
    };

    XmlDocument();
    // New document with `node`'s file name and a deep copy of `node` as root.
    explicit XmlDocument(const XmlNode& node);
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;
    virtual ~XmlDocument();

    // Reset, then a new root element with `tag`; false, no root, when `tag` is
    // no XML name.
    bool Create(const KvWString& tag);
    // Empties the tag table and destroys the root; every node and tag pointer
    // taken from this document becomes invalid. The file name stays.
    void Reset();

    // Reset, remember `path` as the file name, read and parse the file. False
    // when it cannot be read or does not parse (the document is then empty).
    bool Load(const KvWString& path);
    // Parses UTF-8 text into a new tree. False on any malformed input (the
    // document is then empty). White space and a byte-order mark before the
    // root are skipped; anything after the root's end tag is ignored. A tag
    // that is no XML name is malformed; an attribute name that is none ends the
    // element's attribute list, keeping the attributes before it.
    bool Parse(const char* text);
    // As above for `length` bytes; the text ends early at a NUL byte.
    bool Parse(const char* text, size_t length);

    // Writes the declaration and the tree to the file name. The old file is
    // replaced only once the new content is complete on disk (temporary file in
    // the same folder, flushed, renamed over the target); missing folders are
    // created. False, with any old file untouched, when there is no root or
    // anything fails, also when the tree holds a name that is no XML name.
    // Clears the dirty flag on success.
    bool Save();
    bool SaveAs(const KvWString& path);

    // Replaces `text` with the declaration (if asked) and the root's XML; false,
    // `text` empty, without a root or when the tree could not be read back.
    bool CreateXmlCode(KvString& text, bool declaration = true) const;
    // Writes the same bytes to `file`; false when a write fails, there is no
    // root or the tree could not be read back (then nothing is written).
    bool SaveXmlCode(FILE* file, bool declaration = true) const;

    XmlNode* Root() { return m_root; }
    const XmlNode* Root() const { return m_root; }
    // The root's Node(path); the path starts below the root. Null without a root.
    XmlNode* Node(const KvWString& path) { return m_root ? m_root->Node(path) : nullptr; }
    const XmlNode* Node(const KvWString& path) const { return m_root ? m_root->Node(path) : nullptr; }
    KvWString Value(const KvWString& path, const KvWString& def) const;
    bool Erase(const KvWString& path) { return m_root ? m_root->Erase(path) : false; }

    // The document's single stored copy of a tag text, added on first use.
    const KvWString* Tag(const char16_t* text, int length = -1);

    const KvWString& FileName() const { return m_fileName; }
    void SetFileName(const KvWString& name) { m_fileName = name; }
    void SetDirty(bool dirty) { m_dirty = dirty; }
    bool Dirty() const { return m_dirty; }
    bool IsOK() const { return m_root != nullptr; }

private:
    friend class XmlParser;
    // Ordered by UTF-16 code units; lookups by pointer and length need no copy.
    struct TagView {
        const char16_t* text;
        int length;
    };
    struct TagLess {
        using is_transparent = void;
        static int Cmp(const char16_t* a, int al, const char16_t* b, int bl);
        bool operator()(const KvWString& a, const KvWString& b) const;
        bool operator()(const KvWString& a, const TagView& b) const;
        bool operator()(const TagView& a, const KvWString& b) const;
    };

    XmlNodePool* Pool();

    std::map<KvWString, int, TagLess> m_tags;
    XmlNode* m_root = nullptr;
    XmlNodePool* m_pool = nullptr;
    KvWString m_fileName;
    bool m_dirty = false;
};

template <class JsonNode>
void XmlDocument::XmlNode::toJson(JsonNode* parent) const {
    constexpr int kArray = 5, kObject = 6;
    if (!parent) return;
    const KvWString name = parent->Type() == kArray ? KvWString() : Tag();
    if (!HasChilds() && !HasAttributes()) {
        if (Value().IsEmpty())
            parent->SetNullValue(name.c_str());
        else
            parent->SetValue(name.c_str(), Value().c_str());
        return;
    }
    JsonNode* member = parent->NewChild(name.c_str(), kObject);
    if (HasChilds()) {
        NodeGroups groups;
        ChildListGroupedByName(groups);
        for (const auto& [tag, group] : groups) {
            if (group.size() == 1) {
                group.front()->toJson(member);
                continue;
            }
            JsonNode* array = member->NewChild(tag.c_str(), kArray);
            for (const XmlNode* child : group) child->toJson(array);
        }
    } else if (!Value().IsEmpty()) {
        member->SetValue(u"#text", Value().c_str());
    }
    for (auto it = attributesBegin(); it != attributesEnd(); ++it)
        member->SetValue((u"-" + it->first).c_str(), it->second.c_str());
}

// Appends `text` to `out` as UTF-8 character data, exactly as the tree is
// written: the five reserved characters as named entities, and characters no
// XML document may hold dropped (lone surrogates, control characters other
// than tab, line feed and carriage return, U+FFFE and U+FFFF), so whatever a
// caller writes reads back. For writers that produce XML without a tree.
void XmlAppendText(std::string& out, const KvWString& text);

// Escapes '"', '&', '\'', '<' and '>' as the five named entities.
void Text2Xml(KvWString& out, const char16_t* in);
void Text2Xml(KvString& out, const char* in);
// Decodes the five named entities in one pass; any other '&' stays as it is
// (numeric character references are not decoded).
void Xml2Text(KvWString& out, const char16_t* in);
void Xml2Text(KvString& out, const char* in);
