// The configuration store over ini-style files. A store holds any number of sources,
// each one file read when it is added; values are addressed by (source path, section,
// key). Syntax: "[section]" lines, "key=value" (or "key: value") lines, comments on lines
// that begin with ';' or '#'. Names and values are trimmed of surrounding blanks; a value
// runs to the end of its line whatever it contains (queries may hold ';'), with no limit
// on its length. A key given twice keeps its last value. Used from one thread at a time.
#pragma once

struct ConfigStore;

// A new, empty store. Never null unless memory runs out.
ConfigStore *new_config();

// Reads the file at path as a source of the store, replacing an earlier source of the
// same path. Returns 0 when the file was read, -1 when it could not be opened (the
// source is then registered empty, so every read of it comes back null).
int config_add_ini_new_file_source(ConfigStore *store, const char *path);

// The value of key in section of the source, or null when there is none. The text stays
// valid until the next call on the store.
const char *config_get_attrib_val(ConfigStore *store, const char *source, const char *section,
                                  const char *key);

// Releases the store; a null store is ignored. Returns 0.
int delete_config(ConfigStore *store);
