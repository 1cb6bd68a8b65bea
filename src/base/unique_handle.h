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

// GDI objects of one kind (HBRUSH, HFONT, HBITMAP, HPEN, HRGN), deleted
// with DeleteObject. An object must not be selected into a device context
// when its owner deletes it (SelectedObject below restores first).
template <typename GdiHandle>
struct TypedGdiObjectTraits {
    static GdiHandle Invalid() { return nullptr; }
    static bool Valid(GdiHandle h) { return h != nullptr; }
    static void Close(GdiHandle h) { DeleteObject(h); }
};
using UniqueBrush = UniqueOwner<HBRUSH, TypedGdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueOwner<HFONT, TypedGdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueOwner<HBITMAP, TypedGdiObjectTraits<HBITMAP>>;
using UniquePen = UniqueOwner<HPEN, TypedGdiObjectTraits<HPEN>>;
using UniqueRegion = UniqueOwner<HRGN, TypedGdiObjectTraits<HRGN>>;

// A memory device context of CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDCTraits {
    static HDC Invalid() { return nullptr; }
    static bool Valid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
using UniqueMemoryDC = UniqueOwner<HDC, MemoryDCTraits>;

// A window's device context (GetDC, or GetWindowDC for the whole window
// with its non-client area), released with ReleaseDC.
class WindowDC {
public:
    enum class Area { Client, Window };
    explicit WindowDC(HWND window, Area area = Area::Client)
        : window_(window), dc_(area == Area::Window ? GetWindowDC(window) : GetDC(window))
    {
    }
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; the previous one
// is selected again at its end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A directory search of FindFirstFileW, closed with FindClose.
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
using UniqueFindHandle = UniqueOwner<HANDLE, FindHandleTraits>;

// A COM interface pointer that owns one reference. Put() and PutVoid() hand
// its address to a call that returns a new reference (any held one is
// released first); Release() gives the reference up without releasing it,
// as for the handles above.
template <typename Interface>
class UniqueComPtr {
public:
    UniqueComPtr() = default;
    explicit UniqueComPtr(Interface* pointer) : pointer_(pointer) {}
    ~UniqueComPtr() { Reset(); }
    UniqueComPtr(const UniqueComPtr&) = delete;
    UniqueComPtr& operator=(const UniqueComPtr&) = delete;
    UniqueComPtr(UniqueComPtr&& other) noexcept : pointer_(other.Release()) {}
    UniqueComPtr& operator=(UniqueComPtr&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface* Release() { return std::exchange(pointer_, nullptr); }
    void Reset(Interface* pointer = nullptr)
    {
        if (Interface* old = std::exchange(pointer_, pointer))
            old->Release();
    }
    Interface** Put()
    {
        Reset();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
    Interface* pointer_ = nullptr;
};
