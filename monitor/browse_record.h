// Turning a picked measurement into the BrowseRecord that the host keeps.
#pragma once

#include "include/dbgauge.h"
#include "objects/object_info.h"

#include <string>

struct BrowseState;

// The online presentation name: catalogue message -95004 (rate counter) or -95005 (any
// other) of "counter (object instance)", cut to 511 characters.
std::string PresentationName(const std::string &object, const std::string &counter,
                             const std::string &instance);

// The configured description of counter, or the default description (message -95003).
std::string DescriptionOf(const std::string &counter);

// Fills every field of record from the picked-measurement key: the value string, the
// presentation name, the description, the browse's logon string, the constant 3, the
// logon string of the connection in use (empty when none is in use) and the rate flag.
void BuildBrowseRecord(BrowseRecord &record, const std::string &key, const BrowseState &browse,
                       const ObjectList &objects);
