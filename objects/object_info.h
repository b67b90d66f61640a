// A performance object: its counters, its instances and the statements that yield their
// values. The classes of the three objects derive from it.
#pragma once

class CObjectInfo {
public:
    virtual ~CObjectInfo() = default;
};
