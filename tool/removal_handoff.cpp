#include "removal_handoff.h"

#include "ascii.h"
#include "install_log.h"
#include "os.h"
#include "paths.h"
#include "product.h"
#include "registry.h"

namespace {

// "Opravdu chcete odstranit program Orvola?"
const char ConfirmationText[] = "Opravdu chcete odstranit program Orvola?";
// "Není možné inicializovat odinstalační program!"
const char CannotStartText[] =
    "Nen\xED mo\x9En\xE9 inicializovat odinstala\xE8n\xED program!";

const char RemovalBaseName[] = "\\~REMOVE";
const char WininitName[] = "\\WININIT.INI";
const char RemovalArgument[] = " /REMOVE";

// Entries of the environment, paths formed from them and the WININIT.INI
// path are held to this many characters.
constexpr std::size_t MaxText = 255;

// Notes a copy for deletion when Windows next starts.  Windows of the NT
// family does not read WININIT.INI; there this is what deletes the copies.
void DeleteAtRestart(const std::string& path) {
  os::MoveFileExA(path, os::MovefileDelayUntilReboot);  // nothing to tell the user
}

}  // namespace

std::string GetEnvValue(const std::string& name) {
  std::string value;
  const char* const block = os::GetEnvironmentStringsA();
  if (block == nullptr) return value;
  for (const char* entry = block; *entry != '\0';) {
    const std::string whole(entry);
    entry += whole.size() + 1;
    const std::string text = whole.substr(0, MaxText);
    // an entry that begins with "=" (the current directories of the
    // drives) has no name
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    if (SameIgnoringAsciiCase(text.substr(0, equals), name)) {
      value = text.substr(equals + 1);
      break;
    }
  }
  os::FreeEnvironmentStringsA(block);
  return value;
}

void StartRemoval() {
  // 1.
  if (os::MessageBoxA(0, ConfirmationText, RemovalCaption, os::MbYesNo | os::MbIconQuestion) !=
      os::IdYes)
    return;

  // 2.-3. the removal copy, the log copy and WININIT.INI.  A base path that
  // would have to be cut names another file than "~REMOVE": such a file
  // would be overwritten and later deleted, so no copy is made at all.
  const std::string base = GetEnvValue("TEMP") + RemovalBaseName;
  const bool baseUsable = base.size() <= MaxText;
  const std::string programCopy = base + ".TMP";
  const std::string logCopy = base + ".DAT";
  // quoted, so that a TEMP path with blanks still gives "/REMOVE" as the
  // copy's first argument
  const std::string commandLine = "\"" + programCopy + "\"" + RemovalArgument;
  // WININIT.INI likewise: a path cut short would append to another file
  const std::string wininit = GetEnvValue("WINDIR") + WininitName;
  const bool wininitUsable = wininit.size() <= MaxText;
  const std::string program = os::GetModuleFileNameA();
  const std::string installLog = ReplaceExtension(program, ".DAT");

  // 4. a "[rename]" section with one open "nul=" line; each copy made
  // completes the open line with its path
  if (wininitUsable) OpenInstallLog(wininit, false);
  if (LoggingOn) {
    WriteLogText("[rename]");
    EndLogLine();
    WriteLogText("nul=");
  }

  // 5.
  const bool programCopied = baseUsable && CopyFileLogged(program, programCopy);
  if (programCopied) {
    DeleteAtRestart(programCopy);
    if (LoggingOn) WriteLogText("nul=");
  }

  // 6. tried whatever the first copy gave
  const bool logCopied = baseUsable && CopyFileLogged(installLog, logCopy);
  if (logCopied) DeleteAtRestart(logCopy);

  // 7. a WININIT.INI whose text did not all reach the disk leaves at worst
  // the copies in TEMP, which the system deletes anyway: not reported
  if (LoggingOn) {
    EndLogLine();
    CloseInstallLog();
  }

  // 8.-9. the removal itself runs in the copy, which the tool does not
  // wait for
  if (programCopied && logCopied &&
      os::CreateProcessA(commandLine, os::CreateNewConsole | os::NormalPriorityClass)) {
    DeleteUninstallEntry(ProductName);  // nothing to tell when it fails
    return;
  }

  // 10.
  os::MessageBoxA(0, CannotStartText, RemovalCaption, os::MbOk | os::MbIconError);
}
