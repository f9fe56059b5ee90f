// A whole reminder file of any bytes: every box shows a piece of the file
// under one of the captions a reminder can have, no more boxes than lines,
// and the file is closed again.  The first bytes choose the displayed date
// and today's weekday.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "host.h"
#include "reminders.h"
#include "viewer_state.h"

namespace {

bool IsDatePrefix(const std::string& caption) {
  return !caption.empty() && caption.find_first_not_of("0123456789 .") == std::string::npos &&
         caption[0] >= '0' && caption[0] <= '9';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  host::Reset(SandboxRoot());
  Viewer = ViewerState();
  Viewer.year = 2002;
  Viewer.day = static_cast<std::uint16_t>(data[0] % 33);
  Viewer.month = static_cast<std::uint16_t>(data[1] % 14);
  Viewer.todayWeekday = static_cast<std::uint16_t>(data[2] % 7);
  const std::string file(reinterpret_cast<const char*>(data) + 3, size - 3);
  host::PutFile("C:\\DIAR.TXT", file);
  ShowReminders();

  std::size_t lines = 1;
  for (char c : file) lines += c == '\r' || c == '\n';
  Check(host::Boxes().size() <= lines);
  Check(host::OpenHandleCount() == 0);
  for (const host::Box& box : host::Boxes()) {
    Check(file.find(box.text) != std::string::npos);
    Check(box.caption == WeekdayNames[Viewer.todayWeekday] ||
          box.caption == "[uzel na kapesn\xEDku]" ||
          (IsDatePrefix(box.caption) && file.find(box.caption + box.text) != std::string::npos));
  }
  return 0;
}
