#include "control_window_support.h"

#include <oleacc.h>

#include "ui_test_support.h"

namespace image_testing {

HostWindow::HostWindow(int width, int height, UINT countedMessage) : counted_(countedMessage)
{
    static const bool registered = [] {
        WNDCLASSW info = {};
        info.lpfnWndProc = Procedure;
        info.hInstance = GetModuleHandleW(nullptr);
        info.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        info.lpszClassName = L"PictoraControlTestHost";
        return RegisterClassW(&info) != 0;
    }();
    (void)registered;
    window_ = CreateWindowExW(WS_EX_TOPMOST, L"PictoraControlTestHost", L"host",
                              WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                              nullptr, GetModuleHandleW(nullptr), this);
    ui_test::PumpMessages();
}

HostWindow::~HostWindow()
{
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* host = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host && host->counted_ && message == host->counted_) {
        ++host->count_;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ScreenCapture::ScreenCapture(HWND window)
{
    RECT client;
    if (!GetClientRect(window, &client))
        return;
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width_;
    format.bmiHeader.biHeight = -height_;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HBITMAP dib = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, dib);
    const bool copied = BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY) != 0;
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    if (copied && bits) {
        const auto* p = static_cast<const unsigned char*>(bits);
        pixels_.resize(static_cast<size_t>(width_) * height_);
        for (size_t i = 0; i < pixels_.size(); ++i)
            pixels_[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
    }
    DeleteObject(dib);
}

namespace {

// MinGW's oleacc import library gives IID_IAccessible a wrong address;
// the interface's own identifier is right.
const IID kIAccessible = __uuidof(IAccessible);

IAccessible* AccessibleOf(HWND window)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

VARIANT Self()
{
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

}  // namespace

AccessibleReading ReadAccessible(HWND window)
{
    AccessibleReading read;
    IAccessible* object = AccessibleOf(window);
    if (!object)
        return read;
    read.found = true;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(Self(), &text)) && text)
        read.name = text;
    SysFreeString(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDefaultAction(Self(), &text)) && text)
        read.defaultAction = text;
    SysFreeString(text);
    VARIANT value{};
    if (SUCCEEDED(object->get_accRole(Self(), &value)) && value.vt == VT_I4)
        read.role = value.lVal;
    VariantClear(&value);
    if (SUCCEEDED(object->get_accState(Self(), &value)) && value.vt == VT_I4)
        read.state = value.lVal;
    VariantClear(&value);
    object->Release();
    return read;
}

bool DoAccessibleDefaultAction(HWND window)
{
    IAccessible* object = AccessibleOf(window);
    if (!object)
        return false;
    const bool done = SUCCEEDED(object->accDoDefaultAction(Self()));
    object->Release();
    return done;
}

}  // namespace image_testing
