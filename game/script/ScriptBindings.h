#pragma once
// The parts of module zmx, defined in a few translation units (each binding
// file is slow to compile) and put together in the order the module's help
// text shows them. Only the script host and the binding files include this.

#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

namespace zmx {

namespace py = pybind11;

// Registers zmx in the interpreter's table of built-in modules; once per
// process, before the first interpreter starts.
void RegisterModule();

// Class definitions, in module order.
void DefineWriter(py::module_& m);
void DefineVectors(py::module_& m);  // vec2, vec3, vec4, quaternion
void DefineEvent(py::module_& m);
void DefineObjectDataSet(py::module_& m);
void DefineSpaceObject(py::module_& m);
void DefineSimulation(py::module_& m);
// The two enumerations, SHPSYS then DIPLOMACY, exported into the module.
void DefineEnums(py::module_& m);

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

}  // namespace zmx
