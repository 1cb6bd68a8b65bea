// Shared by the localization tests: language folders with string.ini files
// written the way translators save them, and registry values saved and put
// back around a test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "i18n/language_resources.h"
#include "support/process_helpers.h"

namespace i18n_testing {

enum class IniEncoding { Ansi, Utf16WithBom };

inline const wchar_t* EncodingName(IniEncoding encoding)
{
    return encoding == IniEncoding::Ansi ? L"ANSI" : L"UTF-16LE with BOM";
}

// The bytes of `text` as a string.ini saved in `encoding` (ANSI is the
// system's ANSI code page).
inline std::string IniBytes(const std::wstring& text, IniEncoding encoding)
{
    if (encoding == IniEncoding::Utf16WithBom) {
        std::string bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        return bytes;
    }
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// An installer folder in a fresh temporary folder: <temp>\language\<id>\...
class LanguageFolders {
public:
    std::wstring ExeFolder() const { return temp_.Path(); }
    std::wstring LanguageFolder() const { return temp_.Path() + L"\\language\\"; }
    std::wstring FolderOf(int32_t langId) const { return LanguageFolder() + std::to_wstring(langId); }

    // Writes language\<langId>\string.ini; false when it cannot be written.
    bool WriteIni(int32_t langId, const std::wstring& text, IniEncoding encoding = IniEncoding::Ansi) const
    {
        CreateDirectoryW(LanguageFolder().c_str(), nullptr);
        CreateDirectoryW(FolderOf(langId).c_str(), nullptr);
        return testing_support::WriteFileBytes(FolderOf(langId) + L"\\string.ini", IniBytes(text, encoding));
    }

    LanguageResources Resources(int32_t langId) const { return LanguageResources{langId, LanguageFolder()}; }

private:
    testing_support::TempDir temp_;
};

// Saves a registry value (or its absence) and puts it back on destruction.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, std::wstring path, std::wstring name)
        : root_(root), path_(std::move(path)), name_(std::move(name))
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (RegQueryValueExW(key, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<BYTE> data(size);
            if (RegQueryValueExW(key, name_.c_str(), nullptr, &type_, data.data(), &size) == ERROR_SUCCESS) {
                data.resize(size);
                data_ = std::move(data);
            }
        }
        RegCloseKey(key);
    }
    ~SavedRegistryValue()
    {
        if (data_)
            Set(type_, *data_);
        else
            Delete();
    }
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

    bool Set(DWORD type, const std::vector<BYTE>& data) const
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        LONG result = RegSetValueExW(key, name_.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
    bool SetNumber(DWORD number) const
    {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
        return Set(REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof number));
    }
    // A REG_SZ of `text`, with its terminating zero unless told otherwise.
    bool SetString(const std::wstring& text, bool terminated = true) const
    {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
        size_t size = (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t);
        return Set(REG_SZ, std::vector<BYTE>(bytes, bytes + size));
    }
    void Delete() const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        RegDeleteValueW(key, name_.c_str());
        RegCloseKey(key);
    }

private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    DWORD type_ = REG_NONE;
    std::optional<std::vector<BYTE>> data_;
};

}  // namespace i18n_testing
