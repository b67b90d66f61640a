// The object "CUSTOM": user-defined SQL counters from the configuration file. Counter j
// is section "Custom<j>" (keys Name and Query) for j below "CustomCounters" of the
// monitor section; the object has one instance, named by catalogue message -95006.
// Every statement is read from the configuration afresh; nothing is cached.
#pragma once

#include "objects/object_info.h"

class CCUSTOMInfo : public CObjectInfo {
public:
    explicit CCUSTOMInfo(const ObjectSources &sources) : CObjectInfo("CUSTOM", sources) {}
    // The Query of the first section whose Name equals counter, or "ERROR" when none does.
    std::string GetValueQuery(const std::string &counter, const std::string &instance) override;
    // Test-runs the counter's query on the connection in use: it must be one SELECT that
    // yields one row of one numeric column. A refusal is reported through ReportError
    // with the message that says what is wrong, and the result is false.
    bool CanMeasure(const std::string &counter, const std::string &instance) override;
    void LoadCounters() override;
    void LoadInstances() override;

private:
    int SectionCount() const;
    // Finds the first section named counter and reads its Query (at most limit
    // characters) into query. False when no section has that name.
    bool FindQuery(const std::string &counter, size_t limit, std::string &query) const;
};
