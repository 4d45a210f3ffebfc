#pragma once
// The retained GUI's script hot keys on the game's hot keys: a "KEY_" tag is
// read with the key-name table, and a new script hot key is asked for once,
// which lists it in the hot-key file, where a user may bind it anew.

#include "game/guimodel/ScriptHotKeyService.h"

class ScriptHotKeys : public ScriptHotKeyService {
public:
    int32_t KeyCodeOfTag(const std::string& keyTag) const override;
    void Register(const std::string& context, const std::string& name, int32_t keyCode,
                  const std::string& description) override;
};
