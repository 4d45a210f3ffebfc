#pragma once
// What the retained GUI asks of the game's hot keys when a mission adds one
// of its own: the virtual-key code of a "KEY_" tag, and the first query that
// lists the new hot key in the hot-key file. The shell's hot keys implement
// it; a retained GUI without one (the headless server's) stores the code 0
// and lists nothing.

#include <cstdint>
#include <string>

class ScriptHotKeyService {
public:
    virtual ~ScriptHotKeyService() = default;

    // The code of a "KEY_" tag; 0 when no key has that tag.
    virtual int32_t KeyCodeOfTag(const std::string& keyTag) const = 0;

    // Asks for the hot key once, as isHotKeyPressed (context, name, code,
    // description) does, so that it is listed in the hot-key file.
    virtual void Register(const std::string& context, const std::string& name, int32_t keyCode,
                          const std::string& description) = 0;
};
