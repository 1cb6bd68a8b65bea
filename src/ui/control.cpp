#include "ui/control.h"

bool CControl::AttachToItem(HWND parent, int id)
{
    return AttachToWindow(GetDlgItem(parent, id));
}

bool CControl::AttachToWindow(HWND control)
{
    if (!Attach(control))
        return false;
    OnAttached();
    return true;
}

bool CControl::CreateChild(HWND parent, int id, const wchar_t* windowClass, DWORD style)
{
    HWND window = CreateWindowExW(0, windowClass, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                  nullptr);
    if (!window)
        return false;
    if (!AttachToWindow(window)) {
        DestroyWindow(window);
        return false;
    }
    return true;
}

bool CControl::RegisterPlainClass(const wchar_t* windowClass)
{
    WNDCLASSW info = {};
    info.lpfnWndProc = DefWindowProcW;
    info.hInstance = GetModuleHandleW(nullptr);
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.lpszClassName = windowClass;
    return RegisterClassW(&info) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
