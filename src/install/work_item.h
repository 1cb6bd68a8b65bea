// WorkItem: one entry of the installation's work list.
#pragma once

#include <optional>
#include <string>

#include "base/sha256_digest.h"

struct WorkItem {
    // The manifest's file name of the component; also the text shown as
    // the current item.
    std::wstring fileName;
    // The manifest's download address.
    std::wstring url;
    // Where the file is downloaded to and installed from.
    std::wstring localPath;
    // Command-line arguments when the file is run as a process.
    std::wstring arguments;
    // 1: the download stage fetches the file.
    int needsDownload = 0;
    // 1: the install stage runs the file as a process (prerequisites,
    // language packs); 0: it hands the file to the Windows Installer.
    int runAsProcess = 0;
    // 1: the install stage has nothing to run (the transform: the Windows
    // Installer applies it to the main package through TRANSFORMS) and
    // counts the item as installed.
    int downloadOnly = 0;
    // The SHA-256 the downloaded file must have; none: it is not checked.
    std::optional<Sha256Digest> sha256;

    bool operator==(const WorkItem&) const = default;
};
