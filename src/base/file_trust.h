// Whether a file can be changed by someone other than an administrator:
// the elevated installer takes instructions (URLs, command lines) only
// from files that nobody else could have written.
#pragma once

#include <windows.h>

#include <string>

// True when `dacl` lets anyone but SYSTEM, the Administrators group or
// TrustedInstaller write to, delete or re-permission the object: a null
// access list (everyone may), or an allowing entry with any such right for
// another account (the user's own account included: its unelevated
// programs act as it). Entries that only pass on to children, and denying
// entries, do not make it so.
bool AccessListLetsNonAdministratorsWrite(const ACL* dacl);

// True unless both the file at `path` and its folder (whose writers could
// replace the file) have access lists that let only administrators write;
// a security descriptor that cannot be read counts as writable.
bool IsWritableByNonAdministrators(const std::wstring& path);
