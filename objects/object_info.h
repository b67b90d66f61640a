// A performance object: its counters, its instances and the statements that yield their
// values. The classes of the three objects ("V$SYSSTAT", "V$SESSTAT", "CUSTOM") derive
// from it.
//
// Lists are loaded lazily: the first reader of a list runs the object's loader (slot 3
// or 4), which stores what it got and marks the list loaded, also when it got nothing.
// A loaded list stays until DropLists (a successful BrowseMonitor) empties both lists.
// Objects live on the host's thread only; the sampling thread never touches them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class OracleConnection;
struct ConfigStore;

// Where the objects find what they read: the connection in use of the browse state
// (null when none) and the monitor's configuration store. The monitor provides the one
// implementation the library uses; benchmarks and tests may give their own.
class ObjectSources {
public:
    virtual ~ObjectSources() = default;
    virtual OracleConnection *ConnectionInUse() const = 0;
    virtual ConfigStore *Store() const = 0;
};

class CObjectInfo {
public:
    CObjectInfo(std::string name, const ObjectSources &sources);

    // The virtual operations, in slot order.
    // Slot 0: the statement that yields the value of (counter, instance).
    virtual std::string GetValueQuery(const std::string &counter,
                                      const std::string &instance) = 0;
    // Slot 1: whether (counter, instance) can be measured; the base accepts everything.
    virtual bool CanMeasure(const std::string &counter, const std::string &instance);
    // Slot 2.
    virtual ~CObjectInfo();
    // Slot 3 and 4: fill the list (through SetCounters / SetInstances) and mark it loaded.
    virtual void LoadCounters() = 0;
    virtual void LoadInstances() = 0;

    CObjectInfo(const CObjectInfo &) = delete;
    CObjectInfo &operator=(const CObjectInfo &) = delete;

    const std::string &name() const { return name_; }
    bool countersLoaded() const { return countersLoaded_; }
    bool instancesLoaded() const { return instancesLoaded_; }

    // The lists, loaded first when they are not loaded yet.
    const std::vector<std::string> &Counters();
    const std::vector<std::string> &Instances();

    // Position of the first counter of that name, or the number of counters when no
    // counter has it; loads the counters first. Constant time: an index of the names is
    // built with the list and dropped with it.
    size_t CounterPosition(std::string_view counter);

    // Empties both lists and clears both loaded flags.
    void DropLists();

protected:
    // Store a loaded list and mark it loaded.
    void SetCounters(std::vector<std::string> counters);
    void SetInstances(std::vector<std::string> instances);

    OracleConnection *ConnectionInUse() const { return sources_.ConnectionInUse(); }
    ConfigStore *Store() const { return sources_.Store(); }

private:
    std::string name_;
    bool countersLoaded_ = false;
    std::vector<std::string> counters_;
    bool instancesLoaded_ = false;
    std::vector<std::string> instances_;
    // Name -> position of its first occurrence; views into counters_, which does not
    // change while the index exists.
    std::unordered_map<std::string_view, size_t> counterIndex_;
    const ObjectSources &sources_;
};

using ObjectList = std::vector<std::unique_ptr<CObjectInfo>>;

// Creates the object of type "V$SYSSTAT", "V$SESSTAT" or "CUSTOM" and appends it to
// objects. Any other name creates nothing, reports "Undefined object type" and returns
// null.
CObjectInfo *CreateObjectInfo(ObjectList &objects, const char *typeName,
                              const ObjectSources &sources);

// The first object whose name equals name (byte for byte), or null.
CObjectInfo *FindObjectInfo(const ObjectList &objects, std::string_view name);

// Writes the value string of (object, counter, instance) into dst: the mode character
// ("2" for a rate counter, else "1") and the object's statement, at most len characters
// followed by a NUL (dst holds len + 1 bytes). Returns false, writing "" when len allows,
// for an unknown object name.
bool BuildValueString(const ObjectList &objects, const char *object, const char *counter,
                      const char *instance, char *dst, size_t len);

// Destroys every object through its virtual destructor, in list order, and empties the
// list.
void DestroyObjects(ObjectList &objects);
