// The install log: the record of what an installation made, one line per
// directory, file or registry key, appended to a text file so that the
// removal can take it away again, last line first.  Opened without kind
// letters, the same writer appends plain lines to any text file.
//
// Lines as written: an upper-case kind letter ("D" directory, "F" file,
// "R" registry key) and at once the full path, ended by CR LF; no header,
// no quoting.  Without kind letters the directory and file lines hold the
// bare path.
#pragma once

#include <string>

// True while a log is open; every writer tests it before writing.
extern bool LoggingOn;
// Whether CreateDirLogged and CopyFileLogged put their kind letter before
// the path; set by every OpenInstallLog, also by one that fails.
extern bool WriteKindLetters;

// Opens the file (created when missing) for appending after its last byte.
// Returns LoggingOn.  Called only while no log is open.
bool OpenInstallLog(const std::string& fileName, bool withKinds);

// Writes out what is buffered, closes the file and ends LoggingOn.  True
// when every byte written since the opening reached the file.  Called only
// while LoggingOn is true.
bool CloseInstallLog();

// Appends text to the current line, without a line end.
void WriteLogText(const std::string& text);

// Ends the current line with CR LF.
void EndLogLine();

// Creates the directory (its parent must exist; an existing one is a
// failure) and, while the log is open, writes "D" (with kind letters) and
// the path as a line.  Returns whether the directory was created.
bool CreateDirLogged(const std::string& path);

// Copies the file, replacing the destination, and while the log is open
// writes "F" (with kind letters) and the destination as a line.  Returns
// whether the copy was made.
bool CopyFileLogged(const std::string& source, const std::string& destination);
