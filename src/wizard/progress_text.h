// What the status panel's poll shows: the phase's status text, the phase
// progress behind the time estimate, the time-remaining text, the
// percentage text and the bar position. Plain functions of the progress
// record and the clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "i18n/ui_string_table.h"
#include "install/install_progress.h"

struct LanguageResources;

// The status line's key for `phase`; none for a value that names no phase.
std::optional<UIStringId> StatusTextIdFor(PipelinePhase phase);
// The status line itself (empty for a value that names no phase).
std::wstring StatusText(const LanguageResources& language, PipelinePhase phase);

// The progress of the current phase behind the estimate: twice the overall
// percentage while downloading; while installing, (p - 50) * 2 when there
// were downloads, else p; p in every other phase.
float PhaseProgress(PipelinePhase phase, float overallPercent, bool hasDownloads);

// The remaining milliseconds estimated from the start tick, now and the
// phase progress q (> 0): the elapsed time scaled up to the whole phase,
// less what has passed. 32-bit tick arithmetic.
uint32_t EstimateRemainingMs(uint32_t startTick, uint32_t nowTick, float phaseProgress);

// A duration split for the remaining-time texts.
struct RemainingParts {
    UIStringId textId;  // hours, minutes or seconds form
    unsigned hours = 0;
    unsigned minutes = 0;
    unsigned seconds = 0;
};
RemainingParts SplitRemaining(uint32_t milliseconds);
std::wstring FormatRemaining(const LanguageResources& language, uint32_t milliseconds);

// The time line of one poll. `startTick` is the record's estimate start
// (0 at the first poll, which shows the one-second form as soon as there
// is progress).
std::wstring TimeRemainingText(const LanguageResources& language, uint32_t startTick, uint32_t nowTick,
                               float phaseProgress);

// "42.5%": one decimal and a percent sign.
std::wstring PercentText(float overallPercent);
// The bar position out of 1000: the percentage times ten, truncated.
int ProgressBarPosition(float overallPercent);
