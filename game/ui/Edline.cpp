#include "game/ui/Edline.h"

#include <algorithm>
#include <string_view>
#include <utility>

Edline::Edline(int32_t fieldId, std::string fontTag, int32_t maxCharacters)
    : capacity(std::max(maxCharacters, 0)), id(fieldId), font(std::move(fontTag))
{
}

void Edline::SetText(const std::string& newText)
{
    text = newText.substr(0, static_cast<size_t>(capacity));
    cursor = 0;
    firstVisible = 0;
    changed = false;
    historyPosition = -1;
}

// Compared as SetText would store it, so a text longer than the capacity
// does not count as different every frame.
void Edline::SyncText(const std::string& newText)
{
    if (std::string_view(newText).substr(0, static_cast<size_t>(capacity)) != text)
        SetText(newText);
}
