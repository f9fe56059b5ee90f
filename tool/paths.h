// Paths as the tool takes them apart.
#pragma once

#include <string>

// The path with its extension (the text from the last "." after the last
// "\", "/" or ":") replaced by the given one, or the given one added when
// the path has none.
std::string ReplaceExtension(const std::string& path, const std::string& extension);

// The front of a path up to and including its last "\", "/" or ":"; empty
// when it holds none of them.
std::string FolderOf(const std::string& path);

// Whether a file or a directory of that name exists.
bool PathExists(const std::string& path);
