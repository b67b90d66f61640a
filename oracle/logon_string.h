// The logon string: the text form of (server, user, password) that the host stores with
// each measurement and hands back on activation.
//
// Six fields in a fixed order, each written as KEY=LENGTH VALUE followed by one space:
//   srvname=3 db1 usrname=4 perf passwd=0  LogonExtra1=0  LogonExtra2=0  LogonExtra3=0
// The value is taken by its declared length, so it may hold spaces and "=".
#pragma once

#include <cstddef>

// Longest logon string the writer produces; a longer one is cut.
inline constexpr std::size_t kLogonStringMax = 1024;

// Writes the logon string of (server, user, password, three empty extras) into out,
// which holds at least kLogonStringMax + 1 bytes. Always terminated.
void BuildLogonString(char *out, const char *user, const char *server, const char *password);

// Reads the next field at *cursor into dst (dstSize bytes; a longer value is cut to
// dstSize - 1 characters) and moves *cursor to the start of the following field.
// Fields are taken by position, their keys are not compared. Returns 0, or -1 when the
// text at *cursor is not a whole field: no "=", a length that is not a decimal number,
// no space after the length, or fewer bytes left than the length declares. On -1,
// *cursor and dst are left as they were, and nothing past the terminator is read.
int ReadLogonField(const char **cursor, char *dst, std::size_t dstSize);
