// Completing an installation: boxes, log entries, uninstall entry and
// shortcut copies.
#include "installation.h"

#include <functional>

#include <gtest/gtest.h>

#include "tool_machine.h"

namespace {

using machine::InstallLog;
using machine::ManualName;
using machine::StartMenu;
using machine::Startup;

const std::string Caption = "Instalace programu Orvola";
const std::string Question = Cp("Chcete vytvořit zástupce programu Orvola ve složce \"Po spuštění\"?");
const std::string Success = Cp("Instalace úspěšně dokončena.");
const std::string PartialFailure =
    Cp("Instalce dokončena – některé soubory či zástupce však bohužel nebylo možno nainstalovat.");

// The nine entries every installation writes first.
const std::string FixedEntries = Cp(
    "DC:\\Program Files\\Orvola\r\n"
    "FC:\\Program Files\\Orvola\\DV2.EXE\r\n"
    "FC:\\Program Files\\Orvola\\DV2.RTF\r\n"
    "FC:\\Program Files\\Orvola\\Orvola.lnk\r\n"
    "FC:\\Program Files\\Orvola\\Něco jako manuál.lnk\r\n"
    "FC:\\Program Files\\Orvola\\REMOVE.EXE\r\n"
    "FC:\\Program Files\\Orvola\\REMOVE.DAT\r\n"
    "FC:\\Program Files\\Orvola\\DV.EXE\r\n"
    "FC:\\Program Files\\Orvola\\DV.RTF\r\n");
const std::string SubfolderEntry = "D" + StartMenu + "\r\n";
const std::string StartMenuEntries =
    "F" + StartMenu + "\\ Orvola.lnk\r\n" + "F" + StartMenu + "\\" + ManualName + "\r\n";
const std::string StartupEntry = "F" + Startup + "\\Orvola.lnk\r\n";

class Installation : public ToolMachine {
 protected:
  // Installs as the distribution does it, answering the Startup question.
  void Install(int answer) {
    host::AnswerBoxes({answer});
    RunTool("/INSTALL");
  }

  // The two boxes of an installation: the question, then the outcome.
  void ExpectBoxes(const std::string& outcome, unsigned type) {
    const std::vector<host::Box> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, Question);
    EXPECT_EQ(boxes[0].caption, Caption);
    EXPECT_EQ(boxes[0].type, os::MbYesNo);
    EXPECT_EQ(boxes[0].owner, 0u);
    EXPECT_EQ(boxes[1].text, outcome);
    EXPECT_EQ(boxes[1].caption, Caption);
    EXPECT_EQ(boxes[1].type, type);
    EXPECT_EQ(boxes[1].owner, 0u);
  }

  static std::string Shipped(const std::string& name) {
    return File(std::string(machine::InstallDirectory) + "\\" + name);
  }
};

TEST_F(Installation, AnsweredYes) {
  Install(os::IdYes);
  ExpectBoxes(Success, os::MbOk);
  EXPECT_EQ(File(InstallLog), FixedEntries + SubfolderEntry + StartMenuEntries + StartupEntry);
  EXPECT_EQ(File(StartMenu + "\\ Orvola.lnk"), Shipped("Orvola.lnk"));
  EXPECT_EQ(File(StartMenu + "\\" + ManualName), Shipped(ManualName));
  EXPECT_EQ(File(Startup + "\\Orvola.lnk"), Shipped("Orvola.lnk"));
  EXPECT_EQ(Value(os::HkeyLocalMachine, machine::UninstallKey, "DisplayName"),
            std::string("Orvola\0", 7));
  // quoted, so that "C:\Program.exe" can never be started in its stead
  EXPECT_EQ(Value(os::HkeyLocalMachine, machine::UninstallKey, "UninstallString"),
            std::string("\"C:\\Program Files\\Orvola\\REMOVE.EXE\"\0", 37));
  EXPECT_TRUE(host::Processes().empty());
}

TEST_F(Installation, AnsweredNo) {
  Install(os::IdNo);
  ExpectBoxes(Success, os::MbOk);
  EXPECT_EQ(File(InstallLog), FixedEntries + SubfolderEntry + StartMenuEntries);
  EXPECT_EQ(File(Startup + "\\Orvola.lnk"), "<none>");
  EXPECT_EQ(File(StartMenu + "\\ Orvola.lnk"), Shipped("Orvola.lnk"));
}

TEST_F(Installation, ASecondInstallationAppendsItsEntries) {
  host::PutFile(InstallLog, "FC:\\Program Files\\Orvola\\OLD.TXT\r\n");  // a shipped log
  Install(os::IdYes);
  ExpectBoxes(Success, os::MbOk);
  // a newer shortcut, and an uninstall entry someone changed
  host::PutFile(std::string(machine::InstallDirectory) + "\\Orvola.lnk", "newer shortcut");
  host::SetRegistryValue(os::HkeyLocalMachine, machine::UninstallKey, "UninstallString",
                         os::RegSz, std::string("x\0", 2));
  Install(os::IdNo);
  ExpectBoxes(Success, os::MbOk);
  EXPECT_EQ(File(InstallLog), "FC:\\Program Files\\Orvola\\OLD.TXT\r\n" + FixedEntries +
                                  SubfolderEntry + StartMenuEntries + StartupEntry +
                                  FixedEntries + StartMenuEntries);
  EXPECT_EQ(File(StartMenu + "\\ Orvola.lnk"), "newer shortcut");
  EXPECT_EQ(Value(os::HkeyLocalMachine, machine::UninstallKey, "UninstallString"),
            std::string("\"C:\\Program Files\\Orvola\\REMOVE.EXE\"\0", 37));
}

struct FailureCase {
  const char* label;
  std::function<void()> prepare;
  int answer;
  const char* outcome;  // "success" or "partial"
  std::string log;      // REMOVE.DAT afterwards
};

TEST_F(Installation, EveryStepIsTriedAndAFailureOnlyChangesTheLastBox) {
  const std::string keys = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const FailureCase cases[] = {
      {"the user has no Startup folder value",
       [&] { ASSERT_EQ(os::RegDeleteKeyA(os::HkeyCurrentUser, keys), os::ErrorSuccess);
             host::SetRegistryValue(os::HkeyCurrentUser, keys, "Programs", os::RegSz,
                                    machine::Programs + '\0'); },
       os::IdYes, "partial", FixedEntries + SubfolderEntry + StartMenuEntries},
      {"no Startup value, but no Startup shortcut wanted",
       [&] { ASSERT_EQ(os::RegDeleteKeyA(os::HkeyCurrentUser, keys), os::ErrorSuccess);
             host::SetRegistryValue(os::HkeyCurrentUser, keys, "Programs", os::RegSz,
                                    machine::Programs + '\0'); },
       os::IdNo, "success", FixedEntries + SubfolderEntry + StartMenuEntries},
      {"no Programs folder value",
       [&] { ASSERT_EQ(os::RegDeleteKeyA(os::HkeyCurrentUser, keys), os::ErrorSuccess);
             host::SetRegistryValue(os::HkeyCurrentUser, keys, "Startup", os::RegSz,
                                    Startup + '\0'); },
       os::IdYes, "partial", FixedEntries + StartupEntry},
      {"the Start-menu subfolder exists already",
       [] { host::PutFile(StartMenu + "\\readme.txt", ""); },
       os::IdYes, "success", FixedEntries + StartMenuEntries + StartupEntry},
      {"the manual's shortcut is missing",
       [] { ASSERT_TRUE(os::DeleteFileA(std::string(machine::InstallDirectory) + "\\" +
                                        ManualName)); },
       os::IdYes, "partial",
       FixedEntries + SubfolderEntry + "F" + StartMenu + "\\ Orvola.lnk\r\n" + StartupEntry},
      {"the Startup shortcut cannot be written",
       [] { host::DenyWritesBelow(Startup); },
       os::IdYes, "partial", FixedEntries + SubfolderEntry + StartMenuEntries},
      {"no right to change HKEY_LOCAL_MACHINE: does not count",
       [] { host::DenyRegistryWrites(os::HkeyLocalMachine); },
       os::IdYes, "success", FixedEntries + SubfolderEntry + StartMenuEntries + StartupEntry},
      {"the disk fills up while the log is written",
       [] { host::FailWritesAfter(InstallLog, 100); },
       os::IdNo, "partial", FixedEntries.substr(0, 100)},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.label);
    Restart();
    c.prepare();
    Install(c.answer);
    if (std::string(c.outcome) == "success")
      ExpectBoxes(Success, os::MbOk);
    else
      ExpectBoxes(PartialFailure, os::MbIconWarning);
    EXPECT_EQ(File(InstallLog), c.log);
  }
}

TEST_F(Installation, AReadOnlyInstallDirectoryGetsNoLogButTheShortcuts) {
  host::DenyWritesBelow(machine::InstallDirectory);
  const std::vector<std::string> before = Everything();
  Install(os::IdYes);
  ExpectBoxes(PartialFailure, os::MbIconWarning);
  EXPECT_EQ(File(InstallLog), "<none>");
  EXPECT_EQ(File(StartMenu + "\\ Orvola.lnk"), Shipped("Orvola.lnk"));
  EXPECT_EQ(File(StartMenu + "\\" + ManualName), Shipped(ManualName));
  EXPECT_EQ(File(Startup + "\\Orvola.lnk"), Shipped("Orvola.lnk"));
  // nothing else was written anywhere: the subfolder, three shortcuts and
  // the uninstall entry are all that is new
  std::vector<std::string> after = Everything();
  EXPECT_EQ(after.size(), before.size() + 5);
}

TEST_F(Installation, AnotherCurrentDirectoryGetsTheLogButHasNoShortcutsToCopy) {
  const std::string elsewhere = "C:\\Users\\Jan\\Documents";
  host::PutFile(elsewhere + "\\DIAR.TXT", "");
  host::SetCurrentDirectory(elsewhere);
  Install(os::IdYes);
  ExpectBoxes(PartialFailure, os::MbIconWarning);
  EXPECT_EQ(File(InstallLog), "<none>");
  // the entries still name the install directory
  EXPECT_EQ(File(elsewhere + "\\REMOVE.DAT"), FixedEntries + SubfolderEntry);
  EXPECT_EQ(File(StartMenu + "\\ Orvola.lnk"), "<none>");
}

}  // namespace
