#include "i18n/language_file.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

// The profile reader's buffer; values longer than 259 units are cut.
constexpr DWORD kValueBufferUnits = 260;

}  // namespace

std::wstring LanguageFilePath(const std::wstring& languageFolder, int32_t langId)
{
    return languageFolder + std::to_wstring(langId) + L"\\string.ini";
}

std::wstring ReadLanguageString(const std::wstring& languageFolder, int32_t langId, const wchar_t* section,
                                std::wstring_view key, std::wstring_view defaultText)
{
    std::wstring path = LanguageFilePath(languageFolder, langId);
    if (!PathFileExistsW(path.c_str()))
        return std::wstring(defaultText);
    std::wstring keyName(key);
    std::wstring fallback(defaultText);
    wchar_t value[kValueBufferUnits] = {};
    DWORD length = GetPrivateProfileStringW(section, keyName.c_str(), fallback.c_str(), value,
                                            kValueBufferUnits, path.c_str());
    return std::wstring(value, length < kValueBufferUnits ? length : kValueBufferUnits - 1);
}
