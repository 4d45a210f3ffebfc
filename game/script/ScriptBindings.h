#pragma once
// The parts of module zmx, defined in a few translation units (each binding
// file is slow to compile) and put together in the order the module's help
// text shows them. Only the script host and the binding files include this.

#include "game/script/ScriptObjectRef.h"
#include "game/world/FiniteMath.h"

#include <pybind11/pybind11.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

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
void AddSimulationFunctions(FunctionTable& table);  // world control, version, screen size, clocks
void AddSpaceFunctions(FunctionTable& table);       // deleting, distances, area queries, standby
void AddClientFunctions(FunctionTable& table);      // consoles, their screens and strings
void AddGridFunctions(FunctionTable& table);        // ship interiors

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

// Checks of the ids a script passes, made before anything changes: each
// raises ValueError naming the function and the id when the id is of the
// wrong kind.
void RequireClient(uint64_t id, const char* function);
void RequireClientOrServer(uint64_t id, const char* function);
void RequireSpaceObject(uint64_t id, const char* function);
void RequireSpaceObjectOrNone(uint64_t id, const char* function);
void RequireGridObjectOrNone(uint64_t id, const char* function);

// Raises ValueError naming the field when the number is not finite.
void CheckFinite(float value, const char* field);

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

}  // namespace zmx
