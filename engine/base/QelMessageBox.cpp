#include "engine/base/QelMessageBox.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Set and cleared on the main thread; read wherever an error is shown.
std::atomic<QelMessageBoxShower> shower{nullptr};

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// One line of the text, without its line break, wrapped onto out.
void WrapLine(const std::string& line, size_t columns, std::string& out)
{
    size_t start = 0;
    while (line.size() - start > columns) {
        size_t cut = line.rfind(' ', start + columns);
        if (cut == std::string::npos || cut <= start)
            cut = line.find(' ', start + columns);
        if (cut == std::string::npos)
            break;
        out.append(line, start, cut - start);
        out += '\n';
        start = cut + 1;
    }
    out.append(line, start, std::string::npos);
}

}  // namespace

std::string WrapMessageText(const std::string& text, size_t columns)
{
    std::string out;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        WrapLine(text.substr(start, end == std::string::npos ? std::string::npos : end - start), columns, out);
        if (end == std::string::npos)
            return out;
        out += '\n';
        start = end + 1;
    }
}

bool NamesADisplay()
{
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

bool IsNonInteractiveRun()
{
    const char* flag = std::getenv("QEL_NONINTERACTIVE");
    if (flag != nullptr && std::strcmp(flag, "1") == 0)
        return true;
    return !NamesADisplay();
}

void PrintQelMessageBox(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

void ShowQelMessageBox(const std::string& caption, const std::string& text, QelMessageBoxKind kind,
                       SDL_Window* owner)
{
    if (QelMessageBoxShower show = shower.load())
        show(caption, text, kind, owner);
    else
        PrintQelMessageBox(caption, text);
}

void SetQelMessageBoxShower(QelMessageBoxShower newShower)
{
    shower.store(newShower);
}
