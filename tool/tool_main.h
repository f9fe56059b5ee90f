// The install and remove tool REMOVE: one program, three modes chosen by
// its first argument.
#pragma once

// "/INSTALL" completes the installation, "/REMOVE" removes it (run from the
// copy in TEMP), anything else, or nothing, starts a removal.  The whole
// argument must match, upper case as written; later arguments are ignored.
void ToolMain();
