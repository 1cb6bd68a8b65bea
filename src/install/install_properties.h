// The property string that the Windows Installer call passes with the main
// package, built from the user's choices.
#pragma once

#include <cstdint>
#include <string>

struct InstallPropertyChoices {
    // The application's existingInstall flag: update or repair the copy
    // that is there.
    int existingInstall = 0;
    // The chosen installation folder, and whether it exists.
    std::wstring installFolder;
    bool installFolderExists = false;
    // hasLanguageChoice and language.langId of the configuration.
    int32_t hasLanguageChoice = 0;
    int32_t langId = 1033;
    // The transform folder (trailing backslash included), and whether the
    // chosen language's transform (TransformPath) exists there.
    std::wstring transformFolder;
    bool transformExists = false;
    // The file-association level of the settings panel.
    int32_t associationLevel = 0;
};

// The value of SHELL_INTEGRATION_LEVEL: "All", "Free", "None" for the
// levels 0, 1, 2; empty for any other level.
std::wstring ShellIntegrationLevelName(int32_t level);

// The properties, separated by single blanks, each value in double quotes:
// the reinstall properties for an existing installation, else INSTALLDIR
// (the folder without its trailing backslash, only when it exists); then
// TRANSFORMS when a language other than English was chosen from an offered
// list and its transform exists (a missing transform would fail the whole
// installation); then SHELL_INTEGRATION_LEVEL, always. The string begins
// with a blank when neither of the first two applied. A fresh installation
// ends with kSuppressRestartProperty (the reinstall properties hold it
// already).
std::wstring BuildInstallProperties(const InstallPropertyChoices& choices);

// Keeps the Windows Installer from restarting the machine on its own.
inline constexpr wchar_t kSuppressRestartProperty[] = L"REBOOT=ReallySuppress";

// The properties of an update or repair of the installed copy.
inline constexpr wchar_t kReinstallProperties[] = L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress";
