#include "install/install_properties.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "config/registry_records.h"
#include "install/work_list.h"

namespace {

// NAME="value". A double quote inside the value is doubled, as the Windows
// Installer reads it, so that no value can end early and add properties.
std::wstring QuotedProperty(const wchar_t* name, const std::wstring& value)
{
    std::wstring property = name;
    property += L"=\"";
    for (wchar_t c : value) {
        if (c == L'"')
            property += L'"';
        property += c;
    }
    property += L'"';
    return property;
}

// The folder as PathRemoveBackslashW leaves it (a root such as "C:\" keeps
// its backslash).
std::wstring WithoutTrailingBackslash(const std::wstring& folder)
{
    std::vector<wchar_t> buffer(folder.begin(), folder.end());
    buffer.push_back(L'\0');
    PathRemoveBackslashW(buffer.data());
    return std::wstring(buffer.data());
}

}  // namespace

std::wstring ShellIntegrationLevelName(int32_t level)
{
    switch (level) {
    case 0:
        return L"All";
    case 1:
        return L"Free";
    case 2:
        return L"None";
    default:
        return std::wstring();
    }
}

std::wstring BuildInstallProperties(const InstallPropertyChoices& choices)
{
    std::wstring properties;
    if (choices.existingInstall)
        properties = kReinstallProperties;
    else if (choices.installFolderExists)
        properties = QuotedProperty(L"INSTALLDIR", WithoutTrailingBackslash(choices.installFolder));

    if (choices.hasLanguageChoice == 1 && choices.langId != registry_records::kEnglishLanguage &&
        choices.transformExists) {
        properties += L' ';
        properties += QuotedProperty(L"TRANSFORMS", TransformPath(choices.transformFolder, choices.langId));
    }

    properties += L' ';
    properties += QuotedProperty(L"SHELL_INTEGRATION_LEVEL", ShellIntegrationLevelName(choices.associationLevel));
    // The installer never restarts the machine itself: a restart the
    // package needs is reported (3010) and left to the user or the
    // administrator.
    if (!choices.existingInstall) {
        properties += L' ';
        properties += kSuppressRestartProperty;
    }
    return properties;
}
