/* dbgauge: the monitor plug-in's exported interface.
 *
 * A load-test controller (the host) loads libdbgauge.so with dlopen and calls these
 * functions through their C names. Every export is a plain C function; opaque host
 * values are uintptr_t so that a 64-bit host can pass a pointer, while counts, sizes
 * and results stay 32-bit. Records keep fixed byte layouts, pinned below. */
#ifndef DBGAUGE_H
#define DBGAUGE_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#if defined(__cplusplus)
#define DBG_EXTERN_C extern "C"
#else
#define DBG_EXTERN_C
#endif

/* The host's callbacks use the standard-call convention on 32-bit Windows; on x86_64
 * there is only one calling convention, so the macro is empty. */
#define DBG_STDCALL
#define DBG_EXPORT DBG_EXTERN_C __attribute__((visibility("default")))

/* A sample as the host receives it. Kind 0 carries a value, kind 1 a rate per second
 * between two sample times. Bytes 4 to 7 are never written. */
typedef struct ValueRecord {
    int32_t kind;            /* 0: value, 1: rate */
    int32_t unused;
    int32_t seconds;         /* kind 0: sample time; kind 1: previous sample time */
    int32_t microseconds;
    union {
        double value;        /* kind 0 */
        struct {
            int32_t seconds; /* kind 1: current sample time */
            int32_t microseconds;
        } current;
    } u;
    double rate;             /* kind 1 */
} ValueRecord;

/* One picked measurement handed back by BrowseMonitor. */
typedef struct BrowseRecord {
    char valueString[512];
    char presentationName[512];
    char description[1024];
    char logonString[512];
    int32_t three;           /* always 3 */
    char connectionLogon[1024];
    int32_t isRate;
} BrowseRecord;

/* One logon parameter of the tss_ API: "server", "usr", "pwd" (any case). */
typedef struct TssParameter {
    const char *name;
    const char *value;
} TssParameter;

/* One item of a tss_ value request. */
typedef struct TssValueItem {
    const char *name;        /* in */
    double value;            /* out */
    char *errorText;         /* out, allocated by the library, freed by tss_release_buffer */
} TssValueItem;

typedef void(DBG_STDCALL *HostCallback)(char *buffer, uintptr_t hostValue);
typedef void(DBG_STDCALL *ValueCallback)(ValueRecord record, const char *errorText,
                                         uintptr_t context);

#if defined(__cplusplus)
static_assert(sizeof(ValueRecord) == 32, "ValueRecord is 32 bytes");
static_assert(offsetof(ValueRecord, kind) == 0, "ValueRecord.kind at 0");
static_assert(offsetof(ValueRecord, seconds) == 8, "ValueRecord.seconds at 8");
static_assert(offsetof(ValueRecord, microseconds) == 12, "ValueRecord.microseconds at 12");
static_assert(offsetof(ValueRecord, u) == 16, "ValueRecord value at 16");
static_assert(offsetof(ValueRecord, rate) == 24, "ValueRecord.rate at 24");
static_assert(sizeof(BrowseRecord) == 3592, "BrowseRecord is 3592 bytes");
static_assert(offsetof(BrowseRecord, presentationName) == 512, "presentation name at 512");
static_assert(offsetof(BrowseRecord, description) == 1024, "description at 1024");
static_assert(offsetof(BrowseRecord, logonString) == 2048, "logon string at 2048");
static_assert(offsetof(BrowseRecord, three) == 2560, "constant 3 at 2560");
static_assert(offsetof(BrowseRecord, connectionLogon) == 2564, "connection logon at 2564");
static_assert(offsetof(BrowseRecord, isRate) == 3588, "rate flag at 3588");
static_assert(sizeof(TssValueItem) == 24, "TssValueItem is 24 bytes");
static_assert(offsetof(TssValueItem, value) == 8, "TssValueItem.value at 8");
static_assert(offsetof(TssValueItem, errorText) == 16, "TssValueItem.errorText at 16");
static_assert(sizeof(TssParameter) == 2 * sizeof(void *), "TssParameter is two pointers");
#else
_Static_assert(sizeof(ValueRecord) == 32, "ValueRecord is 32 bytes");
_Static_assert(sizeof(BrowseRecord) == 3592, "BrowseRecord is 3592 bytes");
_Static_assert(sizeof(TssValueItem) == 24, "TssValueItem is 24 bytes");
#endif

/* Lifecycle. */
DBG_EXPORT int InitMonitor(uintptr_t reserved1, uintptr_t reserved2, HostCallback hostCallback,
                           uintptr_t hostValue, int *outFlag, char *errorText,
                           unsigned errorTextSize);
DBG_EXPORT int TerminateMonitor(void);

/* Browsing: naming the database, listing what can be measured, picking measurements. */
DBG_EXPORT int SetLoginInfo(const char *user, const char *password, const char *server,
                            const char *extra1, const char *extra2, const char *extra3);
DBG_EXPORT int MeasurementAdded(const char *object, const char *counter, const char *instance);
DBG_EXPORT int BrowseMonitor(uintptr_t reserved, const char *logonString, BrowseRecord **records,
                             int *count, char *message);
DBG_EXPORT int GetNumberOfObjects(void);
DBG_EXPORT char *GetObjectById(int index);
DBG_EXPORT int GetNumberOfCounters(const char *object);
DBG_EXPORT char *GetCounterById(const char *object, int index);
DBG_EXPORT int GetNumberOfInstances(const char *object);
DBG_EXPORT char *GetInstanceById(const char *object, int index);
DBG_EXPORT char *GetCounterDescription(const char *counter);
DBG_EXPORT void CancelAdd(void);
DBG_EXPORT int SetMonitorRate(int rate);
DBG_EXPORT void FreeMonitorStringAllocation(char **place);

/* Sampling: activating measurements and receiving their values. */
DBG_EXPORT int ActivateMeasurement(const char *valueString, const char *measurementName,
                                   const char *logonString, char *errorText, int errorTextSize,
                                   ValueCallback callback, uintptr_t context);
DBG_EXPORT int DeActivateMeasurement(const char *valueString, const char *measurementName,
                                     char *errorText, int errorTextSize);
DBG_EXPORT int GetNewData(const char *valueString, const char *measurementName,
                          ValueRecord *record, char *errorBuffer, int errorBufferSize);

#if defined(__cplusplus)
/* Abstract exception base for the host's own exception classes. Nothing in the library
 * creates or throws one. */
class __attribute__((visibility("default"))) CPtBaseException {
public:
    CPtBaseException();
    CPtBaseException(const CPtBaseException &source);
    virtual ~CPtBaseException();
    virtual char *GetErrorText() = 0;
    CPtBaseException &operator=(const CPtBaseException &source);
    operator char *();
};
#endif

#endif /* DBGAUGE_H */
