// The prerequisite table and its detection rules on plain values, then the
// registry reads behind them against the real registry: a key of the test's
// own, and the per-user WebView2 record put back as it was.
#include "install/prerequisite_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/registry_test_support.h"
#include "install/prerequisite_check.h"

using namespace registry_test;

namespace {

using Text = std::optional<std::wstring>;

TEST(PrerequisiteRules, TableMatchesNamesExactly)
{
    struct Case {
        const char* name;
        std::optional<PrerequisiteRule> rule;
    } cases[] = {
        {"webview2.exe", PrerequisiteRule::WebView2Runtime},
        {"vc_redist.exe", PrerequisiteRule::VcRuntimeX64},
        {"bonjour.msi", PrerequisiteRule::AppleBonjour},
        {"VC_Redist.exe", std::nullopt},  // letter case counts
        {"Bonjour.msi", std::nullopt},
        {"webview2.exe ", std::nullopt},
        {"vc_redist.x64.exe", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindPrerequisiteRule(c.name), c.rule);
    }
}

TEST(PrerequisiteRules, WebView2AndBonjourVersionValues)
{
    struct Case {
        const char* what;
        Text machine;
        Text user;
        bool present;
    } cases[] = {
        {"neither recorded", std::nullopt, std::nullopt, false},
        {"machine-wide", L"120.0.2210.91", std::nullopt, true},
        {"current user only", std::nullopt, L"120.0.2210.91", true},
        {"0.0.0.0 in both places", L"0.0.0.0", L"0.0.0.0", false},
        {"empty in both places", L"", L"", false},
        {"0.0.0.0 machine-wide, a version for the user", L"0.0.0.0", L"1.0.0.0", true},
        {"longer than 0.0.0.0 differs", L"0.0.0.0.1", std::nullopt, true},
        {"shorter than 0.0.0.0 differs", L"0.0.0.", std::nullopt, true},
        {"any other text", L"x", std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsWebView2RuntimePresent(c.machine, c.user), c.present);
        // Bonjour's "Version" follows the same rule as one "pv".
        EXPECT_EQ(IsBonjourPresent(c.machine), IsRecordedVersionSet(c.machine));
    }
    EXPECT_FALSE(IsBonjourPresent(std::nullopt));
    EXPECT_FALSE(IsBonjourPresent(L""));
    EXPECT_FALSE(IsBonjourPresent(L"0.0.0.0"));
    EXPECT_TRUE(IsBonjourPresent(L"3.1.0.1"));
}

TEST(PrerequisiteRules, VcRuntimeNumbersEachCompareOnTheirOwn)
{
    struct Case {
        std::optional<VcRuntimeVersion> version;
        bool present;
    } cases[] = {
        {VcRuntimeVersion{14, 40, 33810}, true},
        {VcRuntimeVersion{14, 29, 30133}, true},
        {VcRuntimeVersion{14, 24, 18127}, true},   // the lowest accepted
        {VcRuntimeVersion{14, 16, 27033}, false},  // Minor 16 < 24
        {VcRuntimeVersion{15, 0, 1}, false},       // not one version number: Minor 0 < 24
        {VcRuntimeVersion{14, 24, 18126}, false},
        {VcRuntimeVersion{13, 99, 99999}, false},
        {VcRuntimeVersion{14, 99, 100}, false},    // Bld 100 < 18127
        {VcRuntimeVersion{0, 0, 0}, false},        // key present, values unreadable
        {std::nullopt, false},                     // key missing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version ? testing::Message() << c.version->major << "." << c.version->minor << "."
                                                    << c.version->build
                               : testing::Message() << "no key");
        EXPECT_EQ(IsVcRuntimePresent(c.version), c.present);
    }
}

TEST(PrerequisiteCheck, RegistryReadsBehindTheRules)
{
    ScopedTestKey key(HKEY_CURRENT_USER, TestKeyPath());
    const std::wstring runtime = key.Path() + L"\\Runtime";
    ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, runtime, L"Major", REG_DWORD, NumberBytes(14)), ERROR_SUCCESS);
    ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, runtime, L"Minor", REG_DWORD, NumberBytes(38)), ERROR_SUCCESS);
    // 8 bytes: not a 4-byte value, so it reads as 0.
    std::vector<BYTE> eightBytes(8, 0x11);
    ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, runtime, L"Bld", REG_QWORD, eightBytes), ERROR_SUCCESS);
    const std::wstring partial = key.Path() + L"\\Partial";
    ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, partial, L"Minor", REG_DWORD, NumberBytes(40)), ERROR_SUCCESS);
    ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, partial, L"Bld", REG_DWORD, NumberBytes(33810)), ERROR_SUCCESS);

    std::optional<VcRuntimeVersion> read = ReadVcRuntimeVersion(HKEY_CURRENT_USER, runtime);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->major, 14u);
    EXPECT_EQ(read->minor, 38u);
    EXPECT_EQ(read->build, 0u);
    read = ReadVcRuntimeVersion(HKEY_CURRENT_USER, partial);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->major, 0u);  // missing
    EXPECT_EQ(read->minor, 40u);
    EXPECT_EQ(read->build, 33810u);
    EXPECT_FALSE(ReadVcRuntimeVersion(HKEY_CURRENT_USER, key.Path() + L"\\Missing"));

    const std::wstring client = key.Path() + L"\\Client";
    ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, client, L"pv", REG_SZ, TextBytes(std::wstring(L"120.0.2210.91", 14))),
              ERROR_SUCCESS);
    // Stored without a terminating zero: read up to the end of the data.
    ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, client, L"Version", REG_SZ, TextBytes(L"3.1.0.1")), ERROR_SUCCESS);
    EXPECT_EQ(ReadRecordedVersion(HKEY_CURRENT_USER, client, L"pv"), Text(L"120.0.2210.91"));
    EXPECT_EQ(ReadRecordedVersion(HKEY_CURRENT_USER, client, L"Version"), Text(L"3.1.0.1"));
    EXPECT_EQ(ReadRecordedVersion(HKEY_CURRENT_USER, client, L"missing"), std::nullopt);
    EXPECT_EQ(ReadRecordedVersion(HKEY_CURRENT_USER, key.Path() + L"\\Missing", L"pv"), std::nullopt);
    // Reading never creates the key it looked for.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.Path() + L"\\Missing"));
}

TEST(PrerequisiteCheck, DependencyNamePicksTheRule)
{
    // The WebView2 runtime recorded for the current user only; the
    // machine-wide record must be absent for the rows to mean anything.
    if (ReadRecordedVersion(HKEY_LOCAL_MACHINE, kWebView2MachineKey, kWebView2VersionValue))
        GTEST_SKIP() << "this prefix has a machine-wide WebView2 record";
    ScopedValueRestore restore(HKEY_CURRENT_USER, kWebView2UserKey, kWebView2VersionValue);

    struct Case {
        const wchar_t* recorded;
        const wchar_t* name;
        bool present;
    } cases[] = {
        {L"120.0.2210.91", L"webview2.exe", true},
        {L"120.0.2210.91", L"WebView2.exe", false},  // not in the table: always installed
        {L"120.0.2210.91", L"webview2\x00E9.exe", false},
        {L"0.0.0.0", L"webview2.exe", false},
        {L"", L"webview2.exe", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.name)) << " with pv "
                                        << testing::PrintToString(std::wstring(c.recorded)));
        std::wstring recorded = c.recorded;
        ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, kWebView2UserKey, kWebView2VersionValue, REG_SZ,
                           TextBytes(std::wstring(recorded.c_str(), recorded.size() + 1))),
                  ERROR_SUCCESS);
        ManifestDependency dependency{c.name, L"http://h/webview2.exe", L"/silent /install"};
        EXPECT_EQ(IsPrerequisitePresent(dependency), c.present);
    }
}

}  // namespace
