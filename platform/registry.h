// Registry key presence test. A key is a directory under the registry root:
// HKEY_LOCAL_MACHINE\SOFTWARE\ORACLE is <root>/HKEY_LOCAL_MACHINE/SOFTWARE/ORACLE.
// The root is $DBGAUGE_REGISTRY, or <directory of this library>/../etc/registry.
#pragma once

#include <string>

namespace platform {

std::string RegistryRoot();

// True when the key directory exists. hive is a name such as "HKEY_LOCAL_MACHINE",
// subKey uses '\' separators ("SOFTWARE\\ORACLE").
bool RegistryKeyExists(const char *hive, const char *subKey);

} // namespace platform
