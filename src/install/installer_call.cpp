#include "install/installer_call.h"

#include <windows.h>
#include <msi.h>
#include <shlwapi.h>

#include <string>

#include "base/debug_trace.h"
#include "base/notifier.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "install/install_controller.h"
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
    UINT result = MsiInstallProductW(item.localPath.c_str(), properties.c_str());
    if (result != ERROR_SUCCESS)
        DebugTrace(InstallerFailureTrace(result));
    return IsInstallerSuccess(result);
}

int WINAPI HandleInstallerMessage(LPVOID context, UINT messageType, LPCWSTR message)
{
    auto& controller = *static_cast<InstallController*>(context);
    int answer = AnswerInstallerMessage(controller, messageType, message);
    if (controller.installerMessageHook)
        controller.installerMessageHook(messageType, answer);
    return answer;
}
