// InstallProgress: the pipeline's progress record, its phases, and the rules
// that write it and turn it into one overall percentage.
//
// The record is written by the installation worker (and the download
// callbacks) and read by the status panel's poll. These functions work on
// one record and take no lock: the owner of the shared record holds its lock
// around each call and hands the poll a copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class PipelinePhase : int {
    NotStarted = 0,
    // 1 is not used.
    Downloading = 2,
    Installing = 3,
    Cancelling = 4,
    Finished = 5,
    Failed = 6,
    Cancelled = 7,
};

// Finished, Failed and Cancelled: the phase no longer changes.
bool IsFinalPhase(PipelinePhase phase);

struct InstallProgress {
    // One weight per downloaded item, in work-list order, normalised to
    // percentages (they add up to 100 unless empty).
    std::vector<uint32_t> downloadWeights;
    // One weight per work-list item, normalised likewise.
    std::vector<uint32_t> installWeights;
    PipelinePhase phase = PipelinePhase::NotStarted;
    // Index of the current item within the phase's weight list; -1 when
    // there is none (before the start and in the final phases).
    int itemIndex = -1;
    // Progress of the current item, 0 to 100.
    int itemPercent = 0;
    // The current item's file name; empty in the final phases.
    std::wstring itemName;
    // Tick count of the status panel's first poll (0 until then); only its
    // time-remaining estimate reads it.
    uint32_t estimateStartTime = 0;
};

// Scales `weights` so that they add up to 100: each weight but the last
// becomes weight * 100 / sum (integer division), the last takes what is
// left of 100. An empty list stays empty; 50, 5, 5 become 83, 8, 9.
std::vector<uint32_t> NormaliseWeights(const std::vector<uint32_t>& weights);

// Progress through a normalised weight list with item `index` at `percent`:
// the weights before it plus its share, capped at 100; 100 once `index` is
// past the end. A negative index counts as the first item, a percent outside
// 0..100 as the nearer end.
float WeightedProgress(const std::vector<uint32_t>& weights, int index, int percent);

// The overall percentage, 0 to 100: downloads fill the first half and the
// installations the second (the whole range when nothing is downloaded).
float OverallPercent(const InstallProgress& progress);

// The rule of ReportProgress: replaces phase, item index, percent and name.
// While the phase is Cancelling, only a move to Cancelled is taken; once the
// phase is final nothing changes any more. Returns whether it was taken.
bool ApplyProgressReport(InstallProgress& progress, PipelinePhase phase, int itemIndex, int itemPercent,
                         const std::wstring& itemName);

// The progress side of a confirmed cancel. When the controller's cancel and
// run events exist (`eventsExist`), the phase moves to Cancelling (item
// index -1, percent 0, no name) and the worker turns it into Cancelled when
// it stops; without them no worker runs and the phase becomes Cancelled at
// once. A final phase stays as it is.
void ApplyCancelRequest(InstallProgress& progress, bool eventsExist);

// Whether the worker, its stages done, shows the "cannot reach the server"
// error: only after a failure with `failureReason` 4 (the server could not
// be reached), and not once a cancel is under way or the phase is final.
bool ShouldShowConnectError(PipelinePhase current, bool stagesPassed, int failureReason);

// The worker's final steps on the record: Finished (`stagesPassed`) or
// Failed unless a cancel is under way, then Cancelling becomes Cancelled;
// each with item index -1, percent 0 and no name. So a cancel wins over the
// outcome of the stages, and a late Finished after a cancel is Cancelled.
void ApplyPipelineEnding(InstallProgress& progress, bool stagesPassed);

// failureReason when the server could not be reached.
inline constexpr int kFailureServerUnreachable = 4;
