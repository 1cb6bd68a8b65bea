#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cwctype>

namespace {

// Lower case as the C runtime does it in the default locale.
std::wstring LowerCase(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

// The argument in the thread's ANSI code page; false when it cannot be
// converted (it then matches no option).
bool ToNarrow(const std::wstring& text, std::string& narrow)
{
    narrow.clear();
    if (text.empty())
        return true;
    int size = WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return false;
    narrow.resize(static_cast<size_t>(size));
    return WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                               narrow.data(), size, nullptr, nullptr) == size;
}

}  // namespace

void ParseCommandLine(const std::vector<std::wstring>& arguments, const OptionTable& options)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string narrow;
        if (!ToNarrow(LowerCase(arguments[i]), narrow))
            continue;
        auto option = options.find(narrow);
        if (option == options.end())
            continue;
        std::wstring value;
        if (i + 1 < arguments.size()) {
            const std::wstring& next = arguments[i + 1];
            if (!next.empty() && next[0] != L'\\')
                value = next;
        }
        option->second(value);
    }
}

std::vector<std::wstring> ProcessArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* vector = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!vector)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments.emplace_back(vector[i]);
    LocalFree(vector);
    return arguments;
}
