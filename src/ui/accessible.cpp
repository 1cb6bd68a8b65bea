#include "ui/accessible.h"

#include "base/unique_handle.h"
#include "ui/window.h"

namespace {

IAccessibleSource* SourceOf(HWND window)
{
    return dynamic_cast<IAccessibleSource*>(CWindow::FromHandle(window));
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

BSTR ToBstr(const std::wstring& text)
{
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// IAccessible that answers name, role, state and default action from the
// control and passes everything else on to the standard object.
class ControlAccessible final : public IAccessible {
public:
    ControlAccessible(HWND window, IAccessible* standard) : window_(window), standard_(standard) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override
    {
        return standard_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override
    {
        return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argument);
    }

    // IAccessible: ours for the control itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (IAccessibleSource* source = IsSelf(child) ? SourceOf(window_) : nullptr) {
            if (!name)
                return E_POINTER;
            *name = ToBstr(source->DescribeForAccessibility().name);
            return S_OK;
        }
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (IAccessibleSource* source = IsSelf(child) ? SourceOf(window_) : nullptr) {
            if (!role)
                return E_POINTER;
            role->vt = VT_I4;
            role->lVal = source->DescribeForAccessibility().role;
            return S_OK;
        }
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (IAccessibleSource* source = IsSelf(child) ? SourceOf(window_) : nullptr) {
            if (!state)
                return E_POINTER;
            state->vt = VT_I4;
            state->lVal = source->DescribeForAccessibility().state;
            return S_OK;
        }
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (IAccessibleSource* source = IsSelf(child) ? SourceOf(window_) : nullptr) {
            if (!action)
                return E_POINTER;
            const std::wstring text = source->DescribeForAccessibility().defaultAction;
            *action = text.empty() ? nullptr : ToBstr(text);
            return text.empty() ? S_FALSE : S_OK;
        }
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (IAccessibleSource* source = IsSelf(child) ? SourceOf(window_) : nullptr) {
            if (source->DescribeForAccessibility().defaultAction.empty())
                return DISP_E_MEMBERNOTFOUND;
            source->DoAccessibleDefaultAction();
            return S_OK;
        }
        return standard_->accDoDefaultAction(child);
    }

    // IAccessible: the standard object's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~ControlAccessible() = default;

    LONG references_ = 1;
    HWND window_;
    UniqueComPtr<IAccessible> standard_;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !SourceOf(window))
        return 0;
    UniqueComPtr<IAccessible> standard;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.PutVoid())))
        return 0;
    auto* object = new ControlAccessible(window, standard.Release());
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();  // LresultFromObject holds its own reference
    return result;
}

LONG CommonAccessibleState(HWND window, bool enabled)
{
    LONG state = STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == window)
        state |= STATE_SYSTEM_FOCUSED;
    if (!enabled || !IsWindowEnabled(window))
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(window))
        state |= STATE_SYSTEM_INVISIBLE;
    return state;
}
