#include "platform/dynamic_library.h"

#include "platform/paths.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

namespace platform {

namespace {
// dlerror() text of the last failed load on this thread.
thread_local std::string lastLoadError;

std::string MappedName(const char *name) {
    std::string mapped = name;
    const size_t length = mapped.size();
    if (length > 4 && strcasecmp(mapped.c_str() + length - 4, ".dll") == 0)
        mapped = "lib" + mapped.substr(0, length - 4) + ".so";
    return mapped;
}
} // namespace

const char *SharedObjectName(const char *name, char *buffer, unsigned size) {
    std::string mapped = MappedName(name);
    if (size == 0)
        return buffer;
    std::strncpy(buffer, mapped.c_str(), size - 1);
    buffer[size - 1] = '\0';
    return buffer;
}

LibraryHandle os_load_library(const char *name) {
    if (name == nullptr || *name == '\0') {
        lastLoadError = "no library name given";
        return nullptr;
    }
    const std::string fileName = MappedName(name);
    std::string target = fileName;
    if (fileName.find('/') == std::string::npos) {
        // Our own directory first, so that an installation finds the client library it
        // was installed with before anything on the loader's path.
        std::string beside = ModuleDirectory() + "/" + fileName;
        if (access(beside.c_str(), F_OK) == 0)
            target = beside;
    }
    dlerror();
    void *handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char *reason = dlerror();
        lastLoadError = reason ? reason : (fileName + ": cannot be loaded");
    }
    return handle;
}

void *os_get_proc_address(LibraryHandle handle, const char *name) {
    if (handle == nullptr || name == nullptr)
        return nullptr;
    dlerror();
    return dlsym(handle, name);
}

void os_unload_library(LibraryHandle handle) {
    if (handle != nullptr)
        dlclose(handle);
}

char *os_dynam_error_text() { return strdup(lastLoadError.c_str()); }

void os_dynam_free_error_text(char *text) { std::free(text); }

} // namespace platform
