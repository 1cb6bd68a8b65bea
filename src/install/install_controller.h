// InstallController: one installation run on a worker thread — the server's
// version check, the downloads, the installations, then the registration —
// with the cancel protocol the status panel drives.
//
// The status panel owns one controller. StartPipeline builds the work list
// and starts the worker; the panel polls PollInstallProgress() once a second
// until the phase is final; RequestCancel stops the run. Destroying the
// controller waits for the worker to end.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/unique_handle.h"
#include "install/busy_installer_wait.h"
#include "install/installer_messages.h"
#include "install/work_list.h"
#include "net/download_job.h"
#include "net/retry_rules.h"

struct InstallerConfig;

// failureReason when a prerequisite's installer failed.
inline constexpr int kFailureInstallerFailed = 5;

class InstallController : public IDownloadEventSource {
public:
    InstallController();
    ~InstallController();
    InstallController(const InstallController&) = delete;
    InstallController& operator=(const InstallController&) = delete;

    HANDLE CancelEvent() const override { return cancelEvent.Get(); }
    HANDLE RunEvent() const override { return runEvent.Get(); }

    // Ends when the worker has ended (at once when none was started). While
    // it waits it still answers messages that other threads send to this
    // thread's windows: a box the worker shows, owned by the wizard,
    // sends to the wizard's thread when it opens and closes, and that
    // thread may be the one waiting here.
    void WaitForWorker();

    WorkList workList;
    // Items installed so far in this run; -1 until the install stage starts.
    std::atomic<int> installIndex{-1};
    // The Windows Installer handler's state: progress counters, the current
    // item, the home-page address and msiCancelRequested.
    InstallerMessageState installerMessages;
    // Manual-reset: set when the user cancels (created non-signalled), and
    // reset while the cancel question is on screen (created signalled).
    UniqueHandle cancelEvent;
    UniqueHandle runEvent;
    std::atomic<int> cancelRequested{0};
    // 0, kFailureServerUnreachable or kFailureInstallerFailed.
    std::atomic<int> failureReason{0};
    // Set when a prerequisite or the main package answered that a restart
    // of the machine completes the installation (3010, 1641).
    std::atomic<int> restartRequired{0};
    // How long a busy Windows Installer (1618) is waited for, and how
    // often it is asked again (tests shorten both).
    BusyWaitTimes busyWait;
    // The Windows Installer call for the main package: MsiInstallProductW
    // when empty. Tests put an answer of their own in front of the real
    // call (a busy installer, say).
    std::function<UINT(const std::wstring& package, const std::wstring& properties)> installerCall;
    // Set by the status panel once the user confirmed the cancel question.
    std::atomic<int> cancelConfirmed{0};
    // What a finished run found out, for the window's thread: set by the
    // worker, read by PublishRunResults, under the controller's own lock.
    struct RunResults {
        std::wstring homePageUrl;    // as the Windows Installer reported it
        std::wstring installFolder;  // as recorded (no trailing backslash); empty: not recorded
    };
    void SetRunResults(RunResults results);
    RunResults TakeRunResults() const;
    // The waits between tries of a failed download (tests shorten them).
    std::vector<DWORD> retryWaitsMs = kDefaultRetryWaitsMs;
    // Each downloaded file, held open from the end of its download until it
    // has been installed or started, so that nobody changes it meanwhile
    // (by work-list index; empty where nothing is held).
    std::vector<UniqueHandle> heldDownloads;
    // The wizard window: owner of the boxes the worker shows (may be null).
    HWND ownerWindow = nullptr;
    // When set, the worker posts `endNotifyMessage` (no parameters) to this
    // window as its last act, so that the window sees the end of the run at
    // once rather than at its next poll.
    HWND endNotifyWindow = nullptr;
    UINT endNotifyMessage = 0;
    std::thread worker;

    // Set once the Windows Installer handler is registered with this
    // controller as its context; the destructor takes it back, so that no
    // later installation in the process calls into a destroyed controller.
    bool installerHandlerRegistered = false;

    // Called with each message the Windows Installer sends and the answer
    // it gets; tests use it to see the answers and to act at a known point
    // of an installation.
    std::function<void(UINT messageType, int answer)> installerMessageHook;
    // Called by the worker before each stage ("version check", "downloads",
    // "installations", "registration"); tests use it to make a stage fail.
    std::function<void(const char* stage)> stageHook;

private:
    mutable std::mutex resultsLock_;
    RunResults results_;
    // Set (manual reset) when the worker thread has ended its work.
    UniqueHandle workerDone_;

    friend void StartPipeline(InstallController& controller);
};

// On the window's thread, once the run is final: the results the worker
// handed over (the home page, the recorded installation folder) go into
// the process-wide configuration, which only that thread writes.
void PublishRunResults(InstallController& controller);

// Builds the work list from the configuration and the machine, starts the
// progress record of the run and the worker thread; returns at once.
void StartPipeline(InstallController& controller);

// The user confirmed the cancel question: the phase moves to Cancelling (or
// straight to Cancelled when the controller has no events), a paused
// download wakes up and stops, the Windows Installer is answered with a
// cancel at its next progress message, and the stages stop before their
// next item.
void RequestCancel(InstallController& controller);

// The worker: the three stages, the registration, the final phase. Runs on
// the calling thread (StartPipeline runs it on the worker thread).
void RunPipelineWorker(InstallController& controller);

// The work list of the current configuration: prerequisites asked of the
// registry, installed language packs of an existing copy, download paths.
WorkList BuildWorkList(const InstallerConfig& config, int existingInstall);
