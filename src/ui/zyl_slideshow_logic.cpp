#include "ui/zyl_slideshow_logic.h"

SlideshowMoment SlideshowMomentAt(double seconds, int slideCount, double displaySeconds,
                                  double transitionSeconds)
{
    SlideshowMoment moment;
    if (slideCount <= 0)
        return moment;
    const double cycle = displaySeconds + transitionSeconds;
    const int k = static_cast<int>(seconds / cycle);
    const double phase = seconds - k * cycle;
    moment.current = k % slideCount;
    if (phase <= displaySeconds)
        return moment;
    moment.still = false;
    moment.next = moment.current + 1 < slideCount ? moment.current + 1 : 0;
    moment.progress = static_cast<float>((phase - displaySeconds) / transitionSeconds);
    return moment;
}

std::vector<SlidePlacement> PlaceSlides(const SlideshowMoment& moment,
                                        const std::vector<SlideSize>& slides, int areaWidth,
                                        int areaHeight)
{
    const int count = static_cast<int>(slides.size());
    if (moment.current < 0 || moment.current >= count)
        return {};
    const SlideSize& current = slides[moment.current];
    if (moment.still)
        return {{moment.current, (areaWidth - current.width) / 2, (areaHeight - current.height) / 2}};
    if (moment.next == moment.current || moment.next < 0 || moment.next >= count)
        return {};
    const SlideSize& next = slides[moment.next];
    const int offset = static_cast<int>(areaWidth * moment.progress);
    return {
        {moment.current, (areaWidth - current.width) / 2 - offset, (areaHeight - current.height) / 2},
        {moment.next, areaWidth + (areaWidth - next.width) / 2 - offset, (areaHeight - next.height) / 2},
    };
}

SlideshowClock::SlideshowClock(std::function<long()> nowMs) : nowMs_(std::move(nowMs)) {}

double SlideshowClock::SecondsSinceStart()
{
    const long now = nowMs_();
    if (!started_) {
        start_ = now;
        started_ = true;
    }
    return (now - start_) / 1000.0;
}

SlideshowClock& ProcessSlideshowClock()
{
    static SlideshowClock clock;
    return clock;
}
