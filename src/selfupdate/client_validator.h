// CClientValidator: the self-update check that runs before the wizard.
//
// Contents of selfupdate/:
//   verdict_plan       what each verdict of the version check leads to
//                      (dialog hidden, message, launch offer, fetch,
//                      outcome), the newer installer's address and paths
//   client_validator   this object: its operations (CheckServerVersion,
//                      FetchNewInstaller, MakeUpdaterPath,
//                      GetInstalledExecutablePath), the worker, and the
//                      modal run
//
// Start-up runs it unless "/n" was given. Its worker waits 200 ms, fetches
// the server's version descriptor, lets DecideVersionAction judge it and
// acts on the verdict; it ends by posting WM_CLOSE to the dialog. Start-up
// then reads `outcome`: anything but 0 skips the wizard, and with 2 the
// exit routine starts the installer at `updaterPath` with "/n".
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <thread>

#include "selfupdate/verdict_plan.h"

struct InstallerConfig;
struct RunFlags;

class CClientValidator {
public:
    // On the process-wide configuration and run flags.
    CClientValidator();
    // On the given ones (both must outlive the object).
    CClientValidator(InstallerConfig& config, const RunFlags& flags);
    ~CClientValidator();
    CClientValidator(const CClientValidator&) = delete;
    CClientValidator& operator=(const CClientValidator&) = delete;

    // Runs the check modally: returns once the worker has ended, with
    // `outcome` (and `updaterPath`) set.
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

private:
    void WaitForWorker();

    InstallerConfig& config_;
    const RunFlags& flags_;
    std::thread workerTask_;
};
