// Which component names a manifest may give: a bare file name stays inside
// the working folder it is appended to; anything else is refused.
#include <gtest/gtest.h>

#include <functional>

#include "config/manifest_names.h"

namespace {

TEST(ManifestNames, OnlyBareFileNamesPass)
{
    struct Case {
        const wchar_t* name;
        bool bare;
    };
    const Case cases[] = {
        {L"PictoraMaxora.msi", true},
        {L"vc_redist.x64.exe", true},
        {L"Pictora Maxora 17.msi", true},
        {L"lp.de-DE.exe", true},
        {L"..\\..\\Windows\\System32\\x.dll", false},
        {L"../x.dll", false},
        {L"sub\\x.msi", false},
        {L"sub/x.msi", false},
        {L"C:x.msi", false},
        {L"C:\\Windows\\x.msi", false},
        {L"\\\\server\\share\\x.msi", false},
        {L"x.msi:stream", false},
        {L".", false},
        {L"..", false},
        {L"", false},
        {L"x.msi.", false},
        {L"x.msi ", false},
        {L"x?.msi", false},
        {L"x*.msi", false},
        {L"x<y>.msi", false},
        {L"x|y.msi", false},
        {L"\"x\".msi", false},
        {L"x\ty.msi", false},
        {L"CON", false},
        {L"nul.txt", false},
        {L"Com1.exe", false},
        {L"LPT9", false},
        {L"aux .msi", false},
        {L"COM0.exe", true},
        {L"console.exe", true},
        {L"nullsoft.exe", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsBareFileName(c.name), c.bare) << testing::PrintToString(std::wstring(c.name));
}

TEST(ManifestNames, EveryKindOfRecordIsChecked)
{
    ProductManifest m;
    m.mainComponentName = L"p.msi";
    m.transforms = {{1031, L"1031.mst", L"u"}};
    m.languagePacks = {{1031, L"lp", L"lp1031.exe", L"u"}};
    m.dependencies = {{L"vc.exe", L"u", L""}};
    std::wstring bad;
    EXPECT_TRUE(ManifestNamesSafe(m, bad));
    EXPECT_EQ(bad, L"");

    const std::wstring evil = L"..\\evil.dll";
    struct Case {
        std::function<void(ProductManifest&)> spoil;
        std::wstring bad;
    };
    const Case cases[] = {
        {[&](ProductManifest& x) { x.mainComponentName = evil; }, L"main_component " + evil},
        {[&](ProductManifest& x) { x.transforms[0].name = evil; }, L"transform " + evil},
        {[&](ProductManifest& x) { x.languagePacks[0].name = evil; }, L"language_pack " + evil},
        {[&](ProductManifest& x) { x.dependencies[0].name = evil; }, L"dependency " + evil},
    };
    for (const Case& c : cases) {
        ProductManifest spoiled = m;
        c.spoil(spoiled);
        bad.clear();
        EXPECT_FALSE(ManifestNamesSafe(spoiled, bad));
        EXPECT_EQ(bad, c.bad);
    }
}

}  // namespace
