// Two installers at once: the second one leaves at once and raises the
// first one's window; the first keeps running.
//
// The first installer runs under this test as its debugger and is held at
// the trace it writes right after taking the single-instance guard, so it
// stays alive, deterministically, while the second one starts.
#include <gtest/gtest.h>

#include <thread>

#include "app/installer_app.h"
#include "support/process_helpers.h"

using namespace testing_support;

namespace {

std::wstring Installer()
{
    return L"\"" + BinaryDir() + L"\\PictoraSetup.exe\"";
}

std::wstring ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info)
{
    size_t units = info.nDebugStringLength;
    if (units == 0 || units > 4096)
        return {};
    if (info.fUnicode) {
        std::wstring text(units, L'\0');
        SIZE_T read = 0;
        ReadProcessMemory(process, info.lpDebugStringData, text.data(), units * sizeof(wchar_t), &read);
        text.resize(read / sizeof(wchar_t));
        return text;
    }
    std::string narrow(units, '\0');
    SIZE_T read = 0;
    ReadProcessMemory(process, info.lpDebugStringData, narrow.data(), units, &read);
    narrow.resize(read);
    return std::wstring(narrow.begin(), narrow.end());
}

// A process run under this thread as its debugger.
class DebuggedProcess {
public:
    explicit DebuggedProcess(const std::wstring& commandLine)
    {
        process_ = StartProcess(commandLine, DEBUG_ONLY_THIS_PROCESS);
    }
    ~DebuggedProcess()
    {
        if (process_) {
            if (pending_)
                RunToExit(1000);
            TerminateProcess(process_, 1);
            CloseHandle(process_);
        }
    }
    HANDLE Handle() const { return process_; }

    // Lets the process run until it writes a trace containing `marker`; it
    // is then left stopped at that event. False if it ended first.
    bool RunUntilTrace(const std::wstring& marker, DWORD timeoutMs)
    {
        DEBUG_EVENT event;
        while (Next(event, timeoutMs)) {
            if (event.dwDebugEventCode == OUTPUT_DEBUG_STRING_EVENT &&
                ReadDebugString(process_, event.u.DebugString).find(marker) != std::wstring::npos)
                return true;  // stays stopped: the event is not continued
            if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
                Continue(event, DBG_CONTINUE);
                return false;
            }
            Continue(event, Status(event));
        }
        return false;
    }

    // Continues it until it ends; returns its exit code or -1.
    long RunToExit(DWORD timeoutMs)
    {
        DEBUG_EVENT event;
        if (pending_)
            Continue(last_, DBG_CONTINUE);
        while (Next(event, timeoutMs)) {
            bool exited = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
            Continue(event, Status(event));
            if (exited) {
                WaitForSingleObject(process_, timeoutMs);
                DWORD code = 0;
                GetExitCodeProcess(process_, &code);
                return static_cast<long>(code);
            }
        }
        return -1;
    }

private:
    bool Next(DEBUG_EVENT& event, DWORD timeoutMs)
    {
        if (!WaitForDebugEvent(&event, timeoutMs))
            return false;
        if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile)
            CloseHandle(event.u.CreateProcessInfo.hFile);
        if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile)
            CloseHandle(event.u.LoadDll.hFile);
        last_ = event;
        pending_ = true;
        return true;
    }
    void Continue(const DEBUG_EVENT& event, DWORD status)
    {
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        pending_ = false;
    }
    static DWORD Status(const DEBUG_EVENT& event)
    {
        // Breakpoints of the loader are ours to pass; any other exception
        // goes back to the program.
        if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
            event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
            return DBG_EXCEPTION_NOT_HANDLED;
        return DBG_CONTINUE;
    }

    HANDLE process_ = nullptr;
    DEBUG_EVENT last_{};
    bool pending_ = false;
};

// A minimised top-level window of the installer's class, as the wizard of
// a running installer would be.
class InstallerWindow {
public:
    InstallerWindow()
    {
        WNDCLASSW info{};
        info.lpfnWndProc = DefWindowProcW;
        info.hInstance = GetModuleHandleW(nullptr);
        info.lpszClassName = kInstallerClassName;
        RegisterClassW(&info);
        window_ = CreateWindowW(kInstallerClassName, L"Running installer", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                200, nullptr, nullptr, info.hInstance, nullptr);
        ShowWindow(window_, SW_SHOWMINIMIZED);
        Pump();
    }
    ~InstallerWindow()
    {
        DestroyWindow(window_);
        UnregisterClassW(kInstallerClassName, GetModuleHandleW(nullptr));
    }
    HWND Handle() const { return window_; }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    HWND window_ = nullptr;
};

// Runs a program to its end while this thread keeps serving its windows
// (the program may send messages to them). Returns the exit code or -1.
long RunServingWindows(const std::wstring& commandLine, DWORD timeoutMs)
{
    HANDLE process = StartProcess(commandLine);
    if (!process)
        return -1;
    DWORD start = GetTickCount();
    long result = -1;
    for (;;) {
        DWORD left = timeoutMs - (GetTickCount() - start);
        if (static_cast<int>(left) <= 0)
            break;
        DWORD wait = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process, &code);
            result = static_cast<long>(code);
            break;
        }
        InstallerWindow::Pump();
    }
    if (result == -1)
        TerminateProcess(process, 1);
    CloseHandle(process);
    return result;
}

TEST(SingleInstance, SecondInstallerLeavesAndRaisesTheFirst)
{
    InstallerWindow window;
    ASSERT_TRUE(IsIconic(window.Handle()));

    DebuggedProcess first(Installer() + L" /n");
    ASSERT_TRUE(first.Handle());
    ASSERT_TRUE(first.RunUntilTrace(L"single-instance guard taken", 60000));

    EXPECT_EQ(RunServingWindows(Installer() + L" /n", 60000), 0) << "the second installer did not end";
    InstallerWindow::Pump();
    EXPECT_FALSE(IsIconic(window.Handle())) << "the first installer's window was not restored";
    EXPECT_EQ(WaitForSingleObject(first.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the first installer did not keep running";

    // The first one goes on into its wizard, which is cancelled at once.
    std::thread closer([&first] { FinishInstallerCancellingWizard(first.Handle(), 60000); });
    EXPECT_EQ(first.RunToExit(60000), 1602);
    closer.join();
}

TEST(SingleInstance, LoneInstallerLeavesOtherWindowsAlone)
{
    // Without a running installer nobody looks for the window.
    InstallerWindow window;
    ASSERT_TRUE(IsIconic(window.Handle()));
    // It goes on into its wizard, which is cancelled at once.
    EXPECT_EQ(RunInstallerCancellingWizard(Installer() + L" /n", 60000), 1602);
    InstallerWindow::Pump();
    EXPECT_TRUE(IsIconic(window.Handle()));
}

}  // namespace
