#include "config/registry_key.h"

#include <cstring>

std::wstring RegistryDataAsString(const RegistryData& data)
{
    // The stored data need not end in a zero unit: never read past it.
    size_t units = data.size() / sizeof(wchar_t);
    std::wstring text(units, L'\0');
    if (units)
        memcpy(text.data(), data.data(), units * sizeof(wchar_t));
    size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

RegistryKey::RegistryKey(HKEY root, const std::wstring& path, RegistryOpen mode) : path_(path)
{
    HKEY handle = nullptr;
    if (mode == RegistryOpen::CreateOrOpen &&
        RegCreateKeyExW(root, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kWriteAccess, nullptr, &handle,
                        nullptr) == ERROR_SUCCESS) {
        readHandle_.Reset(handle);
        writeHandle_ = handle;
        return;
    }
    if (RegOpenKeyExW(root, path_.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS)
        readHandle_.Reset(handle);
}

std::optional<RegistryData> RegistryKey::QueryValue(const std::wstring& name) const
{
    if (!readHandle_)
        return std::nullopt;
    DWORD size = 0;
    if (RegQueryValueExW(readHandle_.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryData data(size);
    // The value may have changed in between; a grown value fails here
    // (ERROR_MORE_DATA), a shrunk one reports its new size.
    if (RegQueryValueExW(readHandle_.Get(), name.c_str(), nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return data;
}

std::optional<std::wstring> RegistryKey::QueryString(const std::wstring& name) const
{
    std::optional<RegistryData> data = QueryValue(name);
    if (!data)
        return std::nullopt;
    return RegistryDataAsString(*data);
}

std::optional<uint32_t> RegistryKey::QueryNumber(const std::wstring& name) const
{
    if (!readHandle_)
        return std::nullopt;
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegQueryValueExW(readHandle_.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Fewer bytes would leave part of the number unset.
    if (size != sizeof number)
        return std::nullopt;
    return number;
}

LONG RegistryKey::SetString(const std::wstring& name, const std::wstring& text)
{
    if (!writeHandle_)
        return ERROR_CANTWRITE;
    DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(writeHandle_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

LONG RegistryKey::SetNumber(const std::wstring& name, uint32_t number)
{
    if (!writeHandle_)
        return ERROR_CANTWRITE;
    DWORD value = number;
    return RegSetValueExW(writeHandle_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

void RegistryKey::EnumerateSubkeys(std::vector<std::wstring>& names) const
{
    if (!readHandle_)
        return;
    wchar_t name[512];
    for (DWORD index = 0; RegEnumKeyW(readHandle_.Get(), index, name, 512) == ERROR_SUCCESS; ++index)
        names.emplace_back(name);
}
