#include <gtest/gtest.h>

#include <string>

#include "xml/core/xml_core_test_support.h"
#include "xml/escaping.h"
#include "xml/xml_reader.h"

namespace {

using xml::EscapeMode;
using xml::XmlReader;
using xml_test::ExpectSameIndexAsReparse;

TEST(Escaping, TextAndAttributeModes) {
    struct Case {
        const wchar_t* input;
        EscapeMode mode;
        bool keepReferences;
        const wchar_t* output;
    } cases[] = {
        {L"a<b>&c", EscapeMode::Text, false, L"a&lt;b&gt;&amp;c"},
        {L"'\"", EscapeMode::Text, false, L"'\""},
        {L"'\"<", EscapeMode::Attribute, false, L"&apos;&quot;&lt;"},
        {L"&amp;", EscapeMode::Text, false, L"&amp;amp;"},
        {L"&amp; &#65; &#x1F; &x1; & &; &#; &#x; &a b; &amp", EscapeMode::Text, true,
         L"&amp; &#65; &#x1F; &x1; &amp; &amp;; &amp;#; &amp;#x; &amp;a b; &amp;amp"},
        {L"&quot;\"", EscapeMode::Attribute, true, L"&quot;&quot;"},
        {L"", EscapeMode::Attribute, false, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(xml::Escape(c.input, c.mode, c.keepReferences), c.output)
            << std::string(c.input, c.input + std::wcslen(c.input));
}

TEST(AddElement, BuildsALogDocument) {
    XmlReader reader;
    reader.SetDocument();
    ASSERT_TRUE(reader.AddElement(L"log", L"", 0));
    EXPECT_EQ(reader.Document(), L"<log/>\r\n");
    // A child opens the empty parent up, with a line break inside.
    ASSERT_TRUE(reader.AddElement(L"entry", L"a<b & c", xml::AddAsChild));
    EXPECT_EQ(reader.Document(), L"<log>\r\n<entry>a&lt;b &amp; c</entry>\r\n</log>\r\n");
    ASSERT_TRUE(reader.AddElement(L"empty", L"", xml::AddAsChild | xml::AddSpaceBeforeSlash));
    ASSERT_TRUE(reader.AddElement(L"raw", L"x]]>y", xml::AddAsChild | xml::AddCData));
    EXPECT_EQ(reader.Document(),
              L"<log>\r\n<entry>a&lt;b &amp; c</entry>\r\n<empty />\r\n"
              L"<raw><![CDATA[x]]]]><![CDATA[>y]]></raw>\r\n</log>\r\n");
    ExpectSameIndexAsReparse(reader);

    // The edited reader reads back what was written.
    EXPECT_EQ(reader.GetElementText(reader.ChildIndex()), L"x]]>y");
    ASSERT_TRUE(reader.EnterElement());
    EXPECT_EQ(reader.GetElementName(reader.CurrentIndex()), L"raw");
    ASSERT_TRUE(reader.LeaveElement());
    XmlReader fresh;
    ASSERT_TRUE(fresh.SetDocument(reader.Document()));
    ASSERT_TRUE(fresh.FindChildElement(L"entry"));
    EXPECT_EQ(fresh.GetChildText(), L"a<b & c");
}

TEST(AddElement, InsertsAfterTheCurrentElement) {
    XmlReader reader;
    ASSERT_TRUE(reader.SetDocument(L"<?xml version='1.0'?><r><a/><c/></r>"));
    ASSERT_TRUE(reader.FindElement(L"r"));
    ASSERT_TRUE(reader.EnterElement());
    // Before the first child while nothing is current.
    ASSERT_TRUE(reader.AddElement(L"first", L"1", xml::AddNoLineBreak));
    ASSERT_TRUE(reader.FindElement(L"a"));
    ASSERT_TRUE(reader.AddElement(L"b", L"", xml::AddNoLineBreak | xml::AddNoEndTag));
    EXPECT_EQ(reader.GetElementName(reader.CurrentIndex()), L"b");
    EXPECT_EQ(reader.Document(), L"<?xml version='1.0'?><r><first>1</first><a/><b><c/></r>");
    // The index follows the edits; a new parse would also see b unended,
    // so compare only what both agree on: the order of r's children.
    std::wstring names;
    for (int32_t i = reader.Record(1).firstChild; i; i = reader.Record(i).nextSibling)
        names += reader.GetElementName(i) + L",";
    EXPECT_EQ(names, L"first,a,b,c,");
    EXPECT_TRUE(reader.FindElement(L"c"));

    XmlReader other;
    ASSERT_TRUE(other.SetDocument(L"<r><a>t</a></r>"));
    ASSERT_TRUE(other.FindElement(L"r"));
    ASSERT_TRUE(other.FindChildElement(L"a"));
    ASSERT_TRUE(other.AddElement(L"b", L"u", xml::AddAsChild));
    ASSERT_TRUE(other.AddElement(L"top", L"", 0));  // a second top-level element
    EXPECT_EQ(other.Document(), L"<r><a>t</a><b>u</b>\r\n</r><top/>\r\n");
    ExpectSameIndexAsReparse(other);
}

TEST(AddElement, RefusedCases) {
    XmlReader reader;
    ASSERT_TRUE(reader.SetDocument(L"<r/>"));
    for (const wchar_t* name : {L"", L"a b", L"a<", L"a/", L"a>", L"a=b", L"a\"", L"a&b"})
        EXPECT_FALSE(reader.AddElement(name, L"v", 0)) << std::string(name, name + std::wcslen(name));
    EXPECT_FALSE(reader.AddElement(L"c", L"v", xml::AddAsChild));  // nothing current
    reader.SetDocumentFlags(xml::ReadFileMode);
    ASSERT_TRUE(reader.FindElement(L"r"));
    EXPECT_FALSE(reader.AddElement(L"c", L"v", xml::AddAsChild));
    EXPECT_EQ(reader.Document(), L"<r/>");
}

TEST(SetAttribute, ReplacesOrInsertsAndShiftsWhatFollows) {
    struct Case {
        const wchar_t* document;
        const wchar_t* name;
        const wchar_t* value;
        const wchar_t* result;
    } cases[] = {
        {L"<r><a x=\"1\"/><b/></r>", L"x", L"long value", L"<r><a x=\"long value\"/><b/></r>"},
        {L"<r><a x='123456'>t</a><b/></r>", L"x", L"", L"<r><a x=''>t</a><b/></r>"},
        {L"<r><a/><b/></r>", L"y", L"<\"'&>", L"<r><a y=\"&lt;&quot;&apos;&amp;&gt;\"/><b/></r>"},
        {L"<r><a /><b/></r>", L"y", L"1", L"<r><a y=\"1\" /><b/></r>"},
        {L"<r><a>t</a><b/></r>", L"y", L"1", L"<r><a y=\"1\">t</a><b/></r>"},
        {L"<r><a x=1/>t</a><b/></r>", L"x", L"2", L"<r><a x=\"2\">t</a><b/></r>"},
        {L"<r><a x>t</a><b/></r>", L"x", L"2", L"<r><a x=\"2\">t</a><b/></r>"},
        {L"<r><a xx='1' x='2'/><b/></r>", L"x", L"3", L"<r><a xx='1' x='3'/><b/></r>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.document, c.document + std::wcslen(c.document)));
        XmlReader reader;
        ASSERT_TRUE(reader.SetDocument(c.document));
        ASSERT_TRUE(reader.SetAttribute(2, c.name, c.value));
        EXPECT_EQ(reader.Document(), c.result);
        ExpectSameIndexAsReparse(reader);
    }
}

TEST(SetAttribute, RefusedCases) {
    XmlReader reader;
    ASSERT_TRUE(reader.SetDocument(L"<r/>"));
    EXPECT_FALSE(reader.SetAttribute(0, L"x", L"1"));
    EXPECT_FALSE(reader.SetAttribute(2, L"x", L"1"));
    EXPECT_FALSE(reader.SetAttribute(-1, L"x", L"1"));
    EXPECT_FALSE(reader.SetAttribute(1, L"", L"1"));
    EXPECT_FALSE(reader.SetAttribute(1, L"a b", L"1"));
    EXPECT_EQ(reader.Document(), L"<r/>");
}

}  // namespace
