#include "install/process_runner.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/debug_trace.h"
#include "base/unique_handle.h"
#include "install/process_command_line.h"

namespace {

// Waits for the started process to end, or for `cancelEvent` (when there is
// one): a program that hangs must not hold the installation for ever. A
// program the cancel leaves behind is left running (ending another
// installer half-way may leave the machine worse off), with a log line.
ProcessOutcome WaitForProcess(HANDLE process, HANDLE cancelEvent, const WorkItem& item)
{
    ProcessOutcome outcome;
    HANDLE handles[] = {process, cancelEvent};
    DWORD count = cancelEvent ? 2 : 1;
    DWORD result = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
    if (result == WAIT_OBJECT_0 + 1) {
        DebugTraceFormat(L"PictoraSetup: cancelled while %s ran; it is left running.\r\n", item.localPath.c_str());
        outcome.cancelled = true;
        return outcome;
    }
    if (result != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &outcome.exitCode)) {
        DebugTraceFormat(L"PictoraSetup: the end of %s could not be waited for (error %d).\r\n",
                         item.localPath.c_str(), static_cast<int>(GetLastError()));
        return outcome;
    }
    outcome.ended = true;
    DebugTraceFormat(L"PictoraSetup: %s ended with exit code %lu.\r\n", item.localPath.c_str(),
                     static_cast<unsigned long>(outcome.exitCode));
    return outcome;
}

ProcessOutcome NotStarted(const WorkItem& item)
{
    DebugTraceFormat(L"PictoraSetup: %s could not be started (error %d).\r\n", item.localPath.c_str(),
                     static_cast<int>(GetLastError()));
    return {};
}

ProcessOutcome RunProgram(const WorkItem& item, HANDLE cancelEvent)
{
    // CreateProcessW may write into the command line.
    std::wstring text = ProcessCommandLine(item);
    std::vector<wchar_t> commandLine(text.begin(), text.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return NotStarted(item);
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    // Waiting on the handle rather than polling the exit code: a program
    // whose exit code happens to be STILL_ACTIVE (259) has still ended.
    return WaitForProcess(process.Get(), cancelEvent, item);
}

ProcessOutcome RunWindowsInstallerPackage(const WorkItem& item, HANDLE cancelEvent)
{
    std::wstring parameters = MsiexecParameters(item);
    std::wstring program = MsiexecPath();
    if (program.empty())
        return NotStarted(item);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.lpFile = program.c_str();
    execute.lpParameters = parameters.c_str();
    execute.nShow = SW_HIDE;
    if (!ShellExecuteExW(&execute))
        return NotStarted(item);
    // Until msiexec ends: the main package started while it still runs
    // would fail with "another installation is in progress".
    UniqueHandle process(execute.hProcess);
    if (!process)
        return NotStarted(item);
    return WaitForProcess(process.Get(), cancelEvent, item);
}

}  // namespace

ProcessOutcome RunInstallerProcess(const WorkItem& item, HANDLE cancelEvent)
{
    return IsMsiPackagePath(item.localPath) ? RunWindowsInstallerPackage(item, cancelEvent)
                                            : RunProgram(item, cancelEvent);
}
