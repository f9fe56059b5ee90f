#include "edition.h"

#include "os.h"
#include "viewer_main.h"
#include "viewer_state.h"

namespace {

constexpr std::size_t MaxPathLength = 255;

}  // namespace

std::string EditionFileName(unsigned year) {
  if (year <= 2000) return std::string();
  if (year == 2001) return "DV.EXE";
  return "DV" + NumberToText(static_cast<std::int32_t>(year - 2000)) + ".EXE";
}

std::string ExtractDirectory(const std::string& path) {
  const std::size_t last = path.find_last_of("\\:");
  if (last == std::string::npos) return std::string();
  return path.substr(0, last + 1);
}

bool LaunchEditionForYear() {
  const std::string fileName = EditionFileName(Viewer.year);
  if (fileName.empty()) return false;
  const std::string editionPath = ExtractDirectory(os::GetModuleFileNameA()) + fileName;
  // A path longer than that would be cut and name another file (the edition
  // of 2100 would become that of 2010): nothing is started then.
  if (editionPath.size() > MaxPathLength) return false;
  // The path is quoted so that a folder name with a blank can never start a
  // program named after the part before the blank, and the edition receives
  // exactly the argument text as its arguments.
  const std::string commandLine = "\"" + editionPath + "\" " + Viewer.argumentText;
  return os::CreateProcessA(commandLine, os::NormalPriorityClass | os::CreateNewConsole);
}
