// CClientValidator: the self-update check that runs before the wizard.
//
// Contents of selfupdate/:
//   verdict_plan       what each verdict of the version check leads to
//                      (dialog hidden, message, launch offer, fetch,
//                      outcome), the newer installer's address and paths
//   progress_layout    where the progress bar goes in the dialog
//   client_validator   this object: its operations (CheckServerVersion,
//                      FetchNewInstaller, MakeUpdaterPath,
//                      GetInstalledExecutablePath) and the worker;
//                      client_validator_dialog: the dialog on template 172
//                      with its marquee bar, and the modal run
//
// Start-up runs it unless "/n" was given. Its worker waits 200 ms, fetches
// the server's version descriptor, lets DecideVersionAction judge it and
// acts on the verdict; it ends by posting WM_CLOSE to the dialog. Start-up
// then reads `outcome`: anything but 0 skips the wizard, and with 2 the
// exit routine starts the installer at `updaterPath` with "/n".
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "resource_ids.h"
#include "selfupdate/verdict_plan.h"
#include "ui/zyl_dialog.h"

struct InstallerConfig;
struct RunFlags;

class CClientValidator : public CZYLDialog {
public:
    // On the process-wide configuration and run flags.
    CClientValidator();
    // On the given ones (both must outlive the object).
    CClientValidator(InstallerConfig& config, const RunFlags& flags);
    ~CClientValidator() override;

    // Shows the dialog modally (hidden in silent mode) while its worker
    // runs; returns once the worker has ended and closed it, with `outcome`
    // (and `updaterPath`) set. When the dialog cannot be made, the worker
    // runs all the same, without a window.
    void RunModal();

    // The verdict: 0, 1 or 2 of DecideVersionAction, or
    // kVerdictServerUnreachable when the descriptor cannot be fetched whole
    // or cannot be read. A standalone package fetches nothing.
    int32_t CheckServerVersion();
    // Downloads the newer installer to MakeUpdaterPath(); true only when the
    // whole file arrived. On false `updaterPath` is empty.
    bool FetchNewInstaller();
    // "%TEMP%\ZYLWebInstaller_<tick>\<full name>.exe", the folder made when
    // missing; empty when it cannot be made.
    std::wstring MakeUpdaterPath();
    // The installed product's main program ("exe" under the manifest's
    // registry key) when that file exists; empty otherwise.
    std::wstring GetInstalledExecutablePath();

    // The worker's work, on the calling thread: the 200 ms wait, the check
    // and what its verdict calls for. `dialog` (may be null) is hidden
    // before a message, owns the message boxes and gets WM_CLOSE at the end.
    void RunWorker(HWND dialog);

    std::wstring titleText;
    std::wstring updaterPath;
    // Result of the worker's last stream download: 1 success, 0 failure.
    int32_t downloadResult = 0;
    int32_t outcome = SelfUpdateContinue;
    // The verdict the last check reached (kVerdictServerUnreachable when
    // the server could not be asked); -1 before any check.
    int32_t lastVerdict = -1;

protected:
    bool OnInitDialog() override;
    void OnLayout(const RECT& client) override;
    // Enter and Escape never end the dialog, and it closes only once the
    // worker has finished: its WM_CLOSE is the only way out.
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;
    // Every key press is swallowed.
    bool PreTranslateMessage(MSG& message) override;

private:
    // Centres the progress bar in `client` at its own size.
    void LayoutProgressBar(const RECT& client);
    // Hides the dialog from the screen and the taskbar (silent mode).
    void HideForSilentMode();
    void WaitForWorker();

    InstallerConfig& config_;
    const RunFlags& flags_;
    std::thread workerTask_;
    // Set by the worker just before it posts WM_CLOSE.
    std::atomic<bool> workerDone_{false};
    bool keepHidden_ = false;
};
