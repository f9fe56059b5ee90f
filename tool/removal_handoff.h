// The start of a removal: the tool, run from the install directory, copies
// itself and its install log to the TEMP directory, has Windows delete the
// copies at its next start, and starts the copy to do the removal, so that
// no program file in the install directory is running meanwhile.
#pragma once

#include <string>

// Asks whether the product is to be removed; on Yes makes the two copies,
// notes them for deletion in WININIT.INI and with the system, starts the
// copy with "/REMOVE" and deletes the uninstall entry.  A box tells when
// the copy could not be made or started.
void StartRemoval();

// The value of the environment variable of that name (ASCII letters
// compared without regard to case), empty when there is none.  Each entry
// of the environment is looked at in its first 255 characters only.
std::string GetEnvValue(const std::string& name);
