// How an error text reaches the user when there is no caller's buffer for it.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

// Set for good by the alternate host API: errors are kept in the last-error text instead
// of being shown.
extern std::atomic<bool> CollectErrors;
// Set for good by the XML entry points: no error is shown.
extern std::atomic<bool> NoMessageBoxes;

// Shows or collects text: with CollectErrors set it becomes the last-error text;
// otherwise, unless NoMessageBoxes is set, it is shown as an error with the catalogue's
// caption. Returns 0.
int ReportError(const char *text);

// The last-error text: a process-lifetime string, safe to use from any thread.
std::string LastErrorText();
void SetLastErrorText(std::string_view text);
void ClearLastErrorText();

// Builds the process-lifetime last-error text now (it is otherwise built on first use).
void CreateLastErrorText();
