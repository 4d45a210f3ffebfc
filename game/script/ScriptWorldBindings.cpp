// The object classes of module zmx: object data sets and space objects. Every
// handle finds its record anew at each use, so a script that keeps one past
// the record's life gets a ReferenceError, never freed memory.

#include "game/script/ScriptBindings.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptDataSet.h"
#include "game/script/ScriptObjectRef.h"
#include "game/script/ScriptValue.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

namespace zmx {
namespace {

using Vec3 = ScriptValue<glm::vec3>;
using Quaternion = ScriptValue<glm::quat>;

// ---- object_data_set ----

// What a script may store: texts must fit in the message that replicates them.
template <typename Value>
void CheckStoredValue(const Value&)
{
}

template <>
void CheckStoredValue<std::string>(const std::string& value)
{
    CheckTextFits(value, "object_data_set.set");
}

template <typename Value>
using ByIndexString =
    uint64_t (ObjectDataBlob::*)(std::string_view, Value, std::string_view, std::string_view);
template <typename Value>
using ByIndex = uint64_t (ObjectDataBlob::*)(std::string_view, Value, int32_t, std::string_view);
template <typename Value>
using ById = uint64_t (ObjectDataBlob::*)(uint64_t, Value, int32_t);

// This form runs only when a script passes an index string (so indexStr has
// no default); without one the by-index form runs.
template <typename Value>
void DefineSetByIndexString(py::class_<ScriptDataSet>& type, ByIndexString<Value> setter, const char* doc)
{
    type.def(
        "set",
        [setter](ScriptDataSet& self, const std::string& tag, const Value& in, const std::string& indexStr,
                 const std::string& extraDocText) {
            CheckStoredValue(in);
            return (self.Get().*setter)(tag, in, indexStr, extraDocText);
        },
        doc, py::arg("tag"), py::arg("in"), py::arg("indexStr"), py::arg("extraDocText") = "a");
}

template <typename Value>
void DefineSetByIndex(py::class_<ScriptDataSet>& type, ByIndex<Value> setter, const char* doc)
{
    type.def(
        "set",
        [setter](ScriptDataSet& self, const std::string& tag, const Value& in, int32_t index,
                 const std::string& extraDocText) {
            CheckStoredValue(in);
            return (self.Get().*setter)(tag, in, index, extraDocText);
        },
        doc, py::arg("tag"), py::arg("in"), py::arg("index") = 0, py::arg("extraDocText") = "a");
}

template <typename Value>
void DefineSetById(py::class_<ScriptDataSet>& type, ById<Value> setter, const char* doc)
{
    type.def(
        "set",
        [setter](ScriptDataSet& self, uint64_t tagKey, const Value& in, int32_t index) {
            CheckStoredValue(in);
            return (self.Get().*setter)(tagKey, in, index);
        },
        doc);
}

// An element as its type reads: int, float, str, or None when never set.
py::object ElementValue(const ObjectDataBlobElement* element)
{
    if (!element)
        return py::none();
    switch (element->dataType) {
    case ODBE_INT:
        return py::int_(element->intValue);
    case ODBE_UINT64:
        return py::int_(element->uintValue);
    case ODBE_FLOAT:
        return py::float_(element->floatValue);
    case ODBE_STRING:
        return py::str(element->stringValue);
    default:
        return py::none();
    }
}

// ---- space_object ----

// Any int fits the field it was converted for; a float must be finite.
void CheckFieldValue(int32_t, const char*)
{
}

void CheckFieldValue(float value, const char* name)
{
    CheckFinite(value, name);
}

// A property over one plain field of the object.
template <typename Field>
void DefineField(py::class_<SpaceObjectRef>& type, const char* name, Field SpaceObject::*field, const char* doc)
{
    type.def_property(
        name, [field](const SpaceObjectRef& self) { return self.Get().*field; },
        [field, name](const SpaceObjectRef& self, Field value) {
            CheckFieldValue(value, name);
            self.Get().*field = value;
        },
        doc);
}

// The vector or quaternion a script assigns; None, and a NaN or infinite
// component, are refused before anything changes.
template <typename Holder>
auto Required(const Holder* value, const char* name)
{
    if (!value)
        throw py::type_error(std::string(name) + ": None given where a value is needed; nothing changed");
    const auto given = value->Get();
    if (!AllFinite(given))
        throw py::value_error(std::string(name) + ": a component is not a finite number; nothing changed");
    return given;
}

void DefineDirection(py::class_<SpaceObjectRef>& type, const char* name, glm::vec3 (SpaceObject::*direction)() const)
{
    type.def(
        name, [direction](const SpaceObjectRef& self) { return Vec3((self.Get().*direction)()); },
        "returns a vec3, a vector direction, related to which way the space object is oriented");
}

}  // namespace

void DefineObjectDataSet(py::module_& m)
{
    py::class_<ScriptDataSet> type(m, "object_data_set");
    DefineSetByIndexString<int32_t>(type, &ObjectDataBlob::SetIntByIndexString,
                                    "Set an int value, by name AND index string");
    DefineSetByIndexString<int64_t>(type, &ObjectDataBlob::SetInt64ByIndexString,
                                    "Set an int64 value, by name AND index string");
    DefineSetByIndexString<uint64_t>(type, &ObjectDataBlob::SetUInt64ByIndexString,
                                     "Set a uint64 value, by name AND index string");
    DefineSetByIndexString<float>(type, &ObjectDataBlob::SetFloatByIndexString,
                                  "Set a float value, by name AND index string");
    DefineSetByIndexString<std::string>(type, &ObjectDataBlob::SetStringByIndexString,
                                        "Set a string value, by name AND index string");
    DefineSetByIndex<int32_t>(type, &ObjectDataBlob::SetInt, "Set an int value, by name");
    DefineSetByIndex<int64_t>(type, &ObjectDataBlob::SetInt64, "Set an int64 value, by name");
    DefineSetByIndex<uint64_t>(type, &ObjectDataBlob::SetUInt64, "Set a uint64 value, by name");
    DefineSetByIndex<float>(type, &ObjectDataBlob::SetFloat, "Set a float value, by name");
    DefineSetByIndex<std::string>(type, &ObjectDataBlob::SetString, "Set a string value, by name");
    DefineSetById<int32_t>(type, &ObjectDataBlob::SetIntById, "Set an int value, by ID");
    DefineSetById<int64_t>(type, &ObjectDataBlob::SetInt64ById, "Set an int64 value, by ID");
    DefineSetById<uint64_t>(type, &ObjectDataBlob::SetUInt64ById, "Set a uint64 value, by ID");
    DefineSetById<float>(type, &ObjectDataBlob::SetFloatById, "Set a float value, by ID");
    DefineSetById<std::string>(type, &ObjectDataBlob::SetStringById, "Set a string value, by ID");

    type.def(
            "get",
            [](ScriptDataSet& self, const std::string& tag, const std::string& indexStr) {
                return ElementValue(&self.Get().GetElementByIndexString(tag, indexStr));
            },
            "Get a value, by name")
        .def(
            "get",
            [](ScriptDataSet& self, const std::string& tag, int32_t index) {
                return ElementValue(&self.Get().GetElement(tag, index));
            },
            "Get a value, by name")
        .def(
            "get",
            [](ScriptDataSet& self, uint64_t tagKey, int32_t index) {
                return ElementValue(&self.Get().GetElementById(tagKey, index));
            },
            "Get a value, by ID")
        .def(
            "num_elements", [](ScriptDataSet& self, const std::string& tag) { return self.Get().NumElements(tag); },
            "get the number of elements in this blob value (that were previously added by index)")
        .def(
            "clear_data", [](ScriptDataSet& self, const std::string& tag) { self.Get().ClearData(tag); },
            "deletes all elements in this blob value")
        .def(
            "get_first",
            [](ScriptDataSet& self, const std::string& tag) { return ElementValue(self.Get().First(tag)); },
            "Get the first iterator value of the map in this element")
        .def(
            "get_next", [](ScriptDataSet& self, const std::string&) { return ElementValue(self.Get().Next()); },
            "Get the next iterator value of the map in this element; a NULL means the end of the list");
}

void DefineSpaceObject(py::module_& m)
{
    // The words the modules have always carried, then the names as a mission
    // passes them, from the table the world looks them up in.
    const std::string availableModules = "current available behavior modules : nebula, npcship, asteroid, "
                                         "playership, station\nnames to pass: " + BehaviourNames();
    const std::string behaviourDoc = "set name of behavior module\n" + availableModules;
    const std::string tickTypeDoc = "string, name of behavior module\n" + availableModules;
    const std::string shipDataDoc = std::string("string, name of data entry in shipData.json\n") + kShipFilesHelp;
    constexpr const char* kSteerDoc =
        "float, continuing change to heading and orientation of this object, over time";

    py::class_<SpaceObjectRef> type(m, "space_object");
    type.def_property(
        "abits", [](const SpaceObjectRef& self) { return self.Get().abits; },
        [](const SpaceObjectRef& self, uint16_t value) { self.Get().abits = value; },
        "unsigned 16-bit bitfield for filtering.  bits 0-3 is reserved by c++. bit 0, if set, means that "
                "this object is unmoving and static (nebula, asteroid, black hole, etc)");
    type.def_property(
            "pos",
            [](const SpaceObjectRef& self) {
                self.Get();
                return Vec3(Vec3::FieldLookup([self]() -> glm::vec3& { return self.Get().pos; }));
            },
            [](const SpaceObjectRef& self, const Vec3* value) { self.Get().pos = Required(value, "pos"); },
            "vec3, position in space")
        .def_property_readonly(
            "unique_ID", [](const SpaceObjectRef& self) { return self.Get().uniqueID; },
            "uint64, read only, id of this particular object")
        .def_property_readonly(
            "data_set",
            [](const SpaceObjectRef& self) {
                self.Get();
                return ScriptDataSet([self]() -> ObjectDataBlob& { return self.Get().data_set; });
            },
            "object_data_set, read only, refernce to the object_data_set of this particular object")
        .def_property_readonly(
            "tick_type", [](const SpaceObjectRef& self) { return py::str(self.Get().tick_type); },
            tickTypeDoc.c_str())
        .def_property_readonly(
            "tick_type_ID", [](const SpaceObjectRef& self) { return self.Get().tick_type_ID; },
            "int32, read only, internal representation of tick_type");
    DefineTextField(type, "data_tag", &SpaceObject::data_tag, shipDataDoc.c_str());
    DefineTextField(type, "ship_data_key", &SpaceObject::data_tag, shipDataDoc.c_str());
    DefineField(type, "blink_state", &SpaceObject::blink_state,
                "int, positive numbers are pulse delay, negative numbers are blink delay, 0 = normal, -1 = glow off");
    DefineField(type, "cur_speed", &SpaceObject::cur_speed, "float, speed of object");
    DefineField(type, "exclusion_radius", &SpaceObject::exclusion_radius,
                "float, other objects cannot be closer to me than this distance");
    DefineField(type, "fat_radius", &SpaceObject::fat_radius,
                "float, radius of box for internal sorting calculations");
    type.def_property(
        "rot_quat",
        [](const SpaceObjectRef& self) {
            self.Get();
            return Quaternion(Quaternion::FieldLookup([self]() -> glm::quat& { return self.Get().rot_quat; }));
        },
        [](const SpaceObjectRef& self, const Quaternion* value) {
            self.Get().rot_quat = Required(value, "rot_quat");
        },
        "quaternion, heading and orientation of this object");
    DefineField(type, "steer_yaw", &SpaceObject::steer_yaw, kSteerDoc);
    DefineField(type, "steer_pitch", &SpaceObject::steer_pitch, kSteerDoc);
    DefineField(type, "steer_roll", &SpaceObject::steer_roll, kSteerDoc);
    DefineTextField(type, "side", &SpaceObject::side,
                    "string, friendly to other objects on this same side; leave empty for 'no side'");
    type.def(
        "set_behavior",
        [](const SpaceObjectRef& self, const std::string& name) {
            CheckTextFits(name, "set_behavior");
            SpaceObject& object = self.Get();
            WarnOfUnknownBehaviour(name, "set_behavior", "name");
            object.SetBehavior(*theMissionScript.World(), name);
        },
        behaviourDoc.c_str());
    DefineDirection(type, "forward_vector", &SpaceObject::ForwardVector);
    DefineDirection(type, "right_vector", &SpaceObject::RightVector);
    DefineDirection(type, "up_vector", &SpaceObject::UpVector);
}

py::object WorldForScripts()
{
    Simulation* world = theMissionScript.World();
    if (!world)
        return py::none();
    return py::cast(world, py::return_value_policy::reference);
}

py::object SpaceObjectForScripts(uint64_t id)
{
    if (!VALID_SPACE_OBJ(id))
        throw py::value_error("not a space object id");
    const Simulation* world = theMissionScript.World();
    if (!world || !world->GetSpaceObject(id))
        return py::none();
    return py::cast(SpaceObjectRef(id));
}

}  // namespace zmx
