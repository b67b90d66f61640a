// Message texts: where the catalogue lies, formatting a catalogue message into a bounded
// buffer, and copying a text into a caller's buffer.
#pragma once

#include <cstddef>

inline constexpr size_t kResourcePathSize = 2048;
inline constexpr size_t kMessageBufferSize = 1024;

// Writes "<directory of the executable>/../dat/pt_mon_dbgauge_msgs", resolved, into dst
// (kResourcePathSize bytes, cut and terminated). Returns dst.
char *BuildMessageResourcePath(char *dst);

// Formats catalogue message id with its string arguments into dst (size bytes): at most
// size - 1 characters and a terminator; a size of 0 or less writes nothing. Returns the
// number of characters written. A null argument is taken as the end of the arguments.
int FormatCatalogueMessageList(char *dst, int size, int id, const char *const *args,
                               size_t count);
template <typename... Args>
int FormatCatalogueMessage(char *dst, int size, int id, Args... args) {
    const char *list[] = {static_cast<const char *>(args)..., nullptr};
    return FormatCatalogueMessageList(dst, size, id, list, sizeof...(Args));
}

// Copies text into dst of size bytes: at most size - 1 characters, then a terminator.
// Nothing is written when size is 0 or less or dst is null; a null text copies as "".
// Returns the number of characters copied.
int CopyBounded(char *dst, const char *text, long long size);

// Scratch buffer for error texts, kMessageBufferSize bytes, one per thread so that the
// sampling thread and the host's thread never write into each other's text.
char *MessageBuffer();

// The buffer of the default counter description, kMessageBufferSize bytes. Written only
// on the host's thread while the configuration is read.
char *DescriptionBuffer();
