// What the parts of the simulation ask of each other: the terminal in
// terminal runs, and the registry.
#pragma once

#include <cstdint>
#include <string>

#include "os.h"

namespace host {

// Draws a message box on the terminal and waits for its answer; returns the
// default answer when standard input is no terminal.
int ShowOnTerminal(const std::string& text, const std::string& caption, unsigned type,
                   int defaultAnswer);

// Opens an address with the desktop's opener; a ShellExecuteA result.
std::intptr_t OpenOnTerminal(const std::string& address);

// The registry's part of Reset and OpenHandleCount.
void ResetRegistry();
std::size_t OpenRegistryKeys();

// Whether writes below a root key are refused (DenyRegistryWrites).
bool RegistryWritesDenied(os::Hkey root);

}  // namespace host
