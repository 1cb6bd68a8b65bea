#include "install/process_runner.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/unique_handle.h"
#include "install/process_command_line.h"

namespace {

bool RunProgram(const WorkItem& item)
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
        return false;
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    // Waiting on the handle rather than polling the exit code: a program
    // whose exit code happens to be STILL_ACTIVE (259) has still ended.
    WaitForSingleObject(process.Get(), INFINITE);
    return true;
}

bool RunWindowsInstallerPackage(const WorkItem& item)
{
    std::wstring parameters = MsiexecParameters(item);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.lpFile = kMsiexecProgram;
    execute.lpParameters = parameters.c_str();
    execute.nShow = SW_HIDE;
    if (!ShellExecuteExW(&execute))
        return false;
    // Until msiexec ends: the main package started while it still runs
    // would fail with "another installation is in progress".
    UniqueHandle process(execute.hProcess);
    if (process)
        WaitForSingleObject(process.Get(), INFINITE);
    return true;
}

}  // namespace

bool RunInstallerProcess(const WorkItem& item)
{
    return IsMsiPackagePath(item.localPath) ? RunWindowsInstallerPackage(item) : RunProgram(item);
}
