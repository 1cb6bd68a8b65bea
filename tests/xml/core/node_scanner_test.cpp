#include <gtest/gtest.h>

#include <string>

#include "xml/node_scanner.h"

namespace {

using xml::ScanNode;

struct ScanCase {
    const wchar_t* text;
    int32_t position;
    int32_t type;
    int32_t length;
    bool empty;
    const wchar_t* name;         // nullptr: not checked
    const wchar_t* diagnostics;
};

void ExpectScan(const ScanCase& c, int32_t end) {
    const std::wstring text = c.text;
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    const xml::ScannedNode node = ScanNode(text, c.position, end);
    EXPECT_EQ(node.type, c.type);
    EXPECT_EQ(node.start, c.position);
    EXPECT_EQ(node.length, c.length);
    EXPECT_EQ((node.flags & xml::kEmptyElement) != 0, c.empty);
    if (c.name) {
        EXPECT_EQ(text.substr(node.nameStart, node.nameLength), c.name);
    }
    EXPECT_EQ(node.diagnostics.Text(), c.diagnostics);
}

constexpr int32_t T = xml::NodeText, W = xml::NodeWhitespace, E = xml::NodeElement,
                  End = xml::NodeEndTag, PI = xml::NodeProcessingInstruction,
                  Com = xml::NodeComment, CD = xml::NodeCData, DT = xml::NodeDocumentType,
                  Err = xml::NodeError, Eot = xml::NodeEndOfText;

TEST(NodeScanner, TextAndWhitespace) {
    const ScanCase cases[] = {
        {L"", 0, Eot, 0, false, nullptr, L""},
        {L"abc", 3, Eot, 0, false, nullptr, L""},
        {L"abc", 0, T, 3, false, nullptr, L""},
        {L" \t\r\n", 0, W, 4, false, nullptr, L""},
        {L"  <a>", 0, W, 2, false, nullptr, L""},
        // Whitespace followed by other text becomes one text node.
        {L"  x <a>", 0, T, 4, false, nullptr, L""},
        // A ">" in text ends the text node and belongs to it.
        {L"a>b<", 0, T, 2, false, nullptr, L""},
        {L">", 0, T, 1, false, nullptr, L""},
        {L"  >x", 0, T, 3, false, nullptr, L""},
    };
    for (const ScanCase& c : cases) ExpectScan(c, static_cast<int32_t>(std::wcslen(c.text)));
}

TEST(NodeScanner, StartAndEndTags) {
    const ScanCase cases[] = {
        {L"<a>", 0, E, 3, false, L"a", L""},
        {L"x<product_code id='1'>", 1, E, 21, false, L"product_code", L""},
        {L"<a\tb=\"1\">", 0, E, 9, false, L"a", L""},
        // ">" inside a quoted value does not end the tag; "<" is content.
        {L"<a b='x>y'>t", 0, E, 11, false, L"a", L""},
        {L"<a b = \"x>'y\" c='<'>", 0, E, 20, false, L"a", L""},
        // A quote with no value expected has no special meaning.
        {L"<a 'x>'>", 0, E, 6, false, L"a", L""},
        // An unquoted value ends the expectation; its quote is ordinary.
        {L"<a b=x'>'>", 0, E, 8, false, L"a", L""},
        {L"<a b==\"x>\">", 0, E, 9, false, L"a", L""},  // the second "=" begins an unquoted value
        {L"<a/>", 0, E, 4, true, L"a", L""},
        {L"<a />", 0, E, 5, true, L"a", L""},
        {L"<a b='1'/>", 0, E, 10, true, L"a", L""},
        {L"<a b=\"1\"/>", 0, E, 10, true, L"a", L""},
        // The "/" after an unquoted value belongs to the value.
        {L"<a b=1/>", 0, E, 8, false, L"a", L""},
        {L"<a b=x'/>", 0, E, 9, false, L"a", L""},
        {L"<a b/>", 0, E, 6, false, L"a", L""},
        {L"<a/ >", 0, E, 5, false, L"a", L""},
        {L"<:x>", 0, E, 4, false, L":x", L""},
        {L"<_x>", 0, E, 4, false, L"_x", L""},
        {L"<\u00e9t\u00e9>", 0, E, 5, false, L"\u00e9t\u00e9", L""},
        {L"</a>", 0, End, 4, false, L"a", L""},
        {L"</a  >", 0, End, 6, false, L"a", L""},
        {L"</>", 0, End, 3, false, L"", L""},
    };
    for (const ScanCase& c : cases) ExpectScan(c, static_cast<int32_t>(std::wcslen(c.text)));
}

TEST(NodeScanner, OtherMarkup) {
    const ScanCase cases[] = {
        {L"<?xml version=\"1.0\"?><r/>", 0, PI, 21, false, L"xml", L""},
        // A ">" not preceded by "?" is content of the instruction.
        {L"<?p a > b?>", 0, PI, 11, false, L"p", L""},
        {L"<!-- a -> b > -- -->x", 0, Com, 20, false, nullptr, L""},
        {L"<!---->", 0, Com, 7, false, nullptr, L""},
        {L"<![CDATA[<a> ]] > ] ]]>x", 0, CD, 23, false, nullptr, L""},
        {L"<![C]]>", 0, CD, 7, false, nullptr, L""},
        {L"<!DOCTYPE r>", 0, DT, 12, false, nullptr, L""},
        {L"<!DOCTYPE r [<!ENTITY e \"a>b\"><!ATTLIST r a CDATA '>'><!-- > --><?p > ?>]><r/>",
         0, DT, 74, false, nullptr, L""},
        // A ">" outside nested declarations ends the declaration.
        {L"<!DOCTYPE r [ < > ]>", 0, DT, 17, false, nullptr, L""},
    };
    for (const ScanCase& c : cases) ExpectScan(c, static_cast<int32_t>(std::wcslen(c.text)));
}

TEST(NodeScanner, SyntaxErrors) {
    const ScanCase cases[] = {
        {L"<1a>", 0, Err, 4, false, nullptr, L"<first_tag_syntax offset=\"0\"/>"},
        // An error node stops before the next "<".
        {L"< <a>", 0, Err, 2, false, nullptr, L"<first_tag_syntax offset=\"0\"/>"},
        {L"<<a>", 0, Err, 1, false, nullptr, L"<first_tag_syntax offset=\"0\"/>"},
        {L"<= 'a>b'>", 0, Err, 9, false, nullptr, L"<first_tag_syntax offset=\"0\"/>"},
        {L"xy<.>", 2, Err, 3, false, nullptr, L"<first_tag_syntax offset=\"2\"/>"},
        {L"<!x>", 0, Err, 4, false, nullptr, L"<exclamation_tag_syntax offset=\"0\"/>"},
        {L"<!-x>", 0, Err, 5, false, nullptr, L"<comment_tag_syntax offset=\"0\"/>"},
        {L"<!-<a>", 0, Err, 3, false, nullptr, L"<comment_tag_syntax offset=\"0\"/>"},
        {L"<![x>", 0, Err, 5, false, nullptr, L"<cdata_section_syntax offset=\"0\"/>"},
        {L"<!DOCTYPE r [<!X>]>", 0, Err, 17, false, nullptr, L"<doctype_tag_syntax offset=\"0\"/>"},
    };
    for (const ScanCase& c : cases) ExpectScan(c, static_cast<int32_t>(std::wcslen(c.text)));
}

TEST(NodeScanner, UnterminatedMarkupNamesWhatWasOpen) {
    auto record = [](const wchar_t* type) {
        return std::wstring(L"<unterminated_tag_syntax type=\"") + type + L"\" offset=\"0\"/>";
    };
    struct Case {
        const wchar_t* text;
        const wchar_t* type;
    } cases[] = {
        {L"<", L"tag"},
        {L"<!", L"tag"},
        {L"<!-", L"tag"},
        {L"<![", L"tag"},
        {L"<a b='>", L"start_tag"},
        {L"<a", L"start_tag"},
        {L"</a", L"end_tag"},
        {L"<![CDATA[x]>", L"cdata_section"},
        {L"<?p ?", L"processing_instruction"},
        {L"<?>", L"processing_instruction"},
        {L"<!-- x --", L"comment"},
        {L"<!-->", L"comment"},
        {L"<!DOCTYPE", L"document_type"},
        {L"<!DOCTYPE r [<!ENTITY e '>", L"document_type"},
        {L"<!DOCTYPE r [<!-- >", L"document_type"},
        {L"<!DOCTYPE r [<?p >", L"document_type"},
        {L"<!DOCTYPE r [<!", L"document_type"},
    };
    for (const Case& c : cases) {
        const int32_t length = static_cast<int32_t>(std::wcslen(c.text));
        ExpectScan({c.text, 0, Err, length, false, nullptr, record(c.type).c_str()}, length);
    }
    // A syntax error that runs to the end of the text records both events.
    ExpectScan({L"<!x", 0, Err, 3, false, nullptr,
                L"<exclamation_tag_syntax offset=\"0\"/>"
                L"<unterminated_tag_syntax type=\"tag\" offset=\"0\"/>"},
               3);
}

TEST(NodeScanner, StopsAtTheGivenEnd) {
    // The text beyond `end` is never read: the tag is unterminated there.
    ExpectScan({L"<abc>", 0, Err, 3, false, nullptr,
                L"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/>"},
               3);
    ExpectScan({L"ab<c>", 0, T, 2, false, nullptr, L""}, 2);
    // Positions and ends outside the text are clamped to it.
    EXPECT_EQ(ScanNode(L"ab", 5, 9).type, Eot);
    EXPECT_EQ(ScanNode(L"ab", -3, 2).start, 0);
    const xml::ScannedNode node = ScanNode(L"<a>", 0, 100);
    EXPECT_EQ(node.type, E);
    EXPECT_EQ(node.length, 3);
}

}  // namespace
