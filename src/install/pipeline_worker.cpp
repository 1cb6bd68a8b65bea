// The installation worker: the version check, download and install stages,
// the registration and the final phase.
#include <windows.h>
#include <shlwapi.h>

#include <exception>
#include <string>

#include "base/debug_trace.h"
#include "base/notifier.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "config/version_descriptor.h"
#include "config/version_rules.h"
#include "i18n/ui_string_format.h"
#include "i18n/ui_string_lookup.h"
#include "install/install_controller.h"
#include "install/busy_installer_wait.h"
#include "install/installer_call.h"
#include "install/installer_exit_codes.h"
#include "install/process_runner.h"
#include "install/registration.h"
#include "install/shared_progress.h"
#include "net/download_file.h"
#include "net/download_retries.h"
#include "net/download_paths.h"

namespace {

// The caption of the version check's boxes.
constexpr wchar_t kVersionCheckCaption[] = L"Windows Installer";

// A download with the retries, resume and digest check of a real network.
bool Download(InstallController& controller, const std::wstring& url, const std::wstring& localPath,
              const std::optional<Sha256Digest>& sha256, DownloadStatusCallback callback)
{
    DownloadRetryOptions options;
    options.expectedSha256 = sha256;
    options.waitsMs = controller.retryWaitsMs;
    return DownloadWithRetries(&controller, url, localPath, std::move(callback), options).complete;
}

bool RunVersionCheck(InstallController& controller)
{
    InstallerConfig& config = TheConfig();
    const ProductManifest& manifest = config.manifest;
    if (!manifest.standalone && !manifest.versionCheckUrl.empty()) {
        std::wstring path = MakeDownloadPath(L"version.xml");
        bool loaded = Download(controller, manifest.versionCheckUrl, path, std::nullopt, [](DownloadStatusInfo&) {}) &&
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
    const std::vector<WorkItem>& items = controller.workList.items;
    controller.heldDownloads.clear();
    controller.heldDownloads.resize(items.size());
    for (size_t index = 0; index < items.size(); ++index) {
        const WorkItem& item = items[index];
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
        if (!Download(controller, item.url, item.localPath, item.sha256, report)) {
            controller.failureReason = kFailureServerUnreachable;
            return false;
        }
        // From here until it is used, nobody else may change the file.
        controller.heldDownloads[index] = HoldDownloadedFile(item.localPath);
        if (!controller.heldDownloads[index]) {
            DebugTraceFormat(L"PictoraSetup: %s cannot be held for its use (error %d); it is not used.\r\n",
                             item.localPath.c_str(), static_cast<int>(GetLastError()));
            controller.failureReason = kFailureServerUnreachable;
            return false;
        }
        ++downloaded;
    }
    return true;
}

// A prerequisite's installer, run until a busy Windows Installer lets it
// through: success (0, 1638) and success with a restart to come (3010,
// 1641) go on; any other exit code fails the run before the main package,
// which would not work without it.
bool RunPrerequisite(InstallController& controller, const WorkItem& item)
{
    ProcessOutcome last;
    auto attempt = [&controller, &item, &last]() -> DWORD {
        last = RunInstallerProcess(item, controller.CancelEvent());
        // Only an exit code that says "busy" is worth another try.
        return last.ended ? last.exitCode : static_cast<DWORD>(ERROR_INSTALL_FAILURE);
    };
    BusyWaitOutcome waited = RetryWhileInstallerBusy(attempt, item.fileName, controller.busyWait, controller.CancelEvent());
    if (last.cancelled || waited.cancelled)
        return false;
    if (!last.ended) {
        DebugTraceFormat(L"PictoraSetup: prerequisite %s did not run; the run fails.\r\n", item.fileName.c_str());
        controller.failureReason = kFailureInstallerFailed;
        return false;
    }
    switch (MeaningOfExitCode(last.exitCode)) {
    case ExitCodeMeaning::Success:
        return true;
    case ExitCodeMeaning::SuccessRestartNeeded:
        DebugTraceFormat(L"PictoraSetup: prerequisite %s needs a restart of the machine (exit code %lu).\r\n",
                         item.fileName.c_str(), static_cast<unsigned long>(last.exitCode));
        controller.restartRequired = 1;
        return true;
    default:
        DebugTraceFormat(L"PictoraSetup: prerequisite %s failed with exit code %lu; the run fails.\r\n",
                         item.fileName.c_str(), static_cast<unsigned long>(last.exitCode));
        controller.failureReason = kFailureInstallerFailed;
        return false;
    }
}

// A language pack's installer: the product works without it, so its
// failure is written to the log and the run goes on.
bool RunLanguagePack(InstallController& controller, const WorkItem& item)
{
    ProcessOutcome outcome = RunInstallerProcess(item, controller.CancelEvent());
    if (outcome.cancelled)
        return false;
    ExitCodeMeaning meaning = outcome.ended ? MeaningOfExitCode(outcome.exitCode) : ExitCodeMeaning::Failure;
    if (meaning == ExitCodeMeaning::SuccessRestartNeeded)
        controller.restartRequired = 1;
    if (!outcome.ended)
        DebugTraceFormat(L"PictoraSetup: language pack %s did not run; the installation goes on without it.\r\n",
                         item.fileName.c_str());
    else if (meaning != ExitCodeMeaning::Success && meaning != ExitCodeMeaning::SuccessRestartNeeded)
        DebugTraceFormat(L"PictoraSetup: language pack %s failed (exit code %lu); the installation goes on "
                         L"without it.\r\n",
                         item.fileName.c_str(), static_cast<unsigned long>(outcome.exitCode));
    return true;
}

// One item of the install stage; false fails the stage. Programs before
// the main package are prerequisites, programs after it language packs.
bool InstallItem(InstallController& controller, const WorkItem& item, bool afterMainPackage)
{
    // A transform is applied to the main package through TRANSFORMS.
    if (item.downloadOnly)
        return true;
    if (item.runAsProcess)
        return afterMainPackage ? RunLanguagePack(controller, item) : RunPrerequisite(controller, item);
    return InstallPackage(controller, item);
}

bool RunInstallations(InstallController& controller)
{
    controller.installIndex = 0;
    bool afterMainPackage = false;
    const std::vector<WorkItem>& items = controller.workList.items;
    for (size_t index = 0; index < items.size(); ++index) {
        const WorkItem& item = items[index];
        if (controller.cancelRequested)
            return false;
        if (!PathFileExistsW(item.localPath.c_str())) {
            // A standalone package may lack a language pack or a
            // prerequisite; without its main package there is nothing to
            // install.
            bool mainPackage = !item.runAsProcess && !item.downloadOnly;
            DebugTraceFormat(L"PictoraSetup: %s is not there%s.\r\n", item.localPath.c_str(),
                             mainPackage ? L"; the main package is missing, the run fails" : L"; passed over");
            if (mainPackage)
                return false;
            continue;
        }
        // Reports made while a cancel is under way are ignored.
        ReportProgress(PipelinePhase::Installing, controller.installIndex, 0, item.fileName);
        bool mainPackage = !item.runAsProcess && !item.downloadOnly;
        bool installed = InstallItem(controller, item, afterMainPackage);
        afterMainPackage = afterMainPackage || mainPackage;
        if (index < controller.heldDownloads.size())
            controller.heldDownloads[index].Reset();
        if (!installed)
            return false;
        ReportProgress(PipelinePhase::Installing, controller.installIndex, 100, item.fileName);
        ++controller.installIndex;
    }
    return true;
}

bool RunStages(InstallController& controller)
{
    auto stage = [&controller](const char* name) {
        if (controller.stageHook)
            controller.stageHook(name);
    };
    stage("version check");
    if (!RunVersionCheck(controller))
        return false;
    stage("downloads");
    if (!RunDownloads(controller))
        return false;
    stage("installations");
    if (!RunInstallations(controller))
        return false;
    stage("registration");
    InstallController::RunResults results;
    if (!RegisterInstallation(results.installFolder)) {
        DebugTrace(L"PictoraSetup: the installation's registry records could not be written; the run fails.\r\n");
        return false;
    }
    results.homePageUrl = controller.installerMessages.HomePageUrl();
    controller.SetRunResults(std::move(results));
    return true;
}

}  // namespace

void RunPipelineWorker(InstallController& controller)
{
    bool passed = false;
    // Nothing may escape the worker thread (it would end the process): an
    // exception (memory running out, say) ends the run as a failure.
    try {
        passed = RunStages(controller);
    } catch (const std::exception& error) {
        DebugTraceFormat(L"PictoraSetup: the installation stopped on an exception (%S); the run fails.\r\n",
                         error.what());
    } catch (...) {
        DebugTrace(L"PictoraSetup: the installation stopped on an exception; the run fails.\r\n");
    }
    if (ShouldShowConnectError(CurrentPipelinePhase(), passed, controller.failureReason)) {
        const InstallerConfig& config = TheConfig();
        Notify(LoadUIString(config.language, UIStringId::ErrConnectDownloadServer), config.manifest.shortName,
               MB_ICONERROR);
    }
    controller.heldDownloads.clear();
    EndProgressRecord(passed);
}
