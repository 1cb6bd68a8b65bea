// The slideshow's timing and placement on plain data: 7.5 s still, 0.6 s
// slide-over, and where each picture stands at a given moment.
#include <gtest/gtest.h>

#include <vector>

#include "ui/zyl_slideshow_logic.h"

namespace {

constexpr double kDisplay = 7.5;
constexpr double kTransition = 0.6;
constexpr int kAreaW = 660;
constexpr int kAreaH = 284;

// Slides of different sizes, so that each placement tells which one it is.
const std::vector<SlideSize> kThree = {{600, 280}, {640, 260}, {620, 270}};
const std::vector<SlideSize> kOne = {{600, 280}};

struct MomentCase {
    double seconds;
    const std::vector<SlideSize>* slides;
    std::vector<SlidePlacement> drawn;
};

TEST(SlideshowMoment, ShowsEachSlideStillThenSlidesOverToTheNext)
{
    const int still0 = (kAreaW - 600) / 2;  // 30
    const int still1 = (kAreaW - 640) / 2;  // 10
    const int still2 = (kAreaW - 620) / 2;  // 20
    const MomentCase cases[] = {
        {0.0, &kThree, {{0, still0, 2}}},
        {7.5, &kThree, {{0, still0, 2}}},                      // the end of the still phase
        {7.8, &kThree, {{0, still0 - 330, 2}, {1, 660 + still1 - 330, 12}}},  // half-way
        {8.1, &kThree, {{1, still1, 12}}},                     // slide 1 stands
        {15.6, &kThree, {{1, still1, 12}}},
        {23.4, &kThree, {{2, still2, 7}}},
        {24.0, &kThree, {{2, still2 - 330, 7}, {0, 660 + still0 - 330, 2}}},  // last back to first
        {24.4, &kThree, {{0, still0, 2}}},
        {0.0, &kOne, {{0, still0, 2}}},
        {7.5, &kOne, {{0, still0, 2}}},
        {7.8, &kOne, {}},                                      // a single slide: background only
        {8.1, &kOne, {{0, still0, 2}}},
    };
    for (const MomentCase& c : cases) {
        const int n = static_cast<int>(c.slides->size());
        const SlideshowMoment m = SlideshowMomentAt(c.seconds, n, kDisplay, kTransition);
        const auto drawn = PlaceSlides(m, *c.slides, kAreaW, kAreaH);
        ASSERT_EQ(drawn.size(), c.drawn.size()) << c.seconds << " s, " << n << " slides";
        for (size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_EQ(drawn[i].index, c.drawn[i].index) << c.seconds << " s, " << n << " slides";
            EXPECT_EQ(drawn[i].x, c.drawn[i].x) << c.seconds << " s, " << n << " slides";
            EXPECT_EQ(drawn[i].y, c.drawn[i].y) << c.seconds << " s, " << n << " slides";
        }
    }
}

TEST(SlideshowMoment, TheSlideOverMovesBothPicturesTogether)
{
    // Through the slide-over the two pictures keep their distance (one area
    // width, corrected for their sizes) and move left monotonically, until
    // the incoming one stands where still slides stand.
    int lastX = 1 << 30;
    for (int ms = 7510; ms <= 8090; ms += 20) {
        const SlideshowMoment m = SlideshowMomentAt(ms / 1000.0, 3, kDisplay, kTransition);
        ASSERT_FALSE(m.still) << ms;
        const auto drawn = PlaceSlides(m, kThree, kAreaW, kAreaH);
        ASSERT_EQ(drawn.size(), 2u) << ms;
        EXPECT_EQ(drawn[1].x - drawn[0].x, kAreaW + (kAreaW - 640) / 2 - (kAreaW - 600) / 2) << ms;
        EXPECT_LT(drawn[0].x, lastX) << ms;
        EXPECT_GE(drawn[1].x, (kAreaW - 640) / 2) << ms;
        lastX = drawn[0].x;
    }
}

TEST(SlideshowMoment, ALargeSlideIsCentredAndOverhangsOnAllSides)
{
    const std::vector<SlideSize> big = {{800, 400}};
    const auto drawn = PlaceSlides(SlideshowMomentAt(1.0, 1, kDisplay, kTransition), big, 660, 284);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, -70);
    EXPECT_EQ(drawn[0].y, -58);
}

TEST(SlideshowClock, CountsFromItsFirstReading)
{
    long now = 5000;
    SlideshowClock clock([&] { return now; });
    EXPECT_DOUBLE_EQ(clock.SecondsSinceStart(), 0.0);
    now = 12800;
    EXPECT_DOUBLE_EQ(clock.SecondsSinceStart(), 7.8);
    now = 13100;
    EXPECT_DOUBLE_EQ(clock.SecondsSinceStart(), 8.1);
}

}  // namespace
