// The command line as both programs read it.
#pragma once

#include <string>
#include <vector>

// The arguments of a process command line, numbered from 1 in the result's
// order (element 0 is argument 1):
// - blanks, tabs and carriage returns before an item are skipped; line feeds
//   and every other byte are ordinary characters;
// - an item that begins with a double quote runs to the next double quote,
//   one that begins with an apostrophe to the next apostrophe, or to the end
//   of the line; the quotes are not part of it, there is no escape, and what
//   follows a closing quote directly begins the next item;
// - any other item runs to the next blank, tab or carriage return;
// - the first item is the program name and is dropped;
// - each argument keeps at most its first 255 characters.
std::vector<std::string> SplitArguments(const std::string& commandLine);
