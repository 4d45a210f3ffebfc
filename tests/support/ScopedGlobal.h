#pragma once
// Publishes an object through one of the game's global pointers (gInputFactory,
// gMusicControl, ...) for the length of a scope, and puts back what was there.

namespace qeltest {

template <typename T>
class ScopedGlobal {
public:
    ScopedGlobal(T*& global, T& value) : global(global), previous(global) { global = &value; }
    ~ScopedGlobal() { global = previous; }
    ScopedGlobal(const ScopedGlobal&) = delete;
    ScopedGlobal& operator=(const ScopedGlobal&) = delete;

private:
    T*& global;
    T* previous;
};

}  // namespace qeltest
