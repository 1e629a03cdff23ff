// Conversion of a configuration file into an XML document.
#include "basalt/KvCfgFile.h"
#include "basalt/XmlDocument.h"

namespace {

// A configuration name may start with a digit, an XML tag may not: such a
// name gets a leading "_". Null for a name that still is no tag.
XmlDocument::XmlNode* NewElement(XmlDocument::XmlNode& parent, const KvWString& name) {
    if (XmlDocument::XmlNode* child = parent.NewChild(name)) return child;
    return parent.NewChild(u"_" + name);
}

// Options first, then subgroups, each as a child element of `element`.
void AppendGroup(const KvCfgFile::KvGroup& group, XmlDocument::XmlNode& element) {
    for (auto it = group.OptionsBegin(); it != group.OptionsEnd(); ++it)
        if (XmlDocument::XmlNode* option = NewElement(element, (*it)->Name())) option->SetValue((*it)->Value());
    for (auto it = group.GroupsBegin(); it != group.GroupsEnd(); ++it)
        if (XmlDocument::XmlNode* sub = NewElement(element, (*it)->Name())) AppendGroup(**it, *sub);
}

}  // namespace

bool KvCfgFile2XmlDocument(const KvWString& cfgFileName, const KvWString& xmlFileName, XmlDocument& document) {
    KvCfgFile cfg;
    if (!cfg.Load(cfgFileName)) return false;
    document.Create(u"main");
    AppendGroup(cfg.Root(), *document.Root());
    document.SetFileName(xmlFileName);
    return true;
}
