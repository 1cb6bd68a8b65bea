// CodePageOf: encoding names to Windows code pages.
#include "xml/code_pages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace std::literals;
using xml::CodePageOf;

std::wstring Widen(std::string_view name) { return std::wstring(name.begin(), name.end()); }

std::wstring Upper(std::string_view name) {
    std::wstring out;
    for (char c : name) out += (c >= 'a' && c <= 'z') ? static_cast<wchar_t>(c - 'a' + 'A') : c;
    return out;
}

TEST(CodePageOf, NamesOfTheUsualEncodings) {
    const struct {
        int32_t codePage;
        std::vector<const wchar_t*> names;
    } rows[] = {
        {65001, {L"utf-8", L"utf8", L"cp65001", L"unicode-1-1-utf-8", L"unicode-2-0-utf-8",
                 L"x-unicode-2-0-utf-8"}},
        {65000, {L"utf-7", L"unicode-1-1-utf-7", L"csunicode11utf7", L"x-unicode-2-0-utf-7"}},
        {1200, {L"utf-16", L"utf-16le", L"utf16", L"utf16le", L"unicode", L"ucs-2", L"ucs-2le",
                L"cp1200"}},
        {1201, {L"utf-16be", L"utf16be", L"unicodefffe", L"ucs-2be", L"cp1201"}},
        {12000, {L"utf-32", L"utf-32le", L"utf32", L"utf32le", L"cp12000"}},
        {20127, {L"us-ascii", L"ascii", L"ansi_x3.4-1968", L"iso646-us", L"us", L"csascii"}},
        {28591, {L"iso-8859-1", L"latin1", L"l1", L"iso_8859-1", L"iso8859-1", L"cp819"}},
        {28605, {L"iso-8859-15", L"latin9", L"latin-9", L"l9"}},
        {932, {L"shift_jis", L"sjis", L"ms_kanji", L"cp932", L"windows-31j"}},
        {936, {L"gb2312", L"gbk", L"cp936", L"chinese"}},
        {54936, {L"gb18030"}},
        {949, {L"ks_c_5601-1987", L"korean", L"cp949", L"uhc", L"ksc_5601"}},
        {950, {L"big5", L"cp950", L"big5-hkscs"}},
        {20932, {L"euc-jp"}},
        {51949, {L"euc-kr"}},
        {50220, {L"iso-2022-jp"}},
        {20866, {L"koi8-r", L"koi8"}},
        {21866, {L"koi8-u"}},
    };
    for (const auto& row : rows) {
        for (const wchar_t* name : row.names) EXPECT_EQ(CodePageOf(name), row.codePage) << name;
    }
    for (int32_t page = 1250; page <= 1258; ++page) {
        EXPECT_EQ(CodePageOf(L"windows-" + std::to_wstring(page)), page);
        EXPECT_EQ(CodePageOf(L"cp" + std::to_wstring(page)), page);
    }
}

TEST(CodePageOf, SpecialNames) {
    const std::wstring longName(100, L'a');
    const struct {
        std::wstring name;
        int32_t codePage;
    } rows[] = {
        {L"", 0},
        {L"Shift_JIS", 932},
        {L"UTF-8", 65001},
        {L"ISO-8859-1", 28591},
        {L"Windows-1252", 1252},
        // "UTF-32" in exactly these capitals selects 32-bit code points,
        // whatever follows and however long the name is.
        {L"UTF-32", 65005},
        {L"UTF-32BE", 65005},
        {L"UTF-32" + longName, 65005},
        {L"Utf-32", 12000},
        {L"utf-32be", 12001},
        {L"x-unknown", -1},
        {L"utf-8 ", -1},
        {L"utf", -1},
        {L"utf-88", -1},
        {L"\u212Aoi8-r", -1},  // Kelvin sign: only ASCII letters are folded
        {L"utf-8\0"s, -1},
        {longName, -1},
        {std::wstring(99, L'a'), -1},
        {L"iso-8859-1" + std::wstring(90, L' '), -1},
    };
    for (const auto& row : rows) EXPECT_EQ(CodePageOf(row.name), row.codePage) << row.name.size();
}

TEST(CodePageOf, TableHoldsDistinctLowerCaseNamesThatAllResolve) {
    const auto table = xml::CodePageNames();
    EXPECT_EQ(table.size(), 365u);
    std::set<std::string_view> seen;
    for (const xml::CodePageName& entry : table) {
        EXPECT_TRUE(seen.insert(entry.name).second) << entry.name << " twice";
        EXPECT_LT(entry.name.size(), 100u);
        for (char c : entry.name) {
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << entry.name;
            EXPECT_LT(static_cast<unsigned char>(c), 0x80) << entry.name;
        }
        EXPECT_GT(entry.codePage, 0) << entry.name;
        EXPECT_EQ(CodePageOf(Widen(entry.name)), entry.codePage) << entry.name;
        EXPECT_EQ(CodePageOf(Upper(entry.name)), entry.name.starts_with("utf-32") ? 65005 : entry.codePage)
            << entry.name;
    }
}

}  // namespace
