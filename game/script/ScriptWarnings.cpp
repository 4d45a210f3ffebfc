// What the module's functions say when a call makes nothing, or less than
// the mission surely meant: a behaviour or ship the world does not know, a
// widget no console can show, a console name that misses its role. The call
// keeps its result; one line on the mission's standard error names the call,
// the argument and what was expected, among the mission's own output.

#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/ConsoleCatalogue.h"
#include "game/script/ScriptBindings.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ShipData.h"
#include "helper/GeneralUtils.h"

#include <algorithm>

namespace zmx {
namespace {

template <typename Range, typename Text>
std::string Joined(const Range& items, Text&& text)
{
    std::string joined;
    for (const auto& item : items)
        joined += (joined.empty() ? "" : ", ") + std::string(text(item));
    return joined;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Opening(const char* function, const char* argument, const std::string& value)
{
    return std::string(function) + ": " + argument + " " + Quoted(value);
}

}  // namespace

void WarnMission(const std::string& line)
{
    // Through sys.stderr, so the line stands among the mission's own output;
    // a stream the mission broke loses the line, never the call.
    PySys_FormatStderr("%s\n", line.c_str());
}

std::string BehaviourNames()
{
    RegisterBehaviourHooks();
    return Joined(AIHookMap().Names(), [](const std::string& name) { return name; });
}

void WarnOfUnknownBehaviour(const std::string& name, const char* function, const char* argument)
{
    RegisterBehaviourHooks();
    if (AIHookMap().Knows(name))
        return;
    WarnMission(Opening(function, argument, name) + " is no behaviour name; expected one of " + BehaviourNames() +
                "; the object does nothing of itself.");
}

void WarnOfUnknownShipKey(const std::string& key, const char* function, const char* argument)
{
    const std::string tag = LowerCaseAscii(key);
    const auto& alone = ShipData::kTagsWithoutRecord;
    if (ShipData::Instance().FindDefined(tag) || std::find(alone.begin(), alone.end(), tag) != alone.end())
        return;
    WarnMission(Opening(function, argument, key) +
                " names no ship of shipData.yaml or the mission's extraShipData.json; expected a hull key such as "
                "\"tern_frigate\", or one of " +
                Joined(alone, [](const char* name) { return name; }) +
                "; the object has no size and shows as an unknown contact.");
}

void WarnOfUnknownWidgets(const std::vector<std::string>& names, const char* function, const char* argument)
{
    std::vector<std::string> unknown;
    std::copy_if(names.begin(), names.end(), std::back_inserter(unknown),
                 [](const std::string& name) { return !IsConsoleWidgetName(name); });
    if (unknown.empty())
        return;
    WarnMission(std::string(function) + ": " + argument + " names " + Joined(unknown, Quoted) +
                ", which no console can show; expected widget names as help(zmx.send_client_widget_list) lists "
                "them; such a box shows only the name.");
}

void WarnOfConsoleName(const std::string& name, const char* function, const char* argument)
{
    if (name.empty()) {
        WarnMission(std::string(function) + ": " + argument +
                    " is empty; expected the console's name, such as \"helm\" or \"science\"; the console's boxes "
                    "are kept under no name.");
        return;
    }
    for (const ConsoleNameWord* word : WordsMissedByCase(name)) {
        WarnMission(Opening(function, argument, name) + " holds " + Quoted(word->word) +
                    " only in other letters; the game looks for it in lower case, so this console is not " +
                    word->role + ".");
    }
}

std::string WidgetNamesHelp()
{
    return "widget names: " + Joined(ConsoleWidgetNames(), [](const ConsoleWidgetName& widget) {
               return widget.name;
           });
}

std::string ConsoleNameHelp()
{
    return "console names: any; a name holding " +
           Joined(ConsoleNameWords(), [](const ConsoleNameWord& word) { return Quoted(word.word); }) +
           " (in lower case) gives the console that word's role";
}

}  // namespace zmx
