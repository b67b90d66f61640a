#include "platform/os_functions.h"

#include "platform/paths.h"

#include <strings.h>
#include <sys/time.h>

#include <atomic>
#include <chrono>
#include <cstring>

namespace {
std::atomic<platform::TimeSource> timeSource{nullptr};
}

void platform::SetTimeSourceForTesting(TimeSource source) { timeSource.store(source); }

int os_get_my_module_dir_name(const char *, char *dst, unsigned size) {
    if (dst == nullptr || size == 0)
        return -1;
    const std::string dir = platform::ModuleDirectory();
    const size_t kept = dir.size() < size ? dir.size() : size - 1;
    std::memcpy(dst, dir.data(), kept);
    dst[kept] = '\0';
    return kept == dir.size() ? 0 : -1;
}

int os_gettimeofday(int32_t time[2], void *) {
    if (time == nullptr)
        return -1;
    if (platform::TimeSource source = timeSource.load()) {
        source(time);
        return 0;
    }
    timeval now{};
    gettimeofday(&now, nullptr);
    time[0] = static_cast<int32_t>(now.tv_sec);
    time[1] = static_cast<int32_t>(now.tv_usec);
    return 0;
}

uint32_t os_millisec_from_start_of_run() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

char *os_itoa(int value, char *buffer, int radix) {
    if (buffer == nullptr)
        return nullptr;
    if (radix < 2 || radix > 36) {
        buffer[0] = '\0';
        return buffer;
    }
    // Widened so that the most negative value has a magnitude.
    long long magnitude = value;
    const bool negative = magnitude < 0;
    if (negative)
        magnitude = -magnitude;
    char reversed[34];
    int length = 0;
    do {
        int digit = static_cast<int>(magnitude % radix);
        reversed[length++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        magnitude /= radix;
    } while (magnitude > 0);
    int pos = 0;
    if (negative)
        buffer[pos++] = '-';
    while (length > 0)
        buffer[pos++] = reversed[--length];
    buffer[pos] = '\0';
    return buffer;
}

int os_strcmp(const char *a, const char *b) { return std::strcmp(a, b); }

int os_stricmp(const char *a, const char *b) { return strcasecmp(a, b); }

char *os_strchr(const char *text, int character) {
    return const_cast<char *>(std::strchr(text, character));
}
