// File paths: the running executable, the directory of the library that holds this
// code, and joins of Windows-style relative paths.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Absolute path of the running executable, or empty when it cannot be read.
std::string ExecutablePath();

// Directory (no trailing separator) of the loaded file that contains this code: the
// shared library when the code runs inside it, the executable when linked statically.
std::string ModuleDirectory();

// Everything before the last '/', or "." when there is none.
std::string DirectoryOf(std::string_view path);

// Joins a relative path written with '\' or '/' separators to base and resolves "." and
// ".." lexically, as Windows does: "a/b/file.exe" + "..\dat" gives "a/b/dat", also when
// the left side names a file. Separators are collapsed; an absolute base stays absolute
// and ".." never climbs above the root.
std::string JoinPath(std::string_view base, std::string_view relative);

// Resolves "." and ".." lexically and collapses separators of a '/' path.
std::string NormalizePath(std::string_view path);

} // namespace platform
