// The built installer driven as a user drives it, on the real display:
// the settings page comes up, the Install button is clicked with the
// pointer (the licence box starts ticked), the status page runs the
// installation to its end, and "Start Now" on the success page starts the
// product and ends the installer with 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/installer_config.h"
#include "install/pipeline_fixture.h"
#include "base/unique_handle.h"
#include "resource_ids.h"
#include "support/process_helpers.h"

using namespace pipeline_test;
using testing_support::CopyFileTo;
using testing_support::FileExists;

namespace {

const std::wstring kDefaultFolder = L"C:\\Program Files\\ZYL Systems";

// The visible control `id` among the descendants of `top`, or null.
HWND VisibleControl(HWND top, int id)
{
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        top,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(window) == s->id && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for `find` to give a window; null at the deadline.
template <typename Find>
HWND WaitFor(Find find, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(100)) {
        if (HWND window = find())
            return window;
    }
    return nullptr;
}

// A left click with the pointer in the middle of `window`.
void ClickOn(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(200);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    Sleep(100);
    SendInput(1, &input[1], sizeof(INPUT));
}

class GuidedRun : public PipelineTest {
protected:
    void TearDown() override
    {
        DeleteFileW((kDefaultFolder + L"\\launched.txt").c_str());
        PipelineTest::TearDown();
        RemoveDirectoryW(kDefaultFolder.c_str());
    }
};

TEST_F(GuidedRun, InstallClickedRunsToTheSuccessPageAndStartNowStartsTheProduct)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    TestManifest parts;
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    const std::wstring setup = TheConfig().exeFolder + L"\\PictoraSetup.exe";
    ASSERT_TRUE(CopyFileTo(testing_support::BinaryDir() + L"\\PictoraSetup.exe", setup));

    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + setup + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    // A run that stalls is ended with the test.
    struct EndOnExit {
        HANDLE process;
        ~EndOnExit()
        {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 10000);
            }
        }
    } endOnExit{processHandle.Get()};

    HWND guide = WaitFor([] { return FindWindowW(L"ZYLMasterInstallerClassName", nullptr); }, 60000);
    ASSERT_NE(guide, nullptr) << "the wizard never came up";
    HWND install = WaitFor([guide] { return VisibleControl(guide, IDC_INSTALL_BUTTON); }, 20000);
    ASSERT_NE(install, nullptr);
    EXPECT_TRUE(IsWindowEnabled(install)) << "the licence box starts ticked";
    SetForegroundWindow(guide);
    ClickOn(install);

    // The status page, then the success page once the run has finished.
    EXPECT_NE(WaitFor([guide] { return VisibleControl(guide, IDC_SLIDESHOW); }, 20000), nullptr);
    HWND startNow = WaitFor([guide] { return VisibleControl(guide, IDC_START_NOW); }, 180000);
    ASSERT_NE(startNow, nullptr) << "the success page never came up";
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_TRUE(FileExists(kDefaultFolder + L"\\PictoraMaxora.exe")) << "Install made the folder and used it";
    ClickOn(startNow);

    ASSERT_EQ(WaitForSingleObject(processHandle.Get(), 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 1;
    GetExitCodeProcess(processHandle.Get(), &code);
    EXPECT_EQ(code, 0u);
    bool started = false;
    for (int i = 0; i < 200 && !started; ++i) {
        started = FileExists(kDefaultFolder + L"\\launched.txt");
        if (!started)
            Sleep(100);
    }
    EXPECT_TRUE(started) << "Start Now starts the product";
}

}  // namespace
