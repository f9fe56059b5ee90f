// How fast the viewer looks up its texts and reads a large reminder file.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "daily_texts.h"
#include "host.h"
#include "reminders.h"
#include "viewer_state.h"

namespace {

std::string Root;
std::string ReminderHostPath;
constexpr std::size_t ReminderFileSize = 10 * 1024 * 1024;

// Tuesday 5 March 2002; none of the file's lines is due that day.
void SetDisplayedDate() {
  Viewer = ViewerState();
  Viewer.year = 2002;
  Viewer.month = 3;
  Viewer.day = 5;
  Viewer.todayWeekday = 2;
}

void MakeReminderFile() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvola-bench-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) std::abort();
  Root = pattern;
  host::Reset(Root);
  const char* lines[] = {
      "24.12.1999 V\xE1noce u babi\xE8ky\r\n",
      "PO Porada v 9 hodin, zasedac\xED m\xEDstnost\r\n",
      "; pozn\xE1mka, kterou nic neukazuje\r\n",
      "6.3. Narozeniny Jany\r\n",
      "   17 Zaplatit n\xE1jem\r\n",
      "SO Trh na n\xE1m\xECst\xED\n",
      "1.1.2003 Nov\xFD rok\r",
  };
  std::string bytes;
  for (std::size_t i = 0; bytes.size() < ReminderFileSize; ++i) bytes += lines[i % 7];
  bytes.resize(ReminderFileSize);
  bytes.back() = '\n';
  host::PutFile("C:\\DIAR.TXT", bytes);
  host::SetCurrentDirectory("C:\\");
  ReminderHostPath = host::HostPath("C:\\DIAR.TXT");
}

void LookUp31December(benchmark::State& state) {
  Viewer.month = 12;
  Viewer.day = 31;
  for (auto _ : state) {
    LookUpDailyTexts();
    benchmark::DoNotOptimize(Viewer.secondText.data());
  }
}
BENCHMARK(LookUp31December);

void ShowReminders10MB(benchmark::State& state) {
  SetDisplayedDate();
  for (auto _ : state) ShowReminders();
  if (!host::Boxes().empty()) state.SkipWithError("a line of the file was due");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ReminderFileSize));
}
BENCHMARK(ShowReminders10MB)->Unit(benchmark::kMillisecond);

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The best of several runs of `cat file > /dev/null`, process start included.
double CatSeconds() {
  double best = 1e9;
  for (int run = 0; run < 20; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      if (!std::freopen("/dev/null", "w", stdout)) _exit(126);
      execlp("cat", "cat", ReminderHostPath.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    waitpid(child, nullptr, 0);
    best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
  }
  return best;
}

double ShowRemindersSeconds() {
  SetDisplayedDate();
  double best = 1e9;
  for (int run = 0; run < 20; ++run) {
    const auto start = std::chrono::steady_clock::now();
    ShowReminders();
    best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  MakeReminderFile();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const double reminders = ShowRemindersSeconds();
  const double cat = CatSeconds();
  std::printf("\nReminder file of %zu bytes, no line due (best of 20 runs each):\n",
              ReminderFileSize);
  std::printf("  ShowReminders          %8.2f ms\n", reminders * 1000);
  std::printf("  cat file > /dev/null   %8.2f ms\n", cat * 1000);
  std::printf("  ratio                  %8.2f (at most 5 wanted)\n", reminders / cat);
  std::filesystem::remove_all(Root);
  return 0;
}
