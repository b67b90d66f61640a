#include "oracle/logon_string.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

void AppendField(std::string &out, const char *key, const char *value) {
    const std::size_t length = std::strlen(value);
    out += key;
    out += std::to_string(length);
    out += ' ';
    out.append(value, length);
    out += ' ';
}

} // namespace

void BuildLogonString(char *out, const char *user, const char *server, const char *password) {
    std::string text;
    AppendField(text, "srvname=", server);
    AppendField(text, "usrname=", user);
    AppendField(text, "passwd=", password);
    AppendField(text, "LogonExtra1=", "");
    AppendField(text, "LogonExtra2=", "");
    AppendField(text, "LogonExtra3=", "");
    const std::size_t kept = std::min(text.size(), kLogonStringMax);
    std::memcpy(out, text.data(), kept);
    out[kept] = '\0';
}

int ReadLogonField(const char **cursor, char *dst, std::size_t dstSize) {
    const char *equals = std::strchr(*cursor, '=');
    if (equals == nullptr) return -1;

    const char *digits = equals + 1;
    const char *p = digits;
    std::size_t length = 0;
    while (*p >= '0' && *p <= '9') {
        length = length * 10 + static_cast<std::size_t>(*p - '0');
        if (length > kLogonStringMax * 16) return -1; // no real field is this long
        ++p;
    }
    if (p == digits || *p != ' ') return -1;

    const char *value = p + 1;
    if (strnlen(value, length) < length) return -1; // declares more than it holds

    if (dstSize > 0) {
        const std::size_t kept = std::min(length, dstSize - 1);
        std::memcpy(dst, value, kept);
        dst[kept] = '\0';
    }
    // Skip the value and the space that ends the field; the last field may end the text.
    const char *next = value + length;
    *cursor = (*next == ' ') ? next + 1 : next;
    return 0;
}
