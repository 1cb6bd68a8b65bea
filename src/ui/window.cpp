#include "ui/window.h"

#include <commctrl.h>

namespace {

// One subclass identifier for every window of ours; the reference data is
// the object.
constexpr UINT_PTR kSubclassId = 0x5A594C;

bool IsControlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The control a reflected message concerns, or nullptr.
HWND ReflectionTarget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    if (message == WM_MEASUREITEM) {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? GetDlgItem(parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    if (IsControlColorMessage(message))
        return reinterpret_cast<HWND>(lParam);
    (void)wParam;
    return nullptr;
}

}  // namespace

CWindow::~CWindow()
{
    Detach();
}

CWindow* CWindow::FromHandle(HWND window)
{
    DWORD_PTR reference = 0;
    if (window && GetWindowSubclass(window, SubclassProc, kSubclassId, &reference))
        return reinterpret_cast<CWindow*>(reference);
    return nullptr;
}

bool CWindow::Attach(HWND window)
{
    if (!window || hwnd_ || FromHandle(window))
        return false;
    if (!SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = window;
    return true;
}

void CWindow::Detach()
{
    if (!hwnd_)
        return;
    RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
    hwnd_ = nullptr;
}

void CWindow::OnMessage(UINT message, MessageHandler handler)
{
    messages_[message] = std::move(handler);
}

void CWindow::OnCommand(int id, WORD code, CommandHandler handler)
{
    commands_[{id, code}] = std::move(handler);
}

void CWindow::OnNotify(int id, UINT code, NotifyHandler handler)
{
    notifications_[{id, code}] = std::move(handler);
}

void CWindow::OnTimer(UINT_PTR id, TimerHandler handler)
{
    timers_[id] = std::move(handler);
}

void CWindow::OnReflected(UINT message, MessageHandler handler)
{
    reflected_[message] = std::move(handler);
}

void CWindow::OnReflectedCommand(WORD code, CommandHandler handler)
{
    reflectedCommands_[code] = std::move(handler);
}

bool CWindow::StartTimer(UINT_PTR id, UINT milliseconds)
{
    return hwnd_ && SetTimer(hwnd_, id, milliseconds, nullptr) != 0;
}

void CWindow::StopTimer(UINT_PTR id)
{
    if (hwnd_)
        KillTimer(hwnd_, id);
}

LRESULT CWindow::Default()
{
    return DefSubclassProc(hwnd_, current_.message, current_.wParam, current_.lParam);
}

bool CWindow::PreTranslateMessage(MSG&)
{
    return false;
}

LRESULT CWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(message, wParam, lParam);
}

LRESULT CWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto found = messages_.find(message); found != messages_.end())
        return found->second(wParam, lParam);

    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        bool handled = false;
        if (CWindow* control = FromHandle(reinterpret_cast<HWND>(lParam)); control && control != this)
            handled = control->HandleReflectedCommand(code);
        if (auto found = commands_.find({id, code}); found != commands_.end()) {
            found->second();
            return 0;
        }
        if (handled)
            return 0;
    } else if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header) {
            auto found = notifications_.find({static_cast<int>(header->idFrom), header->code});
            if (found != notifications_.end())
                return found->second(*header);
        }
    } else if (message == WM_TIMER) {
        if (auto found = timers_.find(wParam); found != timers_.end()) {
            found->second();
            return 0;
        }
    } else if (HWND target = ReflectionTarget(hwnd_, message, wParam, lParam)) {
        CWindow* control = FromHandle(target);
        LRESULT result = 0;
        if (control && control != this && control->HandleReflected(message, wParam, lParam, result))
            return result;
    }
    return Default();
}

bool CWindow::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto found = reflected_.find(message);
    if (found == reflected_.end())
        return false;
    result = found->second(wParam, lParam);
    return true;
}

bool CWindow::HandleReflectedCommand(WORD code)
{
    auto found = reflectedCommands_.find(code);
    if (found == reflectedCommands_.end())
        return false;
    found->second();
    return true;
}

LRESULT CALLBACK CWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR reference)
{
    auto* self = reinterpret_cast<CWindow*>(reference);
    const CurrentMessage saved = self->current_;
    self->current_ = {message, wParam, lParam};
    LRESULT result = self->WindowProc(message, wParam, lParam);
    self->current_ = saved;
    if (message == WM_NCDESTROY && self->hwnd_ == window) {
        self->Detach();
        self->OnDetached();
    }
    return result;
}
