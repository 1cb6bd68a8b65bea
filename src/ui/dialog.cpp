#include "ui/dialog.h"

#include "ui/message_filter.h"

namespace {

// The dialog being created on this thread, bound by the creation hook to
// the first window made while the hook is in place: the dialog itself
// (its controls are made after it). The hook removes itself once it has
// bound the dialog; EndCreation removes it when creation failed first.
thread_local CDialog* pendingDialog = nullptr;
thread_local HHOOK creationHook = nullptr;

}  // namespace

CDialog::CDialog(UINT templateId) : templateId_(templateId)
{
    OnMessage(WM_INITDIALOG, [this](WPARAM, LPARAM) -> LRESULT { return OnInitDialog() ? TRUE : FALSE; });
    OnCommand(IDOK, BN_CLICKED, [this] { OnOK(); });
    OnCommand(IDCANCEL, BN_CLICKED, [this] { OnCancel(); });
    OnMessage(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        OnClose();
        return 0;
    });
}

CDialog::CDialog(const DLGTEMPLATE* templateInMemory) : CDialog(0u)
{
    templateInMemory_ = templateInMemory;
}

CDialog::~CDialog()
{
    // Unbind first: the window's last messages must not reach the handlers
    // of a class whose part of the object is already gone.
    HWND window = Hwnd();
    Detach();
    if (window && IsWindow(window))
        DestroyWindow(window);
}

void CDialog::BeginCreation()
{
    pendingDialog = this;
    creationHook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
}

void CDialog::EndCreation()
{
    if (creationHook) {
        UnhookWindowsHookEx(creationHook);
        creationHook = nullptr;
    }
    pendingDialog = nullptr;
}

LRESULT CALLBACK CDialog::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = creationHook;
    if (code == HCBT_CREATEWND && pendingDialog) {
        CDialog* dialog = pendingDialog;
        pendingDialog = nullptr;
        dialog->Attach(reinterpret_cast<HWND>(wParam));
        // Bound: the hook has done its work. Removed now, so that a dialog
        // made inside this one's modal loop installs a hook of its own.
        creationHook = nullptr;
        const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
        UnhookWindowsHookEx(hook);
        return result;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    // Everything is handled in the window's subclass; the dialog manager
    // does the rest. WM_INITDIALOG never gets here (the subclass answers it).
    (void)message;
    return FALSE;
}

INT_PTR CDialog::DoModal(HWND owner)
{
    modal_ = true;
    ModalMessageFilter filter;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    BeginCreation();
    INT_PTR result;
    if (templateInMemory_)
        result = DialogBoxIndirectParamW(module, templateInMemory_, owner, DialogProc, 0);
    else
        result = DialogBoxParamW(module, MAKEINTRESOURCEW(templateId_), owner, DialogProc, 0);
    EndCreation();
    return result;
}

bool CDialog::Create(HWND parent)
{
    modal_ = false;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    BeginCreation();
    HWND window;
    if (templateInMemory_)
        window = CreateDialogIndirectParamW(module, templateInMemory_, parent, DialogProc, 0);
    else
        window = CreateDialogParamW(module, MAKEINTRESOURCEW(templateId_), parent, DialogProc, 0);
    EndCreation();
    if (!window)
        return false;
    if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)
        SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    return Hwnd() == window;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (!Hwnd())
        return;
    if (modal_)
        ::EndDialog(Hwnd(), result);
    else
        DestroyWindow(Hwnd());
}

bool CDialog::PreTranslateMessage(MSG& message)
{
    if (modal_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    return IsDialogMessageW(Hwnd(), &message) != FALSE;
}
