// JsonDocument: a JSON tree parsed from UTF-8 text and written back as compact JSON.
//
// Text inside the tree is UTF-16 (KvWString); JSON text outside is UTF-8.
// Nodes own their children; a missing node is a null pointer, never a throw.
//
//   JsonDocument doc;
//   if (doc.Parse(R"({"panels":[{"id":3}]})")) ...
//   doc.Root()->Node(u"panels")->Size();
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "basalt/KvBasicString.h"

class uuid;

class JsonDocument {
public:
    // Node types; the numbers are those stored and compared by callers.
    enum : int { JsonBoolean = 0, JsonNull = 1, JsonInteger = 2, JsonDouble = 3, JsonString = 4, JsonArray = 5, JsonObject = 6 };

    class JsonNode;
    using ChildList = std::vector<JsonNode*>;

    class JsonNode {
    public:
        // A node of `type` (outside 0-6: JsonObject). `number` is the value of a
        // JsonInteger (clamped to 32 bits) or JsonDouble, `text` that of a JsonString.
        explicit JsonNode(int type = JsonObject, double number = 0, const char16_t* text = nullptr);
        ~JsonNode();
        JsonNode(const JsonNode& other);             // deep copy
        JsonNode& operator=(const JsonNode& other);  // deep copy; the name is copied too

        int Type() const { return m_type; }
        void SetType(int type);
        int ValueInt() const { return m_int; }           // 0/1 for a Boolean
        double ValueDouble() const { return m_double; }  // of a Double only
        const KvWString& ValueString() const { return m_string; }
        const KvWString& String() const { return m_name; }  // member name; empty in arrays and at the root
        void SetString(const char16_t* name);
        void SetString(const char* utf8Name);
        void SetString(KvWString&& name);

        // Each sets the value and the matching type; children are dropped.
        void SetValue(bool value);
        void SetValue(int value);
        void SetValue(double value);
        void SetValue(const char16_t* text);
        void SetValue(KvWString&& text);
        void SetValue(const char* utf8);  // so that a narrow literal never becomes a bool
        void SetValue(const uuid& id);    // its text form, as a String
        void SetNullValue();
        // The same on a new member `name`, appended; returns it.
        JsonNode* SetValue(const char16_t* name, bool value);
        JsonNode* SetValue(const char16_t* name, int value);
        JsonNode* SetValue(const char16_t* name, double value);
        JsonNode* SetValue(const char16_t* name, const char16_t* text);
        JsonNode* SetValue(const char16_t* name, const uuid& id);
        JsonNode* SetNullValue(const char16_t* name);

        // Appends a new child (a member when named) and returns it.
        JsonNode* NewChild(int type);
        JsonNode* NewChild(const char16_t* name, int type);
        JsonNode* NewChild(const char* utf8Name, int type);
        // Takes ownership of `node` (ignored when null or this node itself).
        void AddChild(JsonNode* node);
        // Destroys `node` when it is a direct child; nothing otherwise.
        void RemoveChild(JsonNode* node);
        // Destroys every child.
        void Reset();

        int Size() const { return static_cast<int>(m_children.size()); }
        ChildList::iterator ChildsBegin() { return m_children.begin(); }
        ChildList::iterator ChildsEnd() { return m_children.end(); }
        ChildList::const_iterator ChildsBegin() const { return m_children.begin(); }
        ChildList::const_iterator ChildsEnd() const { return m_children.end(); }
        ChildList::reverse_iterator ReverseChildsBegin() { return m_children.rbegin(); }
        ChildList::reverse_iterator ReverseChildsEnd() { return m_children.rend(); }

        // Path query over member names: "a/b", with conditions such as
        // "panels/panel?id=3?" (the first "panel" member whose member "id" reads
        // "3"). The first match of each segment is taken, without backtracking.
        // An empty path gives this node; no match gives null.
        JsonNode* Node(const char16_t* path);
        const JsonNode* Node(const char16_t* path) const;
        // Formats the path with the wide printf rules (at most 1024 units), then Node.
        JsonNode* NodeV(const char16_t* format, ...);

        // The value as text, as path conditions compare it: strings as they are,
        // integers in decimal, booleans "true"/"false", doubles in their
        // shortest exact form, "null"; false (text empty) for arrays and objects.
        bool ValueText(KvWString& text) const;

        // Appends the compact JSON text of this node (UTF-8). `named` writes
        // the member name first, as inside an object.
        void AppendJson(KvString& out, bool named) const;

    private:
        void CopyFrom(const JsonNode& other);
        JsonNode* Append(JsonNode* node);
        void BecomeLeaf(int type);

        std::int32_t m_type;
        std::int32_t m_int = 0;
        double m_double = 0;
        KvWString m_string;
        KvWString m_name;
        ChildList m_children;
    };

    JsonDocument() = default;
    ~JsonDocument();
    JsonDocument(const JsonDocument& other);             // deep copy
    JsonDocument& operator=(const JsonDocument& other);  // deep copy

    // Reset, then a new root of `type`; returns it.
    JsonNode* Create(int type);
    // Destroys the root.
    void Reset();

    // Parses UTF-8 JSON text (a leading byte-order mark is skipped). True on
    // success; on failure the document is empty. Text after the first complete
    // value is ignored. Raw control characters inside strings are kept, since
    // older files hold them. Nesting deeper than 512 levels fails.
    bool Parse(const char* text);
    bool Parse(const char* data, std::size_t size);
    // Reset, SetFileName, read the whole file, Parse. False when unreadable or invalid.
    bool Load(const char16_t* fileName);

    // Writes the root's JSON text to the file name, through a temporary file in
    // the same folder renamed over the target, creating missing folders. Clears
    // the dirty flag on success. False, the old file untouched, when writing
    // fails or the document is empty.
    bool Save();
    bool SaveAs(const char16_t* fileName);

    // The compact JSON text of the root ("" when empty). A member name on the
    // root is not written; strings are escaped so that the text is valid JSON.
    void CreateJsonCode(KvString& text) const;
    void CreateJsonCode(KvWString& text) const;
    // The same text to a stream; false when writing fails.
    bool SaveJsonCode(std::FILE* file) const;

    JsonNode* Root() { return m_root; }
    const JsonNode* Root() const { return m_root; }
    bool IsOK() const { return m_root != nullptr; }
    const KvWString& FileName() const { return m_fileName; }
    void SetFileName(const char16_t* fileName) { m_fileName = fileName; }
    void SetDirty(bool dirty = true) { m_dirty = dirty; }
    bool Dirty() const { return m_dirty; }

private:
    JsonNode* m_root = nullptr;
    KvWString m_fileName;
    bool m_dirty = false;
};
