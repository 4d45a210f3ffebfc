#pragma once
// The parts of module zmx, defined in a few translation units (each binding
// file is slow to compile) and put together in the order the module's help
// text shows them. Only the script host and the binding files include this.

#include "game/script/ScriptObjectRef.h"
#include "game/script/ScriptValue.h"
#include "game/world/FiniteMath.h"

#include <pybind11/pybind11.h>

#include <glm/vec3.hpp>

#include <cmath>
#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zmx {

namespace py = pybind11;

// Registers zmx in the interpreter's table of built-in modules; once per
// process, before the first interpreter starts.
void RegisterModule();

// Class definitions, in module order.
void DefineWriter(py::module_& m);
// tractor_connection takes its place before the vector types and its members
// after them, so its documentation names them.
void DeclareTractorConnection(py::module_& m);
void DefineVectors(py::module_& m);  // vec2, vec3, vec4, quaternion
// tractor_connection's members, navpoint and navproxy.
void DefineRecordClasses(py::module_& m);
void DefineGridObject(py::module_& m);
void DefineHullMap(py::module_& m);
void DefineEvent(py::module_& m);
void DefineObjectDataSet(py::module_& m);
void DefineSpaceObject(py::module_& m);
void DefineSimulation(py::module_& m);
// The two enumerations, SHPSYS then DIPLOMACY, exported into the module.
void DefineEnums(py::module_& m);

// The module functions by name. Each family of functions adds its own; the
// module then defines them in the one order its documentation shows, between
// the classes and the enumerations. A function defined without keyword names
// takes its arguments by position only. Hidden, as the pybind11 types it holds are.
class [[gnu::visibility("hidden")]] FunctionTable {
public:
    template <typename Function, typename... Extra>
    void Add(const char* name, Function&& function, const Extra&... extra)
    {
        AddDefiner(name, [name, function = std::forward<Function>(function), extra...](py::module_& m) {
            m.def(name, function, extra...);
        });
    }
    void DefineInOrder(py::module_& m) const;

private:
    void AddDefiner(const char* name, std::function<void(py::module_&)> definer);
    std::map<std::string, std::function<void(py::module_&)>> definers;
};

// The families of module functions.
void AddSimulationFunctions(FunctionTable& table);  // world control, version, screen size, clocks, preferences
void AddSpaceFunctions(FunctionTable& table);       // deleting, distances, area queries, standby
void AddClientFunctions(FunctionTable& table);      // consoles, their screens and strings
void AddGridFunctions(FunctionTable& table);        // ship interiors
void AddMessageFunctions(FunctionTable& table);     // text messages, comms, info lists, text measures
void AddEffectsFunctions(FunctionTable& table);     // music, sounds, lights, particles, sky, beams, views
void AddGuiFunctions(FunctionTable& table);         // retained GUI widgets, trees, hot keys, story dialogs

// The world as the handler's first argument: a reference to the live
// simulation, or None when there is none.
py::object WorldForScripts();
// A space_object handle on the object of the id, or None when there is none.
// Raises ValueError for an id of another kind.
py::object SpaceObjectForScripts(uint64_t id);

// A text from a client or the world, as a Python str: bytes that are not
// UTF-8 become replacement characters instead of raising in the mission.
py::str DecodeLenient(const std::string& text);

// Longest text a script may store in a replicated field: it travels in one
// 10000-byte message beside the message key, ids and numbers.
constexpr size_t kMaxScriptTextBytes = 8000;
// Raises ValueError naming the field when the text is longer.
void CheckTextFits(const std::string& text, const char* field);
// The same for texts that travel together in one message: their sum counts.
void CheckTextsFit(std::initializer_list<const std::string*> texts, const char* function);

// Checks of the arguments a script passes, made before anything changes or
// is sent: each raises ValueError naming the function, the argument (when
// given) and the value when the value does not fit.
void RequireClient(uint64_t id, const char* function, const char* argument = nullptr);
void RequireClientOrServer(uint64_t id, const char* function, const char* argument = nullptr);
void RequireSpaceObject(uint64_t id, const char* function, const char* argument = nullptr);
void RequireSpaceObjectOrNone(uint64_t id, const char* function, const char* argument = nullptr);
void RequireGridObjectOrNone(uint64_t id, const char* function, const char* argument = nullptr);
// A client, a ship (for the clients aboard it) or 0.
void RequireClientShipOrServer(uint64_t id, const char* function, const char* argument);
// low <= value <= high (a NaN never is).
[[noreturn]] void RaiseOutside(int64_t value, int64_t low, int64_t high, const char* function, const char* argument);
template <std::integral Integer>
void RequireWithin(Integer value, Integer low, Integer high, const char* function, const char* argument)
{
    if (value < low || value > high)
        RaiseOutside(value, low, high, function, argument);
}
void RequireWithin(float value, float low, float high, const char* function, const char* argument);
// -bound < value < bound.
void RequireBelowInSize(float value, float bound, const char* function, const char* argument);
void RequireFinite(float value, const char* function, const char* argument);
void RequireFinite(const glm::vec3& value, const char* function, const char* argument);
void RequireText(const std::string& text, const char* function, const char* argument);
// A name of a file below the data folder: not empty, not leaving it.
void RequireDataFileName(const std::string& name, const char* function, const char* argument);

// Raises ValueError naming the field when the number is not finite.
void CheckFinite(float value, const char* field);

// Calls that make nothing, or less than the mission surely meant, keep their
// result and say so: one line on the mission's standard error naming the
// call, the argument and what was expected (ScriptWarnings.cpp).
void WarnMission(const std::string& line);
// The behaviour names of the world, "behav_asteroid, behav_drone, ...", for
// help texts and warnings.
std::string BehaviourNames();
// A behaviour name the world does not know: the object does nothing of itself.
void WarnOfUnknownBehaviour(const std::string& name, const char* function, const char* argument);
// A data tag that names no ship definition and no tag the views draw alone.
void WarnOfUnknownShipKey(const std::string& key, const char* function, const char* argument);
// Widget names no console can show; each box would show only its name.
void WarnOfUnknownWidgets(const std::vector<std::string>& names, const char* function, const char* argument);
// A console name that is empty, or that misses a role's word by its letter case.
void WarnOfConsoleName(const std::string& name, const char* function, const char* argument);
// Help lines for the console functions: the widget names a console can show,
// and the words that give a console a role.
std::string WidgetNamesHelp();
std::string ConsoleNameHelp();
// Help lines after the words that name the files as they once were: where
// the game reads ship definitions and preferences.
inline constexpr const char* kShipFilesHelp =
    "the ship definitions are data/shipData.yaml and the mission's extraShipData.json";
inline constexpr const char* kPreferencesHelp = "the preferences are data/preferences.yaml";

// A read-write str property over one text field of the record a handle finds
// (Handle::Get). The text travels to the consoles in one message, so a longer
// one raises ValueError.
template <typename Handle, typename Record>
void DefineTextField(py::class_<Handle>& type, const char* name, std::string Record::*field, const char* doc)
{
    type.def_property(
        name, [field](const Handle& self) { return py::str(self.Get().*field); },
        [field, name](const Handle& self, const std::string& value) {
            CheckTextFits(value, name);
            self.Get().*field = value;
        },
        doc);
}

// The object a script passed; None raises TypeError naming the function.
SpaceObjectRef& RequireObject(SpaceObjectRef* object, const char* function);
// The vector a script passed; None raises TypeError naming the function.
glm::vec3 RequireVector(const ScriptValue<glm::vec3>* value, const char* function);

}  // namespace zmx
