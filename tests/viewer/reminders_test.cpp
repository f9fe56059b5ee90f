#include "reminders.h"

#include <gtest/gtest.h>

#include "os.h"
#include "sandbox.h"
#include "viewer_state.h"

namespace {

const char ReminderFile[] = "C:\\Users\\Jan\\Documents\\DIAR.TXT";

// Tuesday 5 March 2002, the displayed date from the clock; boxes owned by
// window 0x1234.
class Reminders : public Sandbox {
 protected:
  void SetUp() override {
    Sandbox::SetUp();
    host::SetCurrentDirectory("C:\\Users\\Jan\\Documents");
    Viewer = ViewerState();
    Viewer.year = 2002;
    Viewer.month = 3;
    Viewer.day = 5;
    Viewer.todayWeekday = 2;
    Viewer.ownerWindow = 0x1234;
  }

  // The boxes that a reminder file of these bytes shows.
  std::vector<host::Box> Show(const std::string& bytes) {
    host::PutFile(ReminderFile, bytes);
    const std::size_t before = host::Boxes().size();
    ShowReminders();
    return std::vector<host::Box>(host::Boxes().begin() + before, host::Boxes().end());
  }

  static std::vector<std::string> Messages(const std::vector<host::Box>& boxes) {
    std::vector<std::string> messages;
    for (const host::Box& box : boxes) messages.push_back(box.text);
    return messages;
  }
};

struct LineCase {
  std::string line;     // UTF-8
  bool shown;
  std::string caption;  // UTF-8
  std::string message;  // UTF-8
};

TEST_F(Reminders, KindsOfLines) {
  const std::string plain = "[uzel na kapesníku]";
  const LineCase cases[] = {
      {"", false, "", ""},
      {"     ", false, "", ""},
      {";5.3. Text", false, "", ""},
      {"   ; Text", false, "", ""},
      {"5.3.2002 Text", true, "5.3.2002 ", "Text"},
      {"5.3. Text", true, "5.3. ", "Text"},
      {"5 Text", true, "5 ", "Text"},
      {"   5.3. Text", true, "5.3. ", "Text"},
      {"05.03.2002 Text", true, "05.03.2002 ", "Text"},
      {"5.3.2003 Text", false, "", ""},
      {"6.3. Text", false, "", ""},
      {"5.4. Text", false, "", ""},
      {"5.3.02 Text", true, "5.3.02 ", "Text"},
      {"5.3.1902 Text", false, "", ""},
      {"5.3.", true, "5.3", "."},
      {"5.3.2002", true, "5.3.2002", ""},
      {"UT Text", true, "Úterý", "Text"},
      {"ut Text", true, "Úterý", "Text"},
      {"UT", true, "Úterý", ""},
      {"UT 5.3. Text", true, "Úterý", "5.3. Text"},
      {"UT 6.3. Text", true, "Úterý", "6.3. Text"},
      {"PO Text", false, "", ""},
      {"PO 5.3. Text", false, "", ""},
      {"a sraz", false, "", ""},
      {"Út Text", true, plain, "Út Text"},
      {"Text", true, plain, "Text"},
      {"\tText", true, plain, "\tText"},
      {"255 Text", true, plain, "Text"},
      {"511.3. Text", true, plain, "Text"},
      {"Schůzka v 10 hodin", true, plain, "Schůzka v 10 hodin"},
      {"-5.3. Text", true, plain, "-5.3. Text"},
  };
  for (const LineCase& c : cases) {
    const std::vector<host::Box> boxes = Show(Cp(c.line) + "\r\n");
    if (!c.shown) {
      EXPECT_TRUE(boxes.empty()) << c.line;
      continue;
    }
    ASSERT_EQ(boxes.size(), 1u) << c.line;
    EXPECT_EQ(boxes[0].caption, Cp(c.caption)) << c.line;
    EXPECT_EQ(boxes[0].text, Cp(c.message)) << c.line;
    EXPECT_EQ(boxes[0].type, os::MbOk) << c.line;
    EXPECT_EQ(boxes[0].owner, 0x1234u) << c.line;
  }
}

TEST_F(Reminders, WeekdayNamesAreTheCaptionsOfTheirDays) {
  const char* lines[] = {"NE a", "PO a", "UT a", "ST a", "CT a", "PA a", "SO a"};
  const char* names[] = {"Neděle", "Pondělí", "Úterý", "Středa", "Čtvrtek", "Pátek", "Sobota"};
  std::string file;
  for (const char* line : lines) file += std::string(line) + "\n";
  for (std::uint16_t weekday = 0; weekday < 7; ++weekday) {
    Viewer.todayWeekday = weekday;
    const std::vector<host::Box> boxes = Show(file);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, Cp(names[weekday]));
    EXPECT_EQ(std::string(WeekdayNames[weekday]), Cp(names[weekday]));
  }
  // "a s…" finds "A S" inside the abbreviations: a Friday line
  Viewer.todayWeekday = 5;
  const std::vector<host::Box> friday = Show("a sraz\n");
  ASSERT_EQ(friday.size(), 1u);
  EXPECT_EQ(friday[0].caption, Cp("Pátek"));
  EXPECT_EQ(friday[0].text, "raz");
}

TEST_F(Reminders, WeekdayLinesFollowTheClockWhileDateLinesFollowTheDisplayedDate) {
  // 26 December 2002 (a Thursday) named on the command line on a Tuesday
  Viewer.day = 26;
  Viewer.month = 12;
  const std::vector<host::Box> boxes =
      Show("26.12. Vanoce\r\n5.3. Dnes\r\nUT Utery\r\nCT Ctvrtek\r\n");
  EXPECT_EQ(Messages(boxes), (std::vector<std::string>{"Vanoce", "Utery"}));
}

// (One-letter lines would be weekday lines: "a" finds the A of "PA".)
TEST_F(Reminders, LineEnds) {
  EXPECT_EQ(Messages(Show("x1\r\nx2\nx3\rx4")), (std::vector<std::string>{"x1", "x2", "x3", "x4"}));
  EXPECT_EQ(Messages(Show("x1\n\r\n\rx2\r\r\n")), (std::vector<std::string>{"x1", "x2"}));
  EXPECT_EQ(Messages(Show("\r\n\n")), std::vector<std::string>{});
  EXPECT_EQ(Messages(Show("")), std::vector<std::string>{});
}

TEST_F(Reminders, CtrlZAtTheStartOfALineEndsTheFile) {
  EXPECT_EQ(Messages(Show("x1\r\n\x1A" "x2\r\nx3")), std::vector<std::string>{"x1"});
  EXPECT_EQ(Messages(Show("x1\n\x1A")), std::vector<std::string>{"x1"});
  // a lone CR before the Ctrl-Z ends the line; the Ctrl-Z starts the next
  EXPECT_EQ(Messages(Show("x1\r\x1A" "x2")), std::vector<std::string>{"x1"});
  EXPECT_EQ(Messages(Show("\x1A" "x1\r\nx2")), std::vector<std::string>{});
  // anywhere else it is a character of its line
  EXPECT_EQ(Messages(Show("x1\x1A" "x2\r\n  \x1A\r\nx3")),
            (std::vector<std::string>{"x1\x1A" "x2", "\x1A", "x3"}));
}

TEST_F(Reminders, LongLinesAreShownWhole) {
  const std::string line(100000, 'x');
  const std::string huge(10 * 1024 * 1024, 'z');
  const std::vector<host::Box> boxes =
      Show("5.3. " + line + "\r\n" + std::string(1000, 'y') + "\n" + huge + "\n6.3. " + huge);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].caption, "5.3. ");
  EXPECT_EQ(boxes[0].text, line);
  EXPECT_EQ(boxes[1].text, std::string(1000, 'y'));
  EXPECT_EQ(boxes[2].text, huge);
}

TEST_F(Reminders, LineEndsAcrossTheBlocksOfReading) {
  // a CR LF split between two reads is one line end
  const std::string first(64 * 1024 - 1, 'a');
  EXPECT_EQ(Messages(Show(first + "\r\nb")), (std::vector<std::string>{first, "b"}));
  EXPECT_EQ(Messages(Show(first + "\r\x1A" "b")), std::vector<std::string>{first});
  const std::string exact(64 * 1024, 'a');
  EXPECT_EQ(Messages(Show(exact + "\x1A")), std::vector<std::string>{exact + "\x1A"});
  EXPECT_EQ(Messages(Show(exact + "\n\x1A")), std::vector<std::string>{exact});
}

TEST_F(Reminders, ANulByteEndsWhatTheBoxShows) {
  const std::vector<host::Box> boxes = Show(std::string("Text\0hidden\r\n", 13));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Text");
}

TEST_F(Reminders, NoFileOrALockedFileShowsNothing) {
  ShowReminders();
  EXPECT_TRUE(host::Boxes().empty());

  host::PutFile(ReminderFile, "Text\r\n");
  // another program writes the file
  const os::Handle writer = os::CreateFileA(ReminderFile, os::GenericWrite,
                                            os::FileShareRead | os::FileShareWrite,
                                            os::OpenExisting, os::FileAttributeNormal);
  ASSERT_NE(writer, os::InvalidHandle);
  ShowReminders();
  EXPECT_TRUE(host::Boxes().empty());
  os::CloseHandle(writer);

  // another program only reads it
  const os::Handle reader = os::CreateFileA(ReminderFile, os::GenericRead, os::FileShareRead,
                                            os::OpenExisting, os::FileAttributeNormal);
  ASSERT_NE(reader, os::InvalidHandle);
  ShowReminders();
  EXPECT_EQ(host::Boxes().size(), 1u);
  os::CloseHandle(reader);
}

TEST_F(Reminders, AReadErrorEndsTheReading) {
  // the first block reads, the second fails: what followed is not shown
  std::string file = "Prvni\r\n";
  while (file.size() < 70000) file += "; vypln\r\n";
  file += "Druhy\r\n";
  host::PutFile(ReminderFile, file);
  host::FailReadsAfter(ReminderFile, 64 * 1024);
  ShowReminders();
  EXPECT_EQ(Messages(host::Boxes()), std::vector<std::string>{"Prvni"});
}

TEST_F(Reminders, SeveralRemindersInFileOrder) {
  EXPECT_EQ(Messages(Show("5.3. jedna\r\n; ne\r\ndva\r\nUT tri\r\n5 ctyri\r\n6 ne\r\n")),
            (std::vector<std::string>{"jedna", "dva", "tri", "ctyri"}));
}

TEST_F(Reminders, TheFileIsFoundWhateverTheCaseOfItsName) {
  host::PutFile("C:\\Users\\Jan\\Documents\\diar.txt", "Text\r\n");
  ShowReminders();
  EXPECT_EQ(host::Boxes().size(), 1u);
}

}  // namespace
