// ParseVersion and IsNewerVersion on one table of version pairs, and
// DecideVersionAction on a table of configurations.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "config/installer_config.h"
#include "config/run_flags.h"
#include "config/version_rules.h"

void PrintTo(const ParsedVersion& v, std::ostream* os)
{
    *os << v.major << "." << v.minor << "." << v.third << "." << v.fourth;
}

namespace {

// Each row: version a with the numbers it parses to, version b, and whether
// a counts as newer than b and b as newer than a.
struct VersionCase {
    std::wstring a;
    ParsedVersion parsedA;
    std::wstring b;
    bool aNewer;
    bool bNewer;
};

const VersionCase kVersionCases[] = {
    // Parsing.
    {L"17.0.2.3001", {17, 0, 2, 3001}, L"17.0.2.3000", true, false},
    {L"1.2.3", {0, 0, 0, 0}, L"0.0.0.0", false, false},                 // shorter than 7 units
    {L"1.2.3.4", {1, 2, 3, 4}, L"1.2.3.3", true, false},                // exactly 7 units
    {L"1.2.3.4.5", {0, 0, 0, 0}, L"0.0.0.0", false, false},             // five fields
    {L"1..2.3.4", {1, 2, 3, 4}, L"1.2.3.4", false, false},              // repeated dot, no empty field
    {L".1.2.3.4.", {1, 2, 3, 4}, L"1.2.3.3", true, false},              // leading and trailing dots
    {L"17.a.0.5", {17, 0, 0, 5}, L"17.0.0.4", true, false},             // no digits: 0
    {L" 17.+1.3x.\t9", {17, 1, 3, 9}, L"17.1.0.8", true, false},        // white space, sign, trailing junk
    {L"17.0.0.-1", {17, 0, 0, 4294967295u}, L"17.0.0.100", true, false},  // negative taken as unsigned
    {L"17.0.0.99999999999", {17, 0, 0, 2147483647u}, L"17.0.0.100", true, false},  // saturates
    {L"", {0, 0, 0, 0}, L"", false, false},
    {L"abcdefgh", {0, 0, 0, 0}, L"0.0.0.0", false, false},              // one field
    // Comparison: same major, minor not smaller, fourth strictly greater.
    {L"17.0.0.200", {17, 0, 0, 200}, L"17.0.0.100", true, false},
    {L"17.0.0.100", {17, 0, 0, 100}, L"17.0.0.100", false, false},
    {L"17.1.0.50", {17, 1, 0, 50}, L"17.0.0.100", false, false},
    {L"17.1.0.150", {17, 1, 0, 150}, L"17.0.0.100", true, false},
    {L"17.0.0.150", {17, 0, 0, 150}, L"17.1.0.100", false, false},      // smaller minor
    {L"18.0.0.200", {18, 0, 0, 200}, L"17.0.0.100", false, false},      // major differs
    {L"16.0.0.200", {16, 0, 0, 200}, L"17.0.0.100", false, false},
    {L"17.0.9.100", {17, 0, 9, 100}, L"17.0.1.100", false, false},      // third takes no part
    {L"17.0.0.101", {17, 0, 0, 101}, L"17.0.9.100", true, false},
    {L"17.0.0.1", {17, 0, 0, 1}, L"17.0.0", false, false},              // short b parses to zeros
    {L"0.0.0.1", {0, 0, 0, 1}, L"", true, false},                       // an empty version is 0.0.0.0
    {L"4000000000.0.0.2", {2147483647u, 0, 0, 2}, L"2147483647.0.0.1", true, false},
};

TEST(VersionRules, ParseAndCompareVersions)
{
    for (const VersionCase& c : kVersionCases) {
        SCOPED_TRACE(testing::PrintToString(c.a) + " vs " + testing::PrintToString(c.b));
        EXPECT_EQ(ParseVersion(c.a), c.parsedA);
        EXPECT_EQ(IsNewerVersion(c.a, c.b), c.aNewer);
        EXPECT_EQ(IsNewerVersion(c.b, c.a), c.bNewer);
    }
}

struct DecideCase {
    const char* what;
    bool existingInstall;
    std::wstring installedVersion;
    bool standalone;
    std::wstring standaloneVersion;
    std::wstring webInstallerVersion;
    std::wstring freshMinimum;
    std::wstring patchMinimum;
    int32_t verdict;
};

const DecideCase kDecideCases[] = {
    {"installed copy as new as the offer", true, L"17.0.1.500", false, L"17.0.1.500", L"17.0.0.5", L"", L"", 1},
    {"installed copy newer than the offer", true, L"17.0.1.500", false, L"17.0.1.400", L"17.0.0.5", L"", L"", 1},
    {"installed, newer offer, client older than the patch minimum", true, L"17.0.1.500", false, L"17.0.2.600",
     L"17.0.0.5", L"", L"17.0.0.10", 2},
    {"installed, newer offer, client at the patch minimum", true, L"17.0.1.500", false, L"17.0.2.600",
     L"17.0.0.10", L"", L"17.0.0.10", 0},
    {"installed: the fresh minimum plays no part", true, L"17.0.1.500", false, L"17.0.2.600", L"17.0.0.5",
     L"17.0.0.99", L"", 0},
    {"installed, offer of another major is never newer", true, L"17.0.1.500", false, L"18.0.0.600", L"17.0.0.5",
     L"", L"", 1},
    {"installed, empty offered version", true, L"17.0.1.500", false, L"", L"17.0.0.5", L"", L"", 1},
    {"installed standalone package, newer: no client check", true, L"17.0.1.500", true, L"17.0.2.600",
     L"17.0.0.5", L"17.0.0.99", L"17.0.0.99", 0},
    {"installed standalone package, not newer", true, L"17.0.1.500", true, L"17.0.1.500", L"17.0.0.5", L"", L"",
     1},
    {"fresh, client older than the fresh minimum", false, L"", false, L"17.0.2.600", L"17.0.0.5", L"17.0.0.10",
     L"", 2},
    {"fresh, client at the fresh minimum", false, L"", false, L"17.0.2.600", L"17.0.0.10", L"17.0.0.10", L"", 0},
    {"fresh: the patch minimum plays no part", false, L"", false, L"17.0.2.600", L"17.0.0.5", L"",
     L"17.0.0.99", 0},
    {"fresh, empty minimum never asks for an update", false, L"", false, L"", L"17.0.0.5", L"", L"", 0},
    {"fresh, empty client version: its major 0 differs, so it never counts as older", false, L"", false, L"", L"",
     L"17.0.0.10", L"", 0},
    {"fresh standalone package, whatever the descriptor says", false, L"", true, L"", L"17.0.0.5", L"17.0.0.99",
     L"17.0.0.99", 0},
    {"flag not set: an installed version alone changes nothing", false, L"17.0.9.999", false, L"17.0.1.1",
     L"17.0.0.5", L"", L"", 0},
};

InstallerConfig ConfigFor(const DecideCase& c)
{
    InstallerConfig config;
    config.installedVersion = c.installedVersion;
    config.manifest.standalone = c.standalone;
    config.manifest.standaloneVersion = c.standaloneVersion;
    config.manifest.webInstallerVersion = c.webInstallerVersion;
    config.manifest.versionInfo.freshInstall.minWebInstallerVersion = c.freshMinimum;
    config.manifest.versionInfo.patchInstall.minWebInstallerVersion = c.patchMinimum;
    return config;
}

TEST(VersionRules, DecideVersionAction)
{
    for (const DecideCase& c : kDecideCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecideVersionAction(ConfigFor(c), c.existingInstall), c.verdict);
    }
}

// Without arguments it reads the process-wide configuration and the
// run's existingInstall flag.
TEST(VersionRules, DecideVersionActionReadsTheProcessWideState)
{
    InstallerConfig& config = TheConfig();
    RunFlags& flags = TheRunFlags();
    const ProductManifest savedManifest = config.manifest;
    const std::wstring savedInstalled = config.installedVersion;
    const int savedFlag = flags.existingInstall;

    const DecideCase& updateNeeded = kDecideCases[2];  // verdict 2 only with the flag set
    InstallerConfig prepared = ConfigFor(updateNeeded);
    config.manifest = prepared.manifest;
    config.installedVersion = prepared.installedVersion;
    flags.existingInstall = 1;
    const int32_t withFlag = DecideVersionAction();
    flags.existingInstall = 0;
    const int32_t withoutFlag = DecideVersionAction();

    config.manifest = savedManifest;
    config.installedVersion = savedInstalled;
    flags.existingInstall = savedFlag;

    EXPECT_EQ(withFlag, 2);
    EXPECT_EQ(withoutFlag, 0);
}

}  // namespace
