// RegistryKey: the one way the installer reads and writes registry records.
//
// A key lives for one operation: opened, used, closed (by its destructor).
// The ordinary open creates the key when it is missing, asking for read,
// set-value and create-subkey rights; when that is refused the key is
// opened for reading only, and when that fails too every operation fails
// quietly (reads give nothing, writes give ERROR_CANTWRITE).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/unique_handle.h"

// How a key is opened.
enum class RegistryOpen {
    // Create the key when missing (KEY_READ | KEY_SET_VALUE |
    // KEY_CREATE_SUB_KEY), else fall back to reading.
    CreateOrOpen,
    // Open an existing key with KEY_READ only; never creates anything (for
    // reading keys that belong to other software).
    ReadOnly,
};

// The raw data of a registry value, owned by the caller.
using RegistryData = std::vector<BYTE>;

// The data read as UTF-16 text: up to the first zero unit, or all of it when
// the stored data lacks a terminating zero (a trailing odd byte is dropped).
std::wstring RegistryDataAsString(const RegistryData& data);

class RegistryKey {
public:
    // The access rights of the ordinary open (0x2001F).
    static constexpr REGSAM kWriteAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

    // `root` is HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
    RegistryKey(HKEY root, const std::wstring& path, RegistryOpen mode = RegistryOpen::CreateOrOpen);
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool CanRead() const { return static_cast<bool>(readHandle_); }
    bool CanWrite() const { return writeHandle_ != nullptr; }
    const std::wstring& Path() const { return path_; }

    // The value's raw data, whatever its type; nothing when it cannot be read.
    std::optional<RegistryData> QueryValue(const std::wstring& name) const;
    // The value read as text (see RegistryDataAsString).
    std::optional<std::wstring> QueryString(const std::wstring& name) const;
    // The value read into a 4-byte number, whatever its stored type; nothing
    // when it cannot be read that way (missing, or more or fewer than 4 bytes).
    std::optional<uint32_t> QueryNumber(const std::wstring& name) const;

    // REG_SZ with the terminating zero. 0 on success, the platform's error
    // code otherwise, ERROR_CANTWRITE when the key is not writable.
    LONG SetString(const std::wstring& name, const std::wstring& text);
    // REG_DWORD, 4 bytes; results as SetString.
    LONG SetNumber(const std::wstring& name, uint32_t number);

    // Appends the names of the key's subkeys in enumeration order.
    void EnumerateSubkeys(std::vector<std::wstring>& names) const;

private:
    // The handle queries and enumeration use; it owns the open key.
    UniqueRegistryKey readHandle_;
    // The same handle when the key was opened for writing, else none.
    HKEY writeHandle_ = nullptr;
    std::wstring path_;
};
