#include "tool_main.h"

#include <vector>

#include "command_line.h"
#include "installation.h"
#include "os.h"
#include "removal.h"
#include "removal_handoff.h"

void ToolMain() {
  const std::vector<std::string> arguments = SplitArguments(os::GetCommandLineA());
  const std::string first = arguments.empty() ? std::string() : arguments[0];
  if (first == "/INSTALL")
    InstallMain();
  else if (first == "/REMOVE")
    RemoveMain();
  else
    StartRemoval();
}
