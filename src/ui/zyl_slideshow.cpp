#include "ui/zyl_slideshow.h"

#include "base/unique_handle.h"
#include "ui/offscreen.h"

namespace {

const wchar_t kClassName[] = L"ZYLSliderShow";
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationPeriodMs = 33;

bool RegisterSlideshowClass()
{
    static const bool registered = CControl::RegisterPlainClass(kClassName);
    return registered;
}

}  // namespace

CZYLSliderShowCtrl::CZYLSliderShowCtrl(SlideshowClock* clock) : clock_(clock)
{
    OnTimer(kAnimationTimer, [this] {
        InvalidateRect(Hwnd(), nullptr, TRUE);
        UpdateWindow(Hwnd());
    });
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) {
        PaintSlides();
        return LRESULT{0};
    });
    // The paint covers the whole control.
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{1}; });
    OnMessage(WM_SETCURSOR, [](WPARAM, LPARAM) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return LRESULT{TRUE};
    });
    OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) {
        SendMessageW(GetParent(Hwnd()), kSlideshowClicked, 0, 0);
        return LRESULT{0};
    });
    OnMessage(WM_GETOBJECT, [this](WPARAM w, LPARAM l) -> LRESULT {
        const LRESULT answer = AnswerGetObject(Hwnd(), w, l);
        return answer ? answer : Default();
    });
    OnMessage(WM_DESTROY, [this](WPARAM, LPARAM) {
        StopTimer(kAnimationTimer);
        return Default();
    });
}

AccessibleDescription CZYLSliderShowCtrl::DescribeForAccessibility() const
{
    AccessibleDescription d;
    d.name = accessibleName;
    d.role = ROLE_SYSTEM_LINK;
    d.state = CommonAccessibleState(Hwnd(), true) | STATE_SYSTEM_LINKED;
    d.defaultAction = L"Jump";
    return d;
}

void CZYLSliderShowCtrl::DoAccessibleDefaultAction()
{
    SendMessageW(GetParent(Hwnd()), kSlideshowClicked, 0, 0);
}

bool CZYLSliderShowCtrl::Create(HWND parent, int id)
{
    if (!RegisterSlideshowClass() || !CreateChild(parent, id, kClassName, WS_TABSTOP))
        return false;
    StartTimer(kAnimationTimer, kAnimationPeriodMs);
    return true;
}

void CZYLSliderShowCtrl::PaintSlides()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Hwnd(), &paint);
    RECT client;
    GetClientRect(Hwnd(), &client);
    OffscreenBitmap buffer(dc, client.right - client.left, client.bottom - client.top);
    if (buffer) {
        FillSolidRect(buffer.DC(), client, backgroundColor);
        if (!slides.empty()) {
            const SlideshowMoment moment =
                SlideshowMomentAt(clock_->SecondsSinceStart(), static_cast<int>(slides.size()),
                                  displaySeconds, transitionSeconds);
            std::vector<SlideSize> sizes;
            for (const Slide& slide : slides)
                sizes.push_back({slide.width, slide.height});
            const int areaWidth = client.right - client.left - margins.left - margins.right;
            const int areaHeight = client.bottom - client.top - margins.top - margins.bottom;
            UniqueMemoryDC source(CreateCompatibleDC(dc));
            for (const SlidePlacement& place : PlaceSlides(moment, sizes, areaWidth, areaHeight)) {
                const Slide& slide = slides[place.index];
                if (!slide.bitmap || !source)
                    continue;
                SelectedObject selected(source.Get(), slide.bitmap);
                // Slides are opaque pictures: copied, not blended; the
                // buffer clips what lies outside the control.
                BitBlt(buffer.DC(), place.x, place.y, slide.width, slide.height, source.Get(), 0, 0,
                       SRCCOPY);
            }
        }
        buffer.CopyTo(dc);
    }
    EndPaint(Hwnd(), &paint);
}
