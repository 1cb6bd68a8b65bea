// RegisterInstallation: the registry records of a completed fresh
// installation (where the main program lies, which language was chosen).
#pragma once

// Writes nothing for an update or repair of an existing copy; otherwise
// removes a trailing backslash from the configured installation folder and
// writes the records of WriteInstallationRecords. Write failures are
// ignored; it always reports success.
bool RegisterInstallation();
