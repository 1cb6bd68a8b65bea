#include <gtest/gtest.h>

#include <string>

#include "xml/core/xml_core_test_support.h"
#include "xml/xml_reader.h"

namespace {

using xml::XmlReader;
using xml_test::Units;

struct TextCase {
    const wchar_t* document;
    std::wstring text;  // of the first element
};

TEST(ElementText, OfTheFirstElement) {
    const TextCase cases[] = {
        {L"<a>plain</a>", L"plain"},
        {L"<a> \r\n spaced \t</a>", L" \r\n spaced \t"},
        {L"<a>x &amp; y</a>", L"x & y"},
        {L"<a>&#x41;&#66;&lt;</a>", L"AB<"},
        {L"<a>&#x1F600;</a>", Units({0xD83D, 0xDE00})},
        {L"<a>&unknown;</a>", L"&unknown;"},
        {L"<a>&#0;</a>", L"&#0;"},
        {L"<a>&abcdefghij;</a>", L"&abcdefghij;"},
        {L"<a>&oslash;&Oslash;&AMP;</a>", Units({0xF8, 0xD8, '&'})},
        {L"<a><![CDATA[<x>&amp;]]></a>", L"<x>&amp;"},
        {L"<a>1<![CDATA[2]]>&lt;3<![CDATA[]]></a>", L"12<3"},
        // The whitespace-only run before the comment is dropped; the run
        // after it is kept whole.
        {L"<a>\n  <!-- c -->\n  v\n</a>", L"\n  v\n"},
        {L"<a>x<?pi ?>y</a>", L"xy"},
        {L"<a b='x>y'>t</a>", L"t"},
        {L"<a b=1/>t</a>", L"t"},  // the "/" belongs to the value: not empty
        {L"<a>t</a  >", L"t"},
        {L"<a>x>y</a>", L"x>y"},
        {L"<a>x</b>y</a>", L"xy"},  // a lone end tag inside is left out
        {L"<a></a>", L""},
        {L"<a/>", L""},
        {L"<a />", L""},
        {L"<a b='1'/>", L""},
        {L"<a> <b/> </a>", L""},      // a child element: no text
        {L"<a>t<b>u</b>v</a>", L""},
        {L"<a>unended", L""},
    };
    for (const TextCase& c : cases) {
        const std::wstring document = c.document;
        SCOPED_TRACE(std::string(document.begin(), document.end()));
        XmlReader reader;
        reader.SetDocument(document);
        ASSERT_TRUE(reader.FindElement());
        EXPECT_EQ(reader.GetElementText(reader.CurrentIndex()), c.text);
    }
}

TEST(ElementText, IndexesThatNameNoElementGiveNothing) {
    XmlReader reader;
    ASSERT_TRUE(reader.SetDocument(L"<a>t</a>"));
    for (int32_t index : {0, -1, 2, 65536, INT32_MAX, INT32_MIN})
        EXPECT_EQ(reader.GetElementText(index), L"") << index;
    EXPECT_EQ(reader.GetElementText(1), L"t");
}

TEST(ElementText, ChildTextLeavesTheCursorWhereItWas) {
    XmlReader reader;
    ASSERT_TRUE(reader.SetDocument(L"<r><a>1</a><b>2</b></r>"));
    ASSERT_TRUE(reader.FindElement(L"r"));
    EXPECT_EQ(reader.GetChildText(), L"");  // no current child
    ASSERT_TRUE(reader.FindChildElement(L"b"));
    const int32_t parent = reader.ParentIndex(), current = reader.CurrentIndex(),
                  child = reader.ChildIndex();
    EXPECT_EQ(reader.GetChildText(), L"2");
    EXPECT_EQ(reader.ParentIndex(), parent);
    EXPECT_EQ(reader.CurrentIndex(), current);
    EXPECT_EQ(reader.ChildIndex(), child);
    EXPECT_EQ(reader.NodeType(), 1);
}

}  // namespace
