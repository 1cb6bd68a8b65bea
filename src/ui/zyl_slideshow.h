// CZYLSliderShowCtrl: the status panel's slideshow. Each slide stands still
// for displaySeconds, then the next one slides in from the right over
// transitionSeconds; a 33 ms timer repaints it, and the picture follows the
// clock, so a late tick does not slow the show down. A left click sends
// message 1274 (wParam 0, lParam 0) to the parent.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/accessible.h"
#include "ui/control.h"
#include "ui/zyl_slideshow_logic.h"

// The message the slideshow sends its parent when it is clicked.
constexpr UINT kSlideshowClicked = 1274;

struct Slide {
    int width = 0;
    int height = 0;
    HBITMAP bitmap = nullptr;   // owned by whoever filled the list
};

class CZYLSliderShowCtrl : public CControl, public IAccessibleSource {
public:
    // Time origin: the process-wide clock unless another is given (tests).
    explicit CZYLSliderShowCtrl(SlideshowClock* clock = &ProcessSlideshowClock());

    // A child window of `parent` (WS_CHILD | WS_TABSTOP, not yet visible,
    // empty rectangle) with the control identifier `id`; starts timer 1.
    bool Create(HWND parent, int id);

    COLORREF backgroundColor = RGB(24, 25, 30);
    RECT margins = {};                 // inset of the picture area
    double transitionSeconds = 0.6;
    double displaySeconds = 7.5;
    std::vector<Slide> slides;         // in showing order; the owner replaces it
    // What a screen reader calls the slideshow: a link whose default
    // action is the click.
    std::wstring accessibleName;

    AccessibleDescription DescribeForAccessibility() const override;
    void DoAccessibleDefaultAction() override;

private:
    void PaintSlides();

    SlideshowClock* clock_;
};
