// RegisterInstallation: the registry records of a completed fresh
// installation (where the main program lies, which language was chosen).
#pragma once

// Writes nothing for an update or repair of an existing copy; otherwise
// removes a trailing backslash from the configured installation folder and
// writes the records of WriteInstallationRecords. False when a record
// could not be written: the run then fails, since the product's updates
// and its language depend on those records.
bool RegisterInstallation();
