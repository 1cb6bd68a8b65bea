#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/xml_reader.h"

namespace {

using xml::XmlReader;

constexpr const wchar_t* kManifest =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<manifest>\r\n"
    L"  <product_code>X</product_code>\r\n"
    L"  <product>P</product>\r\n"
    L"  <item>1</item>\r\n"
    L"  <item>2</item>\r\n"
    L"  <other/>\r\n"
    L"  <item>3</item>\r\n"
    L"  <group><c1>a</c1><c2>b</c2></group>\r\n"
    L"</manifest>\r\n";

class Navigation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(reader.SetDocument(kManifest)); }

    // Enters <manifest>, leaving the cursor inside it before its first child.
    void EnterManifest() {
        ASSERT_TRUE(reader.FindElement(L"manifest"));
        ASSERT_TRUE(reader.EnterElement());
    }

    std::wstring CurrentText() { return reader.GetElementText(reader.CurrentIndex()); }

    XmlReader reader;
};

TEST_F(Navigation, NamesMatchWholeAndCaseSensitively) {
    EnterManifest();
    EXPECT_FALSE(reader.FindElement(L"Product"));
    EXPECT_TRUE(reader.FindElement(L"product"));  // not product_code
    EXPECT_EQ(CurrentText(), L"P");
    EXPECT_FALSE(reader.FindElement(L"product"));
    EXPECT_EQ(CurrentText(), L"P");  // a failed search leaves the cursor
}

TEST_F(Navigation, IgnoreCaseComparesAsciiLettersWithoutCase) {
    reader.SetDocumentFlags(xml::IgnoreCase);
    EnterManifest();
    EXPECT_TRUE(reader.FindElement(L"PRODUCT"));
    EXPECT_EQ(CurrentText(), L"P");
}

TEST_F(Navigation, RepeatedSearchVisitsEverySiblingInOrder) {
    EnterManifest();
    std::vector<std::wstring> texts;
    while (reader.FindElement(L"item")) texts.push_back(CurrentText());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"1", L"2", L"3"}));
    // No wrap-around: the cursor stays on the last item.
    EXPECT_EQ(CurrentText(), L"3");
    EXPECT_TRUE(reader.FindElement());  // an empty name matches any element
    EXPECT_EQ(reader.GetElementName(reader.CurrentIndex()), L"group");
}

TEST_F(Navigation, ChildSearchesOnlyGoForward) {
    EnterManifest();
    ASSERT_TRUE(reader.FindElement(L"group"));
    const int32_t group = reader.CurrentIndex();
    EXPECT_TRUE(reader.FindChildElement(L"c2"));
    EXPECT_EQ(reader.GetChildText(), L"b");
    EXPECT_FALSE(reader.FindChildElement(L"c1"));
    EXPECT_EQ(reader.GetChildText(), L"b");  // the child position is kept
    EXPECT_EQ(reader.CurrentIndex(), group);
}

TEST_F(Navigation, ChildSearchWithoutCurrentElementStartsAtTheFirstElement) {
    // Nothing is current: the search first moves to <manifest>.
    ASSERT_TRUE(reader.FindChildElement(L"product"));
    EXPECT_EQ(reader.GetElementName(reader.CurrentIndex()), L"manifest");
    EXPECT_EQ(reader.ParentIndex(), 0);
    EXPECT_EQ(reader.GetChildText(), L"P");
    EXPECT_TRUE(reader.FindChildElement(L"item"));
    EXPECT_EQ(reader.GetChildText(), L"1");
}

TEST_F(Navigation, EnterAndLeaveMoveTheThreePositions) {
    ASSERT_TRUE(reader.FindElement(L"manifest"));
    const int32_t manifest = reader.CurrentIndex();
    ASSERT_TRUE(reader.FindChildElement(L"group"));
    const int32_t group = reader.ChildIndex();

    ASSERT_TRUE(reader.EnterElement());  // into manifest, standing on group
    EXPECT_EQ(reader.ParentIndex(), manifest);
    EXPECT_EQ(reader.CurrentIndex(), group);
    EXPECT_EQ(reader.ChildIndex(), 0);
    EXPECT_EQ(reader.NodeType(), 1);

    ASSERT_TRUE(reader.EnterElement());  // into group, before its first child
    EXPECT_EQ(reader.ParentIndex(), group);
    EXPECT_EQ(reader.CurrentIndex(), 0);
    EXPECT_EQ(reader.NodeType(), 0);
    EXPECT_FALSE(reader.EnterElement());  // nothing to enter
    ASSERT_TRUE(reader.FindElement(L"c1"));
    EXPECT_EQ(CurrentText(), L"a");

    ASSERT_TRUE(reader.LeaveElement());  // back on group, c1 the child
    EXPECT_EQ(reader.CurrentIndex(), group);
    EXPECT_EQ(reader.ParentIndex(), manifest);
    EXPECT_EQ(reader.GetElementName(reader.ChildIndex()), L"c1");
    EXPECT_TRUE(reader.FindChildElement(L"c2"));

    ASSERT_TRUE(reader.LeaveElement());  // on manifest at the document level
    EXPECT_EQ(reader.CurrentIndex(), manifest);
    EXPECT_EQ(reader.ChildIndex(), group);
    EXPECT_EQ(reader.ParentIndex(), 0);
    EXPECT_FALSE(reader.LeaveElement());
}

TEST_F(Navigation, RejectedNames) {
    EnterManifest();
    for (const wchar_t* name : {L"/manifest", L"//item", L"/", L"[1]", L" "}) {
        SCOPED_TRACE(std::string(name, name + std::wcslen(name)));
        EXPECT_FALSE(reader.FindElement(name));
        EXPECT_FALSE(reader.FindChildElement(name));
    }
    EXPECT_EQ(reader.CurrentIndex(), 0);
}

TEST_F(Navigation, FileModesRefuseSearches) {
    reader.SetDocumentFlags(xml::WriteFileMode);
    EXPECT_FALSE(reader.FindElement(L"manifest"));
    EXPECT_FALSE(reader.FindChildElement());
    reader.SetDocumentFlags(xml::ReadFileMode);
    EXPECT_TRUE(reader.FindElement(L"manifest"));
    EXPECT_FALSE(reader.FindChildElement(L"product"));
    // SetDocument changes nothing while a file mode is set.
    EXPECT_FALSE(reader.SetDocument(L"<other/>"));
    EXPECT_EQ(reader.Document(), kManifest);
    EXPECT_EQ(reader.GetElementName(reader.CurrentIndex()), L"manifest");
}

TEST(NavigationWithoutDocument, FindsNothing) {
    XmlReader fresh;
    EXPECT_FALSE(fresh.FindElement());
    EXPECT_FALSE(fresh.FindChildElement());
    EXPECT_FALSE(fresh.EnterElement());
    EXPECT_FALSE(fresh.LeaveElement());
    EXPECT_EQ(fresh.GetChildText(), L"");
    EXPECT_EQ(fresh.GetElementText(0), L"");
    EXPECT_EQ(fresh.GetElementName(1), L"");

    XmlReader empty;
    EXPECT_FALSE(empty.SetDocument(L""));
    EXPECT_FALSE(empty.FindElement());
    EXPECT_FALSE(empty.FindChildElement(L"x"));
}

TEST(NavigationOfIllFormedDocuments, EverythingIndexedIsReachable) {
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<a>1</a><b>2</b>"));
    ASSERT_TRUE(reader.FindElement(L"a"));
    EXPECT_EQ(reader.GetElementText(reader.CurrentIndex()), L"1");
    ASSERT_TRUE(reader.FindElement(L"b"));
    EXPECT_EQ(reader.GetElementText(reader.CurrentIndex()), L"2");

    EXPECT_FALSE(reader.SetDocument(L"<r><a><b>x</b></r>"));
    ASSERT_TRUE(reader.FindElement(L"r"));
    ASSERT_TRUE(reader.FindChildElement(L"a"));
    EXPECT_TRUE(reader.FindChildElement(L"b"));  // b is now a's sibling
    EXPECT_EQ(reader.GetChildText(), L"x");
}

TEST(ElementNames, ReadFromTheStartTag) {
    XmlReader reader;
    ASSERT_TRUE(reader.SetDocument(L"<r><a/><b x='1'/><c>t</c><d;e/><f\tg=''></f></r>"));
    const std::vector<std::wstring> expected = {L"r", L"a", L"b", L"c", L"d", L"f"};
    for (int32_t i = 1; i < reader.RecordCount(); ++i)
        EXPECT_EQ(reader.GetElementName(i), expected[i - 1]);
    EXPECT_EQ(reader.GetElementName(0), L"");
    EXPECT_EQ(reader.GetElementName(-1), L"");
    EXPECT_EQ(reader.GetElementName(reader.RecordCount()), L"");
    ASSERT_TRUE(reader.FindElement());
    EXPECT_TRUE(reader.FindChildElement(L"d"));
}

}  // namespace
