#include "wizard/guide_panel.h"

#include "base/debug_trace.h"
#include "base/unique_handle.h"
#include "ui/dpi.h"
#include "ui/image_cache.h"
#include "ui/image_wrapper.h"
#include "ui/theme.h"
#include "wizard/install_guide.h"
#include "wizard/panel_geometry.h"

CGuidePanel::CGuidePanel(UINT templateId) : CDialog(templateId), pageTemplate_(templateId)
{
    OnMessage(WM_SIZE, [this](WPARAM, LPARAM) -> LRESULT {
        LRESULT result = Default();
        Layout(ClientRect());
        return result;
    });
    OnMessage(WM_ERASEBKGND, [this](WPARAM wParam, LPARAM) -> LRESULT {
        return EraseBackground(reinterpret_cast<HDC>(wParam));
    });
}

SIZE CGuidePanel::PreferredSize() const
{
    return Design().panelSize;
}

bool CGuidePanel::OnInitDialog()
{
    HWND window = Hwnd();
    SetWindowLongPtrW(window, GWL_STYLE,
                      GetWindowLongPtrW(window, GWL_STYLE) &
                          ~static_cast<LONG_PTR>(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME));
    return true;
}

RECT CGuidePanel::ClientRect() const
{
    RECT client{};
    GetClientRect(Hwnd(), &client);
    return client;
}

CInstallGuide* CGuidePanel::Guide() const
{
    return dynamic_cast<CInstallGuide*>(CWindow::FromHandle(GetParent(Hwnd())));
}

void CGuidePanel::GoToNextPanel()
{
    if (CInstallGuide* guide = Guide())
        guide->ShowPanel(guide->CurrentPanelIndex() + 1);
}

SIZE CGuidePanel::MeasureText(const std::wstring& text, HFONT font, SIZE size) const
{
    WindowDC dc(Hwnd());
    HGDIOBJ old = font ? SelectObject(dc.Get(), font) : nullptr;
    SIZE measured{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured);
    if (measured.cx > 0) {
        // The ink of the last glyph may reach past its advance: by its
        // negative right-side bearing, and by a pixel or two of smoothing at
        // sizes between the font's hinted ones (seen at 120 DPI). A box of
        // the bare extent would cut it off.
        ABC last{};
        if (GetCharABCWidthsW(dc.Get(), text.back(), text.back(), &last) && last.abcC < 0)
            measured.cx += -last.abcC;
        size.cx = measured.cx + StepScaleX(2);
        size.cy = std::max(measured.cy, size.cy);
    }
    if (old)
        SelectObject(dc.Get(), old);
    return size;
}

LRESULT CGuidePanel::EraseBackground(HDC dc)
{
    const RECT client = ClientRect();
    const int width = client.right - client.left, height = client.bottom - client.top;
    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap)
        return 0;
    HGDIOBJ oldBitmap = SelectObject(memory.Get(), bitmap.Get());

    UniqueBrush background(CreateSolidBrush(Theme().WindowBackground));
    FillRect(memory.Get(), &client, background.Get());

    if (auto logo = LoadPngResource(LogoFamilyForDpi(SnappedDpi())); logo && logo->Bitmap()) {
        UniqueMemoryDC source(CreateCompatibleDC(dc));
        HGDIOBJ oldSource = SelectObject(source.Get(), logo->Bitmap());
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(memory.Get(), client.right - logo->width, client.top, logo->width, logo->height, source.Get(), 0, 0,
                   logo->width, logo->height, blend);
        SelectObject(source.Get(), oldSource);
    }

    Draw(memory.Get());

    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    SelectObject(memory.Get(), oldBitmap);
    // The moment a page first reaches the screen, for the log (and the
    // start-up benchmark, which reads it from there).
    if (!painted_ && IsWindowVisible(Hwnd())) {
        painted_ = true;
        DebugTrace(L"PictoraSetup: page " + std::to_wstring(pageTemplate_) + L" first painted.\r\n");
    }
    return 0;
}
