// Completing an installation whose files are already in the install
// directory, which is the current directory.
#pragma once

// Registers the uninstall entry, appends the installation's entries to
// "REMOVE.DAT", copies the prepared shortcuts into the Start menu and, if
// the user wants it, into the Startup folder, and reports success or a
// partial failure in one box.
void InstallMain();
