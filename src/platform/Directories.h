#pragma once
#include <string>

namespace tamblor {

// The few folder operations the program needs at start-up, before the file resolver exists.

// The folder holding the running executable, with a trailing '/'; empty when unknown.
std::string ExecutableDir();
// An environment variable, or "" when unset.
std::string EnvironmentValue(const char* name);
bool IsDirectory(const std::string& path);
// Makes sure path is a writable folder, creating it and its parents when missing. On failure returns
// false and a sentence saying why.
bool EnsureWritableDirectory(const std::string& path, std::string* why);
// Makes path the current directory; false on failure.
bool ChangeDirectory(const std::string& path);
// The absolute, normalised form of path (relative paths are taken from the current directory).
std::string AbsolutePath(const std::string& path);

}  // namespace tamblor
