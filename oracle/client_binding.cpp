#include "oracle/client_binding.h"

#include "platform/dynamic_library.h"
#include "platform/registry.h"
#include "support/message_ids.h"
#include "support/message_text.h"
#include "support/trace.h"

#include <atomic>
#include <string>

OracleFunctions gFuncs{};

namespace {

platform::LibraryHandle clientLibrary = nullptr;
std::atomic<bool> ociInitialised{false};

struct EntryPoint {
    const char *name;
    void **field;
};

// The entry points in the order in which they are resolved.
template <typename Fn> void **Slot(Fn &field) { return reinterpret_cast<void **>(&field); }

const EntryPoint kEntryPoints[] = {
    {"oclose", Slot(gFuncs.my_oclose)}, {"odefin", Slot(gFuncs.my_odefin)},
    {"odescr", Slot(gFuncs.my_odescr)}, {"oerhms", Slot(gFuncs.my_oerhms)},
    {"oexfet", Slot(gFuncs.my_oexfet)}, {"olog", Slot(gFuncs.my_olog)},
    {"ologof", Slot(gFuncs.my_ologof)}, {"oopen", Slot(gFuncs.my_oopen)},
    {"oparse", Slot(gFuncs.my_oparse)}, {"opinit", Slot(gFuncs.my_opinit)},
};

// Puts message -95022 with reason into error and the trace.
void FailLoad(std::string &error, const char *reason) {
    FormatCatalogueMessage(MessageBuffer(), static_cast<int>(kMessageBufferSize),
                           msg::kClientNotLoaded, reason);
    error = MessageBuffer();
    TraceText(error.c_str());
}

} // namespace

int LoadOracleDll(std::string &error) {
    TraceEnter("Load Oracle DLL", nullptr);
    clientLibrary = os_load_library("oci.dll");
    if (clientLibrary == nullptr)
        clientLibrary = os_load_library("ociw32.dll");
    if (clientLibrary == nullptr) {
        char *reason = os_dynam_error_text();
        FailLoad(error, reason ? reason : "");
        os_dynam_free_error_text(reason);
        return -1;
    }
    for (const EntryPoint &entry : kEntryPoints) {
        void *address = os_get_proc_address(clientLibrary, entry.name);
        if (address == nullptr) {
            // A client without every entry point would crash the first call that needs
            // the missing one; refuse it now and leave nothing loaded.
            const std::string reason =
                std::string("the client library has no entry point \"") + entry.name + "\"";
            UnloadOracleDll();
            FailLoad(error, reason.c_str());
            return -1;
        }
        *entry.field = address;
    }
    return 0;
}

bool IsOracleInstalled(std::string &error) {
    if (platform::RegistryKeyExists("HKEY_LOCAL_MACHINE", "SOFTWARE\\ORACLE"))
        return true;
    FormatCatalogueMessage(MessageBuffer(), static_cast<int>(kMessageBufferSize),
                           msg::kClientNotInstalled);
    error = MessageBuffer();
    TraceText(error.c_str());
    return false;
}

void InitOciOnce() {
    if (ociInitialised.exchange(true))
        return;
    if (gFuncs.my_opinit != nullptr)
        gFuncs.my_opinit(1);
}

void UnloadOracleDll() {
    if (clientLibrary != nullptr) {
        os_unload_library(clientLibrary);
        // Cleared so that a later TerminateMonitor never unloads the same handle twice,
        // and so that nothing calls into an unloaded library.
        clientLibrary = nullptr;
        gFuncs = OracleFunctions{};
    }
}

bool IsOciInitialised() { return ociInitialised.load(); }
