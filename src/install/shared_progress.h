// The process-wide InstallProgress record: written by the installation
// worker and the download callbacks, copied by the status panel's poll.
// Every access holds one lock, so a poll never sees a half-replaced name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "install/install_progress.h"

// ReportProgress: the one way progress is written (the rule of
// ApplyProgressReport). Returns whether the report was taken.
bool ReportProgress(PipelinePhase phase, int itemIndex, int itemPercent, const std::wstring& itemName);

// A copy of the record, taken under the lock.
InstallProgress PollInstallProgress();
PipelinePhase CurrentPipelinePhase();

// Starts the record of a new run: the normalised weight lists of its work
// list, phase NotStarted — or Cancelling when the user cancelled before the
// start (`cancelled`), so the run still ends Cancelled.
void StartProgressRecord(std::vector<uint32_t> downloadWeights, std::vector<uint32_t> installWeights,
                         bool cancelled);

// The progress side of a confirmed cancel (ApplyCancelRequest) and of the
// worker's end (ApplyPipelineEnding), each under the lock.
void ApplyCancelToProgress(bool eventsExist);
void EndProgressRecord(bool stagesPassed);

// Sets the estimate start time once (the status panel's first poll).
void SetProgressEstimateStart(uint32_t tick);

// The overall percentage of the current record.
float OverallPercent();
