#include "install/installer_call.h"

#include <windows.h>
#include <msi.h>
#include <shlwapi.h>

#include <string>

#include "base/debug_trace.h"
#include "base/notifier.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "install/busy_installer_wait.h"
#include "install/install_controller.h"
#include "install/installer_exit_codes.h"
#include "install/install_properties.h"
#include "install/installer_result.h"
#include "install/shared_progress.h"
#include "install/work_list.h"

namespace {

InstallPropertyChoices CurrentPropertyChoices(const InstallerConfig& config, int existingInstall)
{
    InstallPropertyChoices choices;
    choices.existingInstall = existingInstall;
    choices.installFolder = config.installFolder;
    choices.installFolderExists = PathFileExistsW(config.installFolder.c_str()) != FALSE;
    choices.hasLanguageChoice = config.hasLanguageChoice;
    choices.langId = config.language.langId;
    choices.transformFolder = config.transformFolder;
    std::wstring transform = TransformPath(config.transformFolder, config.language.langId);
    choices.transformExists = PathFileExistsW(transform.c_str()) != FALSE;
    choices.associationLevel = config.associationLevel;
    return choices;
}

int AnswerInstallerMessage(InstallController& controller, UINT messageType, LPCWSTR message)
{
    InstallerMessageOutcome outcome = controller.installerMessages.Handle(messageType, message);
    if (outcome.switchToBasicUi)
        MsiSetInternalUI(kFirstMessageInternalUiLevel, nullptr);
    if (!message)
        return outcome.result;
    DebugTrace(L"\r\n " + std::wstring(message));

    if (outcome.showMessageBox)
        return Notify(message, TheConfig().manifest.shortName, outcome.boxStyle, controller.ownerWindow);
    if (outcome.reportPercent)
        ReportProgress(PipelinePhase::Installing, controller.installIndex.load(), *outcome.reportPercent,
                       controller.installerMessages.CurrentItemName());
    return outcome.result;
}

}  // namespace

bool InstallPackage(InstallController& controller, const WorkItem& item)
{
    controller.installerMessages.BeginPackage(item.fileName);
    MsiSetInternalUI(kInstallInternalUiLevel, nullptr);
    MsiSetExternalUIW(HandleInstallerMessage, kInstallerMessageFilter, &controller);
    controller.installerHandlerRegistered = true;

    std::wstring properties = BuildInstallProperties(CurrentPropertyChoices(TheConfig(), TheRunFlags().existingInstall));
    auto call = [&controller, &item, &properties]() -> DWORD {
        if (controller.installerCall)
            return controller.installerCall(item.localPath, properties);
        return MsiInstallProductW(item.localPath.c_str(), properties.c_str());
    };
    BusyWaitOutcome outcome = RetryWhileInstallerBusy(call, item.fileName, controller.busyWait, controller.CancelEvent());
    UINT result = outcome.result;
    DebugTraceFormat(L"PictoraSetup: the Windows Installer answered %u for %s.\r\n", result, item.fileName.c_str());
    if (result != ERROR_SUCCESS)
        DebugTrace(InstallerFailureTrace(result));
    if (ExitCodeNeedsRestart(result)) {
        controller.restartRequired = 1;
        DebugTrace(L"PictoraSetup: a restart of the machine completes the installation.\r\n");
    }
    return !outcome.cancelled && IsInstallerSuccess(result);
}

int WINAPI HandleInstallerMessage(LPVOID context, UINT messageType, LPCWSTR message)
{
    auto& controller = *static_cast<InstallController*>(context);
    int answer = AnswerInstallerMessage(controller, messageType, message);
    if (controller.installerMessageHook)
        controller.installerMessageHook(messageType, answer);
    return answer;
}
