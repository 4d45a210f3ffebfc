// The value classes of module zmx: the output writer, vectors and quaternions,
// the event record, and the two enumerations.

#include "game/script/Logger.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptValue.h"
#include "game/world/EventMessage.h"
#include "game/world/WorldEnums.h"

#include <pybind11/operators.h>

#include <glm/gtc/quaternion.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace zmx {
namespace {

using Vec2 = ScriptValue<glm::vec2>;
using Vec3 = ScriptValue<glm::vec3>;
using Vec4 = ScriptValue<glm::vec4>;
using Quaternion = ScriptValue<glm::quat>;

constexpr auto kReference = py::return_value_policy::reference;

// Writes a whole value. A view writes a world record's field, which holds
// finite numbers only; a script's own value takes any.
template <typename Holder, typename Value>
void Store(Holder& self, const Value& value)
{
    if (self.IsView() && !AllFinite(value))
        throw py::value_error("a space object's field holds finite numbers only; nothing changed");
    self.Ref() = value;
}

// A read-write float property over one component of a vector or quaternion.
template <typename Holder, typename Class, typename Member>
void DefineComponent(Class& type, const char* name, Member member, const char* doc)
{
    type.def_property(
        name, [member](const Holder& self) { return self.Get().*member; },
        [member](Holder& self, float value) {
            auto changed = self.Get();
            changed.*member = value;
            Store(self, changed);
        },
        doc);
}

// The right operand of a sum; None is refused as a type error.
template <typename Holder>
const Holder& Operand(const Holder* other)
{
    if (!other)
        throw py::type_error("unsupported operand: None");
    return *other;
}

// The six operators every vector class has; negate gives -v per component.
template <typename Holder, typename Class, typename Negate>
void DefineVectorOperators(Class& type, Negate negate)
{
    type.def(
            "__add__",
            [](const Holder& self, const Holder* other) { return Holder(self.Get() + Operand(other).Get()); },
            py::is_operator())
        .def(
            "__iadd__",
            [](Holder& self, const Holder* other) {
                Store(self, self.Get() + Operand(other).Get());
                return Holder(self.Get());
            },
            py::is_operator())
        .def(
            "__imul__",
            [](Holder& self, float scale) {
                Store(self, self.Get() * scale);
                return Holder(self.Get());
            },
            py::is_operator())
        .def(
            "__mul__", [](const Holder& self, float scale) { return Holder(self.Get() * scale); }, py::is_operator())
        .def(
            "__rmul__", [](const Holder& self, float scale) { return Holder(self.Get() * scale); }, py::is_operator())
        .def(
            "__neg__", [negate](const Holder& self) { return Holder(negate(self.Get())); }, py::is_operator());
}

// Sign-bit flip: -0.0 from 0.0.
template <typename Vector>
Vector FlipSigns(Vector value)
{
    for (int i = 0; i < Vector::length(); ++i)
        value[i] = -value[i];
    return value;
}

// Subtraction from zero: 0.0 stays 0.0.
glm::vec4 SubtractFromZero(glm::vec4 value)
{
    return glm::vec4(0.0f) - value;
}

// A read-only str property of the event, decoded leniently: event texts come
// from clients.
void DefineEventText(py::class_<EventMessage>& type, const char* name, std::string EventMessage::*member,
                     const char* doc)
{
    type.def_property_readonly(
        name, [member](const EventMessage& self) { return DecodeLenient(self.*member); }, doc);
}

}  // namespace

void DefineWriter(py::module_& m)
{
    py::class_<Logger>(m, "Writer")
        .def("write", &Logger::write, kReference)
        .def("flush", &Logger::flush, kReference);
}

void DefineVectors(py::module_& m)
{
    constexpr const char* kComponent = "float, component value";
    constexpr const char* kColourComponent = "float, component value (0.0-1.0)";

    py::class_<Vec2> vec2(m, "vec2");
    vec2.def(py::init([](float x, float y) { return Vec2(glm::vec2(x, y)); }))
        .def(py::init<const Vec2&>())
        .def(py::init([] { return Vec2(glm::vec2(0.0f)); }));
    DefineComponent<Vec2>(vec2, "x", &glm::vec2::x, kComponent);
    DefineComponent<Vec2>(vec2, "y", &glm::vec2::y, kComponent);
    DefineVectorOperators<Vec2>(vec2, FlipSigns<glm::vec2>);

    py::class_<Vec3> vec3(m, "vec3");
    vec3.def(py::init([](float x, float y, float z) { return Vec3(glm::vec3(x, y, z)); }))
        .def(py::init<const Vec3&>())
        .def(py::init([] { return Vec3(glm::vec3(0.0f)); }));
    DefineComponent<Vec3>(vec3, "x", &glm::vec3::x, kComponent);
    DefineComponent<Vec3>(vec3, "y", &glm::vec3::y, kComponent);
    DefineComponent<Vec3>(vec3, "z", &glm::vec3::z, kComponent);
    DefineVectorOperators<Vec3>(vec3, FlipSigns<glm::vec3>);

    py::class_<Vec4> vec4(m, "vec4");
    vec4.def(py::init([](float r, float g, float b, float a) { return Vec4(glm::vec4(r, g, b, a)); }))
        .def(py::init<const Vec4&>())
        .def(py::init([] { return Vec4(glm::vec4(0.0f)); }));
    DefineComponent<Vec4>(vec4, "r", &glm::vec4::x, kColourComponent);
    DefineComponent<Vec4>(vec4, "g", &glm::vec4::y, kColourComponent);
    DefineComponent<Vec4>(vec4, "b", &glm::vec4::z, kColourComponent);
    DefineComponent<Vec4>(vec4, "a", &glm::vec4::w, kColourComponent);
    DefineVectorOperators<Vec4>(vec4, SubtractFromZero);

    // Built scalar first, as glm builds it; stored and shown x, y, z, w.
    py::class_<Quaternion> quaternion(m, "quaternion");
    quaternion.def(py::init([](float w, float x, float y, float z) { return Quaternion(glm::quat(w, x, y, z)); }))
        .def(py::init<const Quaternion&>())
        .def(py::init([] { return Quaternion(glm::quat(0.0f, 0.0f, 0.0f, 0.0f)); }));
    DefineComponent<Quaternion>(quaternion, "x", &glm::quat::x, kComponent);
    DefineComponent<Quaternion>(quaternion, "y", &glm::quat::y, kComponent);
    DefineComponent<Quaternion>(quaternion, "z", &glm::quat::z, kComponent);
    DefineComponent<Quaternion>(quaternion, "w", &glm::quat::w, kComponent);
}

void DefineEvent(py::module_& m)
{
    py::class_<EventMessage> event(m, "event");
    event.def_readonly("client_id", &EventMessage::client_id, "id of computer this event came from.")
        .def_readonly("parent_id", &EventMessage::parent_id,
                      "id of owner/creator of space object this event came from (like the ship that fired the "
                      "missile)")
        .def_readonly("origin_id", &EventMessage::origin_id, "id of space object this event came from")
        .def_readonly("selected_id", &EventMessage::selected_id,
                      "id of space object this event is talking about, or doing something to");
    DefineEventText(event, "tag", &EventMessage::tag, "string describing message type");
    DefineEventText(event, "sub_tag", &EventMessage::sub_tag, "string describing message sub-type");
    DefineEventText(event, "value_tag", &EventMessage::value_tag, "string, more information");
    DefineEventText(event, "extra_tag", &EventMessage::extra_tag, "string, even more information");
    DefineEventText(event, "extra_extra_tag", &EventMessage::extra_extra_tag, "string, even more-more information");
    // A copy, so the point stays valid however long the script keeps it.
    event
        .def_property_readonly(
            "source_point", [](const EventMessage& self) { return Vec3(self.source_point); },
            "vec3, 3d point this event originated from")
        .def_readonly("event_time", &EventMessage::event_time,
                      "long int, time this damage occured, compare to simulation.time_tick_counter")
        .def_readonly("sub_float", &EventMessage::sub_float, "float, numeric information");
}

void DefineEnums(py::module_& m)
{
    py::enum_<SHPSYS>(m, "SHPSYS", "One of four ship systems to track damage")
        .value("WEAPONS", SHPSYS_WEAPONS, "the weapons index for *system_damage*")
        .value("ENGINES", SHPSYS_ENGINES, "the engines index for *system_damage*")
        .value("SENSORS", SHPSYS_SENSORS, "the sensors index for *system_damage*")
        .value("SHIELDS", SHPSYS_SHIELDS, "the shields index for *system_damage*")
        .value("MAX", SHPSYS_MAX, "the total number of types of *system_damage*")
        .export_values();
    py::enum_<DIPLOMACY>(m, "DIPLOMACY", "the different attitudes that sides have for each other")
        .value("UNKNOWN", DIPLOMACY_UNKNOWN, "side attitude unknown")
        .value("NEUTRAL", DIPLOMACY_NEUTRAL, "side attitude neutral")
        .value("ALLIED", DIPLOMACY_ALLIED, "side attitude allied")
        .value("HOSTILE", DIPLOMACY_HOSTILE, "side attitude hostile")
        .value("MAX", DIPLOMACY_MAX,
               "the total number of types different attitudes that sides have for each other")
        .export_values();
}

}  // namespace zmx
