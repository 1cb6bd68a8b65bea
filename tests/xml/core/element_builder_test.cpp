#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/core/xml_core_test_support.h"
#include "xml/xml_reader.h"

namespace {

using xml::ElementRecord;
using xml::XmlReader;
using xml_test::Repeat;

// Names of the children of `parent`, following the sibling links, with a
// check that every child names `parent` as its parent.
std::vector<std::wstring> ChildNames(const XmlReader& reader, int32_t parent) {
    std::vector<std::wstring> names;
    for (int32_t i = reader.Record(parent).firstChild; i; i = reader.Record(i).nextSibling) {
        EXPECT_EQ(reader.Record(i).parent, parent) << "child " << i;
        names.push_back(reader.GetElementName(i));
    }
    return names;
}

// The previous-sibling links: the first child names the last, every other
// child its predecessor; only the first child is flagged FirstChild.
void ExpectSiblingLinks(const XmlReader& reader, int32_t parent) {
    std::vector<int32_t> children;
    for (int32_t i = reader.Record(parent).firstChild; i; i = reader.Record(i).nextSibling)
        children.push_back(i);
    for (size_t k = 0; k < children.size(); ++k) {
        const ElementRecord& record = reader.Record(children[k]);
        EXPECT_EQ(record.previousSibling, k ? children[k - 1] : children.back());
        EXPECT_EQ(record.Has(xml::FirstChild), k == 0);
    }
}

struct ParseCase {
    const wchar_t* document;
    bool result;
    bool illFormed;  // DocumentIllFormed on record 0
    const wchar_t* log;
};

TEST(ElementBuilder, ParseResultAndResultLog) {
    const ParseCase cases[] = {
        {L"", false, false, L""},
        {L"just text", false, false, L"<no_root_element/>"},
        {L"<!-- only a comment -->", false, false, L"<no_root_element/>"},
        {L"<r/>", true, false, L""},
        {L"<r>t</r>", true, false, L""},
        {L"junk <?xml version=\"1.0\"?><!-- c --><!DOCTYPE r [<!ENTITY e 'x'>]>\r\n<r a='1'>"
         L"<![CDATA[<x>]]><?pi?></r>\r\ntrailing text",
         true, false, L""},
        {L"<a/><b/>", false, false, L"<root_has_sibling/>"},
        {L"<r><a></r>", false, true, L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"7\"/>"},
        {L"<r></x></r>", false, true, L"<lone_end_tag tagname=\"x\" offset=\"3\"/>"},
        {L"</x><r/>", false, true, L"<lone_end_tag tagname=\"x\" offset=\"0\"/>"},
        {L"<r><1/></r>", false, true, L"<first_tag_syntax offset=\"3\"/>"},
        // Elements still open at the end close innermost first; then two
        // top-level elements remain.
        {L"<r><a>", false, true,
         L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"6\"/>"
         L"<unended_start_tag tagname=\"r\" offset=\"0\" offset2=\"6\"/>"
         L"<root_has_sibling/>"},
        {L"<r><a><b></r>", false, true,
         L"<unended_start_tag tagname=\"b\" offset=\"6\" offset2=\"10\"/>"
         L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"10\"/>"},
        // An unterminated tag is a syntax error; its parent is then unended.
        {L"<r><a b='x", false, true,
         L"<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"
         L"<unended_start_tag tagname=\"r\" offset=\"0\" offset2=\"10\"/>"},
        // End tags are matched exactly, case included.
        {L"<r></R></r>", false, true, L"<lone_end_tag tagname=\"R\" offset=\"3\"/>"},
    };
    for (const ParseCase& c : cases) {
        const std::wstring document = c.document;
        SCOPED_TRACE(std::string(document.begin(), document.end()));
        XmlReader reader;
        EXPECT_EQ(reader.SetDocument(document), c.result);
        EXPECT_EQ(reader.ResultLogText(), c.log);
        EXPECT_EQ(reader.Record(0).Has(xml::DocumentIllFormed), c.illFormed);
        EXPECT_EQ(reader.Record(0).length, static_cast<int32_t>(document.size()));
    }
}

TEST(ElementBuilder, RecordsHoldOffsetsLengthsAndLevels) {
    XmlReader reader;
    //                          0         1         2         3
    //                          0123456789012345678901234567890123456789
    ASSERT_TRUE(reader.SetDocument(L"<r> <a x='1'>t</a  ><b/><c></c></r>"));
    struct Expected {
        int32_t start, length, startTag, endTag, level, parent;
    } expected[] = {
        {0, 35, 3, 4, 0, 0},      // r
        {4, 16, 9, 6, 1, 1},      // a
        {20, 4, 4, 0, 1, 1},      // b, empty
        {24, 7, 3, 4, 1, 1},      // c
    };
    ASSERT_EQ(reader.RecordCount(), 5);
    for (int32_t i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const ElementRecord& record = reader.Record(i);
        const Expected& e = expected[i - 1];
        EXPECT_EQ(record.start, e.start);
        EXPECT_EQ(record.length, e.length);
        EXPECT_EQ(record.StartTagLength(), e.startTag);
        EXPECT_EQ(record.EndTagLength(), e.endTag);
        EXPECT_EQ(record.Level(), e.level);
        EXPECT_EQ(record.parent, e.parent);
        EXPECT_FALSE(record.Has(xml::NotEnded));
    }
    EXPECT_EQ(reader.Record(0).firstChild, 1);
    EXPECT_EQ(ChildNames(reader, 1), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    ExpectSiblingLinks(reader, 1);
    EXPECT_EQ(reader.Record(2).firstChild, 0);
}

TEST(ElementBuilder, UnendedElementHandsItsChildrenToItsParent) {
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<r><a><b/><c>t</c></r>"));
    const int32_t a = 2;
    ASSERT_EQ(reader.GetElementName(a), L"a");
    const ElementRecord& record = reader.Record(a);
    EXPECT_TRUE(record.Has(xml::NotEnded));
    EXPECT_EQ(record.length, 3);
    EXPECT_EQ(record.StartTagLength(), 3);
    EXPECT_EQ(record.EndTagLength(), 0);
    EXPECT_EQ(record.firstChild, 0);
    EXPECT_EQ(ChildNames(reader, 1), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    ExpectSiblingLinks(reader, 1);
    EXPECT_EQ(reader.Record(1).length, 22);  // r still has its full length
    EXPECT_EQ(reader.GetElementText(4), L"t");
}

TEST(ElementBuilder, RunOfUnendedElementsFlattensInDocumentOrder) {
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<r><p/><a><x/><b><y/><z/></r><after/>"));
    EXPECT_EQ(reader.ResultLogText(),
              L"<unended_start_tag tagname=\"b\" offset=\"14\" offset2=\"26\"/>"
              L"<unended_start_tag tagname=\"a\" offset=\"7\" offset2=\"26\"/>"
              L"<root_has_sibling/>");
    EXPECT_EQ(ChildNames(reader, 1),
              (std::vector<std::wstring>{L"p", L"a", L"x", L"b", L"y", L"z"}));
    ExpectSiblingLinks(reader, 1);
    EXPECT_EQ(ChildNames(reader, 0), (std::vector<std::wstring>{L"r", L"after"}));
    ExpectSiblingLinks(reader, 0);
}

TEST(ElementBuilder, ErrorFlagsMoveOutOfUnendedElements) {
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<r><a><b><1/></r>"));
    EXPECT_EQ(reader.ResultLogText(),
              L"<first_tag_syntax offset=\"9\"/>"
              L"<unended_start_tag tagname=\"b\" offset=\"6\" offset2=\"14\"/>"
              L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"14\"/>");
    EXPECT_TRUE(reader.Record(1).Has(xml::HasErrors));   // r
    EXPECT_FALSE(reader.Record(2).Has(xml::HasErrors));  // a
    EXPECT_FALSE(reader.Record(3).Has(xml::HasErrors));  // b
    EXPECT_TRUE(reader.Record(0).Has(xml::DocumentIllFormed));

    // A lone end tag flags the element it appears in, and nothing else.
    EXPECT_FALSE(reader.SetDocument(L"<r><a></x></a><b/></r>"));
    EXPECT_FALSE(reader.Record(1).Has(xml::HasErrors));
    EXPECT_TRUE(reader.Record(2).Has(xml::HasErrors));
    EXPECT_EQ(reader.Record(2).length, 11);
    EXPECT_FALSE(reader.Record(3).Has(xml::HasErrors));
}

TEST(ElementBuilder, EachParseStartsAfresh) {
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<r><a></r>"));
    ASSERT_TRUE(reader.FindElement(L"r"));
    EXPECT_TRUE(reader.SetDocument(L"<s/>"));
    EXPECT_EQ(reader.ResultLogText(), L"");
    EXPECT_EQ(reader.RecordCount(), 2);
    EXPECT_EQ(reader.CurrentIndex(), 0);
    EXPECT_FALSE(reader.Record(0).Has(xml::DocumentIllFormed));
    EXPECT_EQ(reader.GetElementName(reader.Record(0).firstChild), L"s");

    // With no text the document and the index are dropped.
    EXPECT_FALSE(reader.SetDocument());
    EXPECT_EQ(reader.Document(), L"");
    EXPECT_EQ(reader.RecordCount(), 1);
    EXPECT_FALSE(reader.FindElement());
}

TEST(ElementBuilder, ResultLogKeepsOnlyTheFirstThousandCharacters) {
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<r>" + Repeat(L"<1>", 200) + L"</r>"));
    const std::wstring& log = reader.ResultLogText();
    const std::wstring first = L"<first_tag_syntax offset=\"3\"/>";
    ASSERT_GE(log.size(), 1000u);
    EXPECT_EQ(log.substr(0, first.size()), first);
    // The last record began while the log was shorter than the limit.
    const size_t last = log.rfind(L'<');
    EXPECT_LT(last, 1000u);
    EXPECT_EQ(log.find(L"/>", last) + 2, log.size());
    // Records are the first ones, in order: offsets 3, 6, 9, ...
    const size_t records = log.size() / first.size() + 1;
    EXPECT_NE(log.find(L"offset=\"" + std::to_wstring(3 * (records - 2)) + L"\""),
              std::wstring::npos);
    EXPECT_EQ(log.find(L"offset=\"" + std::to_wstring(3 * 200) + L"\""), std::wstring::npos);
}

TEST(ElementBuilder, IndexGrowsAcrossPagesOf65536Records) {
    constexpr int32_t kItems = 70000;
    const std::wstring document = L"<r>" + Repeat(L"<i/>", kItems) + L"</r>";
    XmlReader reader;
    ASSERT_TRUE(reader.SetDocument(document));
    EXPECT_EQ(reader.RecordCount(), kItems + 2);
    EXPECT_GE(reader.Elements().Capacity(), kItems + 2);
    // Records on both sides of the page boundary point at their tags.
    for (int32_t index : {65534, 65535, 65536, 65537, kItems + 1}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(reader.Record(index).start, 3 + 4 * (index - 2));
        EXPECT_EQ(reader.Record(index).parent, 1);
    }
    ASSERT_TRUE(reader.FindElement(L"r"));
    ASSERT_TRUE(reader.EnterElement());
    int32_t found = 0;
    int32_t last = 0;
    while (reader.FindElement(L"i")) {
        ++found;
        last = reader.CurrentIndex();
    }
    EXPECT_EQ(found, kItems);
    EXPECT_EQ(last, kItems + 1);
    EXPECT_EQ(reader.Record(reader.Record(1).firstChild).previousSibling, kItems + 1);
}

TEST(ElementBuilder, DeepRunOfUnendedElementsAcrossPages) {
    // 70,000 nested elements that never end: all become children of r.
    constexpr int32_t kDepth = 70000;
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<r>" + Repeat(L"<i>", kDepth) + L"</r>"));
    EXPECT_EQ(reader.RecordCount(), kDepth + 2);
    EXPECT_LT(reader.ResultLogText().size(), 1100u);
    int32_t count = 0;
    int32_t expected = 2;
    for (int32_t i = reader.Record(1).firstChild; i; i = reader.Record(i).nextSibling, ++expected) {
        ASSERT_EQ(i, expected);
        ASSERT_EQ(reader.Record(i).parent, 1);
        ASSERT_TRUE(reader.Record(i).Has(xml::NotEnded));
        ++count;
    }
    EXPECT_EQ(count, kDepth);
    // Levels beyond the 16-bit field stay at its maximum.
    EXPECT_EQ(reader.Record(kDepth + 1).Level(), static_cast<int32_t>(ElementRecord::kMaxLevel));
}

TEST(ElementBuilder, TagsTooLongForTheirFieldsFailTheParse) {
    // The start tag length has 22 bits, the end tag length 10.
    {
        const std::wstring value(ElementRecord::kMaxStartTagLength, L'x');
        XmlReader reader;
        EXPECT_FALSE(reader.SetDocument(L"<r a='" + value + L"'>t</r>"));
        EXPECT_EQ(reader.ResultLogText(), L"<tag_too_long tagname=\"r\" offset=\"0\"/>");
        const ElementRecord& r = reader.Record(1);
        EXPECT_TRUE(r.Has(xml::TagTooLong));
        EXPECT_EQ(r.length, static_cast<int32_t>(reader.Document().size()));
        EXPECT_EQ(reader.GetElementText(1), L"");
        EXPECT_FALSE(reader.SetAttribute(1, L"a", L"y"));
    }
    {
        XmlReader reader;
        const std::wstring document = L"<r><a>t</a" + std::wstring(1100, L' ') + L"><b/></r>";
        EXPECT_FALSE(reader.SetDocument(document));
        EXPECT_EQ(reader.ResultLogText(), L"<tag_too_long tagname=\"a\" offset=\"7\"/>");
        EXPECT_EQ(reader.Record(2).length, 1108);
        EXPECT_TRUE(reader.Record(2).Has(xml::TagTooLong));
        EXPECT_EQ(reader.GetElementText(2), L"");
        EXPECT_EQ(ChildNames(reader, 1), (std::vector<std::wstring>{L"a", L"b"}));
    }
    {
        // Exactly at the limits, everything is exact.
        const std::wstring value(ElementRecord::kMaxStartTagLength - 8, L'x');
        XmlReader reader;
        EXPECT_TRUE(reader.SetDocument(L"<r a='" + value + L"'>t</r" +
                                       std::wstring(ElementRecord::kMaxEndTagLength - 4, L' ') + L">"));
        EXPECT_EQ(reader.Record(1).StartTagLength(), static_cast<int32_t>(ElementRecord::kMaxStartTagLength));
        EXPECT_EQ(reader.Record(1).EndTagLength(), static_cast<int32_t>(ElementRecord::kMaxEndTagLength));
        EXPECT_EQ(reader.GetElementText(1), L"t");
    }
}

TEST(ElementIndex, PagesGrowWithoutLosingRecords) {
    xml::ElementIndex index;
    index.Reserve(10);
    EXPECT_EQ(index.Capacity(), 10);
    EXPECT_EQ(index.PageTableSize(), 6u);
    index.At(5).start = 55;
    index.At(9).start = 99;
    index.Reserve(40000);  // the lone first page grows; its records are kept
    EXPECT_EQ(index.At(5).start, 55);
    EXPECT_EQ(index.At(9).start, 99);
    index.At(39999).start = 3;

    index.Reserve(4 * 65536);  // four pages still fit the table
    EXPECT_EQ(index.PageTableSize(), 6u);
    EXPECT_EQ(index.At(39999).start, 3);
    // From now on every page is full and no record moves.
    const xml::ElementRecord* first = &index.At(5);
    const xml::ElementRecord* later = &index.At(3 * 65536 + 7);
    index.At(3 * 65536 + 7).start = 77;
    index.Reserve(7 * 65536);  // seven pages do not fit
    EXPECT_EQ(index.PageTableSize(), 18u);
    EXPECT_EQ(&index.At(5), first);
    EXPECT_EQ(&index.At(3 * 65536 + 7), later);
    EXPECT_EQ(index.At(5).start, 55);
    EXPECT_EQ(index.At(3 * 65536 + 7).start, 77);
    index.At(7 * 65536 - 1).start = 1;  // the last record is addressable

    index.Release();
    EXPECT_EQ(index.Capacity(), 0);
    EXPECT_EQ(index.PageTableSize(), 0u);
    index.Reserve(100);
    ASSERT_TRUE(index.Grow());
    EXPECT_EQ(index.Capacity(), 150);
}

}  // namespace
