#include "wizard/panel_geometry.h"

#include <algorithm>

#include "ui/dpi.h"

int PanelScale::X(int n) const { return StepScaleAt(dpiX, n); }
int PanelScale::Y(int n) const { return StepScaleAt(dpiY, n); }

namespace {

RECT Box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

}  // namespace

SIZE GuideWindowSize(const PanelScale& scale, SIZE panel)
{
    return SIZE{panel.cx + 2 * scale.X(1), panel.cy};
}

SIZE DefaultPanelSize(const PanelScale& scale)
{
    return SIZE{scale.X(660), scale.Y(446)};
}

SIZE SettingsPanelSize(const PanelScale& scale, bool folded)
{
    SIZE size = DefaultPanelSize(scale);
    if (folded)
        size.cy -= scale.Y(86);
    return size;
}

unsigned LogoFamilyForDpi(int snappedDpi)
{
    switch (snappedDpi) {
    case 192: return 132;
    case 144: return 131;
    case 120: return 130;
    default: return 129;
    }
}

SIZE MeasuredOrMinimum(SIZE text, int w0, int h0)
{
    return SIZE{text.cx > 0 ? text.cx : w0, std::max<LONG>(text.cy, h0)};
}

SettingsLayoutRects LayoutSettings(const PanelScale& s, const RECT& r, const SettingsTexts& t)
{
    SettingsLayoutRects out;
    const int L = r.left, T = r.top, R = r.right;
    const int W = R - L;

    // The Install button.
    const int y0 = T + s.X(174);
    out.install = Box(L + (W - s.X(300)) / 2, y0, s.X(300), s.Y(34));
    const int b0 = y0 + s.Y(34);

    // The licence row: check box, label and link, centred as one group
    // (only one gap is counted).
    const int cw = s.X(16), ch = s.Y(16);
    const SIZE m135 = MeasuredOrMinimum(t.acceptLabel, s.X(138), s.Y(16));
    const SIZE m152 = MeasuredOrMinimum(t.licenceLink, s.X(138), s.Y(16));
    const int g = s.X(4);
    const int y1 = b0 + s.X(16);
    const int x1 = L + (W - cw - m152.cx - m135.cx - g) / 2;
    out.check = Box(x1, y1, cw, ch);
    out.acceptLabel = Box(x1 + g + cw, y1 + s.Y(-1), m135.cx, m135.cy);
    const int linkLeft = out.acceptLabel.right + s.X(4);
    out.licenceLink = Box(linkLeft, out.acceptLabel.top, R - linkLeft, m135.cy);

    // The fold-out row: the toggle text right-aligned next to the chevron.
    const SIZE m136 = MeasuredOrMinimum(t.toggleLabel, s.X(110), s.Y(14));
    const int x2 = R - (W - cw - m136.cx - g) / 2 - cw;
    const int y2 = out.acceptLabel.bottom + s.Y(66);
    out.chevron = Box(x2, y2, cw, ch);
    out.toggleLabel = Box(L, y2, x2 - L - g, m136.cy);
    const int b2 = y2 + ch;
    out.separator = POINT{L, b2 + s.Y(12)};

    // The hidden language row.
    const SIZE m174 = MeasuredOrMinimum(t.languageLabel, s.X(144), s.Y(30));
    out.languageLabel = Box(L + s.X(68), b2 + s.Y(30), m174.cx, m174.cy);
    const int comboLeft = L + s.X(68) + m174.cx + s.X(4);
    out.languageCombo = RECT{comboLeft, b2 + s.Y(30), R - s.X(68), b2 + s.Y(30) + m174.cy};

    // The association and folder rows share one line; the folder row is
    // placed after the (hidden) association label's width.
    const int y4 = b2 + s.Y(40);
    const SIZE m175 = MeasuredOrMinimum(t.associationLabel, m174.cx, m174.cy);
    out.associationLabel = Box(L + s.X(68), y4, m175.cx, m175.cy);
    const int x4 = L + s.X(68) + m175.cx + s.X(4);
    const int r4 = R - s.X(68);
    out.associationCombo = RECT{x4, y4, r4, y4 + m175.cy};
    out.folderEdit = RECT{x4, y4, r4 - s.Y(24), y4 + m175.cy};
    out.browse = Box(r4 - s.Y(24), y4, s.Y(24), m175.cy);
    const SIZE m140 = MeasuredOrMinimum(t.folderLabel, s.X(144), s.Y(30));
    out.folderLabel = Box(L + s.X(68) + m175.cx - m140.cx, y4, m140.cx, m175.cy);
    return out;
}

StatusLayoutRects LayoutStatus(const PanelScale& s, const RECT& r)
{
    StatusLayoutRects out;
    const int L = r.left, T = r.top, R = r.right;
    out.slideshow = Box(L, T + s.X(36), R - L, s.Y(284));
    const int y0 = out.slideshow.bottom;
    const int m = s.Y(30), g = s.X(100), sp = s.Y(15), h = s.Y(20);
    out.statusLabel = RECT{L + m, y0 + sp, R - g - m, y0 + sp + h};
    out.timeLabel = out.statusLabel;
    OffsetRect(&out.timeLabel, 0, h);
    out.percentLabel = RECT{R - g - m, out.timeLabel.top, R - m, out.timeLabel.bottom};
    out.progress = RECT{L + m, out.timeLabel.bottom + s.Y(10), R - m, out.timeLabel.bottom + s.Y(10) + s.Y(8)};
    return out;
}

SuccessLayoutRects LayoutSuccess(const PanelScale& s, const RECT& r)
{
    SuccessLayoutRects out;
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const int width = s.X(300);
    out.startNow = Box(L + (R - L - width) / 2, T + s.X(240), width, s.Y(34));
    out.launchCheck = Box(L + s.Y(30), B - s.Y(20) - s.Y(20), s.X(20), s.Y(20));
    const int labelLeft = out.launchCheck.left + s.X(20) + s.X(4);
    out.launchLabel = RECT{labelLeft, out.launchCheck.top, R, out.launchCheck.top + s.Y(20)};
    return out;
}

RECT TitleRectBelowIcon(const RECT& client, int iconTop, int iconSize, SIZE text)
{
    const int width = client.right - client.left;
    const int left = client.left + (width - text.cx) / 2;
    const int top = iconTop + iconSize + text.cy / 2;
    return Box(left, top, text.cx, text.cy);
}
