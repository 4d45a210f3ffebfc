#include "game/shell/ScriptHotKeys.h"

#include "game/ui/KeyNames.h"
#include "game/ui/KeyVal.h"

int32_t ScriptHotKeys::KeyCodeOfTag(const std::string& keyTag) const
{
    return keyTagToCode(keyTag);
}

void ScriptHotKeys::Register(const std::string& context, const std::string& name, int32_t keyCode,
                             const std::string& description)
{
    isHotKeyPressed(context, name, keyCode, description);
}
