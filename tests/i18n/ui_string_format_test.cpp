// FormatUIString: a translation is the format only when its placeholders
// are those of the English default.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "i18n/ui_string_format.h"
#include "i18n_test_support.h"

using namespace i18n_testing;

namespace {

// Callers' arguments are checked against the default when they compile.
static_assert(ArgumentsFit<std::wstring>(UIStringEntryFor(UIStringId::ProductReady).defaultText));
static_assert(ArgumentsFit<const wchar_t*>(UIStringEntryFor(UIStringId::LaunchApp).defaultText));
static_assert(!ArgumentsFit<int>(UIStringEntryFor(UIStringId::ProductReady).defaultText));
static_assert(!ArgumentsFit<>(UIStringEntryFor(UIStringId::ProductReady).defaultText));
static_assert(ArgumentsFit<int, int, int>(UIStringEntryFor(UIStringId::TimeRemainingHours).defaultText));
static_assert(!ArgumentsFit<int, int>(UIStringEntryFor(UIStringId::TimeRemainingHours).defaultText));
static_assert(!ArgumentsFit<std::wstring, int>(UIStringEntryFor(UIStringId::TimeRemainingMins).defaultText));

struct FormatCase {
    const char* name;
    std::wstring text;  // the looked-up text
    std::wstring defaultText;
    std::vector<FormatArgument> arguments;
    std::wstring expected;
};

const FormatCase kFormatCases[] = {
    // Translations that fit are used.
    {"text placeholder", L"%s ist bereit", L"%s is ready", {L"Pictora"}, L"Pictora ist bereit"},
    {"three numbers", L"%02d Std. %02d Min. %02d Sek.", L"%02d hours %02d mins %02d secs remaining...", {1, 2, 3},
     L"01 Std. 02 Min. 03 Sek."},
    {"other width, same kind", L"noch %d s", L"%02d secs remaining...", {7}, L"noch 7 s"},
    {"%i is a number too", L"noch %i s", L"%02d secs remaining...", {7}, L"noch 7 s"},
    {"literal percent", L"100%% fertig: %s", L"%s is ready", {L"Pictora"}, L"100% fertig: Pictora"},
    {"no placeholders at all", L"Fertig.", L"Finished.", {}, L"Fertig."},
    // Translations that do not fit fall back to the default.
    {"number where a text belongs", L"%d ist bereit", L"%s is ready", {L"Pictora"}, L"Pictora is ready"},
    {"extra placeholder", L"%s %s", L"%s is ready", {L"Pictora"}, L"Pictora is ready"},
    {"many extra placeholders", L"%s%s%s%s%s%s%s%s%s%s", L"Launch %s", {L"Pictora"}, L"Launch Pictora"},
    {"placeholder dropped", L"Bereit", L"%s is ready", {L"Pictora"}, L"Pictora is ready"},
    {"order swapped", L"%s: %d", L"%d: %s", {4, L"x"}, L"4: x"},
    {"text where numbers belong", L"%02d Min. %s Sek.", L"%02d mins %02d secs remaining...", {5, 9},
     L"05 mins 09 secs remaining..."},
    {"%n writes memory", L"%s%n", L"%s is ready", {L"P"}, L"P is ready"},
    {"width from an argument", L"%*d s", L"%02d secs remaining...", {3}, L"03 secs remaining..."},
    {"positional argument", L"%1$s ist bereit", L"%s is ready", {L"P"}, L"P is ready"},
    {"length modifier", L"%ls ist bereit", L"%s is ready", {L"P"}, L"P is ready"},
    {"precision", L"%.2s ist bereit", L"%s is ready", {L"P"}, L"P is ready"},
    {"pointer", L"%p", L"%s is ready", {L"P"}, L"P is ready"},
    {"floating point", L"%f s", L"%02d secs remaining...", {3}, L"03 secs remaining..."},
    {"percent at the end", L"%s 100%", L"%s is ready", {L"P"}, L"P is ready"},
    {"huge width", L"%99999999s", L"%s is ready", {L"P"}, L"P is ready"},
    {"empty translation of a format", L"", L"%s is ready", {L"P"}, L"P is ready"},
    // The formatting itself, as printf does it.
    {"two digits", L"%02d", L"%02d", {5}, L"05"},
    {"more digits than the width", L"%02d", L"%02d", {123}, L"123"},
    {"negative, zero padded", L"%03d", L"%03d", {-5}, L"-05"},
    {"left aligned", L"[%-4d]", L"[%-4d]", {7}, L"[7   ]"},
    {"space padded", L"[%4d]", L"[%4d]", {-7}, L"[  -7]"},
    {"plus sign", L"%+d", L"%+d", {7}, L"+7"},
    {"space sign", L"% d", L"% d", {7}, L" 7"},
    {"most negative int", L"%d", L"%d", {INT_MIN}, L"-2147483648"},
    {"most negative long long", L"%d", L"%d", {LLONG_MIN}, L"-9223372036854775808"},
    {"text width", L"[%5s][%-5s]", L"[%5s][%-5s]", {L"ab", L"cd"}, L"[   ab][cd   ]"},
    {"text holding a percent", L"%s", L"%s", {L"50%s"}, L"50%s"},
    // Arguments that do not fit the default (a caller's fault): nothing is
    // formatted, not even a translation they would fit.
    {"arguments fit neither", L"%s", L"%s is ready", {7}, L"%s is ready"},
    {"arguments fit the translation only", L"%d", L"%s is ready", {7}, L"%s is ready"},
};

TEST(FormatLookedUpText, UsesTheTranslationOnlyWhenItsPlaceholdersFit)
{
    for (const FormatCase& c : kFormatCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatLookedUpText(c.text, c.defaultText, c.arguments), c.expected);
    }
}

// Through the real lookup: a string.ini with good and bad translations.
TEST(FormatUIString, FormatsTheCurrentLanguagesTextOrFallsBackToTheDefault)
{
    LanguageFolders folders;
    ASSERT_TRUE(folders.WriteIni(1031,
                                 L"[UISTRING]\r\n"
                                 L"IDS_PRODUCT_READY=%s ist bereit\r\n"
                                 L"IDS_LAUNCH_APP=%d starten\r\n"
                                 L"IDS_TIME_REMAINING_SECS=noch %02d Sek.\r\n"
                                 L"IDS_TIME_REMAINING_MINS=noch %02d Min. %02d Sek. %02d\r\n"
                                 L"IDS_ERR_CREATE_FOLDER_FAILED=%s%s%s%s%s%s%s%s%s%s%s%s\r\n"
                                 L"IDS_STATUS_FINISHED=Fertig: 100%%\r\n",
                                 IniEncoding::Utf16WithBom));
    LanguageResources german = folders.Resources(1031);
    const std::wstring product = L"Pictora Maxora";

    EXPECT_EQ(FormatUIString<UIStringId::ProductReady>(german, product), L"Pictora Maxora ist bereit");
    EXPECT_EQ(FormatUIString<UIStringId::LaunchApp>(german, product), L"Launch Pictora Maxora");
    EXPECT_EQ(FormatUIString<UIStringId::TimeRemainingSecs>(german, 9), L"noch 09 Sek.");
    EXPECT_EQ(FormatUIString<UIStringId::TimeRemainingMins>(german, 1, 5), L"01 mins 05 secs remaining...");
    EXPECT_EQ(FormatUIString<UIStringId::ErrCreateFolderFailed>(german, L"D:\\x"),
              L"The specified path D:\\x is unavailable.");
    EXPECT_EQ(FormatUIString<UIStringId::StatusFinished>(german), L"Fertig: 100%");
    // Without a file the defaults are the formats.
    EXPECT_EQ(FormatUIString<UIStringId::TimeRemainingHours>(folders.Resources(1033), 2, 3, 4),
              L"02 hours 03 mins 04 secs remaining...");
    EXPECT_EQ(FormatUIString<UIStringId::ErrOutOfDisk>(folders.Resources(1033), std::to_wstring(512)),
              L"The disk space required for the installation exceeds available disk space. Check that at least "
              L"512 MB of disk space is available and try again. For more information, please contact Customer "
              L"Care.");
}

}  // namespace
