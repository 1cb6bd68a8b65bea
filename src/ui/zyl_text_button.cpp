#include "ui/zyl_text_button.h"

#include <algorithm>
#include <cmath>

#include "ui/dpi.h"
#include "ui/theme.h"

CZYLTextButton::CZYLTextButton()
{
    const ThemePalette& theme = Theme();
    backgroundColor = theme.WindowBackground;
    fillColors[kNormal] = theme.Accent;
    fillColors[kHover] = theme.AccentHover;
    fillColors[kPressed] = theme.AccentPressed;
    fillColors[kDisabled] = theme.AccentDisabled;
    textColors[kNormal] = textColors[kHover] = textColors[kPressed] = theme.AccentText;
    textColors[kDisabled] = theme.AccentTextDisabled;
    cornerRadiusX = static_cast<float>(Design().textButtonRadiusX);
    cornerRadiusY = static_cast<float>(Design().textButtonRadiusY);

    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Hwnd(), &ps);
        RECT client{};
        GetClientRect(Hwnd(), &client);
        Paint(dc, client);
        EndPaint(Hwnd(), &ps);
        return 0;
    });
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> LRESULT { return 0; });
    // The system button draws on its own when its state changes; as an
    // owner-drawn button it asks for that drawing, which is ours.
    OnReflected(WM_DRAWITEM, [this](WPARAM, LPARAM l) -> LRESULT {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        Paint(item->hDC, item->rcItem);
        return TRUE;
    });
}

void CZYLTextButton::OnAttached()
{
    SetWindowLongW(Hwnd(), GWL_STYLE, (GetWindowLongW(Hwnd(), GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
    const int length = GetWindowTextLengthW(Hwnd());
    if (text.empty() && length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        text.resize(static_cast<size_t>(GetWindowTextW(Hwnd(), text.data(), length + 1)));
    }
}

void CZYLTextButton::SetText(const std::wstring& caption)
{
    text = caption;
    if (Hwnd())
        SetWindowTextW(Hwnd(), caption.c_str());
}

CZYLTextButton::State CZYLTextButton::CurrentState() const
{
    if (!enabled)
        return kDisabled;
    if (hover)
        return kHover;
    if (HeldDown())
        return kPressed;
    return kNormal;
}

LRESULT CZYLTextButton::OnPointerMove(POINT point)
{
    if (!tracking && Inside(point)) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Hwnd();
        if (TrackMouseEvent(&track)) {
            tracking = 1;
            hover = 1;
            Redraw();
        }
    }
    return 0;
}

bool CZYLTextButton::MakeDeviceObjects()
{
    if (target_)
        return true;
    if (!factory_ && !CreateDirect2DFactory(factory_))
        return false;
    if (!CreateDCRenderTarget(factory_.Get(), target_))
        return false;
    if (!writeFactory_ && CreateDirectWriteFactory(writeFactory_))
        CreateButtonTextFormat(writeFactory_.Get(), CachedScreenDpi().y, textFormat_);
    return true;
}

void CZYLTextButton::ReleaseDeviceObjects()
{
    target_.Reset();
    textFormat_.Reset();
    writeFactory_.Reset();
    factory_.Reset();
}

void CZYLTextButton::Paint(HDC dc, const RECT& client)
{
    if (!MakeDeviceObjects())
        return;
    if (FAILED(target_->BindDC(dc, &client)))
        return;
    const float width = static_cast<float>(client.right - client.left);
    const float height = static_cast<float>(client.bottom - client.top);
    const State state = CurrentState();

    target_->BeginDraw();
    UniqueComPtr<ID2D1SolidColorBrush> brush;
    target_->CreateSolidColorBrush(ToD2DColor(backgroundColor), brush.Put());
    if (brush) {
        target_->FillRectangle(D2D1::RectF(0, 0, width, height), brush.Get());
        brush->SetColor(ToD2DColor(fillColors[state]));
        const D2D1_ROUNDED_RECT body{D2D1::RectF(0, 0, width, height), std::min(cornerRadiusX, width / 2),
                                     std::min(cornerRadiusY, height / 2)};
        target_->FillRoundedRectangle(body, brush.Get());
        if (!text.empty() && textFormat_ && writeFactory_) {
            UniqueComPtr<IDWriteTextLayout> layout;
            writeFactory_->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), textFormat_.Get(), width,
                                            height, layout.Put());
            if (layout) {
                layout->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
                DWRITE_TEXT_METRICS m{};
                DWRITE_OVERHANG_METRICS o{};
                layout->GetMetrics(&m);
                layout->GetOverhangMetrics(&o);
                const int textHeight = static_cast<int>(
                    std::ceil(std::max(0.0f, o.top + m.top) + m.height +
                              std::max(0.0f, o.bottom + m.layoutHeight - m.top - m.height)));
                const int top = (client.bottom - client.top - textHeight) / 2;
                brush->SetColor(ToD2DColor(textColors[state]));
                target_->DrawTextLayout(D2D1::Point2F(0, static_cast<float>(top)), layout.Get(), brush.Get());
            }
        }
    }
    const HRESULT drawn = target_->EndDraw();
    if (drawn == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        brush.Reset();
        ReleaseDeviceObjects();
    }
    if (ShowsFocus()) {
        RECT focus = client;
        InflateRect(&focus, -ScaleX(3), -ScaleX(3));
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        DrawFocusRect(dc, &focus);
    }
}
