#pragma once
// What a mission may give a console: the names of the widgets a console can
// show, each with the line that data/GUIWidgetList.txt and the mission
// author's guide show beside it, and the words in a console's name that give
// the console a role. The console boxes draw the widgets of these names; the
// mission's console functions check the names it passes against them.

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct ConsoleWidgetName {
    const char* name;
    const char* documentation;
};

// Every widget a console can show, in byte order of the names.
std::span<const ConsoleWidgetName> ConsoleWidgetNames();
bool IsConsoleWidgetName(std::string_view name);

// A word that, found in a console's name, gives the console a role.
struct ConsoleNameWord {
    const char* word;
    const char* role;  // what the console is then, as a noun phrase
    bool anyCase;      // false: found only as written, in lower case
};

// The words the game looks for in a console's name.
std::span<const ConsoleNameWord> ConsoleNameWords();

// The words a console's name misses only by its letter case, so the console
// does not get the role the mission surely meant ("Science" holds no "sci").
std::vector<const ConsoleNameWord*> WordsMissedByCase(const std::string& consoleName);
