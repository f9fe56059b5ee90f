#include "install_log.h"

#include "os.h"

bool LoggingOn = false;
bool WriteKindLetters = false;

namespace {

// The text reaches the file when this much has gathered, and at the close.
constexpr std::size_t BufferSize = 4096;

struct InstallLog {
  os::Handle file = os::InvalidHandle;
  std::string buffer;
  bool writeFailed = false;  // some text did not reach the file
};

InstallLog Log;

void WriteBuffer() {
  std::size_t done = 0;
  while (done < Log.buffer.size()) {
    std::uint32_t written = 0;
    const std::uint32_t size = static_cast<std::uint32_t>(Log.buffer.size() - done);
    if (!os::WriteFile(Log.file, Log.buffer.data() + done, size, written) || written == 0) {
      Log.writeFailed = true;
      break;
    }
    done += written;
  }
  Log.buffer.clear();
}

void Append(const std::string& text) {
  if (!LoggingOn) return;
  Log.buffer += text;
  if (Log.buffer.size() >= BufferSize) WriteBuffer();
}

// The line of something made: kind letter if wanted, path, line end.
void WriteEntry(char kind, const std::string& path) {
  if (!LoggingOn) return;
  if (WriteKindLetters) Append(std::string(1, kind));
  Append(path);
  EndLogLine();
}

}  // namespace

bool OpenInstallLog(const std::string& fileName, bool withKinds) {
  WriteKindLetters = withKinds;
  Log = InstallLog();
  // others may read the file meanwhile, but nobody else may write it
  Log.file = os::CreateFileA(fileName, os::GenericWrite, os::FileShareRead, os::OpenAlways,
                             os::FileAttributeNormal);
  // a file whose end cannot be found would be overwritten from its start
  if (Log.file != os::InvalidHandle &&
      os::SetFilePointer(Log.file, 0, os::FileEnd) == os::InvalidSetFilePointer) {
    os::CloseHandle(Log.file);
    Log.file = os::InvalidHandle;
  }
  LoggingOn = Log.file != os::InvalidHandle;
  return LoggingOn;
}

bool CloseInstallLog() {
  if (!LoggingOn) return false;
  WriteBuffer();
  const bool closed = os::CloseHandle(Log.file);
  const bool complete = closed && !Log.writeFailed;
  Log = InstallLog();
  LoggingOn = false;
  return complete;
}

void WriteLogText(const std::string& text) { Append(text); }

void EndLogLine() { Append("\r\n"); }

bool CreateDirLogged(const std::string& path) {
  if (!os::CreateDirectoryA(path)) return false;
  WriteEntry('D', path);
  return true;
}

bool CopyFileLogged(const std::string& source, const std::string& destination) {
  if (!os::CopyFileA(source, destination, false)) return false;
  WriteEntry('F', destination);
  return true;
}
