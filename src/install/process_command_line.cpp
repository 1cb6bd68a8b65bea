#include "install/process_command_line.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

void AppendArguments(std::wstring& commandLine, const std::wstring& arguments)
{
    if (arguments.empty())
        return;
    commandLine += L' ';
    commandLine += arguments;
}

}  // namespace

bool IsMsiPackagePath(const std::wstring& path)
{
    const wchar_t* extension = PathFindExtensionW(path.c_str());
    return CompareStringOrdinal(extension, -1, L".msi", -1, TRUE) == CSTR_EQUAL;
}

std::wstring ProcessCommandLine(const WorkItem& item)
{
    std::wstring commandLine = L"\"" + item.localPath + L"\"";
    AppendArguments(commandLine, item.arguments);
    return commandLine;
}

std::wstring MsiexecParameters(const WorkItem& item)
{
    std::wstring parameters = L"/i \"" + item.localPath + L"\"";
    AppendArguments(parameters, item.arguments);
    return parameters;
}

std::wstring MsiexecPath()
{
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(folder, length) + L"\\" + kMsiexecProgram;
}
