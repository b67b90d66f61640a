#include "objects/object_info.h"

#include "objects/custom_object.h"
#include "objects/statistics_objects.h"
#include "support/config_file.h"
#include "support/errors.h"

#include <algorithm>
#include <cstring>

CObjectInfo::CObjectInfo(std::string name, const ObjectSources &sources)
    : name_(std::move(name)), sources_(sources) {}

CObjectInfo::~CObjectInfo() = default;

bool CObjectInfo::CanMeasure(const std::string &, const std::string &) { return true; }

const std::vector<std::string> &CObjectInfo::Counters() {
    if (!countersLoaded_)
        LoadCounters();
    return counters_;
}

const std::vector<std::string> &CObjectInfo::Instances() {
    if (!instancesLoaded_)
        LoadInstances();
    return instances_;
}

size_t CObjectInfo::CounterPosition(std::string_view counter) {
    const std::vector<std::string> &counters = Counters();
    const auto found = counterIndex_.find(counter);
    return found == counterIndex_.end() ? counters.size() : found->second;
}

void CObjectInfo::DropLists() {
    countersLoaded_ = false;
    counterIndex_.clear();
    counters_.clear();
    instancesLoaded_ = false;
    instances_.clear();
}

void CObjectInfo::SetCounters(std::vector<std::string> counters) {
    counterIndex_.clear();
    counters_ = std::move(counters);
    counterIndex_.reserve(counters_.size());
    // emplace keeps the first position of a name that occurs twice.
    for (size_t i = 0; i < counters_.size(); ++i)
        counterIndex_.emplace(counters_[i], i);
    countersLoaded_ = true;
}

void CObjectInfo::SetInstances(std::vector<std::string> instances) {
    instances_ = std::move(instances);
    instancesLoaded_ = true;
}

CObjectInfo *CreateObjectInfo(ObjectList &objects, const char *typeName,
                              const ObjectSources &sources) {
    const std::string_view type = typeName != nullptr ? typeName : "";
    std::unique_ptr<CObjectInfo> object;
    if (type == "V$SYSSTAT")
        object = std::make_unique<CVSYSSTATInfo>(sources);
    else if (type == "V$SESSTAT")
        object = std::make_unique<CVSESSTATInfo>(sources);
    else if (type == "CUSTOM")
        object = std::make_unique<CCUSTOMInfo>(sources);
    if (!object) {
        ReportError("Undefined object type");
        return nullptr;
    }
    objects.push_back(std::move(object));
    return objects.back().get();
}

CObjectInfo *FindObjectInfo(const ObjectList &objects, std::string_view name) {
    for (const auto &object : objects) {
        if (object && object->name() == name)
            return object.get();
    }
    return nullptr;
}

bool BuildValueString(const ObjectList &objects, const char *object, const char *counter,
                      const char *instance, char *dst, size_t len) {
    CObjectInfo *info = FindObjectInfo(objects, object != nullptr ? object : "");
    if (info == nullptr) {
        if (dst != nullptr)
            dst[0] = '\0';
        return false;
    }
    const std::string counterName = counter != nullptr ? counter : "";
    const std::string statement =
        info->GetValueQuery(counterName, instance != nullptr ? instance : "");
    std::string value = IsRateCounter(counterName) ? "2" : "1";
    value += statement;
    const size_t kept = std::min(len, value.size());
    std::memcpy(dst, value.data(), kept);
    dst[kept] = '\0';
    return true;
}

void DestroyObjects(ObjectList &objects) {
    for (auto &object : objects)
        object.reset();
    objects.clear();
}
