#include "install/install_progress.h"

#include <algorithm>

bool IsFinalPhase(PipelinePhase phase)
{
    return phase == PipelinePhase::Finished || phase == PipelinePhase::Failed || phase == PipelinePhase::Cancelled;
}

std::vector<uint32_t> NormaliseWeights(const std::vector<uint32_t>& weights)
{
    std::vector<uint32_t> normalised(weights.size());
    if (weights.empty())
        return normalised;
    // 64-bit sums and products: no weights can overflow them.
    uint64_t sum = 0;
    for (uint32_t weight : weights)
        sum += weight;
    uint64_t total = 0;
    for (size_t i = 0; i + 1 < weights.size(); ++i) {
        // All weights zero: the earlier items get nothing, the last one all.
        uint32_t share = sum ? static_cast<uint32_t>(uint64_t{weights[i]} * 100 / sum) : 0;
        normalised[i] = share;
        total += share;
    }
    // The shares before the last never add up to more than 100.
    normalised.back() = static_cast<uint32_t>(100 - total);
    return normalised;
}

float WeightedProgress(const std::vector<uint32_t>& weights, int index, int percent)
{
    if (index < 0)
        index = 0;
    if (static_cast<size_t>(index) >= weights.size())
        return 100.0f;
    percent = std::clamp(percent, 0, 100);
    float done = 0.0f;
    for (int i = 0; i < index; ++i)
        done += static_cast<float>(weights[i]);
    done += static_cast<float>(weights[index]) * static_cast<float>(percent) / 100.0f;
    return std::min(done, 100.0f);
}

float OverallPercent(const InstallProgress& progress)
{
    switch (progress.phase) {
    case PipelinePhase::Downloading:
        if (progress.downloadWeights.empty())
            return 0.0f;
        return WeightedProgress(progress.downloadWeights, progress.itemIndex, progress.itemPercent) / 2.0f;
    case PipelinePhase::Installing: {
        if (progress.installWeights.empty())
            return 0.0f;
        float installed = WeightedProgress(progress.installWeights, progress.itemIndex, progress.itemPercent);
        if (progress.downloadWeights.empty())
            return installed;
        return 50.0f + installed / 2.0f;
    }
    case PipelinePhase::Finished:
        return 100.0f;
    default:
        return 0.0f;
    }
}

bool ApplyProgressReport(InstallProgress& progress, PipelinePhase phase, int itemIndex, int itemPercent,
                         const std::wstring& itemName)
{
    if (IsFinalPhase(progress.phase))
        return false;
    if (progress.phase == PipelinePhase::Cancelling && phase != PipelinePhase::Cancelled)
        return false;
    progress.phase = phase;
    progress.itemIndex = itemIndex;
    progress.itemPercent = itemPercent;
    progress.itemName = itemName;
    return true;
}

void ApplyCancelRequest(InstallProgress& progress, bool eventsExist)
{
    if (!eventsExist) {
        ApplyProgressReport(progress, PipelinePhase::Cancelled, -1, 0, std::wstring());
        return;
    }
    if (progress.phase != PipelinePhase::Cancelling)
        ApplyProgressReport(progress, PipelinePhase::Cancelling, -1, 0, std::wstring());
}

bool ShouldShowConnectError(PipelinePhase current, bool stagesPassed, int failureReason)
{
    return !stagesPassed && failureReason == kFailureServerUnreachable && current != PipelinePhase::Cancelling &&
           !IsFinalPhase(current);
}

void ApplyPipelineEnding(InstallProgress& progress, bool stagesPassed)
{
    // Both reports are ignored while a cancel is under way.
    ApplyProgressReport(progress, stagesPassed ? PipelinePhase::Finished : PipelinePhase::Failed, -1, 0,
                        std::wstring());
    if (progress.phase == PipelinePhase::Cancelling)
        ApplyProgressReport(progress, PipelinePhase::Cancelled, -1, 0, std::wstring());
}
