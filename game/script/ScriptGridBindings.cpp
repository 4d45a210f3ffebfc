// Ship interiors in module zmx: the classes grid_object and hullmap, and the
// module functions that reach a ship's grid (get_hull_map, the two grid-point
// searches, delete_grid_object). Handles find their records anew at every
// use, so one kept past a rebuild or a deletion raises ReferenceError.

#include "game/net/NetworkIds.h"
#include "game/net/SignalMessage.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptDataSet.h"
#include "game/script/ScriptGridRefs.h"
#include "game/script/ScriptSignals.h"
#include "game/script/ScriptValue.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"

#include <pybind11/stl.h>

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace zmx {
namespace {

using Vec3 = ScriptValue<glm::vec3>;

// ---- hullmap ----

// A size field. Writing it changes what scripts and consoles read, not the
// cells, which keep the size they were built with.
void DefineIntField(py::class_<HullMapRef>& type, const char* name, int32_t HullPathSet::*field, const char* doc)
{
    type.def_property(
        name, [field](const HullMapRef& self) { return self.Get().*field; },
        [field](const HullMapRef& self, int32_t value) { self.Get().*field = value; }, doc);
}

std::optional<GridObjectRef> Handle(const HullPathSet& set, const GridObject* object)
{
    if (!object)
        return std::nullopt;
    return GridObjectRef(set, *object);
}

py::list IdList(const std::vector<uint64_t>& ids)
{
    py::list list;
    for (uint64_t id : ids)
        list.append(id);
    return list;
}

// ---- get_hull_map ----

// With forceCreate the consoles drop their copy of the grid too; a ship
// without a data key has no grid on any console to drop.
std::optional<HullMapRef> GetHullMap(uint64_t spaceObjectID, bool forceCreate)
{
    RequireSpaceObject(spaceObjectID, "get_hull_map");
    Simulation* world = theMissionScript.World();
    const SpaceObject* ship = world ? world->GetSpaceObject(spaceObjectID) : nullptr;
    if (!ship)
        return std::nullopt;
    const HullPathSet* set = world->GetHullMap(*ship, forceCreate);
    if (forceCreate && !ship->data_tag.empty())
        SendSignalToAll(DeleteGridSignal{ship->data_tag, spaceObjectID}, ServerMessageSink::kUnreliable);
    if (!set)
        return std::nullopt;
    return HullMapRef(*set);
}

// ---- grid-point searches ----

// Every offset of the square -127..127 each way, once, ring by ring outward
// from (0, 0): ring r starts just above the last ring's end, at
// (-(r - 1), -r), and goes right along the top, down the right side, left
// along the bottom and up the left side.
constexpr int kSpiralReach = 127;
constexpr size_t kSpiralOffsets = (2 * kSpiralReach + 1) * (2 * kSpiralReach + 1);
using SpiralTable = std::array<std::pair<int8_t, int8_t>, kSpiralOffsets>;

const SpiralTable& SpiralOffsets()
{
    static const SpiralTable table = [] {
        SpiralTable offsets{};
        size_t next = 0;
        int x = 0, y = 0;
        auto take = [&] { offsets[next++] = {static_cast<int8_t>(x), static_cast<int8_t>(y)}; };
        take();
        for (int ring = 1; ring <= kSpiralReach; ++ring) {
            x = -(ring - 1);
            y = -ring;
            take();
            const std::pair<int, int> runs[] = {{1, 2 * ring - 1}, {2, 2 * ring}, {3, 2 * ring}, {4, 2 * ring}};
            for (auto [direction, length] : runs) {
                const int dx = direction == 1 ? 1 : direction == 3 ? -1 : 0;
                const int dy = direction == 2 ? 1 : direction == 4 ? -1 : 0;
                for (int step = 0; step < length; ++step) {
                    x += dx;
                    y += dy;
                    take();
                }
            }
        }
        return offsets;
    }();
    return table;
}

// Cell coordinates the search starts from are held within this range, far
// outside any grid, so the spiral's offsets never overflow them.
constexpr float kStartCellLimit = 1 << 24;

int32_t StartCoordinate(float value)
{
    return static_cast<int32_t>(std::clamp(value, -kStartCellLimit, kStartCellLimit));
}

// A random shift of -radius..radius cells along one axis.
float Jitter(int32_t radius)
{
    const float r = static_cast<float>(radius);
    const float span = r + 0.999f + r;
    return std::trunc(static_cast<float>(crand()) / static_cast<float>(CRAND_MAX) * span - r);
}

bool IsOccupied(const HullPathSet& set, int32_t column, int32_t row)
{
    return std::any_of(set.Objects().begin(), set.Objects().end(), [&](const auto& object) {
        return ReadInt(object->data_set, gridobject::kCurX) == column &&
               ReadInt(object->data_set, gridobject::kCurY) == row;
    });
}

// The open cell nearest the point (x right, z toward row 0, from the grid's
// centre: unit lengths reach the grid's edges in the plain search), within a
// random radius; [column, row], or [] when there is none or no grid. The
// plain search takes the point's direction, the other one the point as given
// and skips cells a grid object stands on.
py::list FindGridPoint(uint64_t spaceObjectID, const Vec3& vecPoint, int32_t randomRadius, bool unoccupied,
                       const char* function)
{
    RequireSpaceObject(spaceObjectID, function);
    py::list cell;
    const glm::vec3 point = vecPoint.Get();
    const float length = glm::length(point);
    if (!AllFinite(point) || !std::isfinite(length) || length == 0.0f)
        return cell;
    const Simulation* world = theMissionScript.World();
    const HullPathSet* set = world ? world->Interiors().Find(spaceObjectID) : nullptr;
    if (!set)
        return cell;
    const int32_t halfW = set->w / 2;
    const int32_t halfH = set->h / 2;
    if (halfW == 0 || halfH == 0)
        return cell;
    const float jitterX = Jitter(randomRadius);
    const float jitterY = Jitter(randomRadius);
    const float x = unoccupied ? point.x : point.x / length;
    const float z = unoccupied ? point.z : point.z / length;
    const float w = static_cast<float>(halfW);
    const float h = static_cast<float>(halfH);
    const int32_t startColumn = StartCoordinate(std::trunc(jitterX + (w * x + w)));
    const int32_t startRow = StartCoordinate(std::trunc(jitterY + (h - h * z)));
    for (auto [dx, dy] : SpiralOffsets()) {
        const int32_t column = startColumn + dx;
        const int32_t row = startRow + dy;
        if (set->IsGridPointOpen(column, row) && !(unoccupied && IsOccupied(*set, column, row))) {
            cell.append(column);
            cell.append(row);
            return cell;
        }
    }
    return cell;
}

py::list FindValidGridPoint(uint64_t spaceObjectID, const Vec3& vecPoint, int32_t randomRadius)
{
    return FindGridPoint(spaceObjectID, vecPoint, randomRadius, false, "find_valid_grid_point_for_vector3");
}

py::list FindValidUnoccupiedGridPoint(uint64_t spaceObjectID, const Vec3& vecPoint, int32_t randomRadius)
{
    return FindGridPoint(spaceObjectID, vecPoint, randomRadius, true, "find_valid_unoccupied_grid_point_for_vector3");
}

// ---- delete_grid_object ----

// Builds the ship's grid if it has none yet, as any use of it does; the
// consoles hear of a deletion only when there was one.
void DeleteGridObject(uint64_t spaceObjectID, uint64_t gridObjID)
{
    RequireSpaceObject(spaceObjectID, "delete_grid_object");
    RequireGridObjectOrNone(gridObjID, "delete_grid_object");
    Simulation* world = theMissionScript.World();
    if (!world || !world->GetSpaceObject(spaceObjectID))
        return;
    HullPathSet* set = world->Interiors().Get(spaceObjectID, false);
    if (!set || !set->DeleteGridObject(set->GetGridObjectById(gridObjID)))
        return;
    SendSignalToAll(GridObjectDeletedSignal{gridObjID, spaceObjectID}, ServerMessageSink::kReliable);
}

}  // namespace

void DefineGridObject(py::module_& m)
{
    py::class_<GridObjectRef> type(m, "grid_object");
    type.def_property_readonly(
        "unique_ID", [](const GridObjectRef& self) { return self.Get().unique_ID; },
        "uint64, read only, id of this particular grid object");
    DefineTextField(type, "name", &GridObject::name, "string, text name");
    DefineTextField(type, "tag", &GridObject::tag, "string, text tag");
    DefineTextField(type, "type", &GridObject::type, "string, text value, broad type of object");
    type.def_property(
        "layer", [](const GridObjectRef& self) { return self.Get().layer; },
        [](const GridObjectRef& self, int32_t value) { self.Get().layer = value; },
        "int, layers to help draw different grid-objects correctly.  (recommend 0-8, with 0 being lowest)");
    type.def_property_readonly(
        "data_set",
        [](const GridObjectRef& self) {
            self.Get();
            return ScriptDataSet([self]() -> ObjectDataBlob& { return self.Get().data_set; });
        },
        "object_data_set, read only, reference to the object_data_set of this particular grid object");
}

void DefineHullMap(py::module_& m)
{
    py::class_<HullMapRef> type(m, "hullmap");
    DefineTextField(type, "name", &HullPathSet::name, "string, text name");
    DefineTextField(type, "art_file_root", &HullPathSet::art_file_root,
                    "string, file name, used to get top-down image from disk");
    DefineTextField(type, "desc", &HullPathSet::desc, "string, description text");
    type.def_property(
        "grid_scale", [](const HullMapRef& self) { return self.Get().grid_scale; },
        [](const HullMapRef& self, float value) {
            CheckFinite(value, "grid_scale");
            self.Get().grid_scale = value;
        },
        "float, space between grid points");
    DefineIntField(type, "w", &HullPathSet::w, "int, total grid width");
    DefineIntField(type, "h", &HullPathSet::h, "int, total grid hieght");
    DefineIntField(type, "symmetrical_flag", &HullPathSet::symmetrical_flag,
                   "int, non-zero if the map is symmetrical");
    type.def(
            "is_grid_point_open",
            [](const HullMapRef& self, int32_t x, int32_t y) { return self.Get().IsGridPointOpen(x, y); },
            "is the x/y point within this hullmap open (traversable)? 0 == no")
        .def(
            "get_objects_at_point",
            [](const HullMapRef& self, int32_t x, int32_t y) { return IdList(self.Get().GetObjectsAtPoint(x, y)); },
            "returns a list of grid object IDs that are currently at the x/y point.", py::arg("x"), py::arg("y"))
        .def(
            "get_grid_object_count", [](const HullMapRef& self) { return self.Get().GetGridObjectCount(); },
            "get the number of grid objects in the list, within this hullmap")
        .def(
            "get_grid_object_by_name",
            [](const HullMapRef& self, const std::string& name) {
                const HullPathSet& set = self.Get();
                return Handle(set, set.GetGridObjectByName(name));
            },
            "returns a gridobject, by name", py::arg("name"))
        .def(
            "get_grid_object_by_tag",
            [](const HullMapRef& self, const std::string& tag) {
                const HullPathSet& set = self.Get();
                return Handle(set, set.GetGridObjectByTag(tag));
            },
            "returns a gridobject, by text tag", py::arg("tag"))
        .def(
            "get_grid_object_by_id",
            [](const HullMapRef& self, uint64_t id) {
                RequireGridObjectOrNone(id, "get_grid_object_by_id");
                const HullPathSet& set = self.Get();
                return Handle(set, set.GetGridObjectById(id));
            },
            "returns a gridobject, by uint64 ID", py::arg("id"))
        .def(
            "get_grid_object_by_index",
            [](const HullMapRef& self, int32_t index) {
                const HullPathSet& set = self.Get();
                const GridObject* object = set.GetGridObjectByIndex(index);
                if (!object)
                    throw py::index_error("get_grid_object_by_index: " + std::to_string(index) +
                                          " is outside the list of " + std::to_string(set.GetGridObjectCount()) +
                                          " grid objects");
                return GridObjectRef(set, *object);
            },
            "returns a gridobject, by position in the list", py::arg("index"))
        .def(
            "create_grid_object",
            [](const HullMapRef& self, const std::string& name, const std::string& tag, const std::string& type) {
                CheckTextsFit({&name, &tag, &type}, "create_grid_object");
                HullPathSet& set = self.Get();
                return GridObjectRef(set, set.CreateGridObject(name, tag, type));
            },
            "returns a gridobject, after creating it", py::arg("name"), py::arg("tag"), py::arg("type"));
}

void AddGridFunctions(FunctionTable& table)
{
    constexpr const char* kFindDoc =
        "return a list of two integers, the grid x and y that is open and is closest.  The list is empty if the "
        "search fails.";
    table.Add("get_hull_map", &GetHullMap,
              "gets the hull map object for this space object; setting forceCreate to True will erase and rebuild "
              "the grid (and gridObjects) of this spaceobject",
              py::arg("spaceObjectID"), py::arg("forceCreate") = false);
    table.Add("find_valid_grid_point_for_vector3", &FindValidGridPoint, kFindDoc, py::arg("spaceObjectID"),
              py::arg("vecPoint"), py::arg("randomRadius"));
    table.Add("find_valid_unoccupied_grid_point_for_vector3", &FindValidUnoccupiedGridPoint, kFindDoc,
              py::arg("spaceObjectID"), py::arg("vecPoint"), py::arg("randomRadius"));
    table.Add("delete_grid_object", &DeleteGridObject,
              "deletes the grid object, and sends the deletion message to all clients", py::arg("spaceObjectID"),
              py::arg("gridObjID"));
}

}  // namespace zmx
