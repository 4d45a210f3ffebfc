#include "game/ui/TextLog.h"

#include <utility>

TextLog theConsoleLog;
TextLog theMessageLog;

void TextLog::Add(const glm::vec4& colour, std::string text)
{
    lines_.push_back(TextLogLine{std::move(text), colour});
    while (lines_.size() > kMaxLines)
        lines_.pop_front();
}
