// The built installer driven as a user drives it, on the real display,
// beside a manifest that points at the local test server: the settings page
// comes up, the Install button is clicked with the pointer (the licence box
// starts ticked), the status page runs the installation to its end, and
// "Start Now" on the success page starts the product and ends the installer
// with 0. Also: a region where the licence must be accepted explicitly, an
// installed product at the version on offer, and a second installer
// started while the first one shows its wizard.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/unique_handle.h"
#include "built_installer_test.h"
#include "resource_ids.h"
#include "support/process_helpers.h"
#include "support/registry_test_support.h"

using namespace pipeline_test;
using namespace built_installer_test;
using testing_support::FileExists;
using testing_support::IsFolder;
using testing_support::TopWindowOfProcess;

namespace {

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

// The text of a control of ours (it keeps its label as its window text).
std::wstring TextOf(HWND control)
{
    wchar_t text[256] = {};
    if (control)
        GetWindowTextW(control, text, 256);
    return text;
}

// The wizard's window of process `id`, shown or hidden.
HWND WizardOf(DWORD id)
{
    return TopWindowOfProcess(id, L"ZYLMasterInstallerClassName", true);
}

// The text of a message box (its static text, id 0xFFFF).
std::wstring BoxText(HWND box)
{
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

// A message box of process `id` once it is up; null after `timeoutMs`.
// (The "Preparing..." dialog is a dialog window too: only a box with a
// text counts.)
HWND WaitForBox(DWORD id, DWORD timeoutMs)
{
    return WaitFor(
        [id] {
            HWND found = TopWindowOfProcess(id, L"#32770");
            return found && !BoxText(found).empty() ? found : nullptr;
        },
        timeoutMs);
}

class GuidedRun : public BuiltInstallerTest {
protected:
    void TearDown() override
    {
        // A run that stalls is ended with the test.
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 1);
            WaitForSingleObject(process_.Get(), 10000);
        }
        process_.Reset();
        BuiltInstallerTest::TearDown();
    }

    // Starts the installer at `setup` with `options`; the run is the
    // test's until it ends (TearDown ends it if it still runs).
    HANDLE Start(const std::wstring& setup, const std::wstring& options = L"")
    {
        process_.Reset(testing_support::StartProcess(L"\"" + setup + L"\" " + options));
        return process_.Get();
    }

    // The exit code of the started run once it ended within `timeoutMs`;
    // -1 when it did not.
    long ExitCode(DWORD timeoutMs = 60000)
    {
        if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 1;
        GetExitCodeProcess(process_.Get(), &code);
        return static_cast<long>(code);
    }

    // The wizard of the started run, once it shows its settings page.
    HWND WaitForSettingsPage(HWND* install)
    {
        const DWORD id = GetProcessId(process_.Get());
        HWND guide = WaitFor([id] { return WizardOf(id); }, 60000);
        if (guide)
            *install = WaitFor([guide] { return VisibleControl(guide, IDC_INSTALL_BUTTON); }, 20000);
        return guide;
    }

    // The installer prepared and started, at its settings page: the wizard
    // and its Install button (null, with a failure, when it never came).
    HWND StartAtTheSettingsPage(HWND* install, const std::string& packageRule = "")
    {
        const std::wstring setup = PrepareInstaller({}, packageRule);
        if (HasFatalFailure() || !Start(setup)) {
            ADD_FAILURE() << "the installer could not be started";
            return nullptr;
        }
        *install = nullptr;
        HWND guide = WaitForSettingsPage(install);
        if (!guide || !*install) {
            ADD_FAILURE() << "the wizard never showed its settings page";
            return nullptr;
        }
        return guide;
    }

    UniqueHandle process_;
};

TEST_F(GuidedRun, InstallClickedRunsToTheSuccessPageAndStartNowStartsTheProduct)
{
    HWND install = nullptr;
    HWND guide = StartAtTheSettingsPage(&install);
    ASSERT_NE(guide, nullptr);
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

    EXPECT_EQ(ExitCode(), 0);
    EXPECT_TRUE(ProductStarted()) << "Start Now starts the product";
}

// Germany (GeoID 94) is a region where the licence must be accepted
// explicitly: the box starts unticked and Install waits for it.
TEST_F(GuidedRun, InAnExplicitAcceptanceRegionInstallWaitsForTheLicenceBox)
{
    registry_test::ScopedValueRestore nation(HKEY_CURRENT_USER, L"Control Panel\\International\\Geo", L"Nation");
    ASSERT_EQ(registry_test::WriteRaw(HKEY_CURRENT_USER, L"Control Panel\\International\\Geo", L"Nation", REG_SZ,
                                      registry_test::TextBytes(std::wstring(L"94") + L'\0')),
              ERROR_SUCCESS);
    HWND install = nullptr;
    HWND guide = StartAtTheSettingsPage(&install);
    ASSERT_NE(guide, nullptr);
    EXPECT_FALSE(IsWindowEnabled(install)) << "Install is disabled until the licence is accepted";
    HWND licence = VisibleControl(guide, IDC_LICENSE_CHECK);
    ASSERT_NE(licence, nullptr);
    SetForegroundWindow(guide);
    ClickOn(licence);
    EXPECT_NE(WaitFor([install] { return IsWindowEnabled(install) ? install : nullptr; }, 10000), nullptr)
        << "ticking the licence box enables Install";
    ClickOn(licence);
    EXPECT_NE(WaitFor([install] { return IsWindowEnabled(install) ? nullptr : install; }, 10000), nullptr)
        << "unticking it disables Install again";

    EXPECT_EQ(testing_support::FinishInstallerCancellingWizard(process_.Get(), 60000), 1602);
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
}

// The product installed unattended (which also makes the configured folder
// that nobody chose), then the installer run again with the same version
// on offer: the self-update check asks whether to launch the installed
// product; Yes starts it; no wizard comes up.
TEST_F(GuidedRun, AnInstalledProductAtTheOfferedVersionIsOfferedForLaunchInsteadOfTheWizard)
{
    ASSERT_FALSE(IsFolder(kDefaultFolder));
    const std::wstring setup = PrepareInstaller();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(testing_support::RunProcess(L"\"" + setup + L"\" /s", 240000), 0);
    ASSERT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_TRUE(FileExists(kDefaultFolder + L"\\PictoraMaxora.exe"))
        << "a silent fresh run installs into the configured folder, which it makes";
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"exe"), kDefaultFolder + L"\\PictoraMaxora.exe");

    ASSERT_TRUE(Start(setup));
    const DWORD id = GetProcessId(process_.Get());
    HWND box = WaitForBox(id, 60000);
    ASSERT_NE(box, nullptr) << "no question came up";
    EXPECT_EQ(BoxText(box), L"Pictora Maxora is already installed. Would you like to launch it?");
    EXPECT_EQ(WizardOf(id), nullptr) << "no wizard behind the question";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);

    EXPECT_EQ(ExitCode(), 0);
    EXPECT_TRUE(ProductStarted()) << "Yes starts the installed product";
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
}

// Closing the wizard while the package downloads asks the cancel question,
// with the download paused while it is open; No goes on, Yes cancels the
// run, which ends with 1602 and nothing installed.
TEST_F(GuidedRun, ClosingDuringTheDownloadPausesNoGoesOnAndYesCancels)
{
    // 256 KiB in pieces of 8 KiB, 300 ms apart: about ten seconds.
    HWND install = nullptr;
    HWND guide = StartAtTheSettingsPage(&install, "file=pictora_maxora_1.msi&chunk=8192&delay=300");
    ASSERT_NE(guide, nullptr);
    const DWORD id = GetProcessId(process_.Get());
    SetForegroundWindow(guide);
    ClickOn(install);
    HWND status = WaitFor([guide] { return VisibleControl(guide, IDC_STATUS_LABEL); }, 20000);
    ASSERT_NE(status, nullptr);
    HWND percent = VisibleControl(guide, IDC_PERCENT_LABEL);
    ASSERT_NE(WaitFor([status] { return TextOf(status) == L"Downloading, please wait..." ? status : nullptr; }, 20000),
              nullptr)
        << testing_support::Utf8(TextOf(status));

    auto askToClose = [&] {
        PostMessageW(guide, WM_CLOSE, 0, 0);
        return WaitForBox(id, 10000);
    };
    HWND box = askToClose();
    ASSERT_NE(box, nullptr) << "no cancel question";
    EXPECT_EQ(BoxText(box), L"Are you sure you want to cancel the installation?");
    // Paused while the question is open: the polls go on, the bytes do not.
    Sleep(1500);
    const std::wstring whileAsked = TextOf(percent);
    Sleep(2500);
    EXPECT_EQ(TextOf(percent), whileAsked) << "the download went on while the question was open";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    EXPECT_NE(WaitFor([&] { return TextOf(percent) != whileAsked ? percent : nullptr; }, 10000), nullptr)
        << "No lets the download go on";
    EXPECT_EQ(WaitForSingleObject(process_.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    box = askToClose();
    ASSERT_NE(box, nullptr) << "no cancel question the second time";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_EQ(ExitCode(), 1602);
    EXPECT_TRUE(InstalledVersion(kProductCode).empty()) << "a cancelled run installs nothing";
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"exe")) << "and records nothing";
}

// A second installer while the first shows its (minimised) wizard: the
// second leaves at once and the first one's wizard is restored.
TEST_F(GuidedRun, ASecondInstallerRaisesTheRunningWizardAndLeaves)
{
    HWND install = nullptr;
    HWND guide = StartAtTheSettingsPage(&install);
    ASSERT_NE(guide, nullptr);
    const std::wstring setup = TheConfig().exeFolder + L"\\PictoraSetup.exe";
    ShowWindow(guide, SW_MINIMIZE);
    ASSERT_NE(WaitFor([guide] { return IsIconic(guide) ? guide : nullptr; }, 10000), nullptr);

    EXPECT_EQ(testing_support::RunProcess(L"\"" + setup + L"\"", 60000), 0) << "the second installer leaves";
    EXPECT_NE(WaitFor([guide] { return IsIconic(guide) ? nullptr : guide; }, 10000), nullptr)
        << "the first installer's wizard was not restored";
    EXPECT_EQ(WaitForSingleObject(process_.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the first one runs on";
    EXPECT_EQ(testing_support::FinishInstallerCancellingWizard(process_.Get(), 60000), 1602);
}

}  // namespace
