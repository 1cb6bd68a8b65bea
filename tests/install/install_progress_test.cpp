// The progress record: weight normalisation, the overall percentage in each
// phase, the ReportProgress rule, cancel, and how the worker's end sets the
// final phase.
#include "install/install_progress.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

void PrintTo(PipelinePhase phase, std::ostream* os)
{
    *os << "phase " << static_cast<int>(phase);
}

namespace {

using P = PipelinePhase;

TEST(InstallProgress, NormaliseWeights)
{
    struct Case {
        std::vector<uint32_t> weights;
        std::vector<uint32_t> normalised;
    } cases[] = {
        {{50, 5, 5}, {83, 8, 9}},
        {{}, {}},
        {{40}, {100}},
        {{5}, {100}},
        {{40, 50}, {44, 56}},
        {{40, 40, 40, 50}, {23, 23, 23, 31}},
        {{1, 1, 1}, {33, 33, 34}},
        {{0, 0}, {0, 100}},                            // no sum: the last takes all
        {{4000000000u, 4000000000u}, {50, 50}},        // products past 32 bits
        {{0, 7, 0}, {0, 100, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.weights));
        EXPECT_EQ(NormaliseWeights(c.weights), c.normalised);
    }
}

InstallProgress Record(std::vector<uint32_t> download, std::vector<uint32_t> install, P phase, int index,
                       int percent)
{
    InstallProgress p;
    p.downloadWeights = std::move(download);
    p.installWeights = std::move(install);
    p.phase = phase;
    p.itemIndex = index;
    p.itemPercent = percent;
    return p;
}

TEST(InstallProgress, OverallPercentByPhase)
{
    const std::vector<uint32_t> one = {100};
    const std::vector<uint32_t> three = {83, 8, 9};
    struct Case {
        const char* what;
        InstallProgress record;
        float percent;
    } cases[] = {
        {"downloading the only item, start", Record(one, one, P::Downloading, 0, 0), 0.0f},
        {"downloading the only item, half", Record(one, one, P::Downloading, 0, 50), 25.0f},
        {"downloading the only item, done", Record(one, one, P::Downloading, 0, 100), 50.0f},
        {"downloading the second of three", Record(three, three, P::Downloading, 1, 50), 43.5f},
        {"download index past the end", Record(three, three, P::Downloading, 3, 0), 50.0f},
        {"downloading with nothing to download", Record({}, three, P::Downloading, 0, 50), 0.0f},
        {"installing after downloads, start", Record(one, one, P::Installing, 0, 0), 50.0f},
        {"installing after downloads, half", Record(one, one, P::Installing, 0, 50), 75.0f},
        {"installing after downloads, done", Record(one, one, P::Installing, 0, 100), 100.0f},
        {"installing the third of three", Record(three, three, P::Installing, 2, 100), 100.0f},
        {"standalone: installing fills the whole range", Record({}, three, P::Installing, 1, 50), 87.0f},
        {"standalone: first item begun", Record({}, three, P::Installing, 0, 0), 0.0f},
        {"installing with no install weights", Record(one, {}, P::Installing, 0, 50), 0.0f},
        {"an item percent over 100 stays within its item", Record({}, {50, 50}, P::Installing, 0, 150), 50.0f},
        {"a negative percent counts as 0", Record({}, {50, 50}, P::Installing, 1, -20), 50.0f},
        {"no current item counts as the first", Record({}, {50, 50}, P::Installing, -1, 0), 0.0f},
        {"single precision share", Record({}, {33, 33, 34}, P::Installing, 1, 33), 43.89f},
        {"finished", Record(three, three, P::Finished, -1, 0), 100.0f},
        {"not started", Record(three, three, P::NotStarted, 0, 100), 0.0f},
        {"cancelling", Record(three, three, P::Cancelling, 1, 50), 0.0f},
        {"failed", Record(three, three, P::Failed, 2, 100), 0.0f},
        {"cancelled", Record(three, three, P::Cancelled, -1, 0), 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FLOAT_EQ(OverallPercent(c.record), c.percent);
    }
}

TEST(InstallProgress, ReportsWhileCancellingOrFinalAreIgnored)
{
    struct Case {
        P current;
        P reported;
        bool taken;
    } cases[] = {
        {P::NotStarted, P::Downloading, true},
        {P::Downloading, P::Downloading, true},
        {P::Downloading, P::Installing, true},
        {P::NotStarted, P::Installing, true},  // nothing to download
        {P::Installing, P::Failed, true},
        {P::Installing, P::Finished, true},
        {P::Cancelling, P::Installing, false},
        {P::Cancelling, P::Downloading, false},
        {P::Cancelling, P::Finished, false},
        {P::Cancelling, P::Failed, false},
        {P::Cancelling, P::Cancelled, true},
        {P::Finished, P::Failed, false},
        {P::Finished, P::Cancelled, false},
        {P::Failed, P::Installing, false},
        {P::Cancelled, P::Downloading, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.current) << " <- " << static_cast<int>(c.reported));
        InstallProgress p = Record({100}, {100}, c.current, 1, 40);
        p.itemName = L"before";
        EXPECT_EQ(ApplyProgressReport(p, c.reported, 0, 70, L"after"), c.taken);
        if (c.taken) {
            EXPECT_EQ(p.phase, c.reported);
            EXPECT_EQ(p.itemIndex, 0);
            EXPECT_EQ(p.itemPercent, 70);
            EXPECT_EQ(p.itemName, L"after");
        } else {
            EXPECT_EQ(p.phase, c.current);
            EXPECT_EQ(p.itemIndex, 1);
            EXPECT_EQ(p.itemPercent, 40);
            EXPECT_EQ(p.itemName, L"before");
        }
        EXPECT_EQ(p.downloadWeights, std::vector<uint32_t>{100});
    }
}

TEST(InstallProgress, CancelRequest)
{
    struct Case {
        P current;
        bool eventsExist;
        P after;
        bool cleared;  // index -1, percent 0, no name
    } cases[] = {
        {P::Downloading, true, P::Cancelling, true},
        {P::Installing, true, P::Cancelling, true},
        {P::NotStarted, true, P::Cancelling, true},
        {P::Cancelling, true, P::Cancelling, false},  // already under way: left as it is
        {P::NotStarted, false, P::Cancelled, true},   // nothing runs: cancelled at once
        {P::Installing, false, P::Cancelled, true},
        {P::Finished, true, P::Finished, false},      // too late: the result stands
        {P::Failed, false, P::Failed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.current) << (c.eventsExist ? " with" : " without")
                                        << " events");
        InstallProgress p = Record({100}, {100}, c.current, 0, 40);
        p.itemName = L"item";
        ApplyCancelRequest(p, c.eventsExist);
        EXPECT_EQ(p.phase, c.after);
        EXPECT_EQ(p.itemIndex, c.cleared ? -1 : 0);
        EXPECT_EQ(p.itemPercent, c.cleared ? 0 : 40);
        EXPECT_EQ(p.itemName, c.cleared ? L"" : L"item");
    }
}

TEST(InstallProgress, PipelineEndingAndTheConnectError)
{
    struct Case {
        const char* what;
        P current;
        bool stagesPassed;
        int failureReason;
        bool connectError;
        P final;
    } cases[] = {
        {"success", P::Installing, true, 0, false, P::Finished},
        {"standalone success without downloads", P::NotStarted, true, 0, false, P::Finished},
        {"installation failed", P::Installing, false, 0, false, P::Failed},
        {"server unreachable at the version check", P::NotStarted, false, 4, true, P::Failed},
        {"a download failed", P::Downloading, false, 4, true, P::Failed},
        {"a late Finished after a cancel", P::Cancelling, true, 0, false, P::Cancelled},
        {"a download stopped by the cancel", P::Cancelling, false, 4, false, P::Cancelled},
        {"a cancelled installation", P::Cancelling, false, 0, false, P::Cancelled},
        {"cancelled before the worker ended", P::Cancelled, true, 0, false, P::Cancelled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ShouldShowConnectError(c.current, c.stagesPassed, c.failureReason), c.connectError);
        InstallProgress p = Record({100}, {100}, c.current, 0, 60);
        p.itemName = L"PictoraMaxora.msi";
        ApplyPipelineEnding(p, c.stagesPassed);
        EXPECT_EQ(p.phase, c.final);
        // A phase that was final already is left exactly as it was.
        bool cleared = !IsFinalPhase(c.current);
        EXPECT_EQ(p.itemIndex, cleared ? -1 : 0);
        EXPECT_EQ(p.itemPercent, cleared ? 0 : 60);
        EXPECT_EQ(p.itemName, cleared ? L"" : L"PictoraMaxora.msi");
    }
}

TEST(InstallProgress, CancelDuringTheInstallationEndsCancelled)
{
    // The sequence of one run: downloads, the install stage, a cancel while
    // the Windows Installer works, its late reports, the worker's end.
    InstallProgress p = Record({100}, {83, 8, 9}, P::NotStarted, -1, 0);
    ASSERT_TRUE(ApplyProgressReport(p, P::Downloading, 0, 100, L"PictoraMaxora.msi"));
    ASSERT_TRUE(ApplyProgressReport(p, P::Installing, 0, 30, L"PictoraMaxora.msi"));
    EXPECT_FLOAT_EQ(OverallPercent(p), 50.0f + 83.0f * 0.3f / 2.0f);

    ApplyCancelRequest(p, true);
    EXPECT_EQ(p.phase, P::Cancelling);
    EXPECT_FLOAT_EQ(OverallPercent(p), 0.0f);
    EXPECT_FALSE(ApplyProgressReport(p, P::Installing, 0, 100, L"PictoraMaxora.msi"));
    EXPECT_FALSE(ShouldShowConnectError(p.phase, false, 4));
    ApplyPipelineEnding(p, true);
    EXPECT_EQ(p.phase, P::Cancelled);

    // Final: a second cancel or a late report changes nothing.
    ApplyCancelRequest(p, true);
    EXPECT_FALSE(ApplyProgressReport(p, P::Finished, -1, 0, L""));
    EXPECT_EQ(p.phase, P::Cancelled);
}

}  // namespace
