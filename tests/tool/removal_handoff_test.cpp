// The start of a removal: confirmation, the two copies in TEMP, WININIT.INI
// and the system's deletion at restart, the started copy, the uninstall
// entry.
#include "removal_handoff.h"

#include <gtest/gtest.h>

#include "installation.h"
#include "tool_machine.h"

namespace {

using machine::InstallLog;
using machine::LogCopy;
using machine::RemovalCopy;
using machine::Temp;
using machine::Wininit;

const std::string Caption = "Odinstalace programu Orvola";
const std::string Confirmation = "Opravdu chcete odstranit program Orvola?";
const std::string CannotStart = Cp("Není možné inicializovat odinstalační program!");
const std::string RemovalSuccess = Cp("Odinstalace úspěšně dokončena.");

class RemovalHandOff : public ToolMachine {
 protected:
  void SetUp() override {
    ToolMachine::SetUp();
    Installed();
  }

  // Installed, as the distribution leaves it.
  void Installed() {
    host::AnswerBoxes({os::IdYes});
    RunTool("/INSTALL");
    NewBoxes();
  }

  // Started as the list of installed programs starts it, and answered.
  void StartRemovalAnswering(int answer) {
    host::AnswerBoxes({answer});
    RunTool("");
  }

  static bool Registered() {
    return Value(os::HkeyLocalMachine, machine::UninstallKey, "DisplayName") != "<none>";
  }

  void ExpectConfirmationThen(const std::vector<std::string>& more) {
    const std::vector<host::Box> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1 + more.size());
    EXPECT_EQ(boxes[0].text, Confirmation);
    EXPECT_EQ(boxes[0].caption, Caption);
    EXPECT_EQ(boxes[0].type, os::MbYesNo | os::MbIconQuestion);
    EXPECT_EQ(boxes[0].owner, 0u);
    for (std::size_t i = 0; i < more.size(); ++i) {
      EXPECT_EQ(boxes[1 + i].text, more[i]);
      EXPECT_EQ(boxes[1 + i].caption, Caption);
      EXPECT_EQ(boxes[1 + i].type, os::MbOk | os::MbIconError);
      EXPECT_EQ(boxes[1 + i].owner, 0u);
    }
  }
};

TEST_F(RemovalHandOff, AnsweredNoChangesNothing) {
  const std::vector<std::string> before = Everything();
  StartRemovalAnswering(os::IdNo);
  ExpectConfirmationThen({});
  EXPECT_EQ(Everything(), before);
  EXPECT_TRUE(Registered());
  EXPECT_TRUE(host::Processes().empty());
  EXPECT_TRUE(host::DeletionsAtRestart().empty());
}

TEST_F(RemovalHandOff, AnsweredYesHandsTheRemovalToTheCopyInTemp) {
  StartRemovalAnswering(os::IdYes);
  ExpectConfirmationThen({});
  EXPECT_EQ(File(RemovalCopy), File(machine::Tool));
  EXPECT_EQ(File(LogCopy), File(InstallLog));
  EXPECT_EQ(File(Wininit), "[rename]\r\nnul=" + RemovalCopy + "\r\nnul=" + LogCopy + "\r\n\r\n");
  EXPECT_EQ(host::DeletionsAtRestart(), (std::vector<std::string>{RemovalCopy, LogCopy}));
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].commandLine, "\"" + RemovalCopy + "\" /REMOVE");
  EXPECT_EQ(host::Processes()[0].program, RemovalCopy);
  EXPECT_EQ(host::Processes()[0].creationFlags, os::CreateNewConsole | os::NormalPriorityClass);
  EXPECT_FALSE(Registered());
  // the installation itself is still all there
  EXPECT_NE(File(machine::Tool), "<none>");
  EXPECT_NE(File(machine::StartMenu + "\\ Orvola.lnk"), "<none>");
}

struct CopyCase {
  bool program;  // the program can be copied (no folder of the copy's name)
  bool log;      // the install log is there to be copied
  std::string wininit;
};

TEST_F(RemovalHandOff, WhatWininitReceivesForEachOutcomeOfTheCopies) {
  const std::string p = RemovalCopy, l = LogCopy;
  const CopyCase cases[] = {
      {true, true, "[rename]\r\nnul=" + p + "\r\nnul=" + l + "\r\n\r\n"},
      {true, false, "[rename]\r\nnul=" + p + "\r\nnul=\r\n"},
      {false, true, "[rename]\r\nnul=" + l + "\r\n\r\n"},
      {false, false, "[rename]\r\nnul=\r\n"},
  };
  for (const CopyCase& c : cases) {
    SCOPED_TRACE(c.wininit);
    Restart();
    Installed();
    if (!c.program) {
      ASSERT_TRUE(os::CreateDirectoryA(RemovalCopy));
    }
    if (!c.log) {
      ASSERT_TRUE(os::DeleteFileA(InstallLog));
    }
    StartRemovalAnswering(os::IdYes);
    EXPECT_EQ(File(Wininit), c.wininit);
    if (c.program) {
      EXPECT_EQ(File(RemovalCopy), File(machine::Tool));
    }
    EXPECT_EQ(File(LogCopy), c.log ? File(InstallLog) : "<none>");
    std::vector<std::string> scheduled;
    if (c.program) scheduled.push_back(p);
    if (c.log) scheduled.push_back(l);
    EXPECT_EQ(host::DeletionsAtRestart(), scheduled);
    if (c.program && c.log) {
      ExpectConfirmationThen({});
      EXPECT_EQ(host::Processes().size(), 1u);
      EXPECT_FALSE(Registered());
    } else {
      ExpectConfirmationThen({CannotStart});
      EXPECT_TRUE(host::Processes().empty());
      EXPECT_TRUE(Registered());
    }
  }
}

TEST_F(RemovalHandOff, WininitIsAppendedTo) {
  host::PutFile(Wininit, "[rename]\r\nnul=C:\\old.tmp");  // no line end at its end
  StartRemovalAnswering(os::IdYes);
  const std::string section =
      "[rename]\r\nnul=" + RemovalCopy + "\r\nnul=" + LogCopy + "\r\n\r\n";
  EXPECT_EQ(File(Wininit), "[rename]\r\nnul=C:\\old.tmp" + section);

  // a second start appends a second section and copies anew
  host::PutFile(InstallLog, "FC:\\Program Files\\Orvola\\DV2.EXE\r\n");
  StartRemovalAnswering(os::IdYes);
  EXPECT_EQ(File(Wininit), "[rename]\r\nnul=C:\\old.tmp" + section + section);
  EXPECT_EQ(File(LogCopy), "FC:\\Program Files\\Orvola\\DV2.EXE\r\n");
  EXPECT_EQ(host::Processes().size(), 2u);
}

TEST_F(RemovalHandOff, ATempPathWithBlanksStillStartsTheRemoval) {
  const std::string temp = Cp("C:\\Users\\Jan Novák\\Local Settings\\Temp");
  host::PutFile(temp + "\\other.tmp", "");
  SetEnvironmentWith({"TEMP=" + temp});
  StartRemovalAnswering(os::IdYes);
  const std::string copy = temp + "\\~REMOVE.TMP";
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].commandLine, "\"" + copy + "\" /REMOVE");
  EXPECT_EQ(host::Processes()[0].program, copy);
  // the copy finds "/REMOVE" as its first argument: it removes rather than
  // asking again
  RunStartedProcess();
  const std::vector<host::Box> boxes = NewBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, RemovalSuccess);
  EXPECT_FALSE(host::Exists(machine::InstallDirectory));
}

struct TempCase {
  std::size_t length;  // of the TEMP path
  bool copied;
};

TEST_F(RemovalHandOff, ATempPathTooLongForTheCopyNamesIsNotUsed) {
  // "\~REMOVE" after TEMP must fit into 255 characters: 247 do, 248 do not
  // (cut, the names would lose their "~REMOVE" and name other files)
  const TempCase cases[] = {{247, true}, {248, false}, {250, false}, {300, false}};
  for (const TempCase& c : cases) {
    SCOPED_TRACE(c.length);
    Restart();
    Installed();
    std::string temp = "C:\\Temp";
    while (temp.size() < c.length) temp += temp.size() % 100 == 99 ? '\\' : 'x';
    temp.resize(c.length);
    host::PutFile(temp.substr(0, 200) + "\\other.tmp", "");
    if (c.length < 260) host::PutFile(temp + "\\other.tmp", "");
    SetEnvironmentWith({"TEMP=" + temp});
    const std::vector<std::string> before = Everything();
    StartRemovalAnswering(os::IdYes);
    if (c.copied) {
      ExpectConfirmationThen({});
      EXPECT_EQ(File(temp + "\\~REMOVE.TMP"), File(machine::Tool));
      EXPECT_EQ(host::Processes().at(0).commandLine, "\"" + temp + "\\~REMOVE.TMP\" /REMOVE");
      EXPECT_FALSE(Registered());
    } else {
      ExpectConfirmationThen({CannotStart});
      EXPECT_EQ(File(Wininit), "[rename]\r\nnul=\r\n");
      std::vector<std::string> after = Everything();
      after.erase(std::find(after.begin(), after.end(), Wininit));
      EXPECT_EQ(after, before);  // no copy anywhere
      EXPECT_TRUE(host::Processes().empty());
      EXPECT_TRUE(host::DeletionsAtRestart().empty());
      EXPECT_TRUE(Registered());
    }
  }
}

TEST_F(RemovalHandOff, WithoutTempAndWindirTheRootOfTheCurrentDriveIsUsed) {
  SetEnvironmentWith({"TEMP", "windir"});
  StartRemovalAnswering(os::IdYes);
  ExpectConfirmationThen({});
  EXPECT_EQ(File("C:\\~REMOVE.TMP"), File(machine::Tool));
  EXPECT_EQ(File("C:\\~REMOVE.DAT"), File(InstallLog));
  EXPECT_EQ(File("C:\\WININIT.INI"),
            "[rename]\r\nnul=\\~REMOVE.TMP\r\nnul=\\~REMOVE.DAT\r\n\r\n");
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].commandLine, "\"\\~REMOVE.TMP\" /REMOVE");
  EXPECT_FALSE(Registered());
}

TEST_F(RemovalHandOff, AWininitThatCannotBeWrittenDoesNotStopTheRemoval) {
  host::DenyWritesBelow(machine::Windows);
  StartRemovalAnswering(os::IdYes);
  ExpectConfirmationThen({});
  EXPECT_EQ(File(Wininit), "<none>");
  EXPECT_EQ(host::DeletionsAtRestart(), (std::vector<std::string>{RemovalCopy, LogCopy}));
  EXPECT_EQ(host::Processes().size(), 1u);
  EXPECT_FALSE(Registered());
}

TEST_F(RemovalHandOff, ACopyThatCannotBeStartedIsTold) {
  host::FailProcessCreation();
  StartRemovalAnswering(os::IdYes);
  ExpectConfirmationThen({CannotStart});
  EXPECT_TRUE(Registered());
  // the copies stay, to be deleted at the next start
  EXPECT_NE(File(RemovalCopy), "<none>");
  EXPECT_EQ(File(Wininit), "[rename]\r\nnul=" + RemovalCopy + "\r\nnul=" + LogCopy + "\r\n\r\n");
}

TEST_F(RemovalHandOff, WithoutTheRightToChangeTheMachinesKeysTheRemovalStillStarts) {
  host::DenyRegistryWrites(os::HkeyLocalMachine);
  StartRemovalAnswering(os::IdYes);
  ExpectConfirmationThen({});  // neither failure is told
  EXPECT_EQ(host::Processes().size(), 1u);
  EXPECT_TRUE(Registered());
  EXPECT_TRUE(host::DeletionsAtRestart().empty());
  EXPECT_NE(File(Wininit), "<none>");
}

struct EnvironmentCase {
  const char* label;
  std::vector<std::string> entries;
  std::string wanted;
  std::string value;
};

TEST_F(RemovalHandOff, EnvironmentLookUp) {
  const std::string long300 = std::string(300, 'v');
  const EnvironmentCase cases[] = {
      {"exact", {"A=1", "TEMP=C:\\T", "B=2"}, "TEMP", "C:\\T"},
      {"mixed case", {"Temp=C:\\T"}, "TEMP", "C:\\T"},
      {"lower case", {"temp=C:\\T"}, "TEMP", "C:\\T"},
      {"lower-case wanted name", {"TEMP=C:\\T"}, "temp", "C:\\T"},
      {"the first match", {"temp=1", "TEMP=2"}, "TEMP", "1"},
      {"a longer name", {"TEMPDIR=C:\\T"}, "TEMP", ""},
      {"a shorter name", {"TEM=C:\\T"}, "TEMP", ""},
      {"an entry of a drive's directory", {"=C:=C:\\T", "=TEMP=x"}, "TEMP", ""},
      {"an entry without =", {"TEMP"}, "TEMP", ""},
      {"an empty value", {"TEMP=", "temp=2"}, "TEMP", ""},
      {"= in the value", {"TEMP=a=b"}, "TEMP", "a=b"},
      {"accented letters compared as they are", {Cp("TEMPá=1"), Cp("TEMPÁ=2")}, Cp("tempÁ"),
       "2"},
      {"an entry cut to 255 characters", {"TEMP=" + long300}, "TEMP", long300.substr(0, 250)},
      {"a name cut off", {std::string(255, 'N') + "=x"}, std::string(255, 'N'), ""},
      {"nothing set", {}, "TEMP", ""},
  };
  for (const EnvironmentCase& c : cases) {
    host::SetEnvironment(c.entries);
    EXPECT_EQ(GetEnvValue(c.wanted), c.value) << c.label;
  }
  host::WithholdEnvironment();
  EXPECT_EQ(GetEnvValue("TEMP"), "");
}

}  // namespace
