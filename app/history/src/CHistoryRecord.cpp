#include "history/CHistoryRecord.h"

#include <algorithm>

#include "basalt/KvUtf.h"

namespace {

using Node = JsonDocument::JsonNode;

constexpr CHistoryRecord::Kind kKinds[] = {CHistoryRecord::Kind::Upload, CHistoryRecord::Kind::Download,
                                           CHistoryRecord::Kind::Verify};

KvWString wide(const std::string& utf8) { return ToWide(utf8.c_str()); }
std::string utf8(const KvWString& text) { return ToUtf8(text.c_str()).c_str(); }

void set(Node* node, const char16_t* name, const std::string& text) { node->SetValue(name, wide(text).c_str()); }

std::string text(const Node* node, const char16_t* path) {
    const Node* n = node ? node->Node(path) : nullptr;
    return n && n->Type() == JsonDocument::JsonString ? utf8(n->ValueString()) : std::string();
}
KvWString wideText(const Node* node, const char16_t* path) {
    const Node* n = node ? node->Node(path) : nullptr;
    return n && n->Type() == JsonDocument::JsonString ? n->ValueString() : KvWString();
}
int number(const Node* node, const char16_t* path) {
    const Node* n = node ? node->Node(path) : nullptr;
    return n && n->Type() == JsonDocument::JsonInteger ? n->ValueInt() : 0;
}
bool flag(const Node* node, const char16_t* path) {
    const Node* n = node ? node->Node(path) : nullptr;
    return n && n->Type() == JsonDocument::JsonBoolean && n->ValueInt() != 0;
}

void writeFindings(Node* root, const std::vector<CCheckFinding>& findings) {
    Node* check = root->NewChild(u"check", JsonDocument::JsonObject);
    Node* list = check->NewChild(u"findings", JsonDocument::JsonArray);
    for (const CCheckFinding& f : findings) {
        Node* item = list->NewChild(JsonDocument::JsonObject);
        set(item, u"severity", f.isError() ? "error" : "warning");
        set(item, u"code", f.code);
        set(item, u"text", f.text);
    }
}

void readFindings(const Node* check, std::vector<CCheckFinding>& findings) {
    const Node* list = check->Node(u"findings");
    if (!list) return;
    for (auto it = list->ChildsBegin(); it != list->ChildsEnd(); ++it) {
        CCheckFinding f;
        f.severity = text(*it, u"severity") == "error" ? CCheckFinding::Severity::Error : CCheckFinding::Severity::Warning;
        f.code = text(*it, u"code");
        f.text = text(*it, u"text");
        findings.push_back(std::move(f));
    }
}

}  // namespace

const char* CHistoryRecord::kindName(Kind kind) {
    switch (kind) {
    case Kind::Upload: return "upload";
    case Kind::Download: return "download";
    case Kind::Verify: return "verify";
    }
    return "";
}

int CHistoryRecord::checkErrors() const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const CCheckFinding& f) { return f.isError(); }));
}

int CHistoryRecord::checkWarnings() const { return static_cast<int>(findings.size()) - checkErrors(); }

void CHistoryRecord::toJson(JsonDocument& document) const {
    Node* root = document.Create(JsonDocument::JsonObject);
    set(root, u"kind", kindName(kind));
    set(root, u"time", time);
    set(root, u"program", program);
    set(root, u"user", user);
    set(root, u"host", host);
    Node* panel = root->NewChild(u"panel", JsonDocument::JsonObject);
    panel->SetValue(u"id", panelId);
    panel->SetValue(u"address", panelAddress);
    panel->SetValue(u"label", label.c_str());
    panel->SetValue(u"installer", installer.c_str());
    panel->SetValue(u"phone", phone.c_str());
    if (checked) writeFindings(root, findings);
    if (verified) {
        Node* verify = root->NewChild(u"verify", JsonDocument::JsonObject);
        verify->SetValue(u"read", verifyRead);
        Node* list = verify->NewChild(u"differences", JsonDocument::JsonArray);
        for (const std::string& d : differences) list->NewChild(JsonDocument::JsonString)->SetValue(wide(d).c_str());
    }
}

bool CHistoryRecord::fromJson(const JsonDocument& document, CHistoryRecord& record) {
    const Node* root = document.Root();
    if (!root || root->Type() != JsonDocument::JsonObject) return false;
    record = CHistoryRecord();
    const std::string kind = text(root, u"kind");
    const auto known = std::find_if(std::begin(kKinds), std::end(kKinds), [&](Kind k) { return kind == kindName(k); });
    record.time = text(root, u"time");
    if (known == std::end(kKinds) || record.time.empty()) return false;
    record.kind = *known;
    record.program = text(root, u"program");
    record.user = text(root, u"user");
    record.host = text(root, u"host");
    record.panelId = number(root, u"panel/id");
    record.panelAddress = number(root, u"panel/address");
    record.label = wideText(root, u"panel/label");
    record.installer = wideText(root, u"panel/installer");
    record.phone = wideText(root, u"panel/phone");
    if (const Node* check = root->Node(u"check")) {
        record.checked = true;
        readFindings(check, record.findings);
    }
    if (const Node* verify = root->Node(u"verify")) {
        record.verified = true;
        record.verifyRead = flag(verify, u"read");
        if (const Node* list = verify->Node(u"differences"))
            for (auto it = list->ChildsBegin(); it != list->ChildsEnd(); ++it)
                if ((*it)->Type() == JsonDocument::JsonString) record.differences.push_back(utf8((*it)->ValueString()));
    }
    return true;
}
