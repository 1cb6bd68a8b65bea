#include "ui/caption_buttons.h"

#include "ui/dpi.h"
#include "ui/theme.h"

namespace {

void MoveTo(CaptionButton& button, int right, int top)
{
    const int width = button.box.right - button.box.left;
    const int dx = right - width - button.box.left;
    const int dy = top - button.box.top;
    OffsetRect(&button.box, dx, dy);
    OffsetRect(&button.glyphRect, dx, dy);
}

}  // namespace

COLORREF CaptionButton::Background() const
{
    if (disabled)
        return normalColor;
    if (pressed)
        return pressedColor;
    if (hover)
        return hoverColor;
    return normalColor;
}

FrameMetrics FrameMetricsAt(int dpiX, int dpiY)
{
    return {StepScaleAt(dpiX, 1), StepScaleAt(dpiY, 1), StepScaleAt(dpiY, 28), StepScaleAt(dpiX, 30),
            StepScaleAt(dpiY, 30)};
}

std::vector<CaptionButton> MakeCaptionButtons(const FrameMetrics& metrics, bool maximizeBox)
{
    const ThemePalette& theme = Theme();
    struct Row {
        int id;
        COLORREF hover, pressed;
        const wchar_t* tooltip;
        bool visible, disabled;
    };
    const Row rows[] = {
        {kCaptionClose, theme.CloseButtonHover, theme.CloseButtonPressed, L"Close", true, false},
        {kCaptionMaximize, theme.CaptionButtonHover, theme.CaptionButtonPressed, L"Maximize", true, true},
        {kCaptionRestore, theme.CaptionButtonHover, theme.CaptionButtonPressed, L"Restore", false, false},
        {kCaptionMinimize, theme.CaptionButtonHover, theme.CaptionButtonPressed, L"Minimize", true, false},
    };
    std::vector<CaptionButton> buttons;
    for (const Row& row : rows) {
        CaptionButton button;
        button.id = row.id;
        button.normalColor = theme.FrameBackground;
        button.hoverColor = row.hover;
        button.pressedColor = row.pressed;
        button.tooltip = row.tooltip;
        button.visible = row.visible;
        button.disabled = row.disabled;
        button.box = {0, 0, metrics.buttonX, metrics.buttonY};
        const bool takesNoSpace = !maximizeBox && (row.id == kCaptionMaximize || row.id == kCaptionRestore);
        if (takesNoSpace)
            button.box = {};
        buttons.push_back(button);
    }
    return buttons;
}

void SetCaptionGlyph(CaptionButton& button, const GlyphStrip& image, const FrameMetrics& metrics)
{
    button.image = image;
    if (IsRectEmpty(&button.box)) {
        button.glyphRect = {};
        return;
    }
    const SIZE frame = image.FrameSize();
    const int left = button.box.left + (metrics.buttonX - frame.cx) / 2;
    const int top = button.box.top + (metrics.buttonY - frame.cy) / 2;
    button.glyphRect = {left, top, left + frame.cx, top + frame.cy};
}

RECT ClientInsideFrame(RECT proposed, bool maximized, const FrameMetrics& metrics)
{
    if (maximized) {
        proposed.left += 8;
        proposed.right -= 8;
        proposed.bottom -= 8;
        proposed.top += metrics.borderY + metrics.captionY + 8;
    } else {
        proposed.top += metrics.captionY + metrics.borderY;
        proposed.left += metrics.borderX;
        proposed.right -= metrics.borderX;
        proposed.bottom -= metrics.borderY;
    }
    return proposed;
}

void ShowMaximizeOrRestore(std::vector<CaptionButton>& buttons, bool maximized)
{
    if (CaptionButton* maximize = FindButton(buttons, kCaptionMaximize))
        maximize->visible = !maximized;
    if (CaptionButton* restore = FindButton(buttons, kCaptionRestore))
        restore->visible = maximized;
}

void LayoutButtons(std::vector<CaptionButton>& buttons, const RECT& r)
{
    CaptionButton* close = FindButton(buttons, kCaptionClose);
    CaptionButton* maximize = FindButton(buttons, kCaptionMaximize);
    CaptionButton* restore = FindButton(buttons, kCaptionRestore);
    CaptionButton* minimize = FindButton(buttons, kCaptionMinimize);
    if (!close || !maximize || !restore || !minimize)
        return;
    MoveTo(*close, r.right, r.top);
    // An empty box (no maximize box) stays empty and takes no space.
    const int maximizeWidth = maximize->box.right - maximize->box.left;
    if (!IsRectEmpty(&maximize->box))
        MoveTo(*maximize, close->box.left, r.top);
    if (!IsRectEmpty(&restore->box))
        MoveTo(*restore, close->box.left, r.top);
    MoveTo(*minimize, close->box.left - maximizeWidth, r.top);
}

int HitTestButtons(const std::vector<CaptionButton>& buttons, POINT point)
{
    for (const CaptionButton& button : buttons) {
        if (button.visible && !button.disabled && PtInRect(&button.box, point))
            return button.id;
    }
    return -1;
}

void ResetButtons(std::vector<CaptionButton>& buttons)
{
    for (CaptionButton& button : buttons) {
        if (button.visible)
            button.hot = false;
        button.hover = false;
        button.pressed = false;
    }
}

CaptionButton* FindButton(std::vector<CaptionButton>& buttons, int id)
{
    for (CaptionButton& button : buttons) {
        if (button.id == id)
            return &button;
    }
    return nullptr;
}

bool TrackPointer(std::vector<CaptionButton>& buttons, POINT point)
{
    const int h = HitTestButtons(buttons, point);
    if (h < 0) {
        ResetButtons(buttons);
        return true;
    }
    for (const CaptionButton& button : buttons) {
        if (button.visible && button.hot)
            if (button.id == h)
                return false;
    }
    ResetButtons(buttons);
    CaptionButton* target = FindButton(buttons, h);
    if (target->visible)
        target->hot = true;
    target->hover = true;
    return true;
}

bool PressButton(std::vector<CaptionButton>& buttons, POINT point)
{
    ResetButtons(buttons);
    const int h = HitTestButtons(buttons, point);
    if (h < 0)
        return false;
    CaptionButton* target = FindButton(buttons, h);
    if (target->visible)
        target->hot = true;
    target->pressed = true;
    return true;
}

std::optional<UINT> ReleaseButton(std::vector<CaptionButton>& buttons, POINT point, bool maximizeBox)
{
    std::optional<UINT> command;
    const int h = HitTestButtons(buttons, point);
    if (h != -1) {
        for (const CaptionButton& button : buttons) {
            if (!button.visible || !button.hot)
                continue;
            if (button.id == h) {
                if (h == kCaptionClose)
                    command = SC_CLOSE;
                else if (h == kCaptionMinimize)
                    command = SC_MINIMIZE;
                else if (h == kCaptionMaximize && maximizeBox)
                    command = SC_MAXIMIZE;
                else if (h == kCaptionRestore && maximizeBox)
                    command = SC_RESTORE;
            }
            break;
        }
    }
    ResetButtons(buttons);
    return command;
}
