// The removal run from the copy in TEMP: reading the log copy, acting on it
// from the last line to the first, the summary, and the wait before it.
#include "removal.h"

#include <functional>

#include <gtest/gtest.h>

#include "tool_machine.h"
#include "tool_main.h"

namespace {

using machine::LogCopy;
using machine::RemovalCopy;

const std::string Caption = "Odinstalace programu Orvola";
const std::string Success = Cp("Odinstalace úspěšně dokončena.");
const std::string Failure = Cp(
    "Odinstalace dokončena – některé soubory či složky však bohužel nebylo možno odstranit.");

const std::string Dir = "C:\\Program Files\\Orvola";
const std::string Docs = Dir + "\\Docs";
const std::string Exe = Dir + "\\DV2.EXE";
const std::string Rtf = Dir + "\\DV2.RTF";
const std::string Manual = Docs + "\\manual.txt";
const char TestKey[] = "Software\\Orvola Test";

class Removal : public ToolMachine {
 protected:
  void SetUp() override {
    ToolMachine::SetUp();
    Prepare();
  }

  // The copy in TEMP with a product that its log may list.
  void Prepare() {
    host::PutFile(RemovalCopy, "MZ install and remove tool");
    host::PutFile(Manual, "manual");
    host::SetRegistryValue(os::HkeyLocalMachine, TestKey, "x", os::RegSz, "");
  }

  void Again() {
    Restart();
    Prepare();
  }

  // Runs the copy on a log copy of these bytes; the summary box's text.
  std::string Remove(const std::string& log) {
    host::PutFile(LogCopy, log);
    host::BecomeProcess(host::Process{"\"" + RemovalCopy + "\" /REMOVE", RemovalCopy, 0});
    ToolMain();
    const std::vector<host::Box> boxes = NewBoxes();
    EXPECT_EQ(boxes.size(), 1u);
    if (boxes.empty()) return std::string();
    EXPECT_EQ(boxes[0].caption, Caption);
    EXPECT_EQ(boxes[0].type, os::MbOk);
    EXPECT_EQ(boxes[0].owner, 0u);
    return boxes[0].text;
  }

  static bool KeyThere() { return Value(os::HkeyLocalMachine, TestKey, "x") != "<none>"; }
};

struct LogCase {
  const char* label;
  std::string log;
  bool success;
  std::vector<std::string> left;  // of Exe, Rtf, Manual, Docs, Dir and the key
};

TEST_F(Removal, LinesAreActedOnFromTheLastToTheFirst) {
  const std::string all[] = {Exe, Rtf, Manual, Docs + "\\", Dir + "\\", "key"};
  const std::vector<std::string> everything(std::begin(all), std::end(all));
  const LogCase cases[] = {
      {"an empty log", "", true, everything},
      {"Ctrl-Z at the start", "\x1A" "F" + Exe + "\r\n", true, everything},
      {"Ctrl-Z at the start of a line", "F" + Exe + "\r\n\x1A" "F" + Rtf + "\r\n", true,
       {Rtf, Manual, Docs + "\\", Dir + "\\", "key"}},
      {"Ctrl-Z inside a line", "F" + Exe + "\x1A\r\n", true, everything},
      {"a bare D and a bare F", "D\r\nF\r\n", true, everything},
      {"a directory before its content", "D" + Docs + "\r\nF" + Manual + "\r\n", true,
       {Exe, Rtf, Dir + "\\", "key"}},
      {"a directory after its content", "F" + Manual + "\r\nD" + Docs + "\r\n", false,
       {Exe, Rtf, Docs + "\\", Dir + "\\", "key"}},
      {"lone CR and lone LF end lines too", "F" + Exe + "\rF" + Rtf + "\nF" + Manual, true,
       {Docs + "\\", Dir + "\\", "key"}},
      {"a directory holding unlisted files", "D" + Dir + "\r\nF" + Exe + "\r\nF" + Manual, false,
       {Rtf, Docs + "\\", Dir + "\\", "key"}},
      {"things no longer there", "FC:\\gone.txt\r\nDC:\\Gone\r\nF" + Exe + "\r\n", true,
       {Rtf, Manual, Docs + "\\", Dir + "\\", "key"}},
      {"F naming a directory, D naming a file", "F" + Docs + "\r\nD" + Exe + "\r\n", false,
       everything},
      {"a lower-case letter", "f" + Exe + "\r\n", false, everything},
      {"another letter", "X" + Exe + "\r\n", false, everything},
      {"an empty line", "F" + Exe + "\r\n\r\nF" + Rtf + "\r\n", false,
       {Manual, Docs + "\\", Dir + "\\", "key"}},
      {"a blank before the path", "F " + Exe + "\r\n", true, everything},
      {"a key below HKLM", std::string("RHKLM\\") + TestKey + "\r\n", true,
       {Exe, Rtf, Manual, Docs + "\\", Dir + "\\"}},
      {"a key no longer there", "RHKLM\\Software\\Gone\r\n", false, everything},
      {"a key with subkeys", "RHKLM\\Software\r\n", false, everything},
      {"hklm in lower case", std::string("Rhklm\\") + TestKey + "\r\n", false, everything},
      {"another root", std::string("RHKCU\\") + TestKey + "\r\n", false, everything},
      {"HKLM without its backslash", "RHKLM", false, everything},
  };
  for (const LogCase& c : cases) {
    SCOPED_TRACE(c.label);
    Again();
    const std::size_t calls = host::RegistryCallCount();
    EXPECT_EQ(Remove(c.log), c.success ? Success : Failure);
    std::vector<std::string> left;
    for (const std::string& thing : everything) {
      const bool there = thing == "key" ? KeyThere()
                                        : host::Exists(thing.back() == '\\'
                                                           ? thing.substr(0, thing.size() - 1)
                                                           : thing);
      if (there) left.push_back(thing);
    }
    EXPECT_EQ(left, c.left);
    // an "R" line only reaches the registry with "HKLM\" as written
    if (c.log.find("RHKLM\\") == std::string::npos) {
      EXPECT_EQ(host::RegistryCallCount(), calls);
    }
    // the copy and its log stay for Windows to delete
    EXPECT_TRUE(host::Exists(RemovalCopy));
    EXPECT_TRUE(host::Exists(LogCopy));
  }
}

TEST_F(Removal, WithoutItsLogNothingIsRemoved) {
  host::BecomeProcess(host::Process{"\"" + RemovalCopy + "\" /REMOVE", RemovalCopy, 0});
  const std::vector<std::string> before = Everything();
  ToolMain();
  const std::vector<host::Box> boxes = NewBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Nenalezen soubor " + LogCopy + "!");
  EXPECT_EQ(boxes[0].caption, Caption);
  EXPECT_EQ(boxes[0].type, os::MbOk | os::MbIconError);
  EXPECT_EQ(boxes[0].owner, 0u);
  EXPECT_EQ(Everything(), before);

  // nor when another program holds it
  host::PutFile(LogCopy, "F" + Exe + "\r\n");
  const os::Handle held =
      os::CreateFileA(LogCopy, os::GenericRead, 0, os::OpenExisting, os::FileAttributeNormal);
  ToolMain();
  os::CloseHandle(held);
  ASSERT_EQ(NewBoxes().size(), 1u);
  EXPECT_TRUE(host::Exists(Exe));
}

TEST_F(Removal, ALogOfMoreThan255LinesIsActedOnWhole) {
  // two installations and more: every listed file goes
  std::string log = "D" + Dir + "\r\nD" + Docs + "\r\n";
  for (int i = 0; i < 298; ++i) {
    const std::string file = Docs + "\\page" + std::to_string(i) + ".txt";
    host::PutFile(file, "page");
    log += "F" + file + "\r\n";
  }
  host::PutFile(Dir + "\\last.txt", "");
  log += "F" + Dir + "\\last.txt\r\nF" + Manual + "\r\nF" + Exe + "\r\nF" + Rtf + "\r\n";
  for (const auto& file : machine::ShippedFiles()) log += "F" + Dir + "\\" + file.first + "\r\n";
  EXPECT_EQ(Remove(log), Success);
  EXPECT_FALSE(host::Exists(Dir));
}

TEST_F(Removal, ALongLineIsTakenWholeNotCutToAnotherName) {
  // a path of 258 characters, and a file named as its first 254
  std::string path = Docs;
  while (path.size() < 200) path += "\\level";
  path += "\\" + std::string(258 - path.size() - 1, 'n');
  ASSERT_EQ(path.size(), 258u);
  host::PutFile(path, "listed");
  const std::string cut = path.substr(0, 254);
  host::PutFile(cut, "not listed");
  EXPECT_EQ(Remove("F" + path + "\r\n"), Success);
  EXPECT_FALSE(host::Exists(path));
  EXPECT_EQ(File(cut), "not listed");
  // a path too long for the system names nothing that could be there
  EXPECT_EQ(Remove("F" + path + std::string(300, 'x') + "\r\n"), Success);
}

TEST_F(Removal, AReadErrorIsReported) {
  const std::string log = "D" + Docs + "\r\nF" + Manual + "\r\nF" + Exe + "\r\nF" + Rtf + "\r\n";
  // the read breaks off in "F...DV2.EXE": what was read whole is removed,
  // the broken line names "DV2" and is left alone
  host::PutFile(Dir + "\\DV2", "not listed");
  host::FailReadsAfter(LogCopy, log.find("DV2.EXE") + 3);
  EXPECT_EQ(Remove(log), Failure);
  EXPECT_FALSE(host::Exists(Docs));
  EXPECT_TRUE(host::Exists(Dir + "\\DV2"));
  EXPECT_TRUE(host::Exists(Exe));
  EXPECT_TRUE(host::Exists(Rtf));
}

TEST_F(Removal, TheInstallDirectoryGoesEvenWhenItWasTheCurrentDirectory) {
  host::SetCurrentDirectory(Docs);  // inherited from the process that started the copy
  EXPECT_EQ(Remove("D" + Dir + "\r\nD" + Docs + "\r\nF" + Manual + "\r\nF" + Exe + "\r\nF" +
                   Rtf + "\r\n" + [] {
                     std::string more;
                     for (const auto& file : machine::ShippedFiles())
                       more += "F" + Dir + "\\" + file.first + "\r\n";
                     return more;
                   }()),
            Success);
  EXPECT_FALSE(host::Exists(Dir));
}

TEST_F(Removal, ItWaitsBeforeItBegins) {
  host::PutFile(LogCopy, "F" + Exe + "\r\n");
  host::BecomeProcess(host::Process{"\"" + RemovalCopy + "\" /REMOVE", RemovalCopy, 0});
  // a second on the clock: with a millisecond a reading, 1001 readings
  const std::uint64_t before = host::ClockReadingCount();
  ToolMain();
  EXPECT_EQ(host::ClockReadingCount() - before, 1001u);
  EXPECT_FALSE(host::Exists(Exe));
}

struct WaitCase {
  const char* label;
  std::uint16_t milliseconds;
  std::uint64_t moveAfter;  // readings; 0 for none
  std::int64_t moveBy;
  std::uint64_t readings;   // that the wait takes, one millisecond each
};

TEST_F(Removal, WaitingForTheClock) {
  const WaitCase cases[] = {
      {"a second", 1000, 0, 0, 1001},
      {"nothing: a single reading after the first", 0, 0, 0, 2},
      {"a millisecond", 1, 0, 0, 2},
      {"the longest", 65535, 0, 0, 65536},
      {"set back half a second", 1000, 600, -500, 1501},
      {"set back an hour: at most a second more", 1000, 500, -3600000, 1501},
      {"set forward", 1000, 300, 10000, 301},
  };
  for (const WaitCase& c : cases) {
    SCOPED_TRACE(c.label);
    host::SetLocalTime(2002, 3, 15, 10, 0);
    host::MoveClockAfterReadings(c.moveAfter, c.moveBy);
    const std::uint64_t before = host::ClockReadingCount();
    WaitMilliseconds(c.milliseconds);
    EXPECT_EQ(host::ClockReadingCount() - before, c.readings);
  }
}

TEST_F(Removal, WaitingAcrossMidnightAndTheYearsEnd) {
  host::SetLocalTime(2002, 12, 31, 23, 59, 59, 500);
  const std::uint64_t before = host::ClockReadingCount();
  WaitMilliseconds(1000);
  EXPECT_EQ(host::ClockReadingCount() - before, 1001u);
  os::SystemTime now;
  os::GetLocalTime(now);
  EXPECT_EQ(now.wYear, 2003);
  EXPECT_EQ(now.wMilliseconds, 501);
}

}  // namespace
