// Identifiers of the catalogue messages and the catalogue flags that go with them.
#pragma once

namespace msg {

enum Id : int {
    kNegativeValue = -95001,        // a sampled value or rate is below zero
    kErrorCaption = -95002,         // caption of error message boxes
    kDefaultDescription = -95003,   // description of a counter without one
    kRatePresentationName = -95004, // %1: "counter (object instance)"
    kValuePresentationName = -95005,
    kCustomInstanceName = -95006,
    kCustomQueryParse = -95007,     // %1 counter, %2 query, %3 offset, %4 client error
    kCustomQueryNotSelect = -95008, // %1 counter, %2 query
    kCustomQueryColumns = -95009,   // %1 counter, %2 query
    kCustomQueryNotNumber = -95010, // %1 counter, %2 query, %3 data type code
    kCustomQueryNoRow = -95011,     // %1 counter, %2 query
    kCustomQueryManyRows = -95012,  // %1 counter, %2 query
    kEmptyValueString = -95013,     // a measurement's value string is empty
    kViewsInaccessible = -95014,    // %1 list of views
    kLogonFailed = -95016,          // %1 client error text
    kValueIsNull = -95017,
    kThreadNotStarted = -95018,
    kActivationLogonFailed = -95019, // %1 logon error text
    kNotActivated = -95020,
    kClientNotInstalled = -95021,
    kClientNotLoaded = -95022,       // %1 loader error text
    kChildPathFailed = -95023,
    kChildStartFailed = -95024,
    kChildTimedOut = -95025,
    kChildWaitFailed = -95026,
};

// Catalogue flags: A for error texts, B for captions, names and descriptions.
inline constexpr unsigned kFlagsA = 0x10000000;
inline constexpr unsigned kFlagsB = 0x10100000;

// The flags that go with an identifier.
constexpr unsigned FlagsFor(int id) {
    return (id <= -95002 && id >= -95006) || (id <= -95023 && id >= -95026) ? kFlagsB
                                                                            : kFlagsA;
}

} // namespace msg
