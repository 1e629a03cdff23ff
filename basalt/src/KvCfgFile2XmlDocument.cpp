// Conversion of a configuration file into an XML document.
#include "basalt/KvCfgFile.h"
#include "basalt/XmlDocument.h"

namespace {

// Options first, then subgroups, each as a child element of `element`.
void AppendGroup(const KvCfgFile::KvGroup& group, XmlDocument::XmlNode& element) {
    for (auto it = group.OptionsBegin(); it != group.OptionsEnd(); ++it)
        element.NewChild((*it)->Name())->SetValue((*it)->Value());
    for (auto it = group.GroupsBegin(); it != group.GroupsEnd(); ++it)
        AppendGroup(**it, *element.NewChild((*it)->Name()));
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
