// The registry as the tool uses it: the product's uninstall entry under
// HKEY_LOCAL_MACHINE, and the user's shell folders under HKEY_CURRENT_USER.
#pragma once

#include <string>

// Creates or opens the uninstall entry of that key name and sets its
// "DisplayName" and "UninstallString".  While the install log is open its
// "RHKLM\..." line is written, kind letters or not.  True when the key was
// created or opened and both values were written.
bool RegisterUninstallEntry(const std::string& keyName, const std::string& displayName,
                            const std::string& command);

// Deletes the uninstall entry of that key name; true when it was deleted.
bool DeleteUninstallEntry(const std::string& keyName);

// The path of a user's shell folder (value name "programs", "startup"…)
// with "\" added; empty when the folder is not known.
std::string GetShellFolder(const std::string& valueName);

// The path of a subfolder of a shell folder with "\" added, created (and
// its "D" line logged) when nothing of that name is there; empty when the
// shell folder is not known or the subfolder cannot be created.
std::string EnsureShellSubfolder(const std::string& valueName, const std::string& subfolder);
