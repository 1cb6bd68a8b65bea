// RAII owners for the platform's handles, so that no business logic closes
// a handle by hand. One template, one alias per kind of handle.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(Handle handle) : handle_(handle) {}
    ~UniqueOwner() { Reset(); }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.Release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid())
    {
        if (Traits::Valid(handle_))
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using UniqueHandle = UniqueOwner<HANDLE, KernelHandleTraits>;

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool Valid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using UniqueInternet = UniqueOwner<HINTERNET, InternetHandleTraits>;

struct RegistryKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool Valid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
using UniqueRegistryKey = UniqueOwner<HKEY, RegistryKeyTraits>;

struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static bool Valid(HGDIOBJ h) { return h != nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
using UniqueGdiObject = UniqueOwner<HGDIOBJ, GdiObjectTraits>;

// A directory search of FindFirstFileW, closed with FindClose.
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
using UniqueFindHandle = UniqueOwner<HANDLE, FindHandleTraits>;
