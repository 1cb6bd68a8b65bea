// What the slideshow shows at a moment: the still slide or the slide-over
// between two slides, and where each picture goes. Plain data, no windows.
//
// Each slide stands still for displaySeconds, then slides over to the next
// for transitionSeconds (the next one coming in from the right, the current
// one leaving to the left); after the last slide the show starts again.
#pragma once

#include <ctime>
#include <functional>
#include <vector>

struct SlideshowMoment {
    bool still = true;    // a still slide; false during a slide-over
    int current = 0;      // the slide that stands or leaves
    int next = 0;         // the slide that comes in (slide-over only)
    float progress = 0;   // how far the slide-over has gone, 0 .. 1
};

// The moment `seconds` after the start, with `slideCount` > 0 slides.
SlideshowMoment SlideshowMomentAt(double seconds, int slideCount, double displaySeconds,
                                  double transitionSeconds);

struct SlideSize {
    int width = 0;
    int height = 0;
};

struct SlidePlacement {
    int index = 0;   // which slide
    int x = 0;       // its top left corner, relative to the picture area
    int y = 0;
};

// Where the slides of `moment` are drawn (each at its own size, vertically
// centred) in a picture area of areaWidth x areaHeight. A slide-over with
// only one slide draws nothing.
std::vector<SlidePlacement> PlaceSlides(const SlideshowMoment& moment,
                                        const std::vector<SlideSize>& slides, int areaWidth,
                                        int areaHeight);

// The time the slideshow follows: milliseconds from a clock (the C
// runtime's clock() unless a test gives another), counted from the first
// time it is read.
class SlideshowClock {
public:
    explicit SlideshowClock(std::function<long()> nowMs = [] { return static_cast<long>(clock()); });

    // Seconds since the first call (which returns 0 and fixes the start).
    double SecondsSinceStart();

private:
    std::function<long()> nowMs_;
    long start_ = 0;
    bool started_ = false;
};

// The one clock of the process: every slideshow that keeps the default
// starts from the first paint that had slides, in any of them.
SlideshowClock& ProcessSlideshowClock();
