#include "selfupdate/verdict_plan.h"

#include "config/version_rules.h"
#include "i18n/ui_string_format.h"
#include "i18n/ui_string_lookup.h"

VerdictPlan PlanForVerdict(int32_t verdict)
{
    VerdictPlan plan;
    switch (verdict) {
    case VersionAlreadyInstalled:
        plan.hideDialog = true;
        plan.notice = UpdateNotice::AlreadyInstalled;
        plan.noticeStyle = MB_YESNO | MB_ICONERROR;
        plan.offerLaunch = true;
        plan.outcome = SelfUpdateStop;
        break;
    case VersionClientTooOld:
        plan.fetchInstaller = true;
        break;
    case kVerdictServerUnreachable:
        plan.hideDialog = true;
        plan.notice = UpdateNotice::ServerUnreachable;
        plan.noticeStyle = MB_OK | MB_ICONERROR;
        plan.outcome = SelfUpdateStop;
        break;
    default:
        break;
    }
    return plan;
}

int32_t OutcomeAfterFetch(bool fetched)
{
    return fetched ? SelfUpdateRelaunch : SelfUpdateContinue;
}

std::wstring NoticeText(UpdateNotice notice, const LanguageResources& language, const std::wstring& shortName)
{
    switch (notice) {
    case UpdateNotice::AlreadyInstalled:
        return FormatUIString<UIStringId::ErrInstalledAlready>(language, shortName);
    case UpdateNotice::ServerUnreachable:
        return LoadUIString(language, UIStringId::ErrConnectDownloadServer);
    case UpdateNotice::None:
        break;
    }
    return {};
}

std::wstring InstallerDownloadUrl(const VersionDescriptor& descriptor, bool existingInstall)
{
    return existingInstall ? descriptor.patchInstall.webInstallerDownloadUrl
                           : descriptor.freshInstall.webInstallerDownloadUrl;
}

std::wstring UpdaterFolderPath(const std::wstring& tempFolder, DWORD tick)
{
    return tempFolder + L"ZYLWebInstaller_" + std::to_wstring(static_cast<int32_t>(tick));
}

std::wstring UpdaterFilePath(const std::wstring& folder, const std::wstring& fullName)
{
    return folder + L"\\" + fullName + L".exe";
}

std::optional<std::wstring> InstallerSha256(const VersionDescriptor& descriptor, bool existingInstall)
{
    return existingInstall ? descriptor.patchInstall.webInstallerSha256 : descriptor.freshInstall.webInstallerSha256;
}
