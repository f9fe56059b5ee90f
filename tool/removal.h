// The removal itself, run from the copy of the tool in the TEMP directory:
// it deletes what the install log beside it lists, last line first.
#pragma once

#include <cstdint>
#include <string>

// Waits for the starting process to end, reads the log copy, acts on each
// line from the last to the first and reports the outcome in one box.
void RemoveMain();

// Returns once the local clock has advanced by that many milliseconds.
// Setting the clock back meanwhile lengthens the wait by as much, but never
// leaves more than the whole wait still to go; setting it forward ends the
// wait early.
void WaitMilliseconds(std::uint16_t milliseconds);

// True when nothing is found at the path, or when it is a file and was
// deleted.
bool DeleteFileIfExists(const std::string& path);

// True when nothing is found at the path, or when it is an empty directory
// and was removed.
bool RemoveDirIfExists(const std::string& path);
