// The message catalogue. Resource files hold one message per line:
//
//     -95016<TAB>The logon failed: %1
//
// a signed decimal identifier, one tab, then the text to the end of the line. "%1" to
// "%9" are replaced by the string arguments, "%%" by one '%', "\n" and "\t" by a line
// feed and a tab, "\\" by a backslash. Blank lines and lines beginning with '#' are
// comments. A resource is registered by its path without extension; the file read is
// that path plus kCatalogueExtension. All calls are safe from any thread.
#pragma once

#include <cstdarg>

namespace platform {
inline constexpr const char *kCatalogueExtension = ".msg";
}

// Prepares the catalogue for use. Returns 0.
int MsgHandlerInitFunction();

// Registers the resource at path (without extension). Returns 0 when the file was read
// and every line is well formed, 1 when the file cannot be opened, 2 when a line is
// malformed (reported on standard error with its line number), 3 when the catalogue was
// not prepared first. A resource registered again is read anew.
int AddResourceFile(const char *path);

// Formats message id into a new text stored at *out (release it with
// FreeGenericMessage). args points to a va_list of const char* arguments that ends with
// a null pointer; a "%n" beyond the given arguments is replaced by nothing. When several
// resources hold the id, the one registered last wins. An identifier that no resource
// holds gives a text that says so. flags are accepted for compatibility and do not
// change the text. Returns 0 when the message was found, 1 when not, -1 on bad
// arguments (then *out is left alone).
int FormatGenericMessage(int reserved, int language, unsigned flags, int id, va_list *args,
                         char **out);

// Releases a text of FormatGenericMessage; null is ignored.
void FreeGenericMessage(char *text);

// Removes a registered resource. Returns 0 when it was registered, 1 when not.
int RemoveResourceFile(const char *path);

// Shuts the catalogue down and forgets every resource. Returns 0 when the catalogue was
// prepared and no resource was still registered, 1 when resources were still registered
// (they are dropped), -1 when the catalogue was not prepared.
int MsgHandlerDestroyFunction();
