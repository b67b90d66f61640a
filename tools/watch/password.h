// Reading a password from the terminal without showing it.
#pragma once

#include <optional>
#include <string>

namespace watch {

// Prompts on the controlling terminal with echo off and reads one line. Nothing when
// there is no terminal (the caller then uses an empty password).
std::optional<std::string> PromptPassword(const std::string &prompt);

} // namespace watch
