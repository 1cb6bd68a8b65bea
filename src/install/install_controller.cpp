#include "install/install_controller.h"

#include <msi.h>

#include "config/installed_product.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "install/prerequisite_check.h"
#include "install/shared_progress.h"
#include "net/download_paths.h"
#include "net/internet_session.h"

InstallController::InstallController()
    : cancelEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      runEvent(CreateEventW(nullptr, TRUE, TRUE, nullptr)),
      workerDone_(CreateEventW(nullptr, TRUE, TRUE, nullptr))
{
}

InstallController::~InstallController()
{
    WaitForWorker();
    if (installerHandlerRegistered)
        MsiSetExternalUIW(nullptr, 0, nullptr);
}

void InstallController::WaitForWorker()
{
    if (!worker.joinable())
        return;
    HANDLE done = workerDone_.Get();
    while (done && MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        // Answers the messages sent to this thread; posted ones stay queued.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    worker.join();
}

void InstallController::SetRunResults(RunResults results)
{
    std::lock_guard<std::mutex> lock(resultsLock_);
    results_ = std::move(results);
}

InstallController::RunResults InstallController::TakeRunResults() const
{
    std::lock_guard<std::mutex> lock(resultsLock_);
    return results_;
}

void PublishRunResults(InstallController& controller)
{
    InstallController::RunResults results = controller.TakeRunResults();
    InstallerConfig& config = TheConfig();
    config.homePageUrl = results.homePageUrl;
    if (!results.installFolder.empty())
        config.installFolder = results.installFolder;
}

WorkList BuildWorkList(const InstallerConfig& config, int existingInstall)
{
    const ProductManifest& manifest = config.manifest;
    WorkListChoices choices;
    for (const ManifestDependency& dependency : manifest.dependencies)
        choices.prerequisitePresent.push_back(IsPrerequisitePresent(dependency));
    if (existingInstall)
        choices.installedLanguagePacks = ListInstalledLanguagePacks(manifest.registryKey);
    choices.langId = config.language.langId;
    choices.hasLanguageChoice = config.hasLanguageChoice;
    choices.existingInstall = existingInstall;
    choices.msiFolder = config.msiFolder;
    choices.transformFolder = config.transformFolder;
    choices.downloadPath = [&config](const std::wstring& name) {
        return MakeDownloadPath(config, name, GetTickCount());
    };
    choices.languagePackPath = [&config](int32_t langId) {
        return MakeLanguagePackPath(config, langId, GetTickCount());
    };
    return BuildWorkList(manifest, choices);
}

void StartPipeline(InstallController& controller)
{
    controller.WaitForWorker();
    controller.workList = BuildWorkList(TheConfig(), TheRunFlags().existingInstall);
    StartProgressRecord(controller.workList.downloadWeights, controller.workList.installWeights,
                        controller.cancelRequested != 0);
    // downloadWriteLock lives as long as the process; the internet handle
    // is opened again if it was closed.
    PrepareInternetSession();
    controller.SetRunResults({});
    ResetEvent(controller.workerDone_.Get());
    controller.worker = std::thread([&controller] {
        RunPipelineWorker(controller);
        SetEvent(controller.workerDone_.Get());
        if (controller.endNotifyWindow)
            PostMessageW(controller.endNotifyWindow, controller.endNotifyMessage, 0, 0);
    });
}

void RequestCancel(InstallController& controller)
{
    bool eventsExist = controller.cancelEvent && controller.runEvent;
    ApplyCancelToProgress(eventsExist);
    // The flags first, so that whatever the events wake up sees them.
    controller.installerMessages.RequestCancel();
    controller.cancelRequested = 1;
    if (eventsExist) {
        SetEvent(controller.cancelEvent.Get());
        // A paused download wakes up and sees the cancel.
        SetEvent(controller.runEvent.Get());
    }
}
