// Working folders that only administrators can change. The installer runs
// elevated and runs what it downloads into folders beside itself, which
// may lie where any user can write (a Downloads folder); in a folder whose
// access list gives write access only to SYSTEM and the Administrators
// group (others may read and run), nobody else can swap a file between its
// download and its use.
#pragma once

#include <string>

// The access list of such a folder in the security descriptor language:
// full access for SYSTEM and Administrators, read and execute for Users,
// inherited by everything created below it, nothing inherited from above.
inline constexpr wchar_t kProtectedFolderSddl[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// Creates `folder` (and missing parents) with that access list, or gives
// an existing folder that access list (passed on to what it holds). False
// (GetLastError() tells why) when the folder cannot be made, a file of that
// name is in the way, or the access list cannot be set.
bool EnsureProtectedFolder(const std::wstring& folder);
