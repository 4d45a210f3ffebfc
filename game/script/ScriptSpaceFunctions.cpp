// Module functions of zmx that delete objects and nav signs, measure
// distances, query an area of space, move objects between normal space and
// the standby list, and set up a player ship's keyed values again.

#include "game/behaviours/PlayerShipSetup.h"
#include "game/net/CorvaneServer.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptSignals.h"
#include "game/script/ScriptValue.h"
#include "game/world/Simulation.h"

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

namespace zmx {
namespace {

using Vec3 = ScriptValue<glm::vec3>;

SuperContainer* WorldContainer()
{
    Simulation* world = theMissionScript.World();
    return world ? world->Container() : nullptr;
}

// ---- deleting ----

// The object lives until the server's next frame, which tells the consoles
// and raises "destroyed".
void DeleteObject(uint64_t id)
{
    RequireSpaceObject(id, "delete_object");
    if (gServer)
        gServer->QueueDestroy(id);
}

// Every nav point (or nav proxy) goes; the consoles are told in one message.
void DeleteAllNavpoints()
{
    if (Simulation* world = theMissionScript.World())
        world->ClearNavpoints();
    SendSignalToAll(AllNavPointsDeletedSignal{}, ServerMessageSink::kUnreliable);
}

void DeleteAllNavproxies()
{
    if (Simulation* world = theMissionScript.World())
        world->ClearNavproxies();
    SendSignalToAll(AllNavProxiesDeletedSignal{}, ServerMessageSink::kUnreliable);
}

// ---- distances ----

py::tuple DistancePointLine(const Vec3* point, const Vec3* lineStart, const Vec3* lineEnd)
{
    const glm::vec3 p = RequireVector(point, "distance_point_line");
    const glm::vec3 a = RequireVector(lineStart, "distance_point_line");
    const glm::vec3 b = RequireVector(lineEnd, "distance_point_line");
    const glm::vec3 direction = (b - a) / glm::length(b - a);
    const float along = glm::dot(p - a, direction);  // positive toward the line's end
    const glm::vec3 foot = a + along * direction;
    return py::make_tuple(glm::length(foot - p), glm::length(p - a), along);
}

float Distance(SpaceObjectRef* first, SpaceObjectRef* second)
{
    const glm::vec3 a = RequireObject(first, "distance").Get().pos;
    const glm::vec3 b = RequireObject(second, "distance").Get().pos;
    return glm::length(a - b);
}

// 0.0 when either object is missing.
float DistanceById(uint64_t firstId, uint64_t secondId)
{
    RequireSpaceObject(firstId, "distance_id");
    RequireSpaceObject(secondId, "distance_id");
    const Simulation* world = theMissionScript.World();
    const SpaceObject* a = world ? world->GetSpaceObject(firstId) : nullptr;
    const SpaceObject* b = world ? world->GetSpaceObject(secondId) : nullptr;
    return a && b ? glm::length(a->pos - b->pos) : 0.0f;
}

// What a distance to a nav point that does not exist answers.
constexpr float kNoNavpointDistance = -1.0f;

const Navpoint* FindNavpoint(int32_t id)
{
    Simulation* world = theMissionScript.World();
    return world ? world->GetNavpoint(id) : nullptr;
}

// -1.0 when the nav point or the object is missing.
float DistanceToNavpoint(int32_t navpointId, uint64_t objectId)
{
    RequireSpaceObject(objectId, "distance_to_navpoint");
    const Navpoint* point = FindNavpoint(navpointId);
    const Simulation* world = theMissionScript.World();
    const SpaceObject* object = world ? world->GetSpaceObject(objectId) : nullptr;
    return point && object ? glm::length(point->pos - object->pos) : kNoNavpointDistance;
}

float DistanceBetweenNavpoints(int32_t firstId, int32_t secondId)
{
    const Navpoint* first = FindNavpoint(firstId);
    const Navpoint* second = FindNavpoint(secondId);
    return first && second ? glm::length(first->pos - second->pos) : kNoNavpointDistance;
}

// ---- area query ----

// The objects whose boxes overlap the rectangle, borders included, in the
// tree's depth-first order, kept when their abits share a bit with the
// filter. A new list at every call.
py::list BroadTest(float lx, float lz, float mx, float mz, uint16_t abits)
{
    py::list found;
    SuperContainer* container = WorldContainer();
    if (!container)
        return found;
    container->Query(PlaneBox{lx, lz, mx, mz});
    for (const SuperContainerObject* object : container->QueryResults())
        if (object->abits & abits)
            found.append(SpaceObjectRef(object->uniqueID));
    return found;
}

// ---- standby list ----

// The consoles drop their copy of an object that leaves normal space.
void TellObjectRemoved(uint64_t id)
{
    SendSignalToAll(ObjectRemovedSignal{id}, ServerMessageSink::kReliable);
}

void PushToStandbyById(uint64_t id)
{
    RequireSpaceObject(id, "push_to_standby_list_id");
    SuperContainer* container = WorldContainer();
    if (!container)
        return;
    if (SuperContainerObject* object = container->Find(id))
        container->PushToStandby(object);
    TellObjectRemoved(id);
}

void PushToStandby(SpaceObjectRef* handle)
{
    SpaceObject& object = RequireObject(handle, "push_to_standby_list").Get();
    object.Container()->PushToStandby(&object);
    TellObjectRemoved(object.uniqueID);
}

// Consoles learn of a retrieved object again through the update passes.
void RetrieveFromStandbyById(uint64_t id)
{
    RequireSpaceObject(id, "retrieve_from_standby_list_id");
    SuperContainer* container = WorldContainer();
    if (!container)
        return;
    if (SuperContainerObject* object = container->FindInStandby(id))
        container->RetrieveFromStandby(object);
}

void RetrieveFromStandby(SpaceObjectRef* handle)
{
    SpaceObject& object = RequireObject(handle, "retrieve_from_standby_list").Get();
    object.Container()->RetrieveFromStandby(&object);
}

bool InStandbyById(uint64_t id)
{
    RequireSpaceObject(id, "in_standby_list_id");
    SuperContainer* container = WorldContainer();
    return container && container->FindInStandby(id);
}

bool InStandby(SpaceObjectRef* handle)
{
    SpaceObject& object = RequireObject(handle, "in_standby_list").Get();
    return object.Container()->IsInStandby(&object);
}

// ---- player ships ----

void SetupPlayerShipDefaults(SpaceObjectRef* ship)
{
    SpaceObject& object = RequireObject(ship, "player_ship_setup_defaults").Get();
    PlayerShipSetupDefaults(&object, *theMissionScript.World());
}

void SetupPlayerShipFromData(SpaceObjectRef* ship)
{
    PlayerShipSetupFromData(&RequireObject(ship, "player_ship_setup_from_data").Get());
}

}  // namespace

void AddSpaceFunctions(FunctionTable& table)
{
    constexpr const char* kToStandby = "moves the spaceobject from normal space to the standby list.";
    constexpr const char* kFromStandby = "moves the spaceobject from the standby list to normal space.";
    constexpr const char* kInStandby = "returns true if the spaceobject is in the standby list.";

    table.Add("broad_test", &BroadTest,
              "return a list of space objects that are currently inside an x/z 2d rect  ARGS: 2D bounding rect, and "
              "bitfield",
              py::arg("lx"), py::arg("lz"), py::arg("mx"), py::arg("mz"), py::arg("abits"));
    table.Add("delete_object", &DeleteObject, "deletes a space object by its ID", py::arg("ID"));
    table.Add("delete_all_navpoints", &DeleteAllNavpoints,
              "deletes all navpoints on server, and notifies all clients of the change");
    table.Add("delete_all_navproxies", &DeleteAllNavproxies,
              "deletes all navproxies on server, and notifies all clients of the change");
    table.Add("distance_point_line", &DistancePointLine,
              "calulates the distance from a point to a line, for checking potential collisions. Returns a tuple, "
              "containing: distance to collision pt along line; distance from line start to point; tangent (positive "
              "== in front");
    table.Add("distance", &Distance, "returns the distance between two space objects; arguments are two spaceObjects");
    table.Add("distance_id", &DistanceById, "returns the distance between two space objects; arguments are two IDs");
    table.Add("distance_to_navpoint", &DistanceToNavpoint,
              "returns the distance between a nav point and a space object; navpoint ID, then object ID");
    table.Add("distance_between_navpoints", &DistanceBetweenNavpoints,
              "returns the distance between two nav points; navpoints by ID");
    table.Add("push_to_standby_list_id", &PushToStandbyById, kToStandby, py::arg("id"));
    table.Add("push_to_standby_list", &PushToStandby, kToStandby, py::arg("space_object"));
    table.Add("retrieve_from_standby_list_id", &RetrieveFromStandbyById, kFromStandby, py::arg("id"));
    table.Add("retrieve_from_standby_list", &RetrieveFromStandby, kFromStandby, py::arg("space_object"));
    table.Add("in_standby_list_id", &InStandbyById, kInStandby, py::arg("id"));
    table.Add("in_standby_list", &InStandby, kInStandby, py::arg("space_object"));
    table.Add("player_ship_setup_defaults", &SetupPlayerShipDefaults,
              "Rebuilds the default blob data of this player ship.", py::arg("space_object"));
    // Built once: the table keeps the text's address until the module is made.
    static const std::string fromDataDoc =
        std::string("Rebuilds the blob data of this player ship from the shipdata.json and the preferences.json.\n") +
        kShipFilesHelp + "; " + kPreferencesHelp;
    table.Add("player_ship_setup_from_data", &SetupPlayerShipFromData, fromDataDoc.c_str(),
              py::arg("space_object"));
}

}  // namespace zmx
