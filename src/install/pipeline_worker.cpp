// The installation worker: the version check, download and install stages,
// the registration and the final phase.
#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "base/notifier.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "config/version_descriptor.h"
#include "config/version_rules.h"
#include "i18n/ui_string_format.h"
#include "i18n/ui_string_lookup.h"
#include "install/install_controller.h"
#include "install/installer_call.h"
#include "install/process_runner.h"
#include "install/registration.h"
#include "install/shared_progress.h"
#include "net/download_job.h"
#include "net/download_paths.h"

namespace {

// The caption of the version check's boxes.
constexpr wchar_t kVersionCheckCaption[] = L"Windows Installer";

bool Download(InstallController& controller, const std::wstring& url, const std::wstring& localPath,
              DownloadStatusCallback callback)
{
    CDownloadJob job(url, localPath);
    return job.Run(&controller, std::move(callback));
}

bool RunVersionCheck(InstallController& controller)
{
    InstallerConfig& config = TheConfig();
    const ProductManifest& manifest = config.manifest;
    if (!manifest.standalone && !manifest.versionCheckUrl.empty()) {
        std::wstring path = MakeDownloadPath(L"version.xml");
        bool loaded = Download(controller, manifest.versionCheckUrl, path, [](DownloadStatusInfo&) {}) &&
                      LoadVersionDescriptor(path, config.manifest);
        if (!loaded) {
            controller.failureReason = kFailureServerUnreachable;
            return false;
        }
    }
    int32_t verdict = DecideVersionAction(config, TheRunFlags().existingInstall != 0);
    switch (verdict) {
    case VersionContinue:
        return true;
    case VersionAlreadyInstalled:
        Notify(FormatUIString<UIStringId::ErrInstalledAlready>(config.language, manifest.shortName),
               kVersionCheckCaption, MB_OKCANCEL | MB_ICONERROR, controller.ownerWindow);
        return false;
    case VersionClientTooOld:
        Notify(LoadUIString(config.language, UIStringId::ErrClientTooOld), kVersionCheckCaption,
               MB_OKCANCEL | MB_ICONERROR, controller.ownerWindow);
        return false;
    default:
        return false;
    }
}

bool RunDownloads(InstallController& controller)
{
    int downloaded = 0;
    for (const WorkItem& item : controller.workList.items) {
        if (controller.cancelRequested)
            return false;
        if (!item.needsDownload)
            continue;
        auto report = [&item, downloaded](DownloadStatusInfo& status) {
            uint64_t total = static_cast<uint64_t>(status.totalBytes);
            uint64_t done = static_cast<uint64_t>(status.bytesDone);
            int percent = total == 0 ? 0 : static_cast<int>(done * 100 / total);
            ReportProgress(PipelinePhase::Downloading, downloaded, percent, item.fileName);
        };
        if (!Download(controller, item.url, item.localPath, report)) {
            controller.failureReason = kFailureServerUnreachable;
            return false;
        }
        ++downloaded;
    }
    return true;
}

// One item of the install stage; false fails the stage.
bool InstallItem(InstallController& controller, const WorkItem& item)
{
    // A transform is applied to the main package through TRANSFORMS; a
    // program's outcome is not judged (it is counted as installed).
    if (item.downloadOnly)
        return true;
    if (item.runAsProcess) {
        RunInstallerProcess(item);
        return true;
    }
    return InstallPackage(controller, item);
}

bool RunInstallations(InstallController& controller)
{
    controller.installIndex = 0;
    for (const WorkItem& item : controller.workList.items) {
        if (controller.cancelRequested)
            return false;
        if (!PathFileExistsW(item.localPath.c_str()))
            continue;
        // Reports made while a cancel is under way are ignored.
        ReportProgress(PipelinePhase::Installing, controller.installIndex, 0, item.fileName);
        if (!InstallItem(controller, item))
            return false;
        ReportProgress(PipelinePhase::Installing, controller.installIndex, 100, item.fileName);
        ++controller.installIndex;
    }
    return true;
}

}  // namespace

void RunPipelineWorker(InstallController& controller)
{
    bool passed = RunVersionCheck(controller) && RunDownloads(controller) && RunInstallations(controller);
    if (passed) {
        RegisterInstallation();
        controller.homePageUrl = controller.installerMessages.HomePageUrl();
        TheConfig().homePageUrl = controller.homePageUrl;
    }
    if (ShouldShowConnectError(CurrentPipelinePhase(), passed, controller.failureReason)) {
        const InstallerConfig& config = TheConfig();
        Notify(LoadUIString(config.language, UIStringId::ErrConnectDownloadServer), config.manifest.shortName,
               MB_ICONERROR);
    }
    EndProgressRecord(passed);
}
