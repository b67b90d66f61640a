#include "tools/watch/password.h"

#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace watch {

std::optional<std::string> PromptPassword(const std::string &prompt) {
    const int tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty < 0)
        return std::nullopt;
    termios saved{};
    if (tcgetattr(tty, &saved) != 0) {
        close(tty);
        return std::nullopt;
    }
    termios quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    quiet.c_lflag |= ICANON;
    (void)!write(tty, prompt.data(), prompt.size());
    tcsetattr(tty, TCSAFLUSH, &quiet);
    std::string password;
    char c;
    while (read(tty, &c, 1) == 1 && c != '\n' && c != '\r')
        password += c;
    tcsetattr(tty, TCSAFLUSH, &saved);
    (void)!write(tty, "\n", 1);
    close(tty);
    return password;
}

} // namespace watch
