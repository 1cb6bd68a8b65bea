// How the Windows Installer call is set up, and what its result means.
#pragma once

#include <windows.h>
#include <msi.h>

#include <string>

// The internal user interface during the call: none, except the source
// resolution dialog.
inline constexpr INSTALLUILEVEL kInstallInternalUiLevel =
    static_cast<INSTALLUILEVEL>(INSTALLUILEVEL_NONE | INSTALLUILEVEL_SOURCERESONLY);
// The level set when the external handler receives its first message.
inline constexpr INSTALLUILEVEL kFirstMessageInternalUiLevel = INSTALLUILEVEL_BASIC;
// The messages the external handler receives: every kind from fatal exit to
// show dialog except files in use, plus install end.
inline constexpr DWORD kInstallerMessageFilter = 0x08007FDF;

// 0 and 3010 (a restart is needed to complete) count as success; every
// other result, 1641 included, as failure.
bool IsInstallerSuccess(UINT result);

// The trace written for every result but 0:
// "KESTO_DEBUG: MSI Installation failed. Error Code: <result>\r\n".
std::wstring InstallerFailureTrace(UINT result);
