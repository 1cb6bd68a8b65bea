// RegisterInstallation: the registry records of a completed fresh
// installation (where the main program lies, which language was chosen).
#pragma once

#include <string>

// Writes nothing for an update or repair of an existing copy; otherwise
// writes the records of WriteInstallationRecords for the configured
// installation folder without its trailing backslash, which it gives back
// in `recordedFolder` (the configuration itself is not changed: it belongs
// to the window's thread). False when a record could not be written: the
// run then fails, since the product's updates and its language depend on
// those records.
bool RegisterInstallation(std::wstring& recordedFolder);
