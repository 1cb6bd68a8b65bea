#include <gtest/gtest.h>

#include <string>

#include "xml/char_references.h"
#include "xml/core/xml_core_test_support.h"

namespace {

using xml::DecodeReferences;
using xml::NamedReferenceValue;
using xml_test::Units;

struct DecodeCase {
    std::wstring input;
    std::wstring output;
};

TEST(References, Decoding) {
    const DecodeCase cases[] = {
        {L"no references", L"no references"},
        {L"x &amp; y", L"x & y"},
        {L"&lt;&gt;&quot;&apos;", L"<>\"'"},
        {L"&#x41;&#X42;&#67;&#x6a;", L"ABCj"},
        {L"&#0065;", L"A"},
        {L"&#x1F600;", Units({0xD83D, 0xDE00})},
        {L"&#x10000;&#1114111;", Units({0xD800, 0xDC00, 0xDBFF, 0xDFFF})},
        {L"&#xFFFF;", Units({0xFFFF})},
        // The value is read as far as the digits go.
        {L"&#12ab;x", Units({12, 'x'})},
        {L"&#x4g;", L"\x04"},
        // Names of nine characters fit; a tenth character is not ";".
        {L"&abcdefghi;", L"&abcdefghi;"},
        {L"&abcdefghij;", L"&abcdefghij;"},
        {L"&#00000065;", L"A"},
        {L"&#000000065;", L"&#000000065;"},
        // Left as written: unknown, zero, no ";", empty, non-ASCII inside.
        {L"&unknown;", L"&unknown;"},
        {L"&#0;&#x0;&#;&#x;", L"&#0;&#x0;&#;&#x;"},
        {L"&amp", L"&amp"},
        {L"a & b; c", L"a & b; c"},
        {L"&", L"&"},
        {L"&;", L"&;"},
        {L"&\u00e9;", L"&\u00e9;"},
        {L"&&amp;&", L"&&&"},
        // Code points no UTF-16 text can hold are left as written.
        {L"&#xD800;&#xDFFF;", L"&#xD800;&#xDFFF;"},
        {L"&#x110000;&#1114112;", L"&#x110000;&#1114112;"},
        {L"&#xFFFFFFF;&#99999999;", L"&#xFFFFFFF;&#99999999;"},
        // Names ignore case, except within the pairs that differ by case.
        {L"&AMP;&Amp;&NBSP;", Units({'&', '&', 0xA0})},
        {L"&oslash;&Oslash;&OSLASH;&oSlash;", Units({0xF8, 0xD8, 0xD8, 0xD8})},
        {L"&rarr;&rArr;&RARR;", Units({0x2192, 0x21D2, 0x21D2})},
        {L"&thorn;&THORN;&Thorn;", Units({0xFE, 0xDE, 0xDE})},
        {L"&aelig;&AElig;&Aelig;", Units({0xE6, 0xC6, 0xC6})},
        {L"&dagger;&Dagger;&DAGGER;", Units({0x2020, 0x2021, 0x2021})},
        {L"&sigma;&Sigma;&sigmaf;&SIGMAF;", Units({0x3C3, 0x3A3, 0x3C2, 0x3C2})},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(std::string(c.input.begin(), c.input.end()));
        EXPECT_EQ(DecodeReferences(c.input), c.output);
    }
}

TEST(References, NamedTableCoversHtml401AndApos) {
    struct Named {
        const wchar_t* name;
        uint32_t value;
    } names[] = {
        {L"nbsp", 160}, {L"iexcl", 161}, {L"yuml", 255}, {L"Yuml", 376}, {L"szlig", 223},
        {L"times", 215}, {L"divide", 247}, {L"ETH", 208}, {L"eth", 240}, {L"OElig", 338},
        {L"scaron", 353}, {L"circ", 710}, {L"tilde", 732}, {L"zwnj", 8204}, {L"lrm", 8206},
        {L"rsaquo", 8250}, {L"euro", 8364}, {L"fnof", 402}, {L"Omicron", 927},
        {L"omega", 969}, {L"thetasym", 977}, {L"upsih", 978}, {L"piv", 982},
        {L"hellip", 8230}, {L"Prime", 8243}, {L"prime", 8242}, {L"weierp", 8472},
        {L"image", 8465}, {L"alefsym", 8501}, {L"crarr", 8629}, {L"hArr", 8660},
        {L"forall", 8704}, {L"notin", 8713}, {L"lowast", 8727}, {L"there4", 8756},
        {L"sdot", 8901}, {L"lang", 9001}, {L"rang", 9002}, {L"loz", 9674},
        {L"diams", 9830}, {L"apos", 39},
        // Not HTML 4.01 names.
        {L"hyphen", 0}, {L"ap", 0}, {L"", 0}, {L"ampx", 0},
    };
    for (const Named& n : names)
        EXPECT_EQ(NamedReferenceValue(n.name), n.value) << std::string(n.name, n.name + std::wcslen(n.name));
}

}  // namespace
