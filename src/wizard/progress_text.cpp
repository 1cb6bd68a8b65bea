#include "wizard/progress_text.h"

#include <cstdio>

#include "i18n/language_resources.h"
#include "i18n/ui_string_format.h"
#include "i18n/ui_string_lookup.h"

std::optional<UIStringId> StatusTextIdFor(PipelinePhase phase)
{
    switch (static_cast<int>(phase)) {
    case 0:
    case 1: return UIStringId::StatusInit;
    case 2: return UIStringId::StatusDownloading;
    case 3: return UIStringId::StatusInstalling;
    case 4: return UIStringId::StatusCancelling;
    case 5: return UIStringId::StatusFinished;
    case 6: return UIStringId::StatusInstallFailed;
    case 7: return UIStringId::StatusCancelled;
    default: return std::nullopt;
    }
}

std::wstring StatusText(const LanguageResources& language, PipelinePhase phase)
{
    auto id = StatusTextIdFor(phase);
    return id ? LoadUIString(language, *id) : std::wstring();
}

float PhaseProgress(PipelinePhase phase, float p, bool hasDownloads)
{
    if (phase == PipelinePhase::Downloading)
        return 2 * p;
    if (phase == PipelinePhase::Installing)
        return hasDownloads ? (p - 50) * 2 : p;
    return p;
}

uint32_t EstimateRemainingMs(uint32_t startTick, uint32_t nowTick, float q)
{
    const float fraction = q / 100;
    const float elapsed = static_cast<float>(static_cast<uint32_t>(nowTick - startTick));
    const uint32_t total = static_cast<uint32_t>(static_cast<int64_t>(elapsed / fraction));
    return startTick + total - nowTick;
}

RemainingParts SplitRemaining(uint32_t ms)
{
    RemainingParts parts{UIStringId::TimeRemainingSecs};
    const unsigned seconds = ms / 1000;
    parts.hours = seconds / 3600;
    parts.minutes = (seconds - 3600 * parts.hours) / 60;
    parts.seconds = seconds - 3600 * parts.hours - 60 * parts.minutes;
    if (parts.hours > 0)
        parts.textId = UIStringId::TimeRemainingHours;
    else if (parts.minutes > 0)
        parts.textId = UIStringId::TimeRemainingMins;
    return parts;
}

std::wstring FormatRemaining(const LanguageResources& language, uint32_t ms)
{
    const RemainingParts parts = SplitRemaining(ms);
    const int h = static_cast<int>(parts.hours), m = static_cast<int>(parts.minutes),
              s = static_cast<int>(parts.seconds);
    switch (parts.textId) {
    case UIStringId::TimeRemainingHours:
        return FormatUIString<UIStringId::TimeRemainingHours>(language, h, m, s);
    case UIStringId::TimeRemainingMins:
        return FormatUIString<UIStringId::TimeRemainingMins>(language, m, s);
    default:
        return FormatUIString<UIStringId::TimeRemainingSecs>(language, s);
    }
}

std::wstring TimeRemainingText(const LanguageResources& language, uint32_t startTick, uint32_t nowTick, float q)
{
    if (q <= 0)
        return LoadUIString(language, UIStringId::CalcTimeRemaining);
    if (startTick == 0)
        return FormatRemaining(language, 1000);
    const uint32_t remaining = EstimateRemainingMs(startTick, nowTick, q);
    return FormatRemaining(language, remaining != 0 ? remaining : 1000);
}

std::wstring PercentText(float p)
{
    wchar_t text[32];
    swprintf(text, 32, L"%.1f%%", static_cast<double>(p));
    return text;
}

int ProgressBarPosition(float p)
{
    return static_cast<int>(p * 10);
}
