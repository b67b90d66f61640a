// Binding to the database client library at run time: the table of its ten entry
// points, through which every database call of the monitor goes.
#pragma once

#include "pgoci/include/oci7.h"

#include <string>

// The client's entry points, in the order in which they are resolved.
struct OracleFunctions {
    OciOcloseFn my_oclose;
    OciOdefinFn my_odefin;
    OciOdescrFn my_odescr;
    OciOerhmsFn my_oerhms;
    OciOexfetFn my_oexfet;
    OciOlogFn my_olog;
    OciOlogofFn my_ologof;
    OciOopenFn my_oopen;
    OciOparseFn my_oparse;
    OciOpinitFn my_opinit;
};

// Written only by LoadOracleDll and UnloadOracleDll on the host's thread, before any
// other thread uses it and after every such thread has ended.
extern OracleFunctions gFuncs;

// Loads "oci.dll", or else "ociw32.dll", and resolves every entry point. On failure
// (neither library loads, or one lacks an entry point) error receives message -95022,
// nothing stays loaded and the result is -1; 0 on success.
int LoadOracleDll(std::string &error);

// True when the client installation's registry key exists; otherwise error receives
// message -95021.
bool IsOracleInstalled(std::string &error);

// Initialises the client in its thread-safe mode once per process.
void InitOciOnce();

// Unloads the client library if one is loaded and clears gFuncs.
void UnloadOracleDll();

// True once the client has been initialised in this process.
bool IsOciInitialised();
