#include "bench_support.h"

namespace bench {

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

long RunWaited(std::wstring commandLine)
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

bool WriteManifest(const std::wstring& setup, const std::wstring& baseUrl)
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
    return WriteText(setup + L"\\config\\manifest.xml", manifest);
}

}  // namespace bench
