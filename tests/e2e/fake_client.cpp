// A stand-in for the database client library in end-to-end tests. It exports the ten
// entry points (one of them left out when FAKE_CLIENT_WITHOUT names it) and appends
// "<variant> opinit <mode>" to the file named by $FAKE_CLIENT_LOG for every opinit call,
// so that a test can count the calls across loads and unloads.
#include <cstdio>
#include <cstdlib>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT int opinit(int mode) {
    if (const char *log = std::getenv("FAKE_CLIENT_LOG")) {
        if (FILE *file = std::fopen(log, "a")) {
            std::fprintf(file, "%s opinit %d\n", FAKE_CLIENT_VARIANT, mode);
            std::fclose(file);
        }
    }
    return 0;
}

#define FAKE_ENTRY(name) \
    FAKE_EXPORT int name() { return 0; }
FAKE_ENTRY(oclose)
FAKE_ENTRY(odefin)
#ifndef FAKE_CLIENT_WITHOUT_ODESCR
FAKE_ENTRY(odescr)
#endif
FAKE_ENTRY(oerhms)
FAKE_ENTRY(oexfet)
FAKE_ENTRY(olog)
FAKE_ENTRY(ologof)
FAKE_ENTRY(oopen)
FAKE_ENTRY(oparse)
