// The status page's texts: status line, time remaining, percentage, bar.
#include <gtest/gtest.h>

#include "i18n/language_resources.h"
#include "wizard/progress_text.h"

namespace {

const LanguageResources kEnglish{};

TEST(ProgressText, RemainingTimeFormsWithTheDefaultTexts)
{
    const struct {
        uint32_t ms;
        const wchar_t* text;
    } cases[] = {
        {3725000, L"01 hours 02 mins 05 secs remaining..."},
        {60000, L"01 mins 00 secs remaining..."},
        {59999, L"59 secs remaining..."},
        {1000, L"01 secs remaining..."},
        {999, L"00 secs remaining..."},
        {3600000, L"01 hours 00 mins 00 secs remaining..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(FormatRemaining(kEnglish, c.ms), c.text);
    }
}

TEST(ProgressText, PhaseProgressBehindTheEstimate)
{
    const struct {
        PipelinePhase phase;
        float p;
        bool downloads;
        float q;
    } cases[] = {
        {PipelinePhase::Downloading, 25, true, 50},
        {PipelinePhase::Installing, 75, true, 50},
        {PipelinePhase::Installing, 50, true, 0},
        {PipelinePhase::Installing, 40, false, 40},
        {PipelinePhase::NotStarted, 0, true, 0},
        {PipelinePhase::Finished, 100, true, 100},
        {PipelinePhase::Cancelling, 30, true, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.phase));
        EXPECT_FLOAT_EQ(PhaseProgress(c.phase, c.p, c.downloads), c.q);
    }
}

TEST(ProgressText, TimeLineOfAPoll)
{
    const struct {
        const char* name;
        uint32_t start;
        uint32_t now;
        float q;
        const wchar_t* text;
    } cases[] = {
        {"first poll, nothing done", 0, 5000, 0, L"Calculating time remaining..."},
        {"first poll with progress", 0, 5000, 10, L"01 secs remaining..."},
        {"half done after 60 s", 1000, 61000, 50, L"01 mins 00 secs remaining..."},
        {"no time has passed", 7000, 7000, 50, L"01 secs remaining..."},
        {"no progress later on", 1000, 61000, 0, L"Calculating time remaining..."},
        {"ticks wrap around", 0xFFFFF000u, 0xFFFFF000u + 60000u, 50, L"01 mins 00 secs remaining..."},
        {"a quarter after 10 s", 1000, 11000, 25, L"30 secs remaining..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TimeRemainingText(kEnglish, c.start, c.now, c.q), c.text);
    }
}

TEST(ProgressText, PercentageTextAndBarPosition)
{
    const struct {
        float p;
        const wchar_t* text;
        int bar;
    } cases[] = {
        {33.333f, L"33.3%", 333}, {42.5f, L"42.5%", 425}, {0, L"0.0%", 0}, {100, L"100.0%", 1000}, {0.09f, L"0.1%", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.p);
        EXPECT_EQ(PercentText(c.p), c.text);
        EXPECT_EQ(ProgressBarPosition(c.p), c.bar);
    }
}

TEST(ProgressText, StatusLineByPhase)
{
    const struct {
        int phase;
        const wchar_t* text;
    } cases[] = {
        {0, L"Initializing..."},
        {1, L"Initializing..."},
        {2, L"Downloading, please wait..."},
        {3, L"Installing, please wait..."},
        {4, L"Cancelling..."},
        {5, L"Finished."},
        {6, L"Install failed."},
        {7, L"Cancelled."},
        {8, L""},
        {-1, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phase);
        EXPECT_EQ(StatusText(kEnglish, static_cast<PipelinePhase>(c.phase)), c.text);
    }
}

}  // namespace
