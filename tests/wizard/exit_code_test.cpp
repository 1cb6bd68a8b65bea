// The process exit code of each outcome of the wizard's run.
#include <gtest/gtest.h>

#include "wizard/exit_code.h"

namespace {

TEST(ExitCode, EachOutcomeHasItsCode)
{
    const struct {
        WizardOutcome outcome;
        bool restart;
        int code;
    } cases[] = {
        {WizardOutcome::Finished, false, 0},
        {WizardOutcome::Finished, true, 3010},
        {WizardOutcome::Cancelled, false, 1602},
        {WizardOutcome::Cancelled, true, 1602},
        {WizardOutcome::Failed, false, 1603},
        {WizardOutcome::Failed, true, 1603},
        {WizardOutcome::NotRun, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.outcome));
        EXPECT_EQ(ExitCodeFor(c.outcome, c.restart), c.code);
        EXPECT_EQ((WizardResult{c.outcome, c.restart}).ExitCode(), c.code);
    }
}

}  // namespace
