// What the simulation asks of the terminal in terminal runs.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Draws a message box on the terminal and waits for its answer; returns the
// default answer when standard input is no terminal.
int ShowOnTerminal(const std::string& text, const std::string& caption, unsigned type,
                   int defaultAnswer);

// Opens an address with the desktop's opener; a ShellExecuteA result.
std::intptr_t OpenOnTerminal(const std::string& address);

}  // namespace host
