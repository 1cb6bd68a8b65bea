#include "ui/message_filter.h"

#include "ui/window.h"

namespace {

// The hook of this thread and how many modal loops use it.
thread_local HHOOK filterHook = nullptr;
thread_local int filterUsers = 0;
// Set while the objects are asked: a child dialog's own keyboard handling
// (IsDialogMessageW) calls the hook again, which must then pass.
thread_local bool filtering = false;

LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && lParam && !filtering) {
        filtering = true;
        const bool consumed = PreTranslateForDispatch(*reinterpret_cast<MSG*>(lParam));
        filtering = false;
        if (consumed)
            return TRUE;
    }
    return CallNextHookEx(filterHook, code, wParam, lParam);
}

}  // namespace

bool PreTranslateForDispatch(MSG& message)
{
    const HWND desktop = GetDesktopWindow();
    for (HWND window = message.hwnd; window && window != desktop; window = GetAncestor(window, GA_PARENT)) {
        if (CWindow* object = CWindow::FromHandle(window)) {
            if (object->PreTranslateMessage(message))
                return true;
        }
    }
    return false;
}

ModalMessageFilter::ModalMessageFilter()
{
    if (filterUsers++ == 0)
        filterHook = SetWindowsHookExW(WH_MSGFILTER, FilterProc, nullptr, GetCurrentThreadId());
}

ModalMessageFilter::~ModalMessageFilter()
{
    if (--filterUsers == 0 && filterHook) {
        UnhookWindowsHookEx(filterHook);
        filterHook = nullptr;
    }
}
