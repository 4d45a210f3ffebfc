// The simulation class of module zmx and the world records it hands out:
// tractor connections, nav points and nav proxies. Every handle finds its
// record anew at each use; everything a script passes is checked before the
// world changes, and a bad value raises a Python exception naming it.

#include "game/net/SignalMessage.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptObjectRef.h"
#include "game/script/ScriptValue.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/GeneralUtils.h"

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace zmx {
namespace {

using Vec3 = ScriptValue<glm::vec3>;
using Vec4 = ScriptValue<glm::vec4>;

constexpr const char* kChangedFlagDoc =
    "int, if you change this navpoint, also set this flag to !0, so the server sends it down to the clients";
constexpr const char* kColorDoc = "vec4, color on 2d radar";
constexpr const char* kPosDoc = "vec3, position in space";
constexpr const char* kTextDoc = "string, text label";
constexpr const char* kSetColorDoc = "use a string color description to set the color";

// ---- record fields ----

// A vector that goes to the consoles: every component a number.
template <typename Vector>
Vector FiniteVector(const ScriptValue<Vector>& value, const char* name)
{
    const Vector given = value.Get();
    if (!AllFinite(given))
        throw py::value_error(std::string(name) + ": a component is not a finite number; nothing changed");
    return given;
}

// A property over a vector field of the record: reading gives a live view of
// it, writing copies the components in.
template <typename Ref, typename Record, typename Vector>
void DefineVectorField(py::class_<Ref>& type, const char* name, Vector Record::*field, const char* doc)
{
    using Holder = ScriptValue<Vector>;
    type.def_property(
        name,
        [field](const Ref& self) {
            self.Get();
            return Holder(typename Holder::FieldLookup([self, field]() -> Vector& { return self.Get().*field; }));
        },
        [field, name](const Ref& self, const Holder& value) { self.Get().*field = FiniteVector(value, name); }, doc);
}

// A property over a text field of the record, which travels to the consoles
// in one message with its partner text.
template <typename Ref, typename Record>
void DefineTextField(py::class_<Ref>& type, const char* name, std::string Record::*field,
                     std::string Record::*partner, const char* doc)
{
    type.def_property(
        name, [field](const Ref& self) { return py::str(self.Get().*field); },
        [field, partner, name](const Ref& self, const std::string& value) {
            Record& record = self.Get();
            CheckTextsFit({&value, &(record.*partner)}, name);
            record.*field = value;
        },
        doc);
}

// A property over an object id field of the record: 0 or a space object.
template <typename Ref, typename Record>
void DefineObjectIdField(py::class_<Ref>& type, const char* name, uint64_t Record::*field, const char* doc)
{
    type.def_property(
        name, [field](const Ref& self) { return self.Get().*field; },
        [field, name](const Ref& self, uint64_t value) {
            RequireSpaceObjectOrNone(value, name);
            self.Get().*field = value;
        },
        doc);
}

template <typename Ref, typename Record>
void DefineChangedFlag(py::class_<Ref>& type, int32_t Record::*field)
{
    type.def_property(
        "has_changed_flag", [field](const Ref& self) { return self.Get().*field; },
        [field](const Ref& self, int32_t value) { self.Get().*field = value; }, kChangedFlagDoc);
}

template <typename Ref>
void DefineSetColor(py::class_<Ref>& type)
{
    type.def(
        "SetColor", [](const Ref& self, const std::string& colorString) { self.Get().SetColor(colorString); },
        kSetColorDoc);
}

// ---- simulation: nav points and nav proxies ----

void CheckFinitePoint(float x, float y, float z, const char* function)
{
    for (float value : {x, y, z})
        CheckFinite(value, function);
}

int32_t AddNavpoint(Simulation& self, float x, float y, float z, const std::string& text, const std::string& colDesc)
{
    CheckFinitePoint(x, y, z, "add_navpoint");
    CheckTextFits(text, "add_navpoint");
    return self.AddNavpoint(x, y, z, text, colDesc);
}

int32_t AddNavarea(Simulation& self, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                   const std::string& text, const std::string& colDesc)
{
    for (float value : {x1, y1, x2, y2, x3, y3, x4, y4})
        CheckFinite(value, "add_navarea");
    CheckTextFits(text, "add_navarea");
    return self.AddNavarea({{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}}, text, colDesc);
}

py::object GetNavpoint(Simulation& self, int32_t id)
{
    return self.NavpointExists(id) ? py::cast(NavpointRef(id)) : py::none();
}

int32_t AddNavproxy(Simulation& self, uint64_t proxyID, const std::string& name, const std::string& shipType,
                    const std::string& colDesc)
{
    RequireSpaceObjectOrNone(proxyID, "add_navproxy");
    CheckTextsFit({&name, &shipType}, "add_navproxy");
    return self.AddNavproxy(proxyID, name, shipType, colDesc);
}

py::object GetNavproxy(Simulation& self, int32_t id)
{
    return self.NavproxyExists(id) ? py::cast(NavProxyRef(id)) : py::none();
}

py::object GetNavproxyByProxyId(Simulation& self, uint64_t id)
{
    return GetNavproxy(self, self.GetNavproxyIdByProxyId(id));
}

void SetNavproxyPos(Simulation& self, const NavProxyRef* navproxy, float x, float y, float z)
{
    if (!navproxy)
        throw py::type_error("set_navproxy_pos: None given where a navproxy is needed; nothing changed");
    CheckFinitePoint(x, y, z, "set_navproxy_pos");
    self.SetNavproxyPos(navproxy->Get(), x, y, z);
}

// ---- simulation: space objects ----

// The tags name a behaviour and a ship definition that every console is sent.
// 0 when no game has begun. Tags the world does not know still make the
// object, and the mission is told what it gets.
uint64_t CreateSpaceObject(Simulation& self, const std::string& aiTag, const std::string& dataTag, uint16_t abits)
{
    constexpr const char* kName = "create_space_object";
    CheckTextsFit({&aiTag, &dataTag}, kName);
    if (!self.Container()) {
        WarnMission("create_space_object: no game has begun, so nothing was made and 0 is returned; expected "
                    "zmx.create_new_sim() first.");
        return 0;
    }
    WarnOfUnknownBehaviour(LowerCaseAscii(aiTag), kName, "aiTag");
    WarnOfUnknownShipKey(dataTag, kName, "dataTag");
    return self.CreateSpaceObject(aiTag, dataTag, abits);
}

// False before the first game, as nothing exists then.
bool SpaceObjectExists(Simulation& self, uint64_t id)
{
    RequireSpaceObjectOrNone(id, "space_object_exists");
    return self.Container() && self.SpaceObjectExists(id);
}

py::object GetSpaceObject(Simulation&, uint64_t id)
{
    RequireSpaceObjectOrNone(id, "get_space_object");
    return id == 0 ? py::none() : SpaceObjectForScripts(id);
}

void RepositionSpaceObject(Simulation& self, SpaceObjectRef* object, float x, float y, float z)
{
    SpaceObject& moved = RequireObject(object, "reposition_space_object").Get();
    if (!self.RepositionSpaceObject(&moved, x, y, z))
        throw py::value_error("reposition_space_object: a coordinate is not a finite number; nothing moved");
}

// ---- simulation: tractor connections ----

// Objects need not exist yet: the tick drops a connection whose end is gone.
TractorConnectionRef AddTractorConnection(Simulation& self, uint64_t sourceID, uint64_t targetID,
                                          const Vec3& offsetPoint, float pullDistance)
{
    RequireSpaceObject(sourceID, "AddTractorConnection");
    RequireSpaceObject(targetID, "AddTractorConnection");
    if (sourceID == targetID)
        throw py::value_error("AddTractorConnection: an object cannot tow itself; nothing changed");
    const glm::vec3 offset = FiniteVector(offsetPoint, "AddTractorConnection");
    CheckFinite(pullDistance, "AddTractorConnection");
    const TractorConnection* connection = self.AddTractorConnection(sourceID, targetID, offset, pullDistance);
    return TractorConnectionRef(connection->source_id, connection->target_id);
}

py::object GetTractorConnection(Simulation& self, uint64_t sourceID, uint64_t targetID)
{
    const TractorConnection* connection = self.GetTractorConnection(sourceID, targetID);
    return connection ? py::cast(TractorConnectionRef(connection->source_id, connection->target_id)) : py::none();
}

// ---- simulation: shields and torpedoes ----

int32_t GetShieldHitIndex(Simulation& self, SpaceObjectRef* sourceShip, SpaceObjectRef* targetShip)
{
    const SpaceObject& source = RequireObject(sourceShip, "get_shield_hit_index").Get();
    return self.GetShieldHitIndex(source, RequireObject(targetShip, "get_shield_hit_index").Get());
}

int32_t GetShieldHitIndexSource(Simulation& self, const Vec3& sourcePoint, SpaceObjectRef* targetShip)
{
    const glm::vec3 point = FiniteVector(sourcePoint, "get_shield_hit_index_source");
    return self.GetShieldHitIndexSource(point, RequireObject(targetShip, "get_shield_hit_index_source").Get());
}

void LaunchTorpedo(Simulation& self, SpaceObjectRef* source_ship, int32_t tube_index, bool is_fighter_flag)
{
    SpaceObject& ship = RequireObject(source_ship, "launch_torpedo").Get();
    if (!Simulation::IsLaunchTube(ship, tube_index, is_fighter_flag))
        throw py::value_error("launch_torpedo: tube " + std::to_string(tube_index) +
                              " is not one of the ship's tubes (\"torpedo_tube_count\"; tube 0 of a fighter); "
                              "nothing was launched");
    self.LaunchTorpedo(ship, tube_index, is_fighter_flag);
}

// ---- simulation: sides ----

void RequireSideTag(const std::string& tag, const char* function)
{
    if (tag.empty())
        throw py::value_error(std::string(function) + ": the side tag is empty; nothing changed");
}

void RequireDiplomacyValue(int32_t value, const char* function)
{
    if (!SideTables::IsDiplomacyValue(value))
        throw py::value_error(std::string(function) + ": " + std::to_string(value) +
                              " is no DIPLOMACY value (UNKNOWN 0 to HOSTILE 3); nothing changed");
}

// The tables travel to the consoles whole in one message: a change that
// would make them too large for it is undone.
template <typename Change>
void ChangeSideTables(Simulation& self, const char* function, Change change)
{
    const SideTables before = self.sideTables;
    const bool changedBefore = self.sideTablesChanged;
    change();
    QelNetworkMessage message;
    message.WriteInt64(HashMessageName("signal"));
    WriteSignal(message, IndexedTablesSignal{self.sideTables});
    if (!message.IsOverflowed())
        return;
    self.sideTables = before;
    self.sideTablesChanged = changedBefore;
    throw py::value_error(std::string(function) +
                          ": the side tables would no longer fit the one message that sends them; nothing changed");
}

void SetSideRelationship(Simulation& self, const std::string& first, const std::string& second, int32_t value)
{
    RequireSideTag(first, "set_side_relationship");
    RequireSideTag(second, "set_side_relationship");
    RequireDiplomacyValue(value, "set_side_relationship");
    ChangeSideTables(self, "set_side_relationship", [&] { self.SetSideRelationship(first, second, value); });
}

void SetSideIconColor(Simulation& self, const std::string& sideTag, const std::string& colorString)
{
    RequireSideTag(sideTag, "set_side_icon_color");
    if (colorString.empty())
        throw py::value_error("set_side_icon_color: the colour is empty; nothing changed");
    ChangeSideTables(self, "set_side_icon_color", [&] { self.SetSideIconColor(sideTag, colorString); });
}

void SetSideIconIndex(Simulation& self, const std::string& sideTag, int32_t iconIndex)
{
    RequireSideTag(sideTag, "set_side_icon_index");
    ChangeSideTables(self, "set_side_icon_index", [&] { self.SetSideIconIndex(sideTag, iconIndex); });
}

void SetDiplomacyColor(Simulation& self, int32_t value, const std::string& colorString)
{
    RequireDiplomacyValue(value, "set_diplomacy_color");
    self.SetDiplomacyColor(value, colorString);
}

// The object's whole record goes to the consoles of that ship (0: to all) at
// the next full-object pass.
void ForceUpdateToClients(Simulation& self, uint64_t spaceObjectID, uint64_t playerShipID)
{
    RequireSpaceObject(spaceObjectID, "force_update_to_clients");
    RequireSpaceObjectOrNone(playerShipID, "force_update_to_clients");
    self.ForceUpdateToClients(spaceObjectID, playerShipID);
}

}  // namespace

void DeclareTractorConnection(py::module_& m)
{
    py::class_<TractorConnectionRef>(m, "tractor_connection");
}

void DefineRecordClasses(py::module_& m)
{
    auto type = py::reinterpret_borrow<py::class_<TractorConnectionRef>>(m.attr("tractor_connection"));
    type.def_property_readonly(
            "source_id", [](const TractorConnectionRef& self) { return self.Get().source_id; },
            "int, ID of boss/master/major object")
        .def_property_readonly(
            "target_id", [](const TractorConnectionRef& self) { return self.Get().target_id; },
            "int, ID of object that is attached to the other");
    DefineVectorField(type, "offset", &TractorConnection::offset, "vec3, RELATIVE position of the target to the boss");
    type.def_property(
        "pull_distance", [](const TractorConnectionRef& self) { return self.Get().pullDistance; },
        [](const TractorConnectionRef& self, float value) {
            CheckFinite(value, "pull_distance");
            self.Get().pullDistance = value;
        },
        "float, how much the target is pulled towards the offset every tick. 0 = infinite pull, target locked to "
        "boss");

    py::class_<NavpointRef> point(m, "navpoint");
    DefineVectorField(point, "color", &Navpoint::color, kColorDoc);
    DefineVectorField(point, "pos", &Navpoint::pos, kPosDoc);
    DefineTextField(point, "text", &Navpoint::text, &Navpoint::visibleToSide, kTextDoc);
    DefineTextField(point, "visibleToSide", &Navpoint::visibleToSide, &Navpoint::text,
                    "string, text side name of side that can see this navpoint");
    DefineObjectIdField(point, "visibleToShip", &Navpoint::visibleToShip,
                        "uint64, id of the only space object that can see this navpoint (0 = all)");
    DefineChangedFlag(point, &Navpoint::has_changed_flag);
    DefineSetColor(point);

    py::class_<NavProxyRef> proxy(m, "navproxy");
    DefineVectorField(proxy, "color", &NavProxy::color, kColorDoc);
    DefineVectorField(proxy, "pos", &NavProxy::pos, kPosDoc);
    DefineTextField(proxy, "text", &NavProxy::text, &NavProxy::shiptype, kTextDoc);
    DefineTextField(proxy, "shiptype", &NavProxy::shiptype, &NavProxy::text, "string, hull key from shipdata.yaml");
    // Any 64-bit value: a proxy may stand for something the world holds no
    // object of, and only labels keep it.
    proxy.def_property(
        "proxy_id", [](const NavProxyRef& self) { return self.Get().proxy_id; },
        [](const NavProxyRef& self, uint64_t value) { self.Get().proxy_id = value; },
        "int64, ID of associated space object");
    DefineChangedFlag(proxy, &NavProxy::has_changed_flag);
    DefineSetColor(proxy);
}

// The world as the handler's first argument; scripts never make one.
void DefineSimulation(py::module_& m)
{
    constexpr const char* kShieldHitSourceDoc =
        "Given a source position (vec3) and a target ship, this returns the shield (index) that would be hit by a "
        "hypothetical beam. -1 if the target ship has no shield facings.";
    const std::string createDoc =
        "creates a new spaceobject. abits is a 16-bit bitfield for further defining the object.  bit 1, when set, "
        "means the object is unmoving and static.\n"
        "abits 1 (bit 0, as space_object.abits counts) makes the object static: it keeps its place and its "
        "behaviour is not ticked\n"
        "aiTag, the behaviour, is one of: " + BehaviourNames() + "\n"
        "dataTag is a hull key of shipData.yaml (or of the mission's extraShipData.json); call "
        "zmx.create_new_sim() first";
    py::class_<Simulation, std::unique_ptr<Simulation, py::nodelete>> type(m, "simulation");
    type.def_property_readonly(
            "time_tick_counter", [](const Simulation& self) { return self.TickCount(); }, "get current time value")
        .def_property_readonly(
            "is_not_paused", [](const Simulation& self) { return !self.paused && self.Container() != nullptr; },
            "returns True if the game is currently running.")
        .def("add_navpoint", &AddNavpoint,
             "adds a new navpoint to space; don't hold on to this Navpoint object in a global; keep the integer ID "
             "return value instead    args:  float x, float y, float z, std::string text, std::string colorDesc",
             py::arg("x"), py::arg("y"), py::arg("z"), py::arg("text"), py::arg("colDesc"))
        .def("add_navarea", &AddNavarea,
             "adds a new navarea to space; don't hold on to this Navpoint object in a global; keep the integer ID "
             "return value instead    args:  four x/y floats, std::string text, std::string colorDesc",
             py::arg("x1"), py::arg("y1"), py::arg("x2"), py::arg("y2"), py::arg("x3"), py::arg("y3"), py::arg("x4"),
             py::arg("y4"), py::arg("text"), py::arg("colDesc"))
        .def("get_navpoint_by_id", &GetNavpoint, "takes an integer ID, returns the associated Navpoint object",
             py::arg("id"))
        .def("get_navpoint_id_by_name", &Simulation::GetNavpointIdByName,
             "returns a navpoint ID, given its name as the argument", py::arg("text"))
        .def("delete_navpoint_by_id", &Simulation::DeleteNavpoint, "deletes navpoint by its id", py::arg("id"))
        .def("navpoint_exists", &Simulation::NavpointExists, "returns true if the navpoint exists, by integer id",
             py::arg("id"))
        .def("add_navproxy", &AddNavproxy,
             "adds a new navproxy to space; don't hold on to this NavProxy object in a global; keep the integer ID "
             "return value instead    args: in proxyID, string name, string shipType, string colorDesc",
             py::arg("proxyID"), py::arg("name"), py::arg("shipType"), py::arg("colDesc"))
        .def("get_navproxy_by_id", &GetNavproxy, "takes an integer ID, returns the associated NavProxy object",
             py::arg("id"))
        .def("get_navproxy_id_by_name", &Simulation::GetNavproxyIdByName,
             "returns a navproxy ID, given its name as the argument", py::arg("text"))
        .def("delete_navproxy_by_id", &Simulation::DeleteNavproxy, "deletes navproxy by its id", py::arg("id"))
        .def("navproxy_exists", &Simulation::NavproxyExists, "returns true if the navproxy exists, by integer id",
             py::arg("id"))
        .def("get_navproxy_by_proxy_id", &GetNavproxyByProxyId,
             "takes a space object ID, returns the associated NavProxy object", py::arg("id"))
        .def("set_navproxy_pos", &SetNavproxyPos, "takes a navproxy (the reference, not the ID), and sets the xyz values",
             py::arg("navproxy"), py::arg("x"), py::arg("y"), py::arg("z"))
        .def("create_space_object", &CreateSpaceObject, createDoc.c_str(),
             py::arg("aiTag"), py::arg("dataTag"), py::arg("abits"))
        .def("space_object_exists", &SpaceObjectExists, "returns true if the spaceobject exists, by ID")
        .def("get_space_object", &GetSpaceObject, "returns the reference to a spaceobject, by ID")
        .def("reposition_space_object", &RepositionSpaceObject, "immediately changes the position of a spaceobject")
        .def("AddTractorConnection", &AddTractorConnection,
             "makes a new connection between two space objects.  Args: u64 sourceID, u64 targetID, zmx::vec3 "
             "offsetPoint, float pullDistance")
        .def("DeleteTractorConnection", &Simulation::DeleteTractorConnection,
             "finds and deletes an existing tractor connection.  Args: u64 sourceID, u64 targetID")
        .def("GetTractorConnection", &GetTractorConnection)
        .def("ClearTractorConnections", &Simulation::ClearTractorConnections,
             "destroys all existing tractor connections right now.")
        .def("get_shield_hit_index", &GetShieldHitIndex,
             "Given a source ship and a target ship, this returns the shield (index) that would be hit by a "
             "hypothetical beam. -1 if the target ship has no shield facings.",
             py::arg("sourceShip"), py::arg("targetShip"))
        .def("get_shield_hit_index_source", &GetShieldHitIndexSource, kShieldHitSourceDoc, py::arg("sourcePoint"),
             py::arg("targetShip"))
        .def("force_update_to_clients", &ForceUpdateToClients,
             "forces this space object to update its data to the clients attached to the playerShipID (all clients, "
             "if playerShipID is zero)",
             py::arg("spaceObjectID"), py::arg("playerShipID"))
        .def("set_side_relationship", &SetSideRelationship,
             "set the diplomatic state between two sides, for GUI color purposes.", py::arg("FirstSideTag"),
             py::arg("SecondSideTag"), py::arg("diplomacyEnumValue"))
        .def("set_side_icon_color", &SetSideIconColor, "set the color of a SideTag (like Navy or Raider)",
             py::arg("SideTag"), py::arg("colorString"))
        .def("set_side_icon_index", &SetSideIconIndex, "set the value of the icon of a SideTag (like Navy or Raider)",
             py::arg("SideTag"), py::arg("iconIndex"))
        .def("set_diplomacy_color", &SetDiplomacyColor,
             "set the color of a diplomatic state (like DIPLOMACY::UNKNOWN or DIPLOMACY::ALLIED)",
             py::arg("diplomacyEnumValue"), py::arg("colorString"))
        .def("launch_torpedo", &LaunchTorpedo, "launches a torpedo from the space object provided.",
             py::arg("source_ship"), py::arg("tube_index"), py::arg("is_fighter_flag"));
}

}  // namespace zmx
