#include <gtest/gtest.h>

#include <string>

#include "basalt/KvDateTime.h"
#include "basalt/KvSimpleXml.h"
#include "basalt/uuid.h"

namespace {

std::string Code(const KvSimpleXml& w) {
    KvString text("stale");
    w.CreateXmlCode(text);
    return text.c_str();
}

TEST(KvSimpleXml, BuildsNestedElementsInOrder) {
    KvSimpleXml w;
    w.Open(u"a");
    w.Add(u"b", 1);
    w.Open(u"c");
    w.Add(u"d", u"x<y");
    w.Close(u"c");
    w.Close(u"a");
    EXPECT_EQ("<a><b>1</b><c><d>x&lt;y</d></c></a>", Code(w));

    XmlDocument doc;
    KvString text;
    w.CreateXmlCode(text);
    ASSERT_TRUE(doc.Parse(text.c_str()));
    EXPECT_EQ(u"x<y", std::u16string(doc.Value(u"c/d", u"").c_str()));
}

TEST(KvSimpleXml, StackRulesDecideWhereElementsGo) {
    KvSimpleXml w;
    EXPECT_EQ("", Code(w));
    w.Add(u"n", 0);
    EXPECT_EQ("<n>0</n>", Code(w));  // a leaf on an empty writer is the root

    KvSimpleXml twice;
    twice.Open(u"a");
    twice.Close(u"a");
    twice.Open(u"b");
    twice.Close(u"b");
    twice.Close(u"b");  // extra closes do nothing
    EXPECT_EQ("<b></b>", Code(twice));

    KvSimpleXml open;
    open.Open(u"a");
    open.Open(u"b");
    open.Close(u"whatever");  // closes b, the innermost
    open.Add(u"c", u"");
    EXPECT_EQ("<a><b></b><c></c></a>", Code(open));  // a is still open and still written
}

TEST(KvSimpleXml, ValueForms) {
    const unsigned char bytes[] = {0x0A, 0x1F, 0xFF, 0x00};
    KvSimpleXml w;
    w.Open(u"r");
    w.Add(u"w", KvWString(u"\u00e9"));
    w.Add(u"n8", "plain");
    w.Add(u"u8", KvString("\xC3\xA9"));      // valid UTF-8 is decoded
    w.Add(u"l1", "caf\xE9");                 // anything else keeps every byte
    w.Add(u"neg", -12);
    w.Add(u"hex", bytes, 4);
    w.Add(u"none", bytes, 0);
    w.Add(u"nil", static_cast<const char*>(nullptr));
    w.Add(u"id", uuid(0x0123ABCD, 0x4567, 0x89EF, 0xDE, 0xAD, 0xBE, 0xEF, 0x00, 0x11, 0x22, 0x33));
    EXPECT_EQ("<r><w>\xC3\xA9</w><n8>plain</n8><u8>\xC3\xA9</u8><l1>caf\xC3\xA9</l1><neg>-12</neg>"
              "<hex>0A1FFF00</hex><none></none><nil></nil><id>0123ABCD-4567-89EF-DEAD-BEEF00112233</id></r>",
              Code(w));
}

TEST(KvSimpleXml, DateTimeIsSeventeenDigits) {
    KvSimpleXml w;
    w.Open(u"r");
    w.Add(u"t", KvDateTime(2024, 2, 29, 7, 5, 9, 45, 999));
    w.Add(u"first", KvDateTime(1999, 1, 1));
    w.Add(u"bad", KvDateTime::FromSeconds(KvDateTime::kInvalid));
    EXPECT_EQ("<r><t>20240229070509045</t><first>19990101000000000</first><bad></bad></r>", Code(w));
}

}  // namespace
