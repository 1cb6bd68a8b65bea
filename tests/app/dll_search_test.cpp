// The installer started from a folder that holds a planted wininet.dll
// must not load it. The loader is told (per program, in Wine's registry
// settings) to prefer a DLL found beside the program, as Windows does for
// any DLL that is not a KnownDLL.
#include <gtest/gtest.h>

#include "support/process_helpers.h"

using namespace testing_support;

namespace {

class PlantedDll : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileTo(BinaryDir() + L"\\planted\\wininet.dll", downloads / L"wininet.dll"));
        for (const wchar_t* program : kPrograms) {
            std::wstring key = std::wstring(kAppDefaults) + program + L"\\DllOverrides";
            HKEY handle = nullptr;
            ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                      &handle, nullptr),
                      ERROR_SUCCESS);
            const wchar_t order[] = L"native,builtin";
            RegSetValueExW(handle, L"wininet", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
            RegCloseKey(handle);
        }
    }
    void TearDown() override
    {
        for (const wchar_t* program : kPrograms)
            RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kAppDefaults) + program).c_str());
    }

    bool PlantLoaded() const { return FileExists(downloads / L"wininet.dll.loaded"); }

    static constexpr const wchar_t* kAppDefaults = L"Software\\Wine\\AppDefaults\\";
    static constexpr const wchar_t* kPrograms[] = {L"naive_loader.exe", L"PictoraSetup.exe"};
    TempDir downloads;
};

TEST_F(PlantedDll, ProgramWithoutRestrictedSearchLoadsIt)
{
    // Shows that the plant works: an ordinary program picks it up.
    ASSERT_TRUE(CopyFileTo(BinaryDir() + L"\\naive_loader.exe", downloads / L"naive_loader.exe"));
    EXPECT_EQ(RunProcess(L"\"" + (downloads / L"naive_loader.exe") + L"\""), 0);
    EXPECT_TRUE(PlantLoaded());
}

TEST_F(PlantedDll, InstallerDoesNotLoadIt)
{
    ASSERT_TRUE(CopyFileTo(BinaryDir() + L"\\PictoraSetup.exe", downloads / L"PictoraSetup.exe"));
    // It runs on into the wizard, which is cancelled at once.
    EXPECT_EQ(RunInstallerCancellingWizard(L"\"" + (downloads / L"PictoraSetup.exe") + L"\" /n"), 1602);
    EXPECT_FALSE(PlantLoaded());
}

}  // namespace
