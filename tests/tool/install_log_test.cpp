// The install log writer: exact bytes, appending, buffering, failures.
#include "install_log.h"

#include <gtest/gtest.h>

#include "tool_machine.h"

namespace {

const char Log[] = "C:\\Program Files\\Orvola\\REMOVE.DAT";
const char Folder[] = "C:\\Program Files\\Orvola\\Docs";
const char Source[] = "C:\\Program Files\\Orvola\\DV2.RTF";
const char Target[] = "C:\\Program Files\\Orvola\\Docs\\DV2.RTF";

class InstallLog : public ToolMachine {};

struct AppendCase {
  const char* before;  // the file's bytes, or nullptr for no file
  const char* after;
};

TEST_F(InstallLog, AppendsAfterTheLastByteAndRepairsNothing) {
  const AppendCase cases[] = {
      {nullptr, "DC:\\Program Files\\Orvola\\Docs\r\n"},
      {"", "DC:\\Program Files\\Orvola\\Docs\r\n"},
      {"FC:\\x\r\n", "FC:\\x\r\nDC:\\Program Files\\Orvola\\Docs\r\n"},
      // a last line without its line end is continued
      {"FC:\\x", "FC:\\xDC:\\Program Files\\Orvola\\Docs\r\n"},
      {"\x1A", "\x1A" "DC:\\Program Files\\Orvola\\Docs\r\n"},
  };
  for (const AppendCase& c : cases) {
    Restart();
    if (c.before != nullptr) host::PutFile(Log, c.before);
    ASSERT_TRUE(OpenInstallLog("REMOVE.DAT", true));  // in the current directory
    EXPECT_TRUE(LoggingOn);
    EXPECT_TRUE(CreateDirLogged(Folder));
    EXPECT_TRUE(CloseInstallLog());
    EXPECT_FALSE(LoggingOn);
    EXPECT_EQ(File(Log), c.after) << (c.before ? c.before : "no file");
  }
}

TEST_F(InstallLog, LinesOfTheLoggedOperationsWithAndWithoutKindLetters) {
  ASSERT_TRUE(OpenInstallLog(Log, true));
  EXPECT_TRUE(WriteKindLetters);
  EXPECT_TRUE(CreateDirLogged(Folder));
  EXPECT_TRUE(CopyFileLogged(Source, Target));
  EXPECT_TRUE(CopyFileLogged(Source, std::string(Folder) + "\\ Orvola.lnk"));  // a leading blank
  WriteLogText("nul=");
  EXPECT_TRUE(CopyFileLogged(Source, Target));  // replaces the copy, logs it again
  EXPECT_TRUE(CloseInstallLog());
  EXPECT_EQ(File(Log),
            "DC:\\Program Files\\Orvola\\Docs\r\n"
            "FC:\\Program Files\\Orvola\\Docs\\DV2.RTF\r\n"
            "FC:\\Program Files\\Orvola\\Docs\\ Orvola.lnk\r\n"
            "nul=FC:\\Program Files\\Orvola\\Docs\\DV2.RTF\r\n");
  EXPECT_EQ(File(Target), File(Source));

  const std::string ini = std::string(machine::Windows) + "\\WININIT.INI";
  ASSERT_TRUE(OpenInstallLog(ini, false));
  EXPECT_FALSE(WriteKindLetters);
  WriteLogText("nul=");
  EXPECT_TRUE(CopyFileLogged(Source, Target));
  EXPECT_TRUE(CreateDirLogged(std::string(Folder) + "\\Sub"));
  EndLogLine();
  EXPECT_TRUE(CloseInstallLog());
  EXPECT_EQ(File(ini),
            "nul=C:\\Program Files\\Orvola\\Docs\\DV2.RTF\r\n"
            "C:\\Program Files\\Orvola\\Docs\\Sub\r\n"
            "\r\n");
}

TEST_F(InstallLog, FailedOperationsWriteNothing) {
  ASSERT_TRUE(OpenInstallLog(Log, true));
  EXPECT_TRUE(CreateDirLogged(Folder));
  EXPECT_FALSE(CreateDirLogged(Folder));                              // exists
  EXPECT_FALSE(CreateDirLogged(std::string(Source)));                 // a file of the name
  EXPECT_FALSE(CreateDirLogged(std::string(Folder) + "\\A\\B"));      // parent missing
  EXPECT_FALSE(CopyFileLogged("C:\\nowhere.lnk", Target));            // no source
  EXPECT_FALSE(CopyFileLogged(Source, "C:\\Missing\\DV2.RTF"));       // no such folder
  EXPECT_FALSE(CopyFileLogged(Source, Folder));                       // onto a directory
  EXPECT_TRUE(CloseInstallLog());
  EXPECT_EQ(File(Log), "DC:\\Program Files\\Orvola\\Docs\r\n");
}

TEST_F(InstallLog, TheTextReachesTheFileWhenItIsClosed) {
  host::PutFile(Log, "old\r\n");
  ASSERT_TRUE(OpenInstallLog(Log, true));
  EXPECT_TRUE(CreateDirLogged(Folder));
  WriteLogText("text");
  EXPECT_EQ(File(Log), "old\r\n");
  EXPECT_TRUE(CloseInstallLog());
  EXPECT_EQ(File(Log), "old\r\nDC:\\Program Files\\Orvola\\Docs\r\ntext");
}

TEST_F(InstallLog, LongTextIsWrittenWhole) {
  ASSERT_TRUE(OpenInstallLog(Log, false));
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    const std::string line = "line " + std::to_string(i);
    WriteLogText(line);
    EndLogLine();
    expected += line + "\r\n";
  }
  EXPECT_TRUE(CloseInstallLog());
  EXPECT_EQ(File(Log), expected);
}

TEST_F(InstallLog, ALogThatCannotBeOpenedStillLetsTheOperationsWork) {
  host::DenyWritesBelow(machine::InstallDirectory);
  EXPECT_FALSE(OpenInstallLog(Log, true));
  EXPECT_FALSE(LoggingOn);
  EXPECT_TRUE(WriteKindLetters);
  EXPECT_TRUE(CopyFileLogged(Source, std::string(machine::Temp) + "\\DV2.RTF"));
  EXPECT_EQ(File(Log), "<none>");

  // a held file, and a folder that does not exist, cannot be opened either
  const std::string ini = std::string(machine::Windows) + "\\WININIT.INI";
  host::PutFile(ini, "[windows]\r\n");
  const os::Handle held = os::CreateFileA(ini, os::GenericRead, 0, os::OpenExisting,
                                          os::FileAttributeNormal);
  EXPECT_FALSE(OpenInstallLog(ini, false));
  EXPECT_FALSE(WriteKindLetters);
  os::CloseHandle(held);
  EXPECT_FALSE(OpenInstallLog("C:\\Missing\\WININIT.INI", false));
  EXPECT_FALSE(LoggingOn);
}

TEST_F(InstallLog, AFullDiskIsToldAtTheClose) {
  host::FailWritesAfter(Log, 40);
  ASSERT_TRUE(OpenInstallLog(Log, true));
  for (int i = 0; i < 200; ++i) {  // beyond what is kept before writing
    WriteLogText("FC:\\Program Files\\Orvola\\DV2.EXE");
    EndLogLine();
  }
  EXPECT_FALSE(CloseInstallLog());
  EXPECT_FALSE(LoggingOn);
  EXPECT_EQ(File(Log).size(), 40u);
}

}  // namespace
