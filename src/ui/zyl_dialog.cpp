#include "ui/zyl_dialog.h"

#include <algorithm>
#include <string>

#include "ui/caption_glyphs.h"
#include "ui/dpi.h"
#include "ui/offscreen.h"
#include "ui/theme.h"

CZYLDialog::CZYLDialog(UINT templateId) : CDialog(templateId)
{
    BindFrameMessages();
}

CZYLDialog::CZYLDialog(const DLGTEMPLATE* templateInMemory) : CDialog(templateInMemory)
{
    BindFrameMessages();
}

void CZYLDialog::BindFrameMessages()
{
    metrics_ = FrameMetricsAt(CachedScreenDpi().x, CachedScreenDpi().y);
    captionFont_.Reset(CreateFontW(StepScaleY(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                   OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, PROOF_QUALITY, 0, L"Arial"));

    OnMessage(WM_NCCREATE, [this](WPARAM, LPARAM) -> LRESULT {
        if (Default())
            CreateCaptionButtons();
        return TRUE;
    });
    OnMessage(WM_NCCALCSIZE, [this](WPARAM w, LPARAM l) { return OnNcCalcSize(w, l); });
    OnMessage(WM_NCPAINT, [this](WPARAM, LPARAM) -> LRESULT {
        PaintFrame();
        return 0;
    });
    OnMessage(WM_NCACTIVATE, [](WPARAM, LPARAM) -> LRESULT { return TRUE; });
    // The system repaints its own caption when the title or the icon
    // changes; ours goes over it at once.
    for (UINT message : {WM_SETTEXT, WM_SETICON}) {
        OnMessage(message, [this](WPARAM, LPARAM) -> LRESULT {
            const LRESULT result = Default();
            PaintFrame();
            return result;
        });
    }
    OnMessage(WM_SIZE, [this](WPARAM, LPARAM) -> LRESULT {
        Default();
        ApplyRegion();
        RECT client{};
        GetClientRect(Hwnd(), &client);
        OnLayout(client);
        return 0;
    });
    OnMessage(WM_ERASEBKGND, [this](WPARAM w, LPARAM) -> LRESULT {
        RECT client{};
        GetClientRect(Hwnd(), &client);
        FillSolidRect(reinterpret_cast<HDC>(w), client, Theme().WindowBackground);
        return 0;
    });
    OnMessage(WM_NCMOUSEMOVE, [this](WPARAM, LPARAM l) -> LRESULT {
        OnNcMouseMove(WindowPoint(l));
        return 0;
    });
    OnMessage(WM_NCMOUSELEAVE, [this](WPARAM, LPARAM) -> LRESULT {
        trackingNonClient_ = false;
        if (!buttonPressed_) {
            ResetButtons(captionButtons_);
            PaintFrame();
        }
        return 0;
    });
    OnMessage(WM_NCMOUSEHOVER, [this](WPARAM, LPARAM) -> LRESULT {
        trackingNonClient_ = true;
        return 0;
    });
    OnMessage(WM_NCLBUTTONDOWN, [this](WPARAM w, LPARAM l) -> LRESULT {
        OnNcButtonDown(w, WindowPoint(l));
        return 0;
    });
    OnMessage(WM_NCLBUTTONUP, [this](WPARAM, LPARAM l) -> LRESULT {
        OnNcButtonUp(WindowPoint(l));
        return 0;
    });
    OnMessage(WM_NCLBUTTONDBLCLK, [this](WPARAM, LPARAM l) -> LRESULT {
        OnNcDoubleClick(WindowPoint(l));
        return 0;
    });
}

void CZYLDialog::CreateCaptionButtons()
{
    captionButtons_ = MakeCaptionButtons(metrics_, MaximizeBox());
    const UINT families[] = {kCloseGlyphFamily, kMaximizeGlyphFamily, kRestoreGlyphFamily, kMinimizeGlyphFamily};
    for (CaptionButton& button : captionButtons_)
        SetCaptionGlyph(button, LoadCaptionGlyph(families[button.id]), metrics_);
}

bool CZYLDialog::OnInitDialog()
{
    // The first size calculation ran before the frame was ours to measure;
    // have it made again with the custom frame.
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void CZYLDialog::OnCancel()
{
    const CaptionButton* close = FindButton(captionButtons_, kCaptionClose);
    if (close && !close->disabled)
        SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CZYLDialog::SetCaptionButtonDisabled(int id, bool disabled)
{
    if (CaptionButton* button = FindButton(captionButtons_, id))
        button->disabled = disabled;
}

POINT CZYLDialog::WindowPoint(LPARAM screenPoint) const
{
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    return {static_cast<short>(LOWORD(screenPoint)) - window.left, static_cast<short>(HIWORD(screenPoint)) - window.top};
}

LRESULT CZYLDialog::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    if (!wParam)
        return 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const bool maximized = Maximized();
    params->rgrc[0] = ClientInsideFrame(params->rgrc[0], maximized, metrics_);
    ShowMaximizeOrRestore(captionButtons_, maximized);
    layoutPending_ = true;
    return 0;
}

void CZYLDialog::OnNcMouseMove(POINT point)
{
    if (!trackingNonClient_) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE | TME_NONCLIENT;
        track.hwndTrack = Hwnd();
        track.dwHoverTime = 1;
        trackingNonClient_ = TrackMouseEvent(&track) != FALSE;
    }
    const bool offTheButtons = HitTestButtons(captionButtons_, point) < 0;
    if (TrackPointer(captionButtons_, point))
        PaintFrame();
    if (!offTheButtons)
        Default();
}

void CZYLDialog::OnNcButtonDown(WPARAM hitCode, POINT point)
{
    if (PressButton(captionButtons_, point)) {
        buttonPressed_ = true;
        PaintFrame();
        return;
    }
    if (hitCode == HTCAPTION || (hitCode >= HTLEFT && hitCode <= HTBOTTOMRIGHT))
        Default();
}

void CZYLDialog::OnNcButtonUp(POINT point)
{
    buttonPressed_ = false;
    const std::optional<UINT> command = ReleaseButton(captionButtons_, point, MaximizeBox());
    if (command)
        SendMessageW(Hwnd(), WM_SYSCOMMAND, *command, 0);
    if (IsWindow(Hwnd()))
        PaintFrame();
}

void CZYLDialog::OnNcDoubleClick(POINT point)
{
    if (!MaximizeBox() || HitTestButtons(captionButtons_, point) >= 0)
        return;
    SendMessageW(Hwnd(), WM_SYSCOMMAND, Maximized() ? SC_RESTORE : SC_MAXIMIZE, 0);
}

void CZYLDialog::ApplyRegion()
{
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    OffsetRect(&window, -window.left, -window.top);
    if (Maximized()) {
        window.left += 8;
        window.right -= 8;
        window.bottom -= 8;
    }
    // The window owns the region once it is set.
    HRGN region = CreateRoundRectRgn(window.left, window.top, window.right + 1, window.bottom + 1, 0, 0);
    if (region && !SetWindowRgn(Hwnd(), region, TRUE))
        DeleteObject(region);
}

void CZYLDialog::PaintFrame()
{
    if (!Hwnd())
        return;
    WindowDC windowDC(Hwnd(), WindowDC::Area::Window);
    if (!windowDC)
        return;
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    // A maximized window reaches past its monitor's work area by the
    // width of the frame the system would have drawn; lay out inside.
    POINT overhang{0, 0};
    if (Maximized()) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) {
            overhang.x = std::max(0L, monitor.rcWork.left - window.left);
            overhang.y = std::max(0L, monitor.rcWork.top - window.top);
        }
    }
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const FrameMetrics& m = metrics_;

    if (layoutPending_) {
        RECT r{m.borderX + overhang.x, m.borderY + overhang.y, width - m.borderX - overhang.x,
               height - m.borderY - overhang.y};
        LayoutButtons(captionButtons_, r);
        layoutPending_ = false;
    }

    RECT client{};
    GetClientRect(Hwnd(), &client);
    OffsetRect(&client, m.borderX + overhang.x, m.captionY + m.borderY + overhang.y);
    ExcludeClipRect(windowDC.Get(), client.left, client.top, client.right, client.bottom);

    OffscreenBitmap buffer(windowDC.Get(), width, height);
    if (!buffer)
        return;
    HDC dc = buffer.DC();
    const ThemePalette& theme = Theme();
    FillSolidRect(dc, {0, 0, width, height}, theme.FrameBackground);
    FillSolidRect(dc, {0, 0, width, m.borderX}, theme.FrameBorder);
    FillSolidRect(dc, {0, height - m.borderY, width, height - m.borderY + m.borderX}, theme.FrameBorder);
    FillSolidRect(dc, {0, 0, m.borderX, height}, theme.FrameBorder);

    RECT caption{m.borderX, m.borderY, width - m.borderX, m.borderY + m.captionY};
    ShowMaximizeOrRestore(captionButtons_, Maximized());
    for (const CaptionButton& button : captionButtons_)
        DrawButton(dc, button);

    if (showCaptionTitle) {
        HICON icon = reinterpret_cast<HICON>(SendMessageW(Hwnd(), WM_GETICON, ICON_BIG, 0));
        if (icon) {
            const int iconX = StepScaleX(18);
            const int iconY = StepScaleY(18);
            DrawIconEx(dc, caption.left + 4 * m.borderX, caption.top + (m.captionY - iconY) / 2, icon, iconX, iconY,
                       0, nullptr, DI_NORMAL);
            caption.left += 4 * m.borderX + iconX;
        }
        DrawCaptionText(dc, caption);
    }
    buffer.CopyTo(windowDC.Get());
}

void CZYLDialog::DrawButton(HDC dc, const CaptionButton& button) const
{
    if (!button.visible || button.image.Empty() || IsRectEmpty(&button.box))
        return;
    FillSolidRect(dc, button.box, button.Background());
    BlendGlyphFrame(dc, button.glyphRect, button.image, 0, button.Alpha());
}

void CZYLDialog::DrawCaptionText(HDC dc, RECT caption) const
{
    const int length = GetWindowTextLengthW(Hwnd());
    if (length <= 0)
        return;
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(Hwnd(), title.data(), length + 1)));
    if (title.empty())
        return;
    SelectedObject font(dc, captionFont_.Get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &extent);
    const int top = caption.top + (metrics_.captionY - extent.cy) / 2;
    RECT text{caption.left + 5 * metrics_.borderY, top, caption.right, top + extent.cy};
    SetTextColor(dc, Theme().SecondaryText);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS);
}
