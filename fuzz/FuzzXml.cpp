// Feeds arbitrary bytes to XmlDocument::Parse. Whatever parses must serialize
// (every name it kept is writable), parse again and serialize to the same
// bytes, and queries on it must not crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "basalt/XmlDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    XmlDocument doc;
    if (!doc.Parse(reinterpret_cast<const char*>(data), size)) return 0;
    KvString first;
    if (!doc.CreateXmlCode(first, true)) std::abort();

    XmlDocument again;
    if (!again.Parse(first.c_str())) std::abort();
    KvString second;
    if (!again.CreateXmlCode(second, true)) std::abort();
    if (!(first == second)) std::abort();

    // Paths built from the input's own tags exercise the query code.
    const XmlDocument::XmlNode* root = doc.Root();
    if (root->HasChilds()) {
        const KvWString& tag = (*root->ChildsBegin())->Tag();
        doc.Node(tag + u"?" + tag + u"=x?/" + tag);
        doc.Value(u"/" + tag + u"//" + tag, u"");
    }
    KvString json;
    root->toJson(json);
    XmlDocument copy(*root);
    if (!(*copy.Root() == *root)) std::abort();
    return 0;
}
