// Version rules: dotted four-number versions, when one counts as newer than
// another, and the verdict of the version check before an installation.
#pragma once

#include <cstdint>
#include <string>

struct InstallerConfig;

// A version's four numbers: major, minor, third and fourth.
struct ParsedVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t third = 0;
    uint32_t fourth = 0;

    bool operator==(const ParsedVersion&) const = default;
};

// The four numbers of `text`, split at "." (leading, trailing and repeated
// dots make no empty fields), each field read as the C library reads
// decimal text. Text shorter than 7 units, or with other than four fields,
// gives four zeros.
ParsedVersion ParseVersion(const std::wstring& text);

// Whether `a` counts as newer than `b`: same major, a minor not smaller and
// a strictly greater fourth number. The third number takes no part, and a
// different major never counts as newer, in either direction.
bool IsNewerVersion(const std::wstring& a, const std::wstring& b);

// Verdicts of DecideVersionAction.
enum VersionVerdict : int32_t {
    VersionContinue = 0,
    // The installed product is not older than the version on offer.
    VersionAlreadyInstalled = 1,
    // This installer build is older than the server's minimum.
    VersionClientTooOld = 2,
};

// The verdict for `config` (its manifest, with the server's descriptor read
// into it, and the installed version). `existingInstall`: an installed copy
// of the product was found.
int32_t DecideVersionAction(const InstallerConfig& config, bool existingInstall);
// The same on the process-wide configuration and application flag.
int32_t DecideVersionAction();
