#include "platform/pipe_notice.h"

#include "platform/paths.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace platform {

std::string PipePath(const char *pipeName) {
    std::string name = pipeName ? pipeName : "";
    size_t separator = name.find_last_of("\\/");
    if (separator != std::string::npos)
        name = name.substr(separator + 1);
    const char *dir = std::getenv("DBGAUGE_PIPE_DIR");
    std::string directory = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
    return directory + "/" + name;
}

namespace {
// Writes without letting a reader that has just gone away end the process with SIGPIPE:
// the signal is blocked for this thread and a pending one is consumed.
bool WriteWithoutSigpipe(int fd, const unsigned char *data, size_t length) {
    sigset_t pipeOnly, previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    ssize_t written;
    do {
        written = write(fd, data, length);
    } while (written < 0 && errno == EINTR);
    if (written < 0 && errno == EPIPE && !alreadyPending) {
        const timespec noWait{0, 0};
        sigtimedwait(&pipeOnly, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return written == static_cast<ssize_t>(length);
}
} // namespace

bool SendPipeNotice(const char *pipeName) {
    const std::string path = PipePath(pipeName);
    int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISFIFO(info.st_mode)) {
        close(fd); // not a pipe: never write into an ordinary file
        return false;
    }
    const uint32_t value = static_cast<uint32_t>(fd);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    // The descriptor is deliberately left open until the process ends.
    return WriteWithoutSigpipe(fd, bytes, sizeof bytes);
}

} // namespace platform
