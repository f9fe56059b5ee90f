// Hand-over to the edition of another year.
#pragma once

#include <string>

// Starts the edition of the displayed year from the viewer's own directory
// with the argument text; true when a process was started.
bool LaunchEditionForYear();

// The file name of the edition of a year ("DV.EXE" for 2001, "DV3.EXE" for
// 2003), empty for 2000 and earlier.
std::string EditionFileName(unsigned year);

// The front of a path up to and including its last backslash or colon;
// empty when it holds neither.
std::string ExtractDirectory(const std::string& path);
