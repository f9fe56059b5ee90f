// Whole runs of the viewer: command line, clock, files and box answers in,
// message boxes and started programs out.
#include <gtest/gtest.h>

#include "os.h"
#include "sandbox.h"
#include "table_entries.h"
#include "viewer_main.h"
#include "viewer_state.h"

namespace {

const char Program[] = "C:\\Program Files\\Orvola\\DV2.EXE";
const char Documents[] = "C:\\Users\\Jan\\Documents";
const os::Window Desktop = 0x0001002A;  // the shell's desktop window

class ViewerRun : public Sandbox {
 protected:
  void SetUp() override {
    Sandbox::SetUp();
    Prepare();
  }

  // A machine with the viewer installed, a reminder for every day and the
  // clock on Friday 15 March 2002.
  void Prepare() {
    host::PutFile(Program, "program");
    host::SetModuleFileName(Program);
    host::PutFile(std::string(Documents) + "\\DIAR.TXT", "Denne\r\n");
    host::SetCurrentDirectory(Documents);
    host::SetDesktopWindow(Desktop);
    host::SetLocalTime(2002, 3, 15, 7, 30);  // a Friday
  }

  // The same machine again, for the next case of a table.
  void Restart() {
    host::Reset(root);
    Prepare();
  }

  // Runs the viewer with this text after the program name.
  void Run(const std::string& arguments) {
    host::SetCommandLine(std::string("\"") + Program + "\"" +
                         (arguments.empty() ? "" : " " + arguments));
    ViewerMain();
  }

  static const std::vector<host::Box>& Boxes() { return host::Boxes(); }
};

std::string InvalidParameter(const std::string& arguments) {
  return "Neplatn\xFD parametr:  " + arguments;
}

const std::string Offer =
    "Tato verze programu obsahuje pouze texty pro rok 2002. Pod\xEDvejte se pros\xEDm na "
    "str\xE1nku http://www.orvola.cz/ po aktu\xE1ln\xECj\x9A\xED verzi...\r\r"
    "M\xE1m zkusit str\xE1nku rovnou otev\xF8\xEDt?";

TEST_F(ViewerRun, WithoutArgumentsTodaysTextsThenTheReminders) {
  Run("");
  const std::vector<std::string> entries = TableEntries();
  ASSERT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(Boxes()[0].caption, "Verdika 15.3. SZ");
  EXPECT_EQ(Boxes()[0].text, entries[SlotOf(3, 15)]);
  EXPECT_EQ(Boxes()[0].type, os::MbOk);
  EXPECT_EQ(Boxes()[0].owner, Desktop & 0xFFFF);
  EXPECT_EQ(Boxes()[1].caption, "Verdika 15.3. NZ");
  EXPECT_EQ(Boxes()[1].text, entries[SlotOf(3, 15) + 1]);
  EXPECT_EQ(Boxes()[1].type, os::MbOk);
  EXPECT_EQ(Boxes()[2].caption, Cp("[uzel na kapesníku]"));
  EXPECT_EQ(Boxes()[2].text, "Denne");
  EXPECT_EQ(Boxes()[2].owner, Desktop & 0xFFFF);
  EXPECT_TRUE(host::Processes().empty());
  EXPECT_TRUE(host::ShellCalls().empty());
}

struct ArgumentCase {
  const char* arguments;
  const char* caption;  // of the first box
  os::Window owner;
};

TEST_F(ViewerRun, DatesAndOwnerWindowsOnTheCommandLine) {
  const ArgumentCase cases[] = {
      {"\"\"", "Verdika 15.3. SZ", Desktop & 0xFFFF},
      {"5. 4.", "Verdika 5.4.2002 SZ", Desktop & 0xFFFF},
      {"\"5.\" '4.'", "Verdika 5.4.2002 SZ", Desktop & 0xFFFF},
      {"24.12.02", "Verdika 24.12.2002 SZ", Desktop & 0xFFFF},
      {"15.3.", "Verdika 15.3.2002 SZ", Desktop & 0xFFFF},
      {"1.1.2002 neco dalsiho", "Verdika 1.1.2002 SZ", Desktop & 0xFFFF},
      {"15.3.2002 @12345", "Verdika 15.3.2002 SZ", 12345},
      {"15.3.2002 @99999", "Verdika 15.3.2002 SZ", 99999 % 65536},
      {"1.1.2002 @65536", "Verdika 1.1.2002 SZ", 0},
      {"1.1.2002 @$FFFF", "Verdika 1.1.2002 SZ", 0xFFFF},
      {"1.1.2002 @$ffff", "Verdika 1.1.2002 SZ", 0xFFFF},
      {"1.1.2002 @$1FFFF", "Verdika 1.1.2002 SZ", 0x1FFF},  // five characters: $1FFF
      {"1.1.2002 @%101", "Verdika 1.1.2002 SZ", 5},
      {"1.1.2002 @+42", "Verdika 1.1.2002 SZ", 42},
      {"1.1.2002 \"@ 42\"", "Verdika 1.1.2002 SZ", 42},
      {"1.1.2002 @-1", "Verdika 1.1.2002 SZ", 0},
      {"1.1.2002 @12 x", "Verdika 1.1.2002 SZ", 0},
      {"1.1.2002 @", "Verdika 1.1.2002 SZ", 0},
      {"1.1.2002 @$", "Verdika 1.1.2002 SZ", 0},
      {"1.1.2002 @%102", "Verdika 1.1.2002 SZ", 0},
      {"1.1.2002 @12@34", "Verdika 1.1.2002 SZ", 0},
      {"1.1.2002 @7 @8", "Verdika 1.1.2002 SZ", 0},
  };
  for (const ArgumentCase& c : cases) {
    Restart();
    Run(c.arguments);
    ASSERT_GE(Boxes().size(), 2u) << c.arguments;
    EXPECT_EQ(Boxes()[0].caption, c.caption) << c.arguments;
    EXPECT_EQ(Boxes()[0].owner, c.owner) << c.arguments;
    EXPECT_EQ(Boxes()[1].owner, c.owner) << c.arguments;
    EXPECT_EQ(Boxes().back().owner, c.owner) << c.arguments;  // the reminder's
  }
}

const std::string Digits255(255, '1');

TEST_F(ViewerRun, WithoutADayNumberInFrontTheInvalidParameterBoxAlone) {
  const std::pair<const char*, const char*> cases[] = {
      {"x", "x"},
      {"@12345", "@12345"},
      {"\"\" \"\"", " "},
      {"Po 1.1.", "Po 1.1."},
      {"-1.1.2002", "-1.1.2002"},
      {"255.1.2002", "255.1.2002"},
      {Digits255.c_str(), nullptr},
  };
  for (const auto& c : cases) {
    Restart();
    Run(c.first);
    ASSERT_EQ(Boxes().size(), 1u) << c.first;
    EXPECT_EQ(Boxes()[0].text, InvalidParameter(c.second ? c.second : c.first)) << c.first;
    EXPECT_EQ(Boxes()[0].caption, "Orvola 2002");
    EXPECT_EQ(Boxes()[0].type, os::MbIconWarning);
    EXPECT_TRUE(host::Processes().empty());
  }
  // the owner part counts even when the date does not
  EXPECT_EQ(Boxes()[0].owner, Desktop & 0xFFFF);
  Restart();
  Run("@12345");
  EXPECT_EQ(Boxes()[0].owner, 12345u);
}

TEST_F(ViewerRun, LongCommandLines) {
  // 32,000 characters: arguments of up to 255 characters joined by blanks
  std::string arguments = "1.1.2002";
  while (arguments.size() < 32000) arguments += " " + std::string(300, 'x');
  Run(arguments);
  ASSERT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(Boxes()[0].caption, "Verdika 1.1.2002 SZ");
  // without a date in front, the whole argument text in the box
  Restart();
  std::string many = "x";
  for (int i = 1; i < 10000; ++i) many += " x";
  Run(many);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, InvalidParameter(many));
}

TEST_F(ViewerRun, ADateOf2002WithoutASlotInTheTableIsAnInvalidParameter) {
  for (const char* arguments : {"32.1.2002", "0.1.2002", "1.0.2002", "1.13.2002", "40.13.2002"}) {
    Restart();
    Run(arguments);
    ASSERT_EQ(Boxes().size(), 1u) << arguments;
    EXPECT_EQ(Boxes()[0].text, InvalidParameter(arguments));
    EXPECT_EQ(Boxes()[0].caption, "Orvola 2002");
    EXPECT_EQ(Boxes()[0].type, os::MbIconWarning);
  }
}

TEST_F(ViewerRun, ADayTheYearDoesNotHaveShowsEmptyTexts) {
  Run("30.2.2002");
  ASSERT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(Boxes()[0].caption, "Verdika 30.2.2002 SZ");
  EXPECT_EQ(Boxes()[0].text, "");
  EXPECT_EQ(Boxes()[1].caption, "Verdika 30.2.2002 NZ");
  EXPECT_EQ(Boxes()[1].text, "");
}

TEST_F(ViewerRun, AnotherYearStartsItsEdition) {
  host::SetLocalTime(2003, 1, 10);
  host::PutFile("C:\\Program Files\\Orvola\\DV3.EXE", "program");
  Run("");
  EXPECT_TRUE(Boxes().empty());
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].commandLine, "\"C:\\Program Files\\Orvola\\DV3.EXE\" ");
  EXPECT_EQ(host::Processes()[0].program, "C:\\Program Files\\Orvola\\DV3.EXE");
  EXPECT_EQ(host::Processes()[0].creationFlags, 0x30u);

  Restart();
  host::PutFile("C:\\Program Files\\Orvola\\DV.EXE", "program");
  Run("1.1.2001 @77");
  EXPECT_TRUE(Boxes().empty());
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].commandLine,
            "\"C:\\Program Files\\Orvola\\DV.EXE\" 1.1.2001 @77");

  Restart();
  host::PutFile("C:\\Program Files\\Orvola\\DV100.EXE", "program");
  Run("1.1.2100");
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].program, "C:\\Program Files\\Orvola\\DV100.EXE");
}

TEST_F(ViewerRun, WithoutTheEditionTheWebPageOfferThenTheReminders) {
  host::SetLocalTime(2003, 1, 10);
  host::AnswerBoxes({os::IdNo});
  Run("");
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text, Offer);
  EXPECT_EQ(Boxes()[0].caption, "Orvola 2002");
  EXPECT_EQ(Boxes()[0].type, os::MbYesNo | os::MbIconQuestion);
  EXPECT_EQ(Boxes()[0].owner, Desktop & 0xFFFF);
  EXPECT_EQ(Boxes()[1].text, "Denne");
  EXPECT_TRUE(host::ShellCalls().empty());
  EXPECT_TRUE(host::Processes().empty());
}

TEST_F(ViewerRun, YesOpensTheDownloadSection) {
  host::AnswerBoxes({os::IdYes});
  host::SetShellExecuteResult(33);
  Run("1.1.1999");  // no edition is tried for 1999
  EXPECT_TRUE(host::Processes().empty());
  ASSERT_EQ(host::ShellCalls().size(), 1u);
  EXPECT_EQ(host::ShellCalls()[0].file, "http://www.orvola.cz/#download");
  EXPECT_EQ(host::ShellCalls()[0].owner, 0u);
  EXPECT_EQ(host::ShellCalls()[0].show, os::SwShowNormal);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text, Offer);
  EXPECT_EQ(Boxes()[1].text, "Denne");
}

TEST_F(ViewerRun, APageThatDoesNotOpenGetsTheFailureBox) {
  for (std::intptr_t result : {0, 2, 31, 32}) {
    Restart();
    host::AnswerBoxes({os::IdYes});
    host::SetShellExecuteResult(result);
    Run("24.12.99");
    ASSERT_EQ(Boxes().size(), 3u) << result;
    EXPECT_EQ(Boxes()[1].text, "Webovou str\xE1nku programu se bohu\x9E" "el nepovedlo otev\xF8\xEDt...");
    EXPECT_EQ(Boxes()[1].caption, "Orvola 2002");
    EXPECT_EQ(Boxes()[1].type, os::MbIconWarning);
    EXPECT_EQ(Boxes()[2].text, "Denne");
  }
}

TEST_F(ViewerRun, Year2000AndEarlierTryNoEdition) {
  host::PutFile("C:\\Program Files\\Orvola\\DV0.EXE", "program");
  host::PutFile("C:\\Program Files\\Orvola\\DV.EXE", "program");
  for (const char* arguments : {"1.1.2000", "1.1.00", "1.1.1999", "1.1.100"}) {
    host::AnswerBoxes({os::IdNo});
    Run(arguments);
  }
  EXPECT_TRUE(host::Processes().empty());
}

TEST_F(ViewerRun, AnEditionPathThatDoesNotFitIsNotStarted) {
  // In a folder this long the path of the edition of 2100 would be cut to
  // "...\DV10", which starts the edition of 2010: nothing is started instead.
  const std::string folder = "C:\\" + std::string(246, 'o');
  const std::string program = folder + "\\DV2.EXE";
  host::PutFile(program, "program");
  host::PutFile(folder + "\\DV100.EXE", "program");
  host::PutFile(folder + "\\DV10.EXE", "program");
  host::SetModuleFileName(program);
  host::AnswerBoxes({os::IdNo});
  Run("1.1.2100");
  EXPECT_TRUE(host::Processes().empty());
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text, Offer);

  // the longest path that fits is started
  Restart();
  const std::string fits = "C:\\" + std::string(242, 'o');
  host::PutFile(fits + "\\DV2.EXE", "program");
  host::PutFile(fits + "\\DV100.EXE", "program");
  host::SetModuleFileName(fits + "\\DV2.EXE");
  Run("1.1.2100");
  ASSERT_EQ(host::Processes().size(), 1u);
  EXPECT_EQ(host::Processes()[0].program.size(), 255u);
}

TEST_F(ViewerRun, OtherYearsWithTheirReminders) {
  // the reminders of the displayed date, the weekday of the clock
  host::PutFile(std::string(Documents) + "\\DIAR.TXT",
                "24.12.2003 Stedry den\r\nPA Patek\r\n24.12. Kazdy rok\r\nST Streda\r\n");
  host::AnswerBoxes({os::IdNo});
  Run("24.12.2003");
  ASSERT_EQ(Boxes().size(), 4u);
  EXPECT_EQ(Boxes()[1].text, "Stedry den");
  EXPECT_EQ(Boxes()[2].text, "Patek");
  EXPECT_EQ(Boxes()[3].text, "Kazdy rok");
}

}  // namespace
