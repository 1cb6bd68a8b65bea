// The slideshow as a real window: what it shows still and half-way through
// a slide-over, that its timer repaints it as the clock moves on, and that
// a click tells the parent once per press.
#include <gtest/gtest.h>

#include "base/unique_handle.h"
#include "control_window_support.h"
#include "resource_ids.h"
#include "ui/offscreen.h"
#include "ui/zyl_slideshow.h"
#include "ui_test_support.h"

using namespace image_testing;

namespace {

constexpr COLORREF kBackground = RGB(24, 25, 30);
constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kBlue = RGB(30, 60, 220);
constexpr COLORREF kGreen = RGB(30, 200, 60);

UniqueBitmap SolidBitmap(int width, int height, COLORREF colour)
{
    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    UniqueMemoryDC dc(CreateCompatibleDC(screen.Get()));
    SelectedObject selected(dc.Get(), bitmap.Get());
    FillSolidRect(dc.Get(), RECT{0, 0, width, height}, colour);
    return bitmap;
}

class SlideshowWindow : public ::testing::Test {
protected:
    // A 200 x 100 slideshow with a clock the test moves.
    void SetUp() override
    {
        ASSERT_TRUE(show.Create(host.Get(), IDC_SLIDESHOW));
        show.backgroundColor = kBackground;
        MoveWindow(show.Hwnd(), 0, 0, 200, 100, FALSE);
        ShowWindow(show.Hwnd(), SW_SHOW);
    }
    void UseSlides(std::initializer_list<const UniqueBitmap*> bitmaps, int w, int h)
    {
        show.slides.clear();
        for (const UniqueBitmap* b : bitmaps)
            show.slides.push_back({w, h, b->Get()});
    }
    ScreenCapture At(long ms)
    {
        now = ms;
        InvalidateRect(show.Hwnd(), nullptr, TRUE);
        UpdateWindow(show.Hwnd());
        return ScreenCapture(show.Hwnd());
    }

    long now = 0;
    SlideshowClock clock{[this] { return now; }};
    HostWindow host{220, 120, kSlideshowClicked};
    CZYLSliderShowCtrl show{&clock};
    UniqueBitmap red = SolidBitmap(100, 60, kRed);
    UniqueBitmap blue = SolidBitmap(100, 60, kBlue);
    UniqueBitmap green = SolidBitmap(100, 60, kGreen);
};

TEST_F(SlideshowWindow, WithoutSlidesShowsTheBackground)
{
    const ScreenCapture shot = At(0);
    ASSERT_FALSE(shot.Empty());
    for (int x : {0, 100, 199})
        EXPECT_EQ(shot.At(x, 50), kBackground) << x;
}

TEST_F(SlideshowWindow, ShowsTheFirstSlideCentredAndSlidesOverToTheNext)
{
    UseSlides({&red, &blue, &green}, 100, 60);
    ScreenCapture shot = At(1000);  // the clock starts at this first paint
    ASSERT_FALSE(shot.Empty());
    // Still: the red slide at x 50..149, y 20..79.
    EXPECT_EQ(shot.At(100, 50), kRed);
    EXPECT_EQ(shot.At(50, 20), kRed);
    EXPECT_EQ(shot.At(149, 79), kRed);
    EXPECT_EQ(shot.At(49, 50), kBackground);
    EXPECT_EQ(shot.At(150, 50), kBackground);
    EXPECT_EQ(shot.At(100, 19), kBackground);

    // 7.8 s later, half-way: red moved 100 to the left (x -50..49), blue
    // came in to x 150..249, clipped at the right edge; between them the
    // background.
    shot = At(1000 + 7800);
    EXPECT_EQ(shot.At(0, 50), kRed);
    EXPECT_EQ(shot.At(49, 50), kRed);
    EXPECT_EQ(shot.At(100, 50), kBackground);
    EXPECT_EQ(shot.At(150, 50), kBlue);
    EXPECT_EQ(shot.At(199, 50), kBlue);

    // 8.1 s: blue stands where red stood.
    shot = At(1000 + 8100);
    EXPECT_EQ(shot.At(100, 50), kBlue);
    EXPECT_EQ(shot.At(49, 50), kBackground);
    // After the third slide the show comes back to the first.
    shot = At(1000 + 3 * 8100 + 100);
    EXPECT_EQ(shot.At(100, 50), kRed);
}

TEST_F(SlideshowWindow, ASingleSlideLeavesOnlyTheBackgroundDuringTheSlideOver)
{
    UseSlides({&green}, 100, 60);
    EXPECT_EQ(At(0).At(100, 50), kGreen);
    const ScreenCapture shot = At(7800);
    for (int x : {0, 50, 100, 150, 199})
        EXPECT_EQ(shot.At(x, 50), kBackground) << x;
    EXPECT_EQ(At(8100).At(100, 50), kGreen);
}

TEST_F(SlideshowWindow, ItsTimerRepaintsItAsTheClockMovesOn)
{
    UseSlides({&red, &blue}, 100, 60);
    ASSERT_EQ(At(0).At(100, 50), kRed);
    now = 8100;  // nothing invalidates the window but its own timer
    for (int i = 0; i < 40 && ScreenCapture(show.Hwnd()).At(100, 50) != kBlue; ++i)
        ui_test::PumpMessages(10);
    EXPECT_EQ(ScreenCapture(show.Hwnd()).At(100, 50), kBlue);
}

TEST_F(SlideshowWindow, AClickTellsTheParentOncePerPressAndTheCursorIsTheHand)
{
    for (int press = 1; press <= 2; ++press) {
        SendMessageW(show.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageW(show.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        SendMessageW(show.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
        EXPECT_EQ(host.Count(), press);
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageW(show.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(show.Hwnd()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(SlideshowWindow, ScreenReadersReadALinkWhoseActionIsTheClick)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    show.accessibleName = L"Pictora Maxora highlights";
    const AccessibleReading read = ReadAccessible(show.Hwnd());
    ASSERT_TRUE(read.found);
    EXPECT_EQ(read.name, L"Pictora Maxora highlights");
    EXPECT_EQ(read.role, ROLE_SYSTEM_LINK);
    EXPECT_TRUE(read.state & STATE_SYSTEM_LINKED);
    EXPECT_EQ(read.defaultAction, L"Jump");
    EXPECT_TRUE(DoAccessibleDefaultAction(show.Hwnd()));
    ui_test::PumpMessages();
    EXPECT_EQ(host.Count(), 1) << "the parent heard a click";
    CoUninitialize();
}

}  // namespace
