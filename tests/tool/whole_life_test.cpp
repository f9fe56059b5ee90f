// A whole life of the product on Jan's machine: installed, installed again,
// removed from the list of installed programs; afterwards nothing of it is
// left but the two copies in TEMP and what deletes them at the next start.
#include <algorithm>

#include <gtest/gtest.h>

#include "tool_machine.h"
#include "tool_main.h"

namespace {

using machine::LogCopy;
using machine::RemovalCopy;
using machine::Wininit;

class WholeLife : public ToolMachine {
 protected:
  // What the system's list of installed programs starts.
  static std::string UninstallCommand() {
    std::string command = Value(os::HkeyLocalMachine, machine::UninstallKey, "UninstallString");
    EXPECT_EQ(command.back(), '\0');
    command.pop_back();
    return command;
  }
};

TEST_F(WholeLife, InstalledTwiceThenRemoved) {
  const std::vector<std::string> before = Everything();

  // installed with a Startup shortcut, then once more without
  host::AnswerBoxes({os::IdYes});
  RunTool("/INSTALL");
  host::AnswerBoxes({os::IdNo});
  RunTool("/INSTALL");
  EXPECT_EQ(NewBoxes().size(), 4u);
  EXPECT_TRUE(host::Exists(machine::Startup + "\\Orvola.lnk"));

  // Jan starts the removal from the list, first changing his mind; the
  // program runs in the install directory, with that as current directory
  host::SetCommandLine(UninstallCommand());
  host::AnswerBoxes({os::IdNo});
  ToolMain();
  EXPECT_TRUE(host::Processes().empty());
  host::AnswerBoxes({os::IdYes});
  ToolMain();
  EXPECT_EQ(NewBoxes().size(), 2u);  // the two questions, nothing more
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].commandLine, "\"" + RemovalCopy + "\" /REMOVE");

  // the copy does the removal once the first process has ended
  RunStartedProcess();
  const std::vector<host::Box> boxes = NewBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, Cp("Odinstalace úspěšně dokončena."));
  EXPECT_EQ(boxes[0].caption, "Odinstalace programu Orvola");

  // nothing of the product is left, not even what the distribution put
  // into the install directory: no file, folder, shortcut or registry key
  std::vector<std::string> expected;
  const std::string installed = std::string(machine::InstallDirectory) + "\\";
  for (const std::string& thing : before)
    if (thing.compare(0, installed.size(), installed) != 0) expected.push_back(thing);
  expected.push_back(RemovalCopy);
  expected.push_back(LogCopy);
  expected.push_back(Wininit);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Everything(), expected);
  // and those three delete the two copies when Windows next starts
  EXPECT_EQ(File(Wininit), "[rename]\r\nnul=" + RemovalCopy + "\r\nnul=" + LogCopy + "\r\n\r\n");
  EXPECT_EQ(host::DeletionsAtRestart(), (std::vector<std::string>{RemovalCopy, LogCopy}));
}

TEST_F(WholeLife, RemovedFromADirectoryWithAForeignFile) {
  host::AnswerBoxes({os::IdNo});
  RunTool("/INSTALL");
  // Jan keeps his reminders in the install directory
  host::PutFile(std::string(machine::InstallDirectory) + "\\DIAR.TXT", "Denne\r\n");
  host::SetCurrentDirectory("C:\\Windows\\system32");
  host::SetCommandLine(UninstallCommand());
  host::AnswerBoxes({os::IdYes});
  ToolMain();
  RunStartedProcess();
  const std::vector<host::Box> boxes = NewBoxes();
  ASSERT_EQ(boxes.size(), 4u);  // two of the installation, two of the removal
  EXPECT_EQ(boxes[3].text, Cp("Odinstalace dokončena – některé soubory či složky však bohužel "
                              "nebylo možno odstranit."));
  // his file stays, and so does the folder that holds it; the rest is gone
  EXPECT_EQ(File(std::string(machine::InstallDirectory) + "\\DIAR.TXT"), "Denne\r\n");
  EXPECT_FALSE(host::Exists(machine::Tool));
  EXPECT_FALSE(host::Exists(machine::StartMenu));
}

}  // namespace
