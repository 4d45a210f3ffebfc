#include "game/script/Logger.h"

void Logger::write(const std::string& text)
{
    stream << text;
}

void Logger::flush()
{
    stream.flush();
}

std::string Logger::TakeText()
{
    std::string text = std::move(stream).str();
    stream = std::ostringstream();
    return text;
}
