#include "net/download_paths.h"

#include "config/installer_config.h"

std::wstring MakeDownloadPath(const InstallerConfig& config, const std::wstring& name, DWORD tick)
{
    if (config.manifest.standalone)
        return config.componentFolder + name;
    return config.componentFolder + std::to_wstring(static_cast<int32_t>(tick)) + name;
}

std::wstring MakeLanguagePackPath(const InstallerConfig& config, int32_t langId, DWORD tick)
{
    return MakeDownloadPath(config, L"language_pack_" + std::to_wstring(langId) + L".exe", tick);
}

std::wstring MakeDownloadPath(const std::wstring& name)
{
    return MakeDownloadPath(TheConfig(), name, GetTickCount());
}

std::wstring MakeLanguagePackPath(int32_t langId)
{
    return MakeLanguagePackPath(TheConfig(), langId, GetTickCount());
}
