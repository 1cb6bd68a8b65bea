// The progress bar as a real window: what it shows for a position, with
// the track's rounded ends and a fill cut off at the position.
#include <gtest/gtest.h>

#include "control_window_support.h"
#include "resource_ids.h"
#include "ui/zyl_progress.h"
#include "ui_test_support.h"

using namespace image_testing;

namespace {

constexpr COLORREF kBackground = RGB(24, 25, 30);
constexpr COLORREF kTrack = RGB(75, 71, 70);
constexpr COLORREF kFill = RGB(7, 165, 216);

// Colours drawn with anti-aliasing: a channel may be off by a little.
bool Near(COLORREF a, COLORREF b, int tolerance = 6)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class ProgressWindow : public ::testing::Test {
protected:
    // A 400 x 20 bar with a 400 x 8 track (y 6 .. 14), radii 3.
    void SetUp() override
    {
        ASSERT_TRUE(bar.Create(host.Get(), IDC_PROGRESS_BAR));
        bar.backgroundColor = kBackground;
        bar.trackColor = kTrack;
        bar.fillColor = kFill;
        bar.range = 1000;
        bar.trackSize = {0, 0, 400, 8};
        bar.cornerRadiusX = 3.0f;
        bar.cornerRadiusY = 3.0f;
        MoveWindow(bar.Hwnd(), 0, 0, 400, 20, FALSE);
        ShowWindow(bar.Hwnd(), SW_SHOW);
    }
    ScreenCapture Show(int position)
    {
        bar.position = position;
        InvalidateRect(bar.Hwnd(), nullptr, FALSE);
        UpdateWindow(bar.Hwnd());
        ui_test::PumpMessages();
        return ScreenCapture(bar.Hwnd());
    }
    HostWindow host{420, 40};
    CZYLProgress bar;
};

TEST_F(ProgressWindow, IsAChildWindowWithItsIdentifier)
{
    EXPECT_EQ(GetDlgCtrlID(bar.Hwnd()), IDC_PROGRESS_BAR);
    EXPECT_EQ(GetParent(bar.Hwnd()), host.Get());
    const LONG style = GetWindowLongW(bar.Hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_TABSTOP);
}

TEST_F(ProgressWindow, HalfWayFillsTheLeftHalfOfTheTrack)
{
    const ScreenCapture shot = Show(500);
    ASSERT_FALSE(shot.Empty());
    EXPECT_TRUE(Near(shot.At(200, 2), kBackground)) << std::hex << shot.At(200, 2);   // above the track
    EXPECT_TRUE(Near(shot.At(200, 17), kBackground)) << std::hex << shot.At(200, 17); // below it
    EXPECT_TRUE(Near(shot.At(100, 10), kFill)) << std::hex << shot.At(100, 10);
    EXPECT_TRUE(Near(shot.At(195, 10), kFill)) << std::hex << shot.At(195, 10);
    EXPECT_TRUE(Near(shot.At(205, 10), kTrack)) << std::hex << shot.At(205, 10);
    EXPECT_TRUE(Near(shot.At(300, 10), kTrack)) << std::hex << shot.At(300, 10);
    // The fill keeps the track's rounded left end: the very corner stays
    // background, the middle of the left edge is filled.
    EXPECT_TRUE(Near(shot.At(0, 6), kBackground, 40)) << std::hex << shot.At(0, 6);
    EXPECT_TRUE(Near(shot.At(1, 10), kFill, 40)) << std::hex << shot.At(1, 10);
    // Its right end is cut straight: full fill up to the edge at the top.
    EXPECT_TRUE(Near(shot.At(198, 6), kFill)) << std::hex << shot.At(198, 6);
}

TEST_F(ProgressWindow, ZeroShowsTheBareTrackAndFullFillsItWithBothEndsRounded)
{
    ScreenCapture shot = Show(0);
    ASSERT_FALSE(shot.Empty());
    for (int x : {2, 100, 200, 397})
        EXPECT_TRUE(Near(shot.At(x, 10), kTrack)) << x << " " << std::hex << shot.At(x, 10);

    for (int position : {1000, 1700}) {  // beyond the range: still only the track
        shot = Show(position);
        for (int x : {2, 100, 200, 397})
            EXPECT_TRUE(Near(shot.At(x, 10), kFill)) << position << " at " << x;
        EXPECT_TRUE(Near(shot.At(399, 6), kBackground, 40)) << position << " right corner";
        EXPECT_TRUE(Near(shot.At(0, 13), kBackground, 40)) << position << " left corner";
        EXPECT_TRUE(Near(shot.At(200, 3), kBackground)) << position << " above the track";
    }
}

TEST_F(ProgressWindow, ScreenReadersReadAProgressBar)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    bar.accessibleName = L"Installation progress";
    const AccessibleReading read = ReadAccessible(bar.Hwnd());
    ASSERT_TRUE(read.found);
    EXPECT_EQ(read.name, L"Installation progress");
    EXPECT_EQ(read.role, ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_TRUE(read.state & STATE_SYSTEM_READONLY);
    CoUninitialize();
}

}  // namespace
