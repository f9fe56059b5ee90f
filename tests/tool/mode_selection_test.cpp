// The first argument chooses the mode, exactly as written.
#include <gtest/gtest.h>

#include "tool_machine.h"
#include "tool_main.h"

namespace {

enum class Mode { Install, StartRemoval, Remove };

// The first box tells the mode: the Startup question, the question whether
// to remove, or (no log copy beside the tool) the removal's error box.
Mode ModeOf(const host::Box& box) {
  if (box.caption == "Instalace programu Orvola") return Mode::Install;
  if (box.text == "Opravdu chcete odstranit program Orvola?") return Mode::StartRemoval;
  EXPECT_EQ(box.text.rfind("Nenalezen soubor ", 0), 0u) << box.text;
  return Mode::Remove;
}

struct ModeCase {
  const char* commandLine;
  Mode mode;
};

class ModeSelection : public ToolMachine {};

TEST_F(ModeSelection, ByTheWholeFirstArgument) {
  const ModeCase cases[] = {
      {"REMOVE.EXE /INSTALL", Mode::Install},
      {"REMOVE.EXE /INSTALL /REMOVE further arguments", Mode::Install},
      {"\"C:\\Program Files\\Orvola\\REMOVE.EXE\" /INSTALL", Mode::Install},
      {"REMOVE.EXE \"/INSTALL\"", Mode::Install},
      {"REMOVE.EXE '/INSTALL'", Mode::Install},
      {"REMOVE.EXE \t\r /INSTALL", Mode::Install},
      {"REMOVE.EXE /REMOVE", Mode::Remove},
      {"REMOVE.EXE /REMOVE /INSTALL", Mode::Remove},
      // lower or mixed case, a longer or shorter argument, a later argument
      {"REMOVE.EXE /install", Mode::StartRemoval},
      {"REMOVE.EXE /Install", Mode::StartRemoval},
      {"REMOVE.EXE /remove", Mode::StartRemoval},
      {"REMOVE.EXE /INSTALLX", Mode::StartRemoval},
      {"REMOVE.EXE /REMOVE2", Mode::StartRemoval},
      {"REMOVE.EXE /INSTAL", Mode::StartRemoval},
      {"REMOVE.EXE \"/INSTALL \"", Mode::StartRemoval},
      {"REMOVE.EXE \"\" /INSTALL", Mode::StartRemoval},
      {"REMOVE.EXE x /INSTALL", Mode::StartRemoval},
      {"REMOVE.EXE \n/INSTALL", Mode::StartRemoval},  // a line feed is no separator
      {"REMOVE.EXE /INSTALL\n", Mode::StartRemoval},
      // no argument: how the list of installed programs starts it
      {"\"C:\\Program Files\\Orvola\\REMOVE.EXE\"", Mode::StartRemoval},
      {"REMOVE.EXE", Mode::StartRemoval},
      {"/INSTALL", Mode::StartRemoval},  // the program name, however it is written
      {"", Mode::StartRemoval},
  };
  for (const ModeCase& c : cases) {
    Restart();
    host::AnswerBoxes({os::IdNo, os::IdNo});
    host::SetCommandLine(c.commandLine);
    ToolMain();
    ASSERT_FALSE(host::Boxes().empty()) << c.commandLine;
    EXPECT_EQ(ModeOf(host::Boxes()[0]), c.mode) << c.commandLine;
  }
}

}  // namespace
