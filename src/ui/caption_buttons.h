// The custom frame's caption buttons as data: their table, layout, hit
// testing and the press-and-release rule, apart from any window, so that
// they are tested on plain values.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/glyph_strip.h"

enum CaptionButtonId { kCaptionClose = 0, kCaptionMaximize = 1, kCaptionRestore = 2, kCaptionMinimize = 3 };

struct CaptionButton {
    int id = 0;
    GlyphStrip image;  // only frame 0 is drawn
    COLORREF normalColor = 0;
    COLORREF hoverColor = 0;
    COLORREF pressedColor = 0;
    std::wstring tooltip;
    bool visible = false;
    RECT box{};        // window coordinates
    RECT glyphRect{};  // where the glyph is drawn, centred in box
    bool hover = false;
    bool pressed = false;
    bool hot = false;  // the button the current hover or press belongs to
    bool disabled = false;
    BYTE Alpha() const { return disabled ? 50 : 255; }
    // The background for the button's state.
    COLORREF Background() const;
};

// Sizes of the frame in device pixels.
struct FrameMetrics {
    int borderX = 1;    // StepScaleX(1)
    int borderY = 1;    // StepScaleY(1)
    int captionY = 28;  // StepScaleY(28)
    int buttonX = 30;   // StepScaleX(30)
    int buttonY = 30;   // StepScaleY(30)
};
FrameMetrics FrameMetricsAt(int dpiX, int dpiY);

// The four buttons in the order Close, Maximize, Restore, Minimize, with
// their colours; Maximize starts disabled, Restore hidden. Without the
// maximize box Maximize and Restore take no space.
std::vector<CaptionButton> MakeCaptionButtons(const FrameMetrics& metrics, bool maximizeBox);
// Gives a button its glyph, centred in a box of the button size.
void SetCaptionGlyph(CaptionButton& button, const GlyphStrip& image, const FrameMetrics& metrics);

// The client rectangle inside the proposed window rectangle.
RECT ClientInsideFrame(RECT proposed, bool maximized, const FrameMetrics& metrics);
// Maximize shown and Restore hidden unless maximized, the reverse when it is.
void ShowMaximizeOrRestore(std::vector<CaptionButton>& buttons, bool maximized);
// Places the buttons from the right edge of r (the window rectangle at
// (0, 0) without its borders): Close, Maximize left of it, Restore on
// Maximize's place, Minimize left of those.
void LayoutButtons(std::vector<CaptionButton>& buttons, const RECT& r);

// The id of the first visible, enabled button whose box holds the point
// (window coordinates), or -1.
int HitTestButtons(const std::vector<CaptionButton>& buttons, POINT point);
void ResetButtons(std::vector<CaptionButton>& buttons);
CaptionButton* FindButton(std::vector<CaptionButton>& buttons, int id);

// The pointer moved to `point`; true when the frame must be painted again.
bool TrackPointer(std::vector<CaptionButton>& buttons, POINT point);
// The left button went down at `point`; true when it was on a button.
bool PressButton(std::vector<CaptionButton>& buttons, POINT point);
// The left button came up at `point`: the system command to send (SC_CLOSE,
// SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE) when it is over the hot button,
// the two last only with the maximize box. The buttons are reset.
std::optional<UINT> ReleaseButton(std::vector<CaptionButton>& buttons, POINT point, bool maximizeBox);
