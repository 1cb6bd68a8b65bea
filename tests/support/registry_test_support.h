// Registry helpers for tests: a key of the test's own that is
// removed afterwards, a guard that puts one value of a shared key back as it
// was, raw reads and writes that bypass RegistryKey, and a recorder for the
// message boxes a test causes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/notifier.h"

namespace registry_test {

// "SOFTWARE\PictoraTests\<suite>.<test>": a key path no other test uses.
inline std::wstring TestKeyPath()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    return L"SOFTWARE\\PictoraTests\\" + std::wstring(name.begin(), name.end());
}

inline bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

inline std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue value;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.bytes.resize(size);
        status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

inline LONG WriteRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                     const std::vector<BYTE>& bytes)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    // The registry adds a terminating zero to string data when the unit
    // after the given bytes happens to be zero; a non-zero unit there keeps
    // the data exactly as given.
    std::vector<BYTE> padded = bytes;
    padded.push_back(0xFF);
    padded.push_back(0xFF);
    status = RegSetValueExW(key, name.c_str(), 0, type, padded.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return status;
}

// The bytes of `text` in UTF-16, without a terminating zero.
inline std::vector<BYTE> TextBytes(const std::wstring& text)
{
    const BYTE* begin = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(begin, begin + text.size() * sizeof(wchar_t));
}

inline std::vector<BYTE> NumberBytes(DWORD number)
{
    const BYTE* begin = reinterpret_cast<const BYTE*>(&number);
    return std::vector<BYTE>(begin, begin + sizeof number);
}

// The key parts of `path` from the outermost: "A\B\" gives "A", "A\B".
inline std::vector<std::wstring> KeyPrefixes(const std::wstring& path)
{
    std::vector<std::wstring> prefixes;
    for (size_t i = 0; i <= path.size(); ++i)
        if ((i == path.size() || path[i] == L'\\') && i > 0 && path[i - 1] != L'\\')
            prefixes.push_back(path.substr(0, i));
    return prefixes;
}

// Remembers which parts of `path` existed; on destruction removes the parts
// created since, innermost first (only keys without subkeys are removed).
class CreatedKeysRemover {
public:
    CreatedKeysRemover(HKEY root, const std::wstring& path) : root_(root)
    {
        for (const std::wstring& prefix : KeyPrefixes(path))
            if (!KeyExists(root, prefix))
                missing_.push_back(prefix);
    }
    ~CreatedKeysRemover()
    {
        for (auto it = missing_.rbegin(); it != missing_.rend(); ++it)
            RegDeleteKeyW(root_, it->c_str());
    }
    CreatedKeysRemover(const CreatedKeysRemover&) = delete;
    CreatedKeysRemover& operator=(const CreatedKeysRemover&) = delete;

private:
    HKEY root_;
    std::vector<std::wstring> missing_;
};

// A key of the test's own, empty at the start and removed with everything
// below it at the end (with "SOFTWARE\PictoraTests" when it is left empty).
class ScopedTestKey {
public:
    ScopedTestKey(HKEY root, std::wstring path) : root_(root), path_(std::move(path))
    {
        RegDeleteTreeW(root_, path_.c_str());
        RegDeleteKeyW(root_, path_.c_str());
    }
    ~ScopedTestKey()
    {
        RegDeleteTreeW(root_, path_.c_str());
        RegDeleteKeyW(root_, path_.c_str());
        RegDeleteKeyW(root_, L"SOFTWARE\\PictoraTests");
    }
    ScopedTestKey(const ScopedTestKey&) = delete;
    ScopedTestKey& operator=(const ScopedTestKey&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    HKEY root_;
    std::wstring path_;
};

// Saves one value of a key that is not the test's own and puts it back as it
// was at the end: restored, or removed when it did not exist, and the parts
// of the key path that the test created removed again.
class ScopedValueRestore {
public:
    ScopedValueRestore(HKEY root, std::wstring path, std::wstring name)
        : root_(root), path_(std::move(path)), name_(std::move(name)), keys_(root_, path_),
          saved_(ReadRaw(root_, path_, name_))
    {
    }
    ~ScopedValueRestore()
    {
        if (saved_) {
            WriteRaw(root_, path_, name_, saved_->type, saved_->bytes);
        } else {
            HKEY key = nullptr;
            if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueW(key, name_.c_str());
                RegCloseKey(key);
            }
        }
    }
    ScopedValueRestore(const ScopedValueRestore&) = delete;
    ScopedValueRestore& operator=(const ScopedValueRestore&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    CreatedKeysRemover keys_;  // destroyed after the value is put back
    std::optional<RawValue> saved_;
};

// Records every message box instead of showing it.
class NotifyRecorder {
public:
    struct Box {
        std::wstring text;
        std::wstring caption;
        UINT style;
    };
    NotifyRecorder()
    {
        SetNotifyHandler([this](const std::wstring& text, const std::wstring& caption, UINT style) {
            boxes.push_back({text, caption, style});
            return IDOK;
        });
    }
    ~NotifyRecorder() { SetNotifyHandler({}); }
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    std::vector<Box> boxes;
};

}  // namespace registry_test
