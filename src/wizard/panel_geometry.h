// Where the wizard's panels put their controls: plain arithmetic on the
// client rectangle, the DPI and the measured text sizes, so that the
// layouts can be checked without windows.
#pragma once

#include <windows.h>

// The step-scaled sizes of one DPI (StepScaleAt for horizontal and
// vertical sizes).
struct PanelScale {
    int dpiX = 96;
    int dpiY = 96;
    int X(int n) const;
    int Y(int n) const;
};

// The guide's window size for a panel of `panel`: one pixel of border on
// each side added to the width.
SIZE GuideWindowSize(const PanelScale& scale, SIZE panel);
// The settings panel's size, shorter by Y(86) while folded.
SIZE SettingsPanelSize(const PanelScale& scale, bool folded);
// Every other panel's size: X(660) x Y(446).
SIZE DefaultPanelSize(const PanelScale& scale);
// The word mark's image family for a snapped DPI (129 to 132).
unsigned LogoFamilyForDpi(int snappedDpi);

// A measured text size: the text's own width when above 0 (else w0), and
// the larger of its height and h0.
SIZE MeasuredOrMinimum(SIZE text, int w0, int h0);

// The measured sizes the settings layout needs (raw text extents; the
// minimum sizes are applied by the layout).
struct SettingsTexts {
    SIZE acceptLabel{};   // 135, BodyFont
    SIZE licenceLink{};   // 152, LinkFont
    SIZE toggleLabel{};   // 136, LinkFont
    SIZE languageLabel{}; // 174, LinkFont
    SIZE associationLabel{};  // 175, LinkFont
    SIZE folderLabel{};   // 140, LinkFont
};

struct SettingsLayoutRects {
    RECT install{}, check{}, acceptLabel{}, licenceLink{}, toggleLabel{}, chevron{};
    RECT languageLabel{}, languageCombo{}, associationLabel{}, associationCombo{};
    RECT folderLabel{}, folderEdit{}, browse{};
    POINT separator{};
};
SettingsLayoutRects LayoutSettings(const PanelScale& scale, const RECT& client, const SettingsTexts& texts);

struct StatusLayoutRects {
    RECT slideshow{}, statusLabel{}, timeLabel{}, percentLabel{}, progress{};
};
StatusLayoutRects LayoutStatus(const PanelScale& scale, const RECT& client);

struct SuccessLayoutRects {
    RECT startNow{}, launchCheck{}, launchLabel{};
};
SuccessLayoutRects LayoutSuccess(const PanelScale& scale, const RECT& client);

// The icon and title placement shared by the settings and success panels:
// the icon of `iconSize` centred at `iconTop`, and the title rectangle of
// `text` centred below it, its top half a text height below the icon.
RECT TitleRectBelowIcon(const RECT& client, int iconTop, int iconSize, SIZE text);
