// What the Windows Installer call passes and how it reads the result: the
// property string for a table of choices, the success codes and the
// failure trace; and the command lines of process-run items.
#include "install/install_properties.h"

#include <gtest/gtest.h>

#include <string>

#include "install/installer_result.h"
#include "install/process_command_line.h"

namespace {

struct PropertyCase {
    const char* what;
    InstallPropertyChoices choices;
    std::wstring properties;
};

InstallPropertyChoices Fresh(std::wstring folder, bool folderExists, int32_t hasChoice, int32_t langId,
                             bool transformExists, int32_t level)
{
    InstallPropertyChoices c;
    c.installFolder = std::move(folder);
    c.installFolderExists = folderExists;
    c.hasLanguageChoice = hasChoice;
    c.langId = langId;
    c.transformFolder = L"C:\\setup\\transform\\";
    c.transformExists = transformExists;
    c.associationLevel = level;
    return c;
}

InstallPropertyChoices Existing(int32_t hasChoice, int32_t langId, bool transformExists, int32_t level)
{
    InstallPropertyChoices c = Fresh(L"C:\\Program Files\\ZYL Systems", true, hasChoice, langId, transformExists,
                                     level);
    c.existingInstall = 1;
    return c;
}

const PropertyCase kPropertyCases[] = {
    {"fresh, German from a list, level 1", Fresh(L"C:\\Program Files\\ZYL Systems\\", true, 1, 1031, true, 1),
     L"INSTALLDIR=\"C:\\Program Files\\ZYL Systems\" TRANSFORMS=\"C:\\setup\\transform\\1031.mst\" "
     L"SHELL_INTEGRATION_LEVEL=\"Free\" REBOOT=ReallySuppress"},
    {"fresh, German, transform file missing", Fresh(L"C:\\Program Files\\ZYL Systems\\", true, 1, 1031, false, 1),
     L"INSTALLDIR=\"C:\\Program Files\\ZYL Systems\" SHELL_INTEGRATION_LEVEL=\"Free\" REBOOT=ReallySuppress"},
    {"fresh, folder without trailing backslash, English", Fresh(L"D:\\Apps", true, 1, 1033, true, 0),
     L"INSTALLDIR=\"D:\\Apps\" SHELL_INTEGRATION_LEVEL=\"All\" REBOOT=ReallySuppress"},
    {"fresh into a drive root keeps its backslash", Fresh(L"D:\\", true, 0, 1033, false, 2),
     L"INSTALLDIR=\"D:\\\" SHELL_INTEGRATION_LEVEL=\"None\" REBOOT=ReallySuppress"},
    {"fresh, folder does not exist yet", Fresh(L"C:\\New\\", false, 0, 1033, false, 0),
     L" SHELL_INTEGRATION_LEVEL=\"All\" REBOOT=ReallySuppress"},
    {"fresh, folder does not exist, French", Fresh(L"C:\\New\\", false, 1, 1036, true, 0),
     L" TRANSFORMS=\"C:\\setup\\transform\\1036.mst\" SHELL_INTEGRATION_LEVEL=\"All\" REBOOT=ReallySuppress"},
    {"German without a language choice: no transform", Fresh(L"D:\\Apps", true, 0, 1031, true, 0),
     L"INSTALLDIR=\"D:\\Apps\" SHELL_INTEGRATION_LEVEL=\"All\" REBOOT=ReallySuppress"},
    {"level 3: an empty level", Fresh(L"D:\\Apps", true, 0, 1033, false, 3),
     L"INSTALLDIR=\"D:\\Apps\" SHELL_INTEGRATION_LEVEL=\"\" REBOOT=ReallySuppress"},
    {"negative level: an empty level", Fresh(L"D:\\Apps", true, 0, 1033, false, -1),
     L"INSTALLDIR=\"D:\\Apps\" SHELL_INTEGRATION_LEVEL=\"\" REBOOT=ReallySuppress"},
    {"a quote in a value is doubled", Fresh(L"D:\\a\" B=\"x", true, 0, 1033, false, 0),
     L"INSTALLDIR=\"D:\\a\"\" B=\"\"x\" SHELL_INTEGRATION_LEVEL=\"All\" REBOOT=ReallySuppress"},
    {"existing install, English, level 0", Existing(1, 1033, true, 0),
     L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress SHELL_INTEGRATION_LEVEL=\"All\""},
    {"existing install, German from a list, level 2", Existing(1, 1031, true, 2),
     L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress TRANSFORMS=\"C:\\setup\\transform\\1031.mst\" "
     L"SHELL_INTEGRATION_LEVEL=\"None\""},
};

TEST(InstallProperties, PropertyStringForEachCase)
{
    for (const PropertyCase& c : kPropertyCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(BuildInstallProperties(c.choices), c.properties);
    }
}

TEST(InstallProperties, ResultCodesAndTheFailureTrace)
{
    struct Case {
        UINT result;
        bool success;
    } cases[] = {
        {0, true}, {3010, true}, {1641, false}, {1602, false}, {1603, false}, {1618, false}, {1624, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(IsInstallerSuccess(c.result), c.success);
    }
    EXPECT_EQ(InstallerFailureTrace(3010), L"KESTO_DEBUG: MSI Installation failed. Error Code: 3010\r\n");
    EXPECT_EQ(InstallerFailureTrace(1603), L"KESTO_DEBUG: MSI Installation failed. Error Code: 1603\r\n");
}

TEST(ProcessCommandLine, QuotedPathThenArguments)
{
    struct Case {
        std::wstring path;
        std::wstring arguments;
        bool msi;
        std::wstring commandLine;         // for a program
        std::wstring msiexecParameters;   // for a package
    } cases[] = {
        {L"C:\\Users\\A B\\setup\\component\\12webview2.exe", L"/silent /install", false,
         L"\"C:\\Users\\A B\\setup\\component\\12webview2.exe\" /silent /install", L""},
        {L"C:\\setup\\component\\12language_pack_1031.exe", L"/s", false,
         L"\"C:\\setup\\component\\12language_pack_1031.exe\" /s", L""},
        {L"C:\\setup\\component\\12vc_redist.exe", L"", false, L"\"C:\\setup\\component\\12vc_redist.exe\"", L""},
        {L"C:\\Program Files\\s\\12bonjour.msi", L"/qn", true, L"",
         L"/i \"C:\\Program Files\\s\\12bonjour.msi\" /qn"},
        {L"C:\\s\\12BONJOUR.MSI", L"", true, L"", L"/i \"C:\\s\\12BONJOUR.MSI\""},
        {L"C:\\s\\x.Msi", L"/quiet", true, L"", L"/i \"C:\\s\\x.Msi\" /quiet"},
        {L"C:\\s\\x.msi.exe", L"", false, L"\"C:\\s\\x.msi.exe\"", L""},
        {L"C:\\s.msi\\setup", L"", false, L"\"C:\\s.msi\\setup\"", L""},
        {L"C:\\s\\x.msix", L"", false, L"\"C:\\s\\x.msix\"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        WorkItem item;
        item.localPath = c.path;
        item.arguments = c.arguments;
        item.runAsProcess = 1;
        EXPECT_EQ(IsMsiPackagePath(c.path), c.msi);
        if (c.msi)
            EXPECT_EQ(MsiexecParameters(item), c.msiexecParameters);
        else
            EXPECT_EQ(ProcessCommandLine(item), c.commandLine);
    }
}

}  // namespace
