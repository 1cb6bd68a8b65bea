// Installation benchmark, one variant per process:
//
//   install_bench pipeline SETUP BASEURL   the installation road as an
//                                          unattended run has it: manifest
//                                          beside a test installer in SETUP,
//                                          version check, package download,
//                                          Windows Installer call, records
//   install_bench baseline WORK BASEURL    the same two downloads by a bare
//                                          WinINet loop, then msiexec /i /qn
//                                          of the package, waited for
//   install_bench installer SETUP BASEURL EXE
//                                          the whole installer EXE (built
//                                          without its start delay) run
//                                          with "/s" beside the manifest
//   install_bench remove                   removes the product again
//
// BASEURL serves "version.xml" and "pictora_maxora_1.msi". The first three
// print "RESULT <variant> <seconds> <outcome>"; the outcome is the final
// phase, the msiexec exit code, or the installer's exit code. A benchmark never fails on a figure.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "bare_download.h"
#include "bench_support.h"
#include "base/notifier.h"
#include "config/installed_product.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "install/install_controller.h"
#include "install/shared_progress.h"
#include "net/internet_session.h"

using namespace bench;

namespace {

int RunPipeline(const std::wstring& setup, const std::wstring& baseUrl)
{
    if (!WriteManifest(setup, baseUrl))
        return 1;
    SetNotifyHandler([](const std::wstring& text, const std::wstring&, UINT) {
        fwprintf(stderr, L"install_bench: box: %ls\n", text.c_str());
        return IDOK;
    });
    if (LoadConfiguration(TheConfig(), setup + L"\\PictoraSetup.exe", TheRunFlags().existingInstall, L"") != 0)
        return 1;
    TheConfig().hasLanguageChoice = 0;
    TheConfig().installFolder = setup + L"\\product";
    CreateDirectoryW(TheConfig().installFolder.c_str(), nullptr);

    InstallController controller;
    double start = Now();
    StartPipeline(controller);
    // A tight poll, so that noticing the end adds next to nothing.
    while (!IsFinalPhase(CurrentPipelinePhase()))
        Sleep(5);
    double seconds = Now() - start;
    controller.WaitForWorker();
    wprintf(L"RESULT pipeline %.3f %d\n", seconds, static_cast<int>(CurrentPipelinePhase()));
    return 0;
}

// The whole installer, unattended ("/s"): INSTALLER is a build of
// PictoraSetup.exe without the status page's start delay, copied beside the
// manifest; timed from its start to its exit.
int RunInstaller(const std::wstring& setup, const std::wstring& baseUrl, const std::wstring& installer)
{
    const std::wstring copy = setup + L"\\PictoraSetup.exe";
    if (!WriteManifest(setup, baseUrl) || !CopyFileW(installer.c_str(), copy.c_str(), FALSE))
        return 1;
    double start = Now();
    long code = RunWaited(L"\"" + copy + L"\" /s");
    double seconds = Now() - start;
    wprintf(L"RESULT installer %.3f %ld\n", seconds, code);
    return 0;
}

int RunBaseline(const std::wstring& work, const std::wstring& baseUrl)
{
    double start = Now();
    std::wstring package = work + L"\\pictora_maxora_1.msi";
    if (BareDownload(baseUrl + L"/version.xml", work + L"\\version.xml") < 0 ||
        BareDownload(baseUrl + L"/pictora_maxora_1.msi", package) < 0)
        return 1;
    long code = RunWaited(Msiexec() + L" /i \"" + package + L"\" /qn");
    double seconds = Now() - start;
    wprintf(L"RESULT baseline %.3f %ld\n", seconds, code);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring variant = argc > 1 ? argv[1] : L"";
    if (variant == L"remove") {
        if (!QueryInstalledVersion(kProductCode).empty())
            RunWaited(Msiexec() + L" /x " + kProductCode + L" /qn");
        const std::wstring key(kRegistryKey, kRegistryKey + sizeof kRegistryKey - 1);
        // Wine's uninstallation leaves the files of a package installed to
        // a folder other than its default: the recorded folder goes too.
        wchar_t folder[MAX_PATH + 2] = {};
        DWORD size = MAX_PATH * sizeof(wchar_t);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"InstallDir", RRF_RT_REG_SZ, nullptr, folder, &size) ==
                ERROR_SUCCESS &&
            folder[0]) {
            size_t length = wcslen(folder);
            if (folder[length - 1] == L'\\')
                folder[length - 1] = 0;
            SHFILEOPSTRUCTW operation{};
            operation.wFunc = FO_DELETE;
            operation.pFrom = folder;  // double-terminated: the buffer is zeroed
            operation.fFlags = FOF_NO_UI;
            SHFileOperationW(&operation);
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
        return 0;
    }
    if (variant == L"installer" && argc == 5)
        return RunInstaller(argv[2], argv[3], argv[4]);
    if (argc != 4) {
        fwprintf(stderr, L"usage: install_bench pipeline|baseline FOLDER BASEURL | installer FOLDER BASEURL EXE | remove\n");
        return 2;
    }
    PrepareInternetSession();
    if (variant == L"pipeline")
        return RunPipeline(argv[2], argv[3]);
    if (variant == L"baseline")
        return RunBaseline(argv[2], argv[3]);
    fwprintf(stderr, L"install_bench: unknown variant\n");
    return 2;
}
