#include "install/shared_progress.h"

#include <mutex>
#include <utility>

namespace {

std::mutex& ProgressLock()
{
    static std::mutex lock;
    return lock;
}

InstallProgress& SharedRecord()
{
    static InstallProgress record;
    return record;
}

}  // namespace

bool ReportProgress(PipelinePhase phase, int itemIndex, int itemPercent, const std::wstring& itemName)
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    return ApplyProgressReport(SharedRecord(), phase, itemIndex, itemPercent, itemName);
}

InstallProgress PollInstallProgress()
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    return SharedRecord();
}

PipelinePhase CurrentPipelinePhase()
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    return SharedRecord().phase;
}

void StartProgressRecord(std::vector<uint32_t> downloadWeights, std::vector<uint32_t> installWeights,
                         bool cancelled)
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    InstallProgress fresh;
    if (cancelled)
        fresh.phase = PipelinePhase::Cancelling;
    fresh.downloadWeights = std::move(downloadWeights);
    fresh.installWeights = std::move(installWeights);
    SharedRecord() = std::move(fresh);
}

void ApplyCancelToProgress(bool eventsExist)
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    ApplyCancelRequest(SharedRecord(), eventsExist);
}

void EndProgressRecord(bool stagesPassed)
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    ApplyPipelineEnding(SharedRecord(), stagesPassed);
}

void SetProgressEstimateStart(uint32_t tick)
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    if (SharedRecord().estimateStartTime == 0)
        SharedRecord().estimateStartTime = tick;
}

float OverallPercent()
{
    std::lock_guard<std::mutex> hold(ProgressLock());
    return OverallPercent(SharedRecord());
}
