// Helpers of the client tests: the throwaway server's description and small wrappers
// that drive the ten calls the way the monitor does.
#pragma once

#include <cstdint>
#include <string>

#include "oci7.h"
#include "server_env.h"

namespace pgoci_test {

// A logon area with its host area; logged off on destruction.
struct Logon {
    OciDataArea lda{};
    unsigned char hda[OCI_HOST_AREA_SIZE]{};
    int rc = 0;
    Logon(const std::string &user, const std::string &password, const std::string &connect);
    ~Logon();
    std::string errorText(int rc);
};

// Runs statement as the monitor's query primitives do (deferred parse, one row).
// Returns the cursor rc; the value lands in *value (type 3) or text (type 5).
int fetchInt(Logon &logon, const std::string &statement, int32_t *value, int16_t *indicator);
int fetchText(Logon &logon, const std::string &statement, std::string *text,
              int16_t *indicator);

// Runs a statement through its own admin session (for setting up roles and tables).
void adminExecute(const std::string &statement);

} // namespace pgoci_test
