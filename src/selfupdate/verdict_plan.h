// What the self-update worker does with the verdict of the version check:
// whether it hides its dialog, which message it shows, whether it offers
// to launch the installed product or fetches a newer installer, and the
// outcome it leaves for start-up. Plain data, no window and no network.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "config/version_descriptor.h"
#include "i18n/language_resources.h"

// The verdict of CheckServerVersion when the server's descriptor cannot be
// fetched or read; 0, 1 and 2 are those of DecideVersionAction.
inline constexpr int32_t kVerdictServerUnreachable = 4;

// The outcome the self-update check leaves for start-up.
enum SelfUpdateOutcome : int32_t {
    // Go on with the installation: the wizard opens.
    SelfUpdateContinue = 0,
    // Stop: the user has been told why; no wizard.
    SelfUpdateStop = 1,
    // A newer installer was downloaded; the exit routine starts it.
    SelfUpdateRelaunch = 2,
};

// The message the worker shows for a verdict.
enum class UpdateNotice {
    None,
    // "<short name> is already installed. Would you like to launch it?"
    AlreadyInstalled,
    // "Unable to contact the download server. ..."
    ServerUnreachable,
};

struct VerdictPlan {
    // The dialog is hidden before the message appears.
    bool hideDialog = false;
    UpdateNotice notice = UpdateNotice::None;
    // The message box's buttons and icon.
    UINT noticeStyle = 0;
    // A Yes to the message launches the installed product.
    bool offerLaunch = false;
    // A newer installer is to be fetched; the outcome then follows the fetch.
    bool fetchInstaller = false;
    // The outcome unless a fetch decides it.
    int32_t outcome = SelfUpdateContinue;

    bool operator==(const VerdictPlan&) const = default;
};

// The plan for `verdict`; a verdict the check does not give is treated as 0.
VerdictPlan PlanForVerdict(int32_t verdict);

// The outcome after a fetch of the newer installer: it is started at exit
// only when it arrived whole.
int32_t OutcomeAfterFetch(bool fetched);

// The text of `notice` in the current language; empty for None.
std::wstring NoticeText(UpdateNotice notice, const LanguageResources& language, const std::wstring& shortName);

// Where the newer installer comes from: the patch installation's address
// when an installed copy was found, the fresh installation's otherwise.
std::wstring InstallerDownloadUrl(const VersionDescriptor& descriptor, bool existingInstall);
// The SHA-256 text the same release gives for its installer, if any.
std::optional<std::wstring> InstallerSha256(const VersionDescriptor& descriptor, bool existingInstall);

// The updater folder for a temporary folder that ends with "\" and a tick
// count: "<temp>ZYLWebInstaller_<tick as a signed decimal>".
std::wstring UpdaterFolderPath(const std::wstring& tempFolder, DWORD tick);

// The newer installer's file in that folder: "<folder>\<full name>.exe".
std::wstring UpdaterFilePath(const std::wstring& folder, const std::wstring& fullName);
