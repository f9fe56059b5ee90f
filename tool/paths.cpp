#include "paths.h"

#include "os.h"

namespace {

const char FolderSeparators[] = "\\/:";

}  // namespace

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
  const std::size_t folder = path.find_last_of(FolderSeparators);
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder))
    return path + extension;
  return path.substr(0, dot) + extension;
}

std::string FolderOf(const std::string& path) {
  const std::size_t folder = path.find_last_of(FolderSeparators);
  return folder == std::string::npos ? std::string() : path.substr(0, folder + 1);
}

bool PathExists(const std::string& path) {
  const os::Handle found = os::FindFirstFileA(path);
  if (found == os::InvalidHandle) return false;
  os::FindClose(found);
  return true;
}
