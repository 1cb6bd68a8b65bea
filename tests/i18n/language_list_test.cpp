// BuildLanguageList and GetLanguageTitle over real language folders, with
// the user's real default UI language.
#include <gtest/gtest.h>

#include <algorithm>

#include "i18n/language_list.h"
#include "i18n_test_support.h"

using namespace i18n_testing;

namespace {

// The user's language is the machine's; the cases name it, and two other
// languages, symbolically.
constexpr int32_t kUser = -1;
constexpr int32_t kFirst = -2;   // a language that is not the user's
constexpr int32_t kSecond = -3;  // another one, neither the user's nor kFirst
// An initial language no case offers, so that "kept" and "chosen" differ.
constexpr int32_t kInitial = 4242;

struct Languages {
    int32_t user = static_cast<int32_t>(GetUserDefaultUILanguage());
    int32_t first = 0;
    int32_t second = 0;

    Languages()
    {
        std::vector<int32_t> others;
        for (int32_t id : {1031, 1036, 1041, 2052, 1028})
            if (id != user)
                others.push_back(id);
        first = others[0];
        second = others[1];
    }
    int32_t Resolve(int32_t id) const
    {
        return id == kUser ? user : id == kFirst ? first : id == kSecond ? second : id;
    }
};

// The pid suffix of the localised edition of a language.
std::wstring EditionCode(int32_t langId)
{
    switch (langId) {
    case 1031: return L"DE";
    case 1036: return L"FR";
    case 2052: return L"ZA";
    case 1028: return L"ZH";
    case 1041: return L"JA";
    default: return L"EN";
    }
}

struct ChoiceCase {
    const char* name;
    int32_t edition;  // the language whose edition the pid names
    std::vector<int32_t> packs;
    std::wstring requested;  // "/lang"; "#first" and "#second" name those languages
    int32_t expectedLangId;
    int32_t expectedChoice;
};

const ChoiceCase kChoiceCases[] = {
    {"English edition, the user's language offered by a pack", 1033, {kFirst, kUser}, L"", kUser, 1},
    {"localised edition prefers its own language", kFirst, {kUser}, L"", kFirst, 1},
    {"localised edition alone", kFirst, {}, L"", kFirst, 0},
    {"/lang offered by a pack", kFirst, {kSecond}, L"#second", kSecond, 1},
    {"/lang not offered keeps the language", kFirst, {}, L"#second", kInitial, 0},
    {"/lang not a number: the user's language", kFirst, {kUser}, L"x", kUser, 1},
    {"/lang not a number, user's language not offered", kFirst, {kSecond}, L"abc", kInitial, 1},
    {"/lang zero: the user's language", kFirst, {kUser}, L"0", kUser, 1},
    {"/lang negative: the user's language", kFirst, {kUser}, L"-5", kUser, 1},
    {"/lang read as wcstol reads it", kFirst, {kSecond}, L" #secondxyz", kSecond, 1},
    {"/lang English for an English edition alone", 1033, {}, L"1033", 1033, 0},
    {"English edition chosen by /lang over the packs", 1033, {kFirst, kSecond}, L"1033", 1033, 1},
};

std::wstring ResolveRequested(std::wstring requested, const Languages& languages)
{
    for (auto [marker, id] : {std::pair{std::wstring(L"#first"), languages.first},
                              std::pair{std::wstring(L"#second"), languages.second}}) {
        size_t at = requested.find(marker);
        if (at != std::wstring::npos)
            requested.replace(at, marker.size(), std::to_wstring(id));
    }
    return requested;
}

TEST(BuildLanguageList, ChoosesTheLanguageAmongThoseOffered)
{
    const Languages languages;
    for (const ChoiceCase& c : kChoiceCases) {
        SCOPED_TRACE(testing::Message() << c.name << " (user language " << languages.user << ")");
        LanguageFolders folders;
        InstallerConfig config;
        config.exeFolder = folders.ExeFolder();
        config.manifest.pid = L"PMX170-" + EditionCode(languages.Resolve(c.edition));
        for (int32_t pack : c.packs)
            config.manifest.languagePacks.push_back(ManifestLanguagePack{languages.Resolve(pack), L"", L"", L""});
        config.language.langId = kInitial;

        BuildLanguageList(config, ResolveRequested(c.requested, languages));

        EXPECT_EQ(config.language.langId, languages.Resolve(c.expectedLangId));
        EXPECT_EQ(config.hasLanguageChoice, c.expectedChoice);
        std::vector<int32_t> offered, expectedOffered{languages.Resolve(c.edition)};
        for (const LanguageOption& option : config.languages)
            offered.push_back(option.langId);
        for (int32_t pack : c.packs)
            expectedOffered.push_back(languages.Resolve(pack));
        EXPECT_EQ(offered, expectedOffered);
        EXPECT_EQ(config.language.languageFolder, folders.ExeFolder() + L"\\language\\");
    }
}

struct EditionCase {
    std::wstring pid;
    int32_t langId;
    std::wstring name;
};

TEST(BuildLanguageList, TheEditionLanguageComesFromTheLastTwoCharactersOfThePid)
{
    const EditionCase cases[] = {
        {L"PMX170-DE", 1031, L"German"},
        {L"PMX170-de", 1031, L"German"},
        {L"PMX170-Fr", 1036, L"French"},
        {L"PMX170-ZA", 2052, L"Chinese (Simplified)"},
        {L"PMX170-ZH", 1028, L"Chinese (Traditional)"},
        {L"PMX170-ja", 1041, L"Japanese"},
        {L"PMX170-EN", 1033, L"English"},
        {L"PMX170-DEX", 1033, L"English"},  // "EX"
        {L"DE-PMX170", 1033, L"English"},   // the code must end the pid
        {L"de", 1031, L"German"},           // the whole pid
        {L"E", 1033, L"English"},
        {L"", 1033, L"English"},
    };
    for (const EditionCase& c : cases) {
        SCOPED_TRACE(c.pid);
        InstallerConfig config;
        config.exeFolder = L"C:\\setup";
        config.manifest.pid = c.pid;
        BuildLanguageList(config, L"");
        ASSERT_EQ(config.languages.size(), 1u);
        EXPECT_EQ(config.languages[0].langId, c.langId);
        EXPECT_EQ(config.languages[0].name, c.name);
        EXPECT_EQ(config.hasLanguageChoice, 0);
    }
}

// Packs are named from their own string.ini; nothing is de-duplicated.
TEST(BuildLanguageList, NamesEachPackByItsTitleAndKeepsDuplicates)
{
    LanguageFolders folders;
    ASSERT_TRUE(folders.WriteIni(1031, L"[LANGUAGE]\r\nTitle=Deutsch\r\n"));
    ASSERT_TRUE(folders.WriteIni(1036, L"[LANGUAGE]\r\nTitle=Fran\u00e7ais\r\n", IniEncoding::Utf16WithBom));
    InstallerConfig config;
    config.exeFolder = folders.ExeFolder();
    config.manifest.pid = L"PMX170-DE";
    for (int32_t pack : {1031, 1036, 1041, 1036})
        config.manifest.languagePacks.push_back(ManifestLanguagePack{pack, L"", L"pack", L""});

    BuildLanguageList(config, L"");

    std::vector<std::pair<std::wstring, int32_t>> offered;
    for (const LanguageOption& option : config.languages)
        offered.emplace_back(option.name, option.langId);
    const std::vector<std::pair<std::wstring, int32_t>> expected = {
        {L"German", 1031}, {L"Deutsch", 1031}, {L"Fran\u00e7ais", 1036}, {L"1041", 1041}, {L"Fran\u00e7ais", 1036}};
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(config.language.langId, 1031);
    EXPECT_EQ(config.hasLanguageChoice, 1);
}

struct TitleCase {
    const char* name;
    std::wstring file;  // empty: no string.ini
    IniEncoding encoding;
    std::wstring expected;
};

TEST(GetLanguageTitle, ReadsTheTitleOfTheGivenLanguage)
{
    const TitleCase cases[] = {
        {"title", L"[LANGUAGE]\r\nTitle=Deutsch\r\n", IniEncoding::Ansi, L"Deutsch"},
        {"UTF-16 title", L"[LANGUAGE]\r\nTitle=\u65e5\u672c\u8a9e\r\n", IniEncoding::Utf16WithBom,
         L"\u65e5\u672c\u8a9e"},
        {"lower-case names", L"[language]\r\ntitle=Deutsch\r\n", IniEncoding::Ansi, L"Deutsch"},
        {"no file", L"", IniEncoding::Ansi, L"1031"},
        {"no LANGUAGE section", L"[UISTRING]\r\nTitle=Falsch\r\n", IniEncoding::Ansi, L"1031"},
        {"no Title key", L"[LANGUAGE]\r\nName=Deutsch\r\n", IniEncoding::Ansi, L"1031"},
        {"empty title", L"[LANGUAGE]\r\nTitle=\r\n", IniEncoding::Ansi, L""},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.name);
        LanguageFolders folders;
        if (!c.file.empty()) {
            ASSERT_TRUE(folders.WriteIni(1031, c.file, c.encoding));
        }
        // The current language is another one: the given language counts.
        ASSERT_TRUE(folders.WriteIni(1036, L"[LANGUAGE]\r\nTitle=Fran\u00e7ais\r\n"));
        EXPECT_EQ(GetLanguageTitle(folders.Resources(1036), 1031), c.expected);
    }
}

}  // namespace
