// CClientValidator: the self-update check run before the wizard.
#pragma once

#include <string>

class CClientValidator {
public:
    // 0 = continue with the installation, 1 = stop,
    // 2 = a newer installer was downloaded to updaterPath; start it at exit.
    int outcome = 0;
    std::wstring updaterPath;

    // Runs the check modally and sets outcome (and updaterPath).
    void RunModal();
};
