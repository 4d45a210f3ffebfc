#pragma once
// A mission script's handle on one space object of the world. Scripts may keep
// a handle past the event that gave it to them, while the world deletes
// objects and starts new games at will, so the handle holds no pointer: it
// keeps the object's id and the world's run, and finds the object anew at each
// use. Once the object is gone, or a new world has begun, every use raises a
// Python ReferenceError instead of reaching freed memory.

#include <cstdint>
#include <stdexcept>

class SpaceObject;

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
