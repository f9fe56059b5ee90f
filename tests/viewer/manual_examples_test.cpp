// The examples of the manual, run through the viewer: what the manual says
// a line of DIAR.TXT or a command line does is what the viewer does.  Each
// case names the text as the manual quotes it, so that a change of the
// manual that is not carried over here fails too.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "os.h"
#include "sandbox.h"
#include "viewer_main.h"

namespace {

const char Program[] = "C:\\Program Files\\Orvola\\DV2.EXE";
const char Documents[] = "C:\\Users\\Jan\\Documents";
const os::Window Desktop = 0x0001002A;

// The manual's source with every run of white space (line ends and
// non-breaking spaces too) made one blank, as a reader sees the text.
std::string AsRead(const std::string& raw) {
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const bool nbsp = raw.compare(i, 2, "\xC2\xA0") == 0;
    const bool blank = nbsp || raw[i] == ' ' || raw[i] == '\n' || raw[i] == '\r';
    if (nbsp) ++i;
    if (!blank)
      text += raw[i];
    else if (!text.empty() && text.back() != ' ')
      text += ' ';
  }
  return text;
}

// The lines of a preformatted block of the manual, as one text.
std::string ManualBlock(const std::vector<std::string>& lines) {
  std::string block;
  for (const std::string& line : lines) block += "    " + line + "\n";
  return block;
}

struct Reminder {
  std::string caption;  // UTF-8
  std::string message;  // UTF-8
};

class ManualExamples : public Sandbox {
 protected:
  void SetUp() override {
    Sandbox::SetUp();
    std::ifstream file(MANUAL_SOURCE, std::ios::binary);
    ASSERT_TRUE(file) << "no manual source at " << MANUAL_SOURCE;
    std::stringstream bytes;
    bytes << file.rdbuf();
    source = bytes.str();
    text = AsRead(source);
  }

  // A fresh machine: the viewer installed, this reminder file in the
  // Documents folder and the clock on this day of 2002.
  void Prepare(const std::string& reminders, int month, int day) {
    host::Reset(root);
    host::PutFile(Program, "program");
    host::SetModuleFileName(Program);
    host::PutFile(std::string(Documents) + "\\DIAR.TXT", Cp(reminders));
    host::SetCurrentDirectory(Documents);
    host::SetDesktopWindow(Desktop);
    host::SetLocalTime(2002, month, day, 8, 0);
  }

  void Run(const std::string& arguments) {
    host::SetCommandLine(std::string("\"") + Program + "\"" +
                         (arguments.empty() ? "" : " " + arguments));
    ViewerMain();
  }

  bool Quotes(const std::string& snippet) const {
    return text.find("„" + snippet + "“") != std::string::npos ||
           text.find("`" + snippet + "`") != std::string::npos;
  }

  std::string source;
  std::string text;
};

// The reminders of the run: the boxes after the two texts.
void ExpectReminders(const std::vector<Reminder>& expected, const std::string& what) {
  const std::vector<host::Box>& boxes = host::Boxes();
  ASSERT_GE(boxes.size(), 2u) << what;
  ASSERT_EQ(boxes.size() - 2, expected.size()) << what;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(boxes[i + 2].caption, Cp(expected[i].caption)) << what << ", box " << i + 3;
    EXPECT_EQ(boxes[i + 2].text, Cp(expected[i].message)) << what << ", box " << i + 3;
  }
}

TEST_F(ManualExamples, TheSampleReminderFileOnTheDaysTheManualNames) {
  const std::vector<std::string> sample = {
      "; Moje připomínky",
      "24.12. Štědrý den",
      "15 Zaplatit nájem",
      "1.4.2002 Porada ve 14 hodin",
      "PO Schůzka v 9 hodin",
      "pa Odevzdat týdenní výkaz",
      "Zalít květiny",
      "; 31.12. Silvestr (na čas vypnuto)",
  };
  ASSERT_NE(source.find(ManualBlock(sample)), std::string::npos)
      << "the manual's sample DIAR.TXT is not the one tested here";
  std::string file;
  for (const std::string& line : sample) file += line + "\r\n";

  struct DayCase {
    int month, day;
    std::vector<Reminder> shown;
  };
  const DayCase days[] = {
      // "V pondělí 1. dubna 2002 ... tři připomínky"
      {4, 1, {{"1.4.2002 ", "Porada ve 14 hodin"},
              {"Pondělí", "Schůzka v 9 hodin"},
              {"[uzel na kapesníku]", "Zalít květiny"}}},
      // "V pátek 15. března 2002"
      {3, 15, {{"15 ", "Zaplatit nájem"},
               {"Pátek", "Odevzdat týdenní výkaz"},
               {"[uzel na kapesníku]", "Zalít květiny"}}},
      // every 24 December; a Tuesday in 2002
      {12, 24, {{"24.12. ", "Štědrý den"}, {"[uzel na kapesníku]", "Zalít květiny"}}},
      // the comment stays a comment on its day
      {12, 31, {{"[uzel na kapesníku]", "Zalít květiny"}}},
  };
  EXPECT_NE(text.find("V pondělí 1. dubna 2002 ukáže Orvola po obou verších tři připomínky"),
            std::string::npos);
  EXPECT_NE(text.find("V pátek 15. března 2002 ukáže"), std::string::npos);
  for (const DayCase& c : days) {
    Prepare(file, c.month, c.day);
    Run("");
    ExpectReminders(c.shown, std::to_string(c.day) + "." + std::to_string(c.month) + ".");
  }
}

TEST_F(ManualExamples, TheLinesToWatchOutFor) {
  struct LineCase {
    const char* quoted;  // as the manual quotes it
    const char* line;    // the line of DIAR.TXT
    int month, day;      // the clock, in 2002
    std::vector<Reminder> shown;
  };
  const LineCase cases[] = {
      // diacritics are no weekday: every day, Tuesday 5 March too
      {"Út Trénink", "Út Trénink", 3, 5, {{"[uzel na kapesníku]", "Út Trénink"}}},
      {"Út Trénink", "Út Trénink", 3, 6, {{"[uzel na kapesníku]", "Út Trénink"}}},
      // a word that reads as a weekday: Sundays only
      {"Ne zapomenout klíče", "Ne zapomenout klíče", 3, 17, {{"Neděle", "zapomenout klíče"}}},
      {"Ne zapomenout klíče", "Ne zapomenout klíče", 3, 18, {}},
      {"- Ne zapomenout klíče", "- Ne zapomenout klíče", 3, 18,
       {{"[uzel na kapesníku]", "- Ne zapomenout klíče"}}},
      {"a s", "a sraz v 10", 3, 15, {{"Pátek", "raz v 10"}}},
      {"a s", "a sraz v 10", 3, 14, {}},
      // a number in front is a day
      {"3 rohlíky", "3 rohlíky", 4, 3, {{"3 ", "rohlíky"}}},
      {"3 rohlíky", "3 rohlíky", 4, 4, {}},
      {"100 let školy", "100 let školy", 4, 10, {}},
      // a slash ends the date
      {"24/12 Štědrý den", "24/12 Štědrý den", 3, 24, {{"24", "/12 Štědrý den"}}},
      {"24/12 Štědrý den", "24/12 Štědrý den", 12, 23, {}},
  };
  for (const LineCase& c : cases) {
    EXPECT_TRUE(Quotes(c.quoted)) << "the manual does not quote " << c.quoted;
    Prepare(std::string(c.line) + "\r\n", c.month, c.day);
    Run("");
    ExpectReminders(c.shown, std::string(c.line) + " on " + std::to_string(c.day) + "." +
                                 std::to_string(c.month) + ".");
  }

  // weekday lines follow the clock, date lines the date asked for
  EXPECT_NE(text.find("Den v týdnu se řídí hodinami počítače, i když na příkazovém řádku zadáte "
                      "jiné datum"),
            std::string::npos);
  Prepare("PO Schůzka v 9 hodin\r\n24.12. Štědrý den\r\n", 4, 1);  // a Monday
  Run("24.12.2002");                                                // a Tuesday
  ExpectReminders({{"Pondělí", "Schůzka v 9 hodin"}, {"24.12. ", "Štědrý den"}},
                  "24.12.2002 asked for on a Monday");

  // a Ctrl-Z at the start of a line ends the file
  Prepare("Zalít květiny\r\n\x1A" "Dál nic\r\n", 4, 1);
  Run("");
  ExpectReminders({{"[uzel na kapesníku]", "Zalít květiny"}}, "Ctrl-Z");
}

TEST_F(ManualExamples, TheCommandLinesOfTheManual) {
  struct CommandCase {
    const char* quoted;     // as the manual writes it
    const char* arguments;  // what the viewer gets
    const char* caption;    // of the first box; nullptr: the invalid-parameter box alone
    os::Window owner;
  };
  const CommandCase cases[] = {
      {"Verdika 15.3. SZ", "", "Verdika 15.3. SZ", Desktop & 0xFFFF},
      {"Verdika 24.12.2002 SZ", "24.12.2002", "Verdika 24.12.2002 SZ", Desktop & 0xFFFF},
      {"24.12.", "24.12.", "Verdika 24.12.2002 SZ", Desktop & 0xFFFF},
      {"24", "24", "Verdika 24.3.2002 SZ", Desktop & 0xFFFF},
      {"24. 12. 2002", "24. 12. 2002", "Verdika 24.12.2002 SZ", Desktop & 0xFFFF},
      {"24 12 2002", "24 12 2002", "Verdika 24.12.2002 SZ", Desktop & 0xFFFF},
      {"24.12.02", "24.12.02", "Verdika 24.12.2002 SZ", Desktop & 0xFFFF},
      {"24.12.2002 @0", "24.12.2002 @0", "Verdika 24.12.2002 SZ", 0},
      {"@$1A2B", "1.1.2002 @$1A2B", "Verdika 1.1.2002 SZ", 0x1A2B},
      {"@0", "@0", nullptr, 0},
      {"30.2.2002", "30.2.2002", "Verdika 30.2.2002 SZ", Desktop & 0xFFFF},
      {"DV2.EXE 1.4.          1. duben", "1.4.", "Verdika 1.4.2002 SZ", Desktop & 0xFFFF},
      {"DV2.EXE 15 @0         15. den", "15 @0", "Verdika 15.3.2002 SZ", 0},
  };
  for (const CommandCase& c : cases) {
    const std::string quoted = c.quoted;
    EXPECT_TRUE(Quotes(quoted) || source.find(quoted) != std::string::npos)
        << "the manual does not write " << quoted;
    Prepare("", 3, 15);
    Run(c.arguments);
    if (c.caption == nullptr) {
      ASSERT_EQ(host::Boxes().size(), 1u) << c.arguments;
      EXPECT_EQ(host::Boxes()[0].text, std::string("Neplatn\xFD parametr:  ") + c.arguments);
      continue;
    }
    ASSERT_GE(host::Boxes().size(), 2u) << c.arguments;
    EXPECT_EQ(host::Boxes()[0].caption, c.caption) << c.arguments;
    EXPECT_EQ(host::Boxes()[0].owner, c.owner) << c.arguments;
  }
  // "pro dny, které v kalendáři nejsou (například 30.2.2002), ukáže okna s texty prázdná"
  Prepare("", 3, 15);
  Run("30.2.2002");
  EXPECT_EQ(host::Boxes()[0].text, "");
  EXPECT_EQ(host::Boxes()[1].text, "");
}

}  // namespace
