// Caption-button layout, hit testing and the press-and-release rule on
// plain values, with and without the maximize box.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "ui/caption_buttons.h"
#include "ui/theme.h"

namespace {

struct Layout {
    RECT close, maximize, restore, minimize;
};

Layout LaidOut(int dpi, bool maximizeBox, int windowWidth, int windowHeight)
{
    const FrameMetrics m = FrameMetricsAt(dpi, dpi);
    std::vector<CaptionButton> buttons = MakeCaptionButtons(m, maximizeBox);
    LayoutButtons(buttons, {m.borderX, m.borderY, windowWidth - m.borderX, windowHeight - m.borderY});
    return {FindButton(buttons, kCaptionClose)->box, FindButton(buttons, kCaptionMaximize)->box,
            FindButton(buttons, kCaptionRestore)->box, FindButton(buttons, kCaptionMinimize)->box};
}

void ExpectRect(const RECT& actual, const RECT& expected, const char* what)
{
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

TEST(CaptionButtons, LayoutFromTheRightEdgeWithAndWithoutMaximizeBox)
{
    struct Case {
        int dpi;
        bool maximizeBox;
        Layout expected;
    };
    // Window 400 pixels wide; the right border is X(1).
    const Case cases[] = {
        {96, false, {{369, 1, 399, 31}, {}, {}, {339, 1, 369, 31}}},
        {96, true, {{369, 1, 399, 31}, {339, 1, 369, 31}, {339, 1, 369, 31}, {309, 1, 339, 31}}},
        {144, false, {{354, 1, 399, 46}, {}, {}, {309, 1, 354, 46}}},
        {192, true, {{338, 2, 398, 62}, {278, 2, 338, 62}, {278, 2, 338, 62}, {218, 2, 278, 62}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << (c.maximizeBox ? " with" : " without") << " maximize box");
        const Layout got = LaidOut(c.dpi, c.maximizeBox, 400, 300);
        ExpectRect(got.close, c.expected.close, "close");
        ExpectRect(got.maximize, c.expected.maximize, "maximize");
        ExpectRect(got.restore, c.expected.restore, "restore");
        ExpectRect(got.minimize, c.expected.minimize, "minimize");
    }
}

TEST(CaptionButtons, FrameGeometryAtTheDesignSteps)
{
    struct Case {
        int dpi;
        int caption, border, button;
        RECT client;  // inside a 400 x 300 window at (0, 0), not maximized
        RECT maximizedClient;
    };
    const Case cases[] = {
        {96, 28, 1, 30, {1, 29, 399, 299}, {8, 37, 392, 292}},
        {120, 35, 1, 37, {1, 36, 399, 299}, {8, 44, 392, 292}},
        {144, 42, 1, 45, {1, 43, 399, 299}, {8, 51, 392, 292}},
        {192, 56, 2, 60, {2, 58, 398, 298}, {8, 66, 392, 292}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const FrameMetrics m = FrameMetricsAt(c.dpi, c.dpi);
        EXPECT_EQ(m.captionY, c.caption);
        EXPECT_EQ(m.borderX, c.border);
        EXPECT_EQ(m.buttonX, c.button);
        EXPECT_EQ(m.buttonY, c.button);
        ExpectRect(ClientInsideFrame({0, 0, 400, 300}, false, m), c.client, "client");
        ExpectRect(ClientInsideFrame({0, 0, 400, 300}, true, m), c.maximizedClient, "maximized client");
    }
}

TEST(CaptionButtons, GlyphIsCentredInItsButton)
{
    const FrameMetrics m = FrameMetricsAt(144, 144);
    std::vector<CaptionButton> buttons = MakeCaptionButtons(m, false);
    GlyphStrip glyph;
    glyph.bitmap = reinterpret_cast<HBITMAP>(1);  // never drawn here
    glyph.width = 24;
    glyph.height = 24;
    glyph.frameCount = 1;
    SetCaptionGlyph(*FindButton(buttons, kCaptionClose), glyph, m);
    LayoutButtons(buttons, {1, 1, 399, 299});
    // 45 x 45 button at (354, 1); the 24-pixel glyph at (354 + 10, 1 + 10).
    ExpectRect(FindButton(buttons, kCaptionClose)->glyphRect, {364, 11, 388, 35}, "glyph");
}

TEST(CaptionButtons, HitTestingSkipsHiddenDisabledAndEmptyButtons)
{
    struct Case {
        bool maximizeBox;
        POINT point;
        int hit;
    };
    // 96 DPI, window 400 wide: Close 369..399; with the box Maximize
    // 339..369 (disabled as created) and Minimize 309..339; without it
    // Minimize 339..369.
    const Case cases[] = {
        {false, {380, 10}, kCaptionClose},   {false, {350, 10}, kCaptionMinimize},
        {false, {320, 10}, -1},              {false, {380, 31}, -1},  // below the button
        {true, {380, 10}, kCaptionClose},    {true, {350, 10}, -1},   // Maximize disabled
        {true, {320, 10}, kCaptionMinimize}, {true, {100, 10}, -1},
    };
    for (const Case& c : cases) {
        const FrameMetrics m = FrameMetricsAt(96, 96);
        std::vector<CaptionButton> buttons = MakeCaptionButtons(m, c.maximizeBox);
        LayoutButtons(buttons, {1, 1, 399, 299});
        EXPECT_EQ(HitTestButtons(buttons, c.point), c.hit)
            << c.maximizeBox << " at " << c.point.x << "," << c.point.y;
    }
    // Once enabled, Maximize is hit; hidden (the window is maximized) it is not.
    const FrameMetrics m = FrameMetricsAt(96, 96);
    std::vector<CaptionButton> buttons = MakeCaptionButtons(m, true);
    LayoutButtons(buttons, {1, 1, 399, 299});
    FindButton(buttons, kCaptionMaximize)->disabled = false;
    EXPECT_EQ(HitTestButtons(buttons, {350, 10}), kCaptionMaximize);
    ShowMaximizeOrRestore(buttons, true);
    EXPECT_EQ(HitTestButtons(buttons, {350, 10}), kCaptionRestore);
}

// A press and a release with pointer moves in between: what the release
// asks the window to do.
TEST(CaptionButtons, CommandOnlyWhenReleasedOverTheHotButton)
{
    const POINT close{380, 10}, minimize{350, 10}, caption{100, 10};
    struct Case {
        const char* what;
        POINT press;
        std::vector<POINT> moves;
        POINT release;
        std::optional<UINT> command;
    };
    const Case cases[] = {
        {"click Close", close, {}, close, SC_CLOSE},
        {"click Minimize", minimize, {}, minimize, SC_MINIMIZE},
        {"press Close, slide off, release", close, {caption}, caption, std::nullopt},
        {"press Close, slide off and back, release", close, {caption, close}, close, SC_CLOSE},
        {"press Close, slide to Minimize, release", close, {minimize}, minimize, SC_MINIMIZE},
        {"press Close, release on Minimize without a move", close, {}, minimize, std::nullopt},
        {"press the caption, release on Close", caption, {}, close, std::nullopt},
    };
    for (const Case& c : cases) {
        const FrameMetrics m = FrameMetricsAt(96, 96);
        std::vector<CaptionButton> buttons = MakeCaptionButtons(m, false);
        LayoutButtons(buttons, {1, 1, 399, 299});
        PressButton(buttons, c.press);
        for (POINT p : c.moves)
            TrackPointer(buttons, p);
        EXPECT_EQ(ReleaseButton(buttons, c.release, false), c.command) << c.what;
        for (const CaptionButton& b : buttons)
            EXPECT_FALSE(b.hot || b.hover || b.pressed) << c.what << ": button " << b.id << " left in a state";
    }
}

TEST(CaptionButtons, StateColoursAndTheFadedDisabledGlyph)
{
    InstallThemePalette();
    std::vector<CaptionButton> buttons = MakeCaptionButtons(FrameMetricsAt(96, 96), true);
    CaptionButton& close = *FindButton(buttons, kCaptionClose);
    CaptionButton& minimize = *FindButton(buttons, kCaptionMinimize);
    const ThemePalette& t = Theme();
    EXPECT_EQ(close.Background(), t.FrameBackground);
    close.hover = true;
    EXPECT_EQ(close.Background(), t.CloseButtonHover);
    close.pressed = true;
    EXPECT_EQ(close.Background(), t.CloseButtonPressed) << "pressed wins over hover";
    minimize.hover = true;
    EXPECT_EQ(minimize.Background(), t.CaptionButtonHover);
    minimize.disabled = true;
    EXPECT_EQ(minimize.Background(), t.FrameBackground);
    EXPECT_EQ(minimize.Alpha(), 50);
    EXPECT_EQ(close.Alpha(), 255);
    EXPECT_TRUE(FindButton(buttons, kCaptionMaximize)->disabled) << "as created";
    EXPECT_FALSE(FindButton(buttons, kCaptionRestore)->visible) << "as created";
}

}  // namespace
