// Loading shared libraries by their Windows-style names.
#pragma once

namespace platform {

using LibraryHandle = void *;

// Maps "NAME.dll" to "libNAME.so" (other names are used as they are) and loads it with
// every symbol resolved at once. The directory of the library that holds this code is
// searched first, then the dynamic loader's usual places. Returns 0 on failure; the
// reason is then available from os_dynam_error_text on the same thread.
LibraryHandle os_load_library(const char *name);

// Address of an entry point, or 0 when the library does not export it.
void *os_get_proc_address(LibraryHandle handle, const char *name);

// Unloads a library loaded by os_load_library; a 0 handle is ignored.
void os_unload_library(LibraryHandle handle);

// A fresh copy of the text of the last failed load on this thread ("" when none),
// released with os_dynam_free_error_text.
char *os_dynam_error_text();
void os_dynam_free_error_text(char *text);

// The file name that os_load_library tries for a library name ("oci.dll" -> "liboci.so").
const char *SharedObjectName(const char *name, char *buffer, unsigned size);

} // namespace platform

using platform::os_dynam_error_text;
using platform::os_dynam_free_error_text;
using platform::os_get_proc_address;
using platform::os_load_library;
using platform::os_unload_library;
