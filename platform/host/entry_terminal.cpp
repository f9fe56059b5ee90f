// Start of a program in a terminal on this machine: the simulated system
// with real time and files, and message boxes on the terminal.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "host.h"
#include "program.h"

namespace {

// A Windows command line for arguments the shell has already split: items
// with a blank, a tab or nothing in them are quoted.
std::string CommandLineOf(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    const std::string item = argv[i];
    if (i > 0) line += ' ';
    if (item.empty() || item.find_first_of(" \t") != std::string::npos)
      line += "\"" + item + "\"";
    else
      line += item;
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  host::UseTerminal(length > 0 ? std::string(self, length) : std::string(argv[0]));
  // a program started by another one gets its command line as Windows
  // would pass it
  if (const char* passed = std::getenv("ORVOLA_COMMAND_LINE")) {
    host::SetCommandLine(passed);
    unsetenv("ORVOLA_COMMAND_LINE");
  } else {
    host::SetCommandLine(CommandLineOf(argc, argv));
  }
  ProgramMain();
  return 0;
}
