// A hull map's grid objects: making, finding and deleting them, and their
// tick: the background sort by name, path requests and walking.

#include "game/world/HullPathSet.h"

#include "game/world/ObjectId.h"
#include "game/world/ShipKeys.h"
#include "game/world/SpaceObject.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using namespace gridobject;

// The ship's red alert state; its crew moves at half pace while it is set.
constexpr float kRedAlertPace = 0.5f;

// Progress of 1 or more with no cells left marks an object at rest. A step
// keeps what is left of the progress below that, or an object as fast as a
// cell a tick would come to rest on its last cell without ever arriving.
const float kMostProgressAfterStep = std::nextafter(1.0f, 0.0f);

// Counter values below this are never used for grid-object ids, so the first
// id a process makes is 41.
constexpr uint64_t kLowestGridObjectCounter = 40;

// Cells a script or a message may name are held within this range, so a
// neighbour's coordinate is always representable; such cells lie far outside
// any grid and are simply never open.
constexpr int64_t kCellCoordinateLimit = 1 << 24;

uint64_t NextGridObjectId()
{
    static uint64_t counter = 0;
    ++counter;
    while (counter < kLowestGridObjectCounter)
        counter += 2;
    return counter | kGridObjectIdBit;
}

int32_t ReadCell(const ObjectDataBlob& values, const DataKey& key)
{
    return static_cast<int32_t>(std::clamp(ReadInt(values, key), -kCellCoordinateLimit, kCellCoordinateLimit));
}

int32_t PairsLeft(const GridObject& object)
{
    return static_cast<int32_t>(object.path.size() / 2);
}

// Letter case aside, character by character; a name that begins another
// sorts first.
bool NameSortsBefore(const std::string& a, const std::string& b)
{
    return LowerCaseAscii(a) < LowerCaseAscii(b);
}

}  // namespace

const std::vector<uint64_t>& HullPathSet::GetObjectsAtPoint(int32_t column, int32_t row)
{
    objectsAtPoint.clear();
    const std::string curX(kCurX.name);
    const std::string curY(kCurY.name);
    for (const auto& object : objects) {
        const int64_t x = object->data_set.GetElement(curX, 0).intValue;
        const int64_t y = object->data_set.GetElement(curY, 0).intValue;
        if (x == column && y == row)
            objectsAtPoint.push_back(object->unique_ID);
    }
    return objectsAtPoint;
}

GridObject* HullPathSet::GetGridObjectById(uint64_t id) const
{
    if (!VALID_GRID_OBJ(id))
        return nullptr;
    for (const auto& object : objects)
        if (object->unique_ID == id)
            return object.get();
    return nullptr;
}

GridObject* HullPathSet::GetGridObjectByName(const std::string& text) const
{
    for (const auto& object : objects)
        if (object->name == text)
            return object.get();
    return nullptr;
}

GridObject* HullPathSet::GetGridObjectByTag(const std::string& text) const
{
    for (const auto& object : objects)
        if (object->tag == text)
            return object.get();
    return nullptr;
}

GridObject* HullPathSet::GetGridObjectByIndex(int32_t index) const
{
    if (index < 0 || index >= GetGridObjectCount())
        return nullptr;
    return objects[static_cast<size_t>(index)].get();
}

GridObject& HullPathSet::CreateGridObject(const std::string& objectName, const std::string& objectTag,
                                          const std::string& objectType)
{
    return AddGridObject(0, objectName, objectTag, objectType);
}

GridObject& HullPathSet::AddGridObject(uint64_t id, const std::string& objectName, const std::string& objectTag,
                                       const std::string& objectType)
{
    auto object = std::make_unique<GridObject>();
    object->unique_ID = id == 0 ? NextGridObjectId() : id;
    object->name = objectName;
    object->tag = objectTag;
    object->type = objectType;
    object->data_set.StampChangesBy(changeClock);
    WriteInt(object->data_set, kPathX, -1);
    WriteInt(object->data_set, kPathY, -1);
    objects.push_back(std::move(object));
    return *objects.back();
}

bool HullPathSet::DeleteGridObject(const GridObject* object)
{
    auto found = std::find_if(objects.begin(), objects.end(),
                              [object](const std::unique_ptr<GridObject>& held) { return held.get() == object; });
    if (found == objects.end())
        return false;
    objects.erase(found);
    return true;
}

// The mission may change the list (or end this map) while it hears of an
// arrival, so the walk goes by the ids the list held when the tick began.
void HullPathSet::MoveGridObjects(const SpaceObject& ship, const FinishedPathHandler& finished)
{
    const float pace = ReadInt(ship.data_set, shipkeys::kRedAlert) != 0 ? kRedAlertPace : 1.0f;
    for (int32_t step = 0; step < kSortStepsPerTick; ++step)
        SortStep();
    std::vector<uint64_t> ids;
    ids.reserve(objects.size());
    for (const auto& object : objects)
        ids.push_back(object->unique_ID);
    bool missionHeard = false;
    for (size_t i = 0; i < ids.size(); ++i) {
        GridObject* object = missionHeard ? GetGridObjectById(ids[i]) : objects[i].get();
        if (!object || !WalkOneTick(*object, pace) || !finished)
            continue;
        missionHeard = true;
        if (!finished(ids[i]))
            return;
    }
}

// One step of a bubble sort spread over the ticks.
void HullPathSet::SortStep()
{
    ++sortCursor;
    if (sortCursor >= GetGridObjectCount()) {
        sortCursor = 0;
        return;
    }
    const auto current = static_cast<size_t>(sortCursor);
    if (NameSortsBefore(objects[current]->name, objects[current - 1]->name))
        std::swap(objects[current], objects[current - 1]);
}

bool HullPathSet::TakePathRequest(GridObject& object)
{
    ObjectDataBlob& values = object.data_set;
    if (ReadInt(values, kPathX) < 0)
        return false;
    const int32_t goalX = ReadCell(values, kPathX);
    const int32_t goalY = ReadCell(values, kPathY);
    WriteInt(values, kPathX, -1);
    WriteInt(values, kPathY, -1);
    StartSearch(ReadCell(values, kLastX), ReadCell(values, kLastY), goalX, goalY);
    while (SearchStep() == 0) {
    }
    if (outcome == SearchOutcome::GaveUp)
        NoteSearchGaveUp(object, goalX, goalY);
    BuildPath(object);
    return true;
}

// A request starts a new path; otherwise the object moves on by its speed
// and, each time it completes a step, takes the next cell of its path.
bool HullPathSet::WalkOneTick(GridObject& object, float paceFactor)
{
    ObjectDataBlob& values = object.data_set;
    if (TakePathRequest(object)) {
        WriteInt(values, kPathLength, PairsLeft(object));
        return false;
    }
    float progress = ReadFiniteFloat(values, kPercent);
    if (progress >= 1.0f && ReadInt(values, kPathLength) <= 0)
        return false;  // idle
    progress += ReadFiniteFloat(values, kMoveSpeed) * paceFactor;
    if (progress < 1.0f) {
        WriteFloat(values, kPercent, progress);
        return false;
    }
    if (object.path.size() < 2) {
        object.path.clear();
        WriteFloat(values, kPercent, 1.0f);
        WriteInt(values, kPathLength, 0);
        return true;
    }
    WriteFloat(values, kPercent, std::min(progress - 1.0f, kMostProgressAfterStep));
    WriteInt(values, kLastX, ReadCell(values, kCurX));
    WriteInt(values, kLastY, ReadCell(values, kCurY));
    WriteInt(values, kCurX, object.path[0]);
    WriteInt(values, kCurY, object.path[1]);
    object.path.erase(object.path.begin(), object.path.begin() + 2);
    WriteInt(values, kPathLength, PairsLeft(object));
    return false;
}
