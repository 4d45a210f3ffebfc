#pragma once
// A mission script's handles on the world's records: space objects, nav
// points, nav proxies and tractor connections. Scripts may keep a handle past
// the event that gave it to them, while the world deletes records and starts
// new games at will, so a handle holds no pointer: it keeps what names the
// record and finds it anew at each use. Once the record is gone every use
// raises a Python ReferenceError instead of reaching freed memory.

#include <cstdint>
#include <stdexcept>

class SpaceObject;
struct Navpoint;
struct NavProxy;
struct TractorConnection;

// The script used a handle whose record the world has let go of.
class StaleScriptReference : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SpaceObjectRef {
public:
    // The object of the id in the current world; the caller has checked it
    // exists.
    explicit SpaceObjectRef(uint64_t id);

    // The live object, in normal space or on standby; throws
    // StaleScriptReference when it is gone.
    SpaceObject& Get() const;
    uint64_t Id() const { return id; }

private:
    uint64_t id;
    uint64_t runCount;  // the world's run the object belongs to
};

// Nav ids are never issued twice by the server, and nav signs outlast a new
// run, so the id alone names the record.
class NavpointRef {
public:
    explicit NavpointRef(int32_t id) : id(id) {}
    Navpoint& Get() const;
    int32_t Id() const { return id; }

private:
    int32_t id;
};

class NavProxyRef {
public:
    explicit NavProxyRef(int32_t id) : id(id) {}
    NavProxy& Get() const;

private:
    int32_t id;
};

// The connection between the two objects of the world's run it was made in
// (a new run issues the same object ids again).
class TractorConnectionRef {
public:
    TractorConnectionRef(uint64_t sourceId, uint64_t targetId);
    TractorConnection& Get() const;

private:
    uint64_t sourceId;
    uint64_t targetId;
    uint64_t runCount;
};
