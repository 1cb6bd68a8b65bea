#include "base/desktop_launch.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/debug_trace.h"
#include "base/unique_handle.h"

namespace {

struct BstrTraits {
    static BSTR Invalid() { return nullptr; }
    static bool Valid(BSTR text) { return text != nullptr; }
    static void Close(BSTR text) { SysFreeString(text); }
};
using UniqueBstr = UniqueOwner<BSTR, BstrTraits>;

// A VARIANT cleared when its owner goes.
class OwnedVariant {
public:
    OwnedVariant() { VariantInit(&value_); }
    ~OwnedVariant() { VariantClear(&value_); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;

    VARIANT* Get() { return &value_; }
    const VARIANT& Value() const { return value_; }

    void SetInt(LONG number)
    {
        VariantClear(&value_);
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    // False when the string cannot be allocated.
    bool SetString(const wchar_t* text)
    {
        VariantClear(&value_);
        value_.bstrVal = SysAllocString(text);
        if (!value_.bstrVal)
            return false;
        value_.vt = VT_BSTR;
        return true;
    }

private:
    VARIANT value_;
};

// True when a step gave what it was asked for; a failed step is traced.
bool Obtained(HRESULT result, const void* object, const wchar_t* step)
{
    if (SUCCEEDED(result) && object)
        return true;
    DebugTraceFormat(L"LaunchAsDesktopUser: %s failed (0x%08lX).\r\n", step, static_cast<unsigned long>(result));
    return false;
}

// The shell view of the desktop window; empty when no desktop shell runs.
UniqueComPtr<IShellView> FindDesktopView()
{
    UniqueComPtr<IShellWindows> windows;
    HRESULT result = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.PutVoid());
    if (!Obtained(result, windows.Get(), L"the shell windows object"))
        return {};

    OwnedVariant location;
    location.SetInt(CSIDL_DESKTOP);
    OwnedVariant root;
    LONG desktopWindow = 0;
    UniqueComPtr<IDispatch> desktop;
    result = windows->FindWindowSW(location.Get(), root.Get(), SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                                   desktop.Put());
    // S_FALSE: there is no desktop window.
    if (result != S_OK)
        desktop.Reset();
    if (!Obtained(result, desktop.Get(), L"the desktop window"))
        return {};

    UniqueComPtr<IServiceProvider> services;
    result = desktop->QueryInterface(IID_IServiceProvider, services.PutVoid());
    if (!Obtained(result, services.Get(), L"the desktop's services"))
        return {};
    UniqueComPtr<IShellBrowser> browser;
    result = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.PutVoid());
    if (!Obtained(result, browser.Get(), L"the desktop's shell browser"))
        return {};
    UniqueComPtr<IShellView> activeView;
    result = browser->QueryActiveShellView(activeView.Put());
    if (!Obtained(result, activeView.Get(), L"the desktop's shell view"))
        return {};
    // A reference of our own, so that the browser's goes with the rest.
    UniqueComPtr<IShellView> view;
    result = activeView->QueryInterface(IID_IShellView, view.PutVoid());
    if (!Obtained(result, view.Get(), L"the desktop's shell view"))
        return {};
    return view;
}

// Asks the shell that owns `view` to execute the file with its default
// verb. False when the request could not be made; its outcome is the
// shell's.
bool ExecuteThroughShell(IShellView* view, const std::wstring& path)
{
    UniqueComPtr<IDispatch> background;
    HRESULT result = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.PutVoid());
    if (!Obtained(result, background.Get(), L"the desktop view's automation object"))
        return false;
    UniqueComPtr<IShellFolderViewDual> folderView;
    result = background->QueryInterface(IID_IShellFolderViewDual, folderView.PutVoid());
    if (!Obtained(result, folderView.Get(), L"the desktop's folder view"))
        return false;
    UniqueComPtr<IDispatch> application;
    result = folderView->get_Application(application.Put());
    if (!Obtained(result, application.Get(), L"the shell's automation object"))
        return false;
    UniqueComPtr<IShellDispatch2> shell;
    result = application->QueryInterface(IID_IShellDispatch2, shell.PutVoid());
    if (!Obtained(result, shell.Get(), L"the shell's dispatch interface"))
        return false;

    UniqueBstr file(SysAllocString(path.c_str()));
    OwnedVariant parameters, directory, operation, show;
    if (!file || !parameters.SetString(L"") || !directory.SetString(L"") || !operation.SetString(L"")) {
        DebugTrace(L"LaunchAsDesktopUser: out of memory.\r\n");
        return false;
    }
    show.SetInt(SW_SHOWNORMAL);
    shell->ShellExecute(file.Get(), parameters.Value(), directory.Value(), operation.Value(), show.Value());
    return true;
}

// Without the shell's automation objects: the program is created with a
// copy of the token of the process that owns the shell window, which is
// the desktop user's without the installer's elevation.
void StartAsShellUser(const std::wstring& path)
{
    HWND shellWindow = GetShellWindow();
    DWORD shellProcessId = 0;
    if (!shellWindow || !GetWindowThreadProcessId(shellWindow, &shellProcessId) || !shellProcessId) {
        DebugTrace(L"LaunchAsDesktopUser: no desktop shell runs; nothing started.\r\n");
        return;
    }
    UniqueHandle shellProcess(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellProcessId));
    HANDLE handle = nullptr;
    if (!shellProcess || !OpenProcessToken(shellProcess.Get(), TOKEN_DUPLICATE, &handle)) {
        DebugTraceFormat(L"LaunchAsDesktopUser: the shell's token is out of reach (%lu).\r\n", GetLastError());
        return;
    }
    UniqueHandle shellToken(handle);
    handle = nullptr;
    const DWORD access = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT |
                         TOKEN_ADJUST_SESSIONID;
    if (!DuplicateTokenEx(shellToken.Get(), access, nullptr, SecurityImpersonation, TokenPrimary, &handle)) {
        DebugTraceFormat(L"LaunchAsDesktopUser: the shell's token cannot be copied (%lu).\r\n", GetLastError());
        return;
    }
    UniqueHandle userToken(handle);

    // Quoted, so that a path with blanks names this program and no other;
    // it starts in its own folder, as from the desktop.
    std::wstring commandLine = L"\"" + path + L"\"";
    size_t slash = path.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessWithTokenW(userToken.Get(), 0, path.c_str(), commandLine.data(), 0, nullptr,
                                 folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        DebugTraceFormat(L"LaunchAsDesktopUser: the program cannot be started (%lu).\r\n", GetLastError());
        return;
    }
    // Not waited for.
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    DebugTrace(L"LaunchAsDesktopUser: started as the shell's user: " + path + L"\r\n");
}

}  // namespace

void LaunchAsDesktopUser(const std::wstring& path)
{
    if (UniqueComPtr<IShellView> view = FindDesktopView()) {
        if (ExecuteThroughShell(view.Get(), path)) {
            DebugTrace(L"LaunchAsDesktopUser: handed to the desktop shell: " + path + L"\r\n");
            return;
        }
    }
    StartAsShellUser(path);
}

void LaunchInstalledProgram(const std::wstring& path)
{
    if (!PathFileExistsW(path.c_str()))
        return;
    HRESULT com = CoInitialize(nullptr);
    LaunchAsDesktopUser(path);
    if (SUCCEEDED(com))
        CoUninitialize();
}
