// LoadUIString and LoadLinkString over string.ini files on disk, read by
// the system's own profile-string reader.
#include <gtest/gtest.h>

#include "i18n/ui_string_lookup.h"
#include "i18n_test_support.h"

using namespace i18n_testing;

namespace {

constexpr IniEncoding kEncodings[] = {IniEncoding::Ansi, IniEncoding::Utf16WithBom};

const std::wstring kLong300 = [] {
    std::wstring text;
    for (int i = 0; i < 300; ++i)
        text.push_back(static_cast<wchar_t>(L'a' + i % 26));
    return text;
}();

struct LookupCase {
    const char* name;
    std::wstring file;  // the string.ini of language 1031
    UIStringId id;
    std::wstring expected;
};

const LookupCase kLookupCases[] = {
    {"override", L"[UISTRING]\r\nIDS_INSTALL=Installieren\r\n", UIStringId::Install, L"Installieren"},
    {"key left out keeps the default", L"[UISTRING]\r\nIDS_INSTALL=Installieren\r\n", UIStringId::StartNow,
     L"Start Now"},
    {"empty value is empty, not the default", L"[UISTRING]\r\nIDS_INSTALL=\r\n", UIStringId::Install, L""},
    {"300 characters are cut to 259", L"[UISTRING]\r\nIDS_INSTALL=" + kLong300 + L"\r\n", UIStringId::Install,
     kLong300.substr(0, 259)},
    {"section and key in lower case", L"[uistring]\r\nids_install=Installieren\r\n", UIStringId::Install,
     L"Installieren"},
    {"key in another section only", L"[RLINK]\r\nIDS_INSTALL=Falsch\r\n", UIStringId::Install, L"Install"},
    {"text beyond Latin letters", L"[UISTRING]\r\nIDS_START_NOW=Jetzt \u00f6ffnen \u2013 \u00fc\u00df\r\n",
     UIStringId::StartNow, L"Jetzt \u00f6ffnen \u2013 \u00fc\u00df"},
    {"placeholders come through as written",
     L"[UISTRING]\r\nIDS_TIME_REMAINING_SECS=noch %02d Sek.\r\n", UIStringId::TimeRemainingSecs,
     L"noch %02d Sek."},
    {"later lines of a section", L"[UISTRING]\r\nIDS_INSTALL=a\r\nIDS_STATUS_INIT=b\r\nIDS_STATUS_FINISHED=c\r\n",
     UIStringId::StatusFinished, L"c"},
};

TEST(UIStringLookup, ReadsTheCurrentLanguagesFileInBothEncodings)
{
    for (IniEncoding encoding : kEncodings) {
        for (const LookupCase& c : kLookupCases) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << EncodingName(encoding));
            LanguageFolders folders;
            ASSERT_TRUE(folders.WriteIni(1031, c.file, encoding));
            EXPECT_EQ(LoadUIString(folders.Resources(1031), c.id), c.expected);
        }
    }
}

TEST(UIStringLookup, UnicodeOnlyTextNeedsTheUtf16File)
{
    LanguageFolders folders;
    ASSERT_TRUE(folders.WriteIni(1041, L"[UISTRING]\r\nIDS_INSTALL=\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\r\n",
                                 IniEncoding::Utf16WithBom));
    EXPECT_EQ(LoadUIString(folders.Resources(1041), UIStringId::Install),
              L"\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb");
}

// Every default passes through the profile reader unchanged when the file
// exists but lacks the key: no default is cut, trimmed or unquoted.
TEST(UIStringLookup, EveryDefaultSurvivesAFileWithoutTheKey)
{
    LanguageFolders folders;
    ASSERT_TRUE(folders.WriteIni(1036, L"[UISTRING]\r\nIDS_UNRELATED=x\r\n[RLINK]\r\nIDS_UNRELATED=y\r\n"));
    for (const UIStringEntry& entry : kUIStringTable) {
        SCOPED_TRACE(std::wstring(entry.key));
        EXPECT_EQ(LoadUIString(folders.Resources(1036), entry), entry.defaultText);
        EXPECT_EQ(LoadLinkString(folders.Resources(1036), entry), entry.defaultText);
    }
}

TEST(UIStringLookup, NoFileOrNoFolderGivesTheDefaults)
{
    LanguageFolders folders;
    ASSERT_TRUE(folders.WriteIni(1031, L"[UISTRING]\r\nIDS_INSTALL=Installieren\r\n"));
    // 1041 has no folder at all; 1036 has a folder without string.ini.
    ASSERT_TRUE(CreateDirectoryW(folders.FolderOf(1036).c_str(), nullptr));
    for (int32_t langId : {1041, 1036}) {
        SCOPED_TRACE(langId);
        for (const UIStringEntry& entry : kUIStringTable)
            EXPECT_EQ(LoadUIString(folders.Resources(langId), entry), entry.defaultText);
    }
    // A folder without the language folder layout: nothing found either.
    LanguageResources nowhere{1031, folders.ExeFolder() + L"\\missing\\"};
    EXPECT_EQ(LoadUIString(nowhere, UIStringId::Install), L"Install");
}

TEST(UIStringLookup, EveryLookupReadsTheLanguageAfresh)
{
    LanguageFolders folders;
    ASSERT_TRUE(folders.WriteIni(1036, L"[UISTRING]\r\nIDS_START_NOW=D\u00e9marrer\r\n"));
    LanguageResources resources = folders.Resources(1033);
    EXPECT_EQ(LoadUIString(resources, UIStringId::StartNow), L"Start Now");
    resources.langId = 1036;
    EXPECT_EQ(LoadUIString(resources, UIStringId::StartNow), L"D\u00e9marrer");
    // The file is read at each lookup, not kept.
    ASSERT_TRUE(folders.WriteIni(1036, L"[UISTRING]\r\nIDS_START_NOW=Lancer\r\n"));
    EXPECT_EQ(LoadUIString(resources, UIStringId::StartNow), L"Lancer");
}

struct LinkCase {
    const char* name;
    std::wstring file;
    UIStringId id;
    std::wstring expected;
};

TEST(LinkStringLookup, ReadsTheRlinkSectionElseTheBuiltInAddress)
{
    const std::wstring file =
        L"[UISTRING]\r\nIDS_RLINK_TERMS=https://wrong.example/ui\r\n"
        L"[RLINK]\r\nIDS_RLINK_SLIDE_SHOW=https://www.pictora-maxora.com/de/neu\r\n";
    const LinkCase cases[] = {
        {"override in RLINK", file, UIStringId::RlinkSlideShow, L"https://www.pictora-maxora.com/de/neu"},
        {"only in UISTRING: the built-in address", file, UIStringId::RlinkTerms,
         std::wstring(UIStringEntryFor(UIStringId::RlinkTerms).defaultText)},
        {"lower-case section", L"[rlink]\r\nids_rlink_terms=https://example.test/agb\r\n", UIStringId::RlinkTerms,
         L"https://example.test/agb"},
        {"empty address", L"[RLINK]\r\nIDS_RLINK_TERMS=\r\n", UIStringId::RlinkTerms, L""},
    };
    for (IniEncoding encoding : kEncodings) {
        for (const LinkCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << EncodingName(encoding));
            LanguageFolders folders;
            ASSERT_TRUE(folders.WriteIni(1031, c.file, encoding));
            EXPECT_EQ(LoadLinkString(folders.Resources(1031), c.id), c.expected);
        }
    }
}

TEST(LinkStringLookup, BuiltInAddressesAreWebPagesOfTheProductSite)
{
    for (UIStringId id : {UIStringId::RlinkTerms, UIStringId::RlinkSlideShow}) {
        std::wstring address = LoadLinkString(LanguageResources{}, id);
        SCOPED_TRACE(address);
        EXPECT_EQ(address.rfind(L"https://www.pictora-maxora.com/", 0), 0u);
        EXPECT_GT(address.size(), std::wstring(L"https://www.pictora-maxora.com/").size());
    }
    EXPECT_NE(LoadLinkString(LanguageResources{}, UIStringId::RlinkTerms),
              LoadLinkString(LanguageResources{}, UIStringId::RlinkSlideShow));
}

}  // namespace
