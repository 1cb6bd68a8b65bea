// ConvertText over the platform's code pages and our own 32-bit code
// point conversions.
#include "xml/text_conversion.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "xml/code_pages.h"
#include "xml/files/encoding_bytes.h"

namespace {

using namespace std::literals;
using xml::ConvertText;
using xml::TextConversion;
using xml_test::Utf16Le;
using xml_test::Utf32Le;

struct ConversionRow {
    const char* what;
    std::wstring source;  // encoding names
    std::wstring target;
    std::string sourceBytes;
    std::string targetBytes;
    bool loss;
};

std::vector<ConversionRow> Rows() {
    return {
        // 8-bit to UTF-16 through MultiByteToWideChar.
        {"utf-8 to utf-16 with a surrogate pair", L"UTF-8", L"UTF-16",
         "h\xC3\xA9\xF0\x9F\x98\x80", Utf16Le(u"h\u00E9\U0001F600"), false},
        {"windows-1252 to utf-16", L"windows-1252", L"utf-16", "\x80\xE9", Utf16Le(u"\u20AC\u00E9"),
         false},
        {"shift_jis to utf-16", L"Shift_JIS", L"UTF-16", "a\x82\xA0", Utf16Le(u"a\u3042"), false},
        {"iso-8859-5 to utf-16", L"iso-8859-5", L"unicode", "\xD0", Utf16Le(u"\u0430"), false},
        // UTF-16 to 8-bit through WideCharToMultiByte, with the loss answer.
        {"utf-16 to windows-1252", L"UTF-16", L"windows-1252", Utf16Le(u"a\u20AC"), "a\x80", false},
        {"utf-16 to windows-1252, character without equivalent", L"UTF-16", L"windows-1252",
         Utf16Le(u"a\u3042"), "a?", true},
        {"utf-16 to utf-8: loss answer not requested", L"UTF-16", L"UTF-8",
         Utf16Le(u"\u3042\U0001F600"), "\xE3\x81\x82\xF0\x9F\x98\x80", false},
        {"utf-16 to utf-7: loss answer not requested", L"UTF-16", L"utf-7", Utf16Le(u"a"), "a",
         false},
        // 8-bit to 8-bit through UTF-16.
        {"windows-1252 to utf-8", L"windows-1252", L"utf-8", "\x80", "\xE2\x82\xAC", false},
        {"shift_jis to windows-1252, character without equivalent", L"sjis", L"cp1252",
         "\x82\xA0", "?", true},
        // UTF-16 to 32-bit code points.
        {"utf-16 to code points, pair combined", L"UTF-16", L"UTF-32",
         Utf16Le(u"a\U0001F600"), Utf32Le(U"a\U0001F600"), false},
        {"utf-16 to code points, high surrogate at the end", L"UTF-16", L"UTF-32LE",
         Utf16Le(u"a\xD83D"), Utf32Le(U"a?"), false},
        {"utf-16 to code points, lone surrogates inside", L"UTF-16", L"UTF-32",
         Utf16Le(u"\xDE00" u"b\xD83D" u"c"), Utf32Le(U"?b?c"), false},
        // 32-bit code points to UTF-8 and UTF-16.
        {"code points to utf-8, one to four bytes", L"UTF-32", L"UTF-8",
         Utf32Le(U"A\u00E9\u20AC\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", false},
        {"code points to utf-8, invalid values", L"UTF-32", L"UTF-8",
         Utf32Le(U"\x110000"sv) + Utf32Le(U"x"), "?x", false},
        {"code points to utf-16, pairs above 0xFFFF", L"UTF-32", L"UTF-16",
         Utf32Le(U"\U0010FFFF\u00E9"), Utf16Le(u"\U0010FFFF\u00E9"), false},
        // UTF-8 to 32-bit code points.
        {"utf-8 to code points", L"UTF-8", L"UTF-32", "A\xC3\xA9\xF0\x9F\x98\x80",
         Utf32Le(U"A\u00E9\U0001F600"), false},
        {"utf-8 to code points, cut off at the end", L"UTF-8", L"UTF-32", "A\xE3\x81",
         Utf32Le(U"A?"), false},
        {"utf-8 to code points, invalid bytes and overlong forms", L"UTF-8", L"UTF-32",
         "\xFF" "a\xC0\xAF" "b\xED\xA0\x80", Utf32Le(U"?a??b???"), false},
        {"utf-8 to code points, missing follow-up byte", L"UTF-8", L"UTF-32", "\xE3\x81" "a",
         Utf32Le(U"?a"), false},
        // Pairs without a conversion produce nothing.
        {"utf-16 to utf-16", L"UTF-16", L"UTF-16LE", Utf16Le(u"a"), "", false},
        {"code points to windows-1252", L"UTF-32", L"windows-1252", Utf32Le(U"a"), "", false},
        {"windows-1252 to code points", L"windows-1252", L"UTF-32", "a", "", false},
    };
}

int32_t Units(const std::string& bytes, const std::wstring& encoding) {
    return static_cast<int32_t>(bytes.size()) / xml::UnitSizeOf(xml::CodePageOf(encoding));
}

TEST(ConvertText, TableOfConversions) {
    for (const ConversionRow& row : Rows()) {
        SCOPED_TRACE(row.what);
        const int32_t targetUnits = Units(row.targetBytes, row.target);
        const int32_t unitSize = xml::UnitSizeOf(xml::CodePageOf(row.target));

        TextConversion conversion;
        conversion.sourceEncoding = row.source;
        conversion.targetEncoding = row.target;
        conversion.source = row.sourceBytes.data();
        conversion.sourceLength = Units(row.sourceBytes, row.source);

        // Counting only.
        EXPECT_EQ(ConvertText(conversion), targetUnits);
        EXPECT_EQ(conversion.targetCapacity, targetUnits);
        EXPECT_EQ(conversion.conversionLoss, row.loss);

        // Converting into a buffer of exactly the size needed; the guard
        // bytes behind it stay untouched.
        std::string buffer(row.targetBytes.size() + 8, '\x5A');
        conversion.targetCapacity = targetUnits;
        conversion.conversionLoss = !row.loss;
        EXPECT_EQ(ConvertText(conversion, buffer.data()), targetUnits);
        EXPECT_EQ(conversion.targetCapacity, targetUnits);
        EXPECT_EQ(conversion.conversionLoss, row.loss);
        EXPECT_EQ(buffer.substr(0, row.targetBytes.size()), row.targetBytes);
        EXPECT_EQ(buffer.substr(row.targetBytes.size()), std::string(8, '\x5A'));

        // One unit too few: nothing is produced and nothing is written past
        // the stated room.
        if (targetUnits > 0) {
            std::string small(row.targetBytes.size() + 8, '\x5A');
            conversion.targetCapacity = targetUnits - 1;
            EXPECT_EQ(ConvertText(conversion, small.data()), 0);
            EXPECT_EQ(conversion.targetCapacity, 0);
            const size_t room = static_cast<size_t>((targetUnits - 1) * unitSize);
            EXPECT_EQ(small.substr(room), std::string(small.size() - room, '\x5A'));
        }
    }
}

TEST(ConvertText, UnknownNamesCountAsTheAnsiCodePage) {
    const std::string bytes = "\x80\xE9";
    const auto convert = [&](const std::wstring& source) {
        TextConversion conversion;
        conversion.sourceEncoding = source;
        conversion.targetEncoding = L"UTF-16";
        conversion.source = bytes.data();
        conversion.sourceLength = 2;
        std::wstring text(4, L'\0');
        conversion.targetCapacity = 4;
        text.resize(static_cast<size_t>(ConvertText(conversion, text.data())));
        return text;
    };
    wchar_t ansi[4];
    const int length = MultiByteToWideChar(GetACP(), 0, bytes.data(), 2, ansi, 4);
    EXPECT_EQ(convert(L"x-unknown"), std::wstring(ansi, static_cast<size_t>(length)));
    EXPECT_EQ(convert(L""), std::wstring(ansi, static_cast<size_t>(length)));

    // And as a target: UTF-16 to an unknown name is UTF-16 to ANSI.
    TextConversion back;
    back.sourceEncoding = L"UTF-16";
    back.targetEncoding = L"x-unknown";
    back.source = ansi;
    back.sourceLength = length;
    char bytesBack[4] = {};
    back.targetCapacity = 4;
    EXPECT_EQ(ConvertText(back, bytesBack), 2);
    EXPECT_EQ(std::string(bytesBack, 2), bytes);
}

TEST(ConvertText, ANewTargetNameReplacesTheRequestsTarget) {
    const std::u16string text = u"\u00E9";
    TextConversion conversion;
    conversion.sourceEncoding = L"UTF-16";
    conversion.targetEncoding = L"windows-1252";
    conversion.source = text.data();
    conversion.sourceLength = 1;
    char out[4] = {};
    conversion.targetCapacity = 4;
    EXPECT_EQ(ConvertText(conversion, out, L"UTF-8"), 2);
    EXPECT_EQ(std::string(out, 2), "\xC3\xA9");
    EXPECT_EQ(conversion.targetEncoding, L"UTF-8");
}

TEST(ConvertText, NoSourceProducesNothing) {
    TextConversion conversion;
    conversion.sourceEncoding = L"UTF-8";
    conversion.targetEncoding = L"UTF-16";
    conversion.source = "abc";
    conversion.sourceLength = 0;
    EXPECT_EQ(ConvertText(conversion), 0);
    conversion.sourceLength = -5;
    EXPECT_EQ(ConvertText(conversion), 0);
    conversion.source = nullptr;
    conversion.sourceLength = 3;
    EXPECT_EQ(ConvertText(conversion), 0);
}

}  // namespace
