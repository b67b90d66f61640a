/* pgoci: the database client's public interface.
 *
 * Ten calls of the classic cursor-based client interface, implemented over libpq against
 * a PostgreSQL server. Callers own three kinds of data area:
 *   - the logon data area (64 bytes), one per session;
 *   - the host data area (256 bytes), one per session, zeroed before logon;
 *   - the cursor data area (64 bytes), one per open cursor.
 * Of these areas the caller reads only the fields named in OciDataArea; the rest of each
 * area belongs to the client, which keeps a reference to its own state there. */
#ifndef PGOCI_OCI7_H
#define PGOCI_OCI7_H

#include <stdint.h>

#if defined(__cplusplus)
extern "C" {
#endif

#define OCI_AREA_SIZE 64
#define OCI_HOST_AREA_SIZE 256

/* Layout shared by the logon and the cursor data area. */
typedef struct OciDataArea {
    int16_t version2Rc;        /* 0: reserved */
    uint16_t functionCode;     /* 2: SQL function code of the parsed statement (cursor) */
    uint32_t rowsProcessed;    /* 4: rows fetched or processed so far (cursor) */
    uint16_t parseErrorOffset; /* 8: 0-based offset of a parse error (cursor) */
    uint8_t functionType;      /* 10: reserved */
    uint8_t reserved11;        /* 11 */
    uint16_t rc;               /* 12: error number of the last operation, 0 on success */
    uint8_t clientPrivate[OCI_AREA_SIZE - 14]; /* 14..63: owned by the client library */
} OciDataArea;

#if defined(__cplusplus)
static_assert(sizeof(OciDataArea) == OCI_AREA_SIZE, "data areas are 64 bytes");
#else
_Static_assert(sizeof(OciDataArea) == OCI_AREA_SIZE, "data areas are 64 bytes");
#endif

/* Error numbers the monitor relies on. */
enum {
    OCI_RC_BEYOND_SELECT_LIST = 1007,
    OCI_RC_NO_ROW = 1403,
    OCI_RC_TOO_MANY_ROWS = 1422
};

/* SQL function code of a query. */
enum { OCI_FUNCTION_SELECT = 4 };

/* External data types for odefin. */
enum { OCI_EXT_INTEGER = 3, OCI_EXT_STRING = 5 };

/* Internal data type code of a numeric column. */
enum { OCI_TYPE_NUMBER = 2 };

/* Initialises the client; mode 1 is the thread-safe mode. */
int opinit(int mode);

/* Logs on. The three texts are NUL-terminated when their lengths are -1. */
int olog(OciDataArea *lda, unsigned char *hda, const char *user, int userLength,
         const char *password, int passwordLength, const char *connectString,
         int connectLength, unsigned mode);
int ologof(OciDataArea *lda);

int oopen(OciDataArea *cursor, OciDataArea *lda, const char *dbn, int dbnLength,
          int areaSize, const char *user, int userLength);
/* deferred = 0 parses at once; deferred = 1 defers the parse to the execution. */
int oparse(OciDataArea *cursor, const char *statement, int statementLength, int deferred,
           unsigned languageFlag);
int odefin(OciDataArea *cursor, int position, void *buffer, int bufferLength,
           int externalType, int scale, int16_t *indicators, const char *format,
           int formatLength, int formatType, uint16_t *returnLengths,
           uint16_t *returnCodes);
int oexfet(OciDataArea *cursor, unsigned rows, int cancel, int exact);
int odescr(OciDataArea *cursor, int position, int32_t *dbSize, int16_t *dbType,
           char *name, int32_t *nameLength, int32_t *displaySize, int16_t *precision,
           int16_t *scale, int16_t *nullOk);
/* Writes the text of error number rcode into buffer: "ORA-nnnnn: ..." */
int oerhms(OciDataArea *lda, int rcode, char *buffer, int bufferSize);
int oclose(OciDataArea *cursor);

/* Function pointer types, for callers that bind the client at run time. */
typedef int (*OciOpinitFn)(int);
typedef int (*OciOlogFn)(OciDataArea *, unsigned char *, const char *, int, const char *,
                         int, const char *, int, unsigned);
typedef int (*OciOlogofFn)(OciDataArea *);
typedef int (*OciOopenFn)(OciDataArea *, OciDataArea *, const char *, int, int,
                          const char *, int);
typedef int (*OciOparseFn)(OciDataArea *, const char *, int, int, unsigned);
typedef int (*OciOdefinFn)(OciDataArea *, int, void *, int, int, int, int16_t *,
                           const char *, int, int, uint16_t *, uint16_t *);
typedef int (*OciOexfetFn)(OciDataArea *, unsigned, int, int);
typedef int (*OciOdescrFn)(OciDataArea *, int, int32_t *, int16_t *, char *, int32_t *,
                           int32_t *, int16_t *, int16_t *, int16_t *);
typedef int (*OciOerhmsFn)(OciDataArea *, int, char *, int);
typedef int (*OciOcloseFn)(OciDataArea *);

#if defined(__cplusplus)
}
#endif

#endif /* PGOCI_OCI7_H */
