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
//   install_bench remove                   removes the product again
//
// BASEURL serves "version.xml" and "pictora_maxora_1.msi". The first two
// print "RESULT <variant> <seconds> <outcome>"; the outcome is the final
// phase, or the msiexec exit code. A benchmark never fails on a figure.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bare_download.h"
#include "base/notifier.h"
#include "config/installed_product.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "install/install_controller.h"
#include "install/shared_progress.h"
#include "net/internet_session.h"

namespace {

const wchar_t kProductCode[] = L"{7D3A1C52-4E8B-4B6F-9A21-5C0E3F6D8B41}";
const char kRegistryKey[] = "SOFTWARE\\PictoraBench";

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

bool WriteText(const std::wstring& path, const std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok;
}

// Runs a command line inside Wine and returns its exit code (-1: not started).
long Run(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<long>(code);
}

std::wstring Msiexec()
{
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    return L"\"" + std::wstring(system, length) + L"\\msiexec.exe\"";
}

int RunPipeline(const std::wstring& setup, const std::wstring& baseUrl)
{
    std::string base = Narrow(baseUrl);
    std::string manifest =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<zylwebinstaller><web_installer_version>1.0.0.1"
        "</web_installer_version><product_code>" + Narrow(kProductCode) + "</product_code><product>"
        "<pid>PM2026EN</pid><full_name>Pictora Maxora 2026</full_name><short_name>Pictora Maxora</short_name>"
        "<registry>" + kRegistryKey + "</registry><standalone_version>9.1.0.100</standalone_version>"
        "<version_check_url>" + base + "/version.xml</version_check_url><main_component>"
        "<name>pictora_maxora_1.msi</name><executable>PictoraMaxora.exe</executable><full_url>" + base +
        "/pictora_maxora_1.msi</full_url></main_component></product></zylwebinstaller>\r\n";
    CreateDirectoryW((setup + L"\\config").c_str(), nullptr);
    if (!WriteText(setup + L"\\config\\manifest.xml", manifest))
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

int RunBaseline(const std::wstring& work, const std::wstring& baseUrl)
{
    double start = Now();
    std::wstring package = work + L"\\pictora_maxora_1.msi";
    if (BareDownload(baseUrl + L"/version.xml", work + L"\\version.xml") < 0 ||
        BareDownload(baseUrl + L"/pictora_maxora_1.msi", package) < 0)
        return 1;
    long code = Run(Msiexec() + L" /i \"" + package + L"\" /qn");
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
            Run(Msiexec() + L" /x " + kProductCode + L" /qn");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\PictoraBench");
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\PictoraBench");
        return 0;
    }
    if (argc != 4) {
        fwprintf(stderr, L"usage: install_bench pipeline|baseline FOLDER BASEURL | remove\n");
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
