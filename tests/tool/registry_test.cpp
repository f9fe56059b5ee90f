// The uninstall entry and the shell folders.
#include "registry.h"

#include <gtest/gtest.h>

#include "install_log.h"
#include "tool_machine.h"

namespace {

using machine::ShellFoldersKey;
using machine::UninstallKey;

const char Log[] = "C:\\Program Files\\Orvola\\REMOVE.DAT";
const char Command[] = "\"C:\\Program Files\\Orvola\\REMOVE.EXE\"";

class Registry : public ToolMachine {};

TEST_F(Registry, TheUninstallEntryHoldsTwoTextsWithTheirNul) {
  EXPECT_TRUE(RegisterUninstallEntry("Orvola", "Orvola", Command));
  std::string data;
  std::uint32_t type = 0;
  ASSERT_TRUE(host::GetRegistryValue(os::HkeyLocalMachine, UninstallKey, "DisplayName", data,
                                     &type));
  EXPECT_EQ(type, os::RegSz);
  EXPECT_EQ(data, std::string("Orvola\0", 7));
  ASSERT_TRUE(host::GetRegistryValue(os::HkeyLocalMachine, UninstallKey, "UninstallString", data,
                                     &type));
  EXPECT_EQ(type, os::RegSz);
  EXPECT_EQ(data, std::string(Command) + '\0');
}

TEST_F(Registry, RegisteringAgainReplacesTheTwoValuesAndKeepsTheOthers) {
  host::SetRegistryValue(os::HkeyLocalMachine, UninstallKey, "DISPLAYNAME", os::RegSz,
                         std::string("Stary\0", 6));
  host::SetRegistryValue(os::HkeyLocalMachine, UninstallKey, "Publisher", os::RegSz,
                         std::string("Orvola\0", 7));
  EXPECT_TRUE(RegisterUninstallEntry("Orvola", "Orvola", Command));
  EXPECT_EQ(Value(os::HkeyLocalMachine, UninstallKey, "DisplayName"), std::string("Orvola\0", 7));
  EXPECT_EQ(Value(os::HkeyLocalMachine, UninstallKey, "Publisher"), std::string("Orvola\0", 7));
}

TEST_F(Registry, TheRLineIsLoggedOnlyWhileTheLogIsOpenAndAlwaysWithItsLetter) {
  EXPECT_TRUE(RegisterUninstallEntry("Orvola", "Orvola", Command));  // no log open
  for (bool withKinds : {true, false}) {
    ASSERT_TRUE(OpenInstallLog(Log, withKinds));
    EXPECT_TRUE(RegisterUninstallEntry("Orvola", "Orvola", Command));
    EXPECT_TRUE(CloseInstallLog());
  }
  const std::string line =
      "RHKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvola\r\n";
  EXPECT_EQ(File(Log), line + line);
}

TEST_F(Registry, WithoutTheRightToChangeTheMachinesKeysNothingIsWritten) {
  host::DenyRegistryWrites(os::HkeyLocalMachine);
  ASSERT_TRUE(OpenInstallLog(Log, true));
  EXPECT_FALSE(RegisterUninstallEntry("Orvola", "Orvola", Command));
  EXPECT_TRUE(CloseInstallLog());
  EXPECT_EQ(File(Log), "");
  EXPECT_EQ(Value(os::HkeyLocalMachine, UninstallKey, "DisplayName"), "<none>");
}

TEST_F(Registry, DeletingTheUninstallEntry) {
  ASSERT_TRUE(RegisterUninstallEntry("Orvola", "Orvola", Command));
  EXPECT_TRUE(DeleteUninstallEntry("Orvola"));
  EXPECT_EQ(Value(os::HkeyLocalMachine, UninstallKey, "DisplayName"), "<none>");
  EXPECT_FALSE(DeleteUninstallEntry("Orvola"));  // no longer there
  EXPECT_FALSE(DeleteUninstallEntry("OrvolaX"));
  // nothing else under Uninstall is touched
  EXPECT_EQ(Value(os::HkeyLocalMachine,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalkulacka",
                  "DisplayName"),
            std::string("Kalkulacka\0", 11));
}

struct FolderCase {
  const char* label;
  std::string data;      // the "Programs" value's bytes
  std::string expected;  // GetShellFolder("programs")
};

TEST_F(Registry, ShellFolderPaths) {
  const std::string x254(254 - 3, 'x');
  const FolderCase cases[] = {
      {"as the system stores it", std::string("C:\\Menu\0", 8), "C:\\Menu\\"},
      {"254 characters fit", "C:\\" + x254 + '\0', "C:\\" + x254 + "\\"},
      {"255 characters do not", "C:\\" + x254 + "y" + '\0', ""},
      {"stored without its NUL", "C:\\Menu", "C:\\Menu\\"},
      {"stored with two NULs", std::string("C:\\Menu\0\0", 9), "C:\\Menu\\"},
      {"empty", std::string("\0", 1), ""},
      {"no bytes", "", ""},
  };
  for (const FolderCase& c : cases) {
    host::SetRegistryValue(os::HkeyCurrentUser, ShellFoldersKey, "Programs", os::RegSz, c.data);
    EXPECT_EQ(GetShellFolder("programs"), c.expected) << c.label;
  }
  EXPECT_EQ(GetShellFolder("startup"), machine::Startup + "\\");
  EXPECT_EQ(GetShellFolder("Favorites"), "");
  // a user without the key at all
  ASSERT_EQ(os::RegDeleteKeyA(os::HkeyCurrentUser, ShellFoldersKey), os::ErrorSuccess);
  EXPECT_EQ(GetShellFolder("startup"), "");
}

TEST_F(Registry, TheStartMenuSubfolderIsCreatedAndLoggedOnlyWhenMissing) {
  const std::string expected = machine::StartMenu + "\\";
  ASSERT_TRUE(OpenInstallLog(Log, true));
  EXPECT_EQ(EnsureShellSubfolder("programs", "Orvola"), expected);
  EXPECT_TRUE(host::Exists(machine::StartMenu));
  EXPECT_EQ(EnsureShellSubfolder("programs", "ORVOLA"), machine::Programs + "\\ORVOLA\\");
  EXPECT_TRUE(CloseInstallLog());
  EXPECT_EQ(File(Log), "D" + machine::StartMenu + "\r\n");
}

TEST_F(Registry, AFileOfTheSubfoldersNameCountsAsThere) {
  host::PutFile(machine::StartMenu, "not a folder");
  EXPECT_EQ(EnsureShellSubfolder("programs", "Orvola"), machine::StartMenu + "\\");
  EXPECT_FALSE(CopyFileLogged("C:\\Program Files\\Orvola\\Orvola.lnk",
                              machine::StartMenu + "\\ Orvola.lnk"));
}

TEST_F(Registry, NoSubfolderWithoutItsShellFolder) {
  const std::size_t before = Everything().size();
  EXPECT_EQ(EnsureShellSubfolder("favorites", "Orvola"), "");  // no such value
  // a value naming a folder that is not there
  host::SetRegistryValue(os::HkeyCurrentUser, ShellFoldersKey, "Programs", os::RegSz,
                         std::string("C:\\Gone\\Programs") + '\0');
  EXPECT_EQ(EnsureShellSubfolder("programs", "Orvola"), "");
  EXPECT_EQ(Everything().size(), before);
}

}  // namespace
