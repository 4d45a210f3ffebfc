#include "game/world/Simulation.h"

#include "engine/base/QelDataFolder.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/HullPathSets.h"
#include "game/world/ObjectDataBlobElement.h"
#include "game/world/ObjectId.h"
#include "game/world/ShipData.h"
#include "game/world/WorldServices.h"
#include "helper/GeneralUtils.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <utility>

Simulation* theSimulation = nullptr;

namespace {

// The ship list is loaded once per process, however many worlds are built.
bool shipListLoaded = false;

// The radii of the ship type's record; 0 for both when the list has no
// record for it (not even an "unknown" one).
struct ShipRadii {
    float exclusion = 0.0f;
    float interaction = 0.0f;
};

ShipRadii FindShipRadii(const std::string& dataTag)
{
    const ShipDataRecord* record = ShipData::Instance().Find(dataTag);
    if (!record)
        return {};
    return {record->exclusionRadius, record->interactionRadius};
}

// The fat box is twice the exclusion radius and a unit more, so an object
// rebuilds its tree leaf only after moving that far.
float FatRadiusFor(float exclusionRadius)
{
    return 2.0f * exclusionRadius + 1.0f;
}

const char* const kFavoriteFilter = "Favorite";
const char* const kActiveFilter = "Active";
const char* const kDebugTextPath = "data/SimulationDebugText.txt";

// A cleared world forgets the ship types its mission added and which look-ups
// missed. Records received from the server stay: the client asks for a key
// only once per process.
void ForgetExtraShipData()
{
    ShipData& ships = ShipData::Instance();
    ships.ClearRecords(ships.extraRecords);
    ships.missCounters.clear();
}

bool HasTag(const std::vector<FilterTag>& list, const std::string& tag)
{
    return std::any_of(list.begin(), list.end(), [&](const FilterTag& entry) { return entry.tag == tag; });
}

bool IsListableTag(const std::string& tag)
{
    return !tag.empty() && tag[0] != '#';
}

}  // namespace

Simulation::Simulation() : interiors(std::make_unique<HullPathSets>(*this))
{
    theSimulation = this;
    SetCurrentSimulationClock(&clock);
    if (!shipListLoaded) {
        ShipData::Instance().LoadMain();
        ShipData::Instance().LoadFetched();
        shipListLoaded = true;
    }
}

Simulation::~Simulation()
{
    container.reset();
    pendingNewObjects.clear();
    ShipData& ships = ShipData::Instance();
    ships.ClearRecords(ships.mainRecords);
    shipListLoaded = false;
    if (theSimulation == this)
        theSimulation = nullptr;
    if (CurrentSimulationClock() == &clock)
        SetCurrentSimulationClock(nullptr);
}

void Simulation::Reset(bool serverFlagIn, const std::string& missionPath)
{
    interiors->Clear();
    playerBeamCharges.clear();
    container.reset(new SuperContainer);
    ++runCount;
    SuperContainerObject::SetIdCounter(SuperContainerObject::kIdCounterAtReset);
    serverFlag = serverFlagIn;
    soundLastTicks.clear();
    if (messageLog)
        messageLog->Clear();
    clock.StartNewRun();
    SetTickCounter(0);
    redAlertState = 0;
    ShipData::Instance().LoadExtra(missionPath);
    effectEvents.clear();
    blasts.clear();
    activeFilter = {kActiveFilter, kActiveFilter, false, false};
    favoriteFilter = {kFavoriteFilter, kFavoriteFilter, false, false};
    listRefreshFlag = true;
}

void Simulation::Clear()
{
    ForgetExtraShipData();
    interiors->Clear();
    playerBeamCharges.clear();
    container.reset();
    ++runCount;
    // Whoever made a pending object may still be using it up the stack; it is
    // freed at the next step.
    for (auto& object : pendingNewObjects)
        clearedPendingObjects.push_back(std::move(object));
    pendingNewObjects.clear();
    ClearTractorConnections();
    firstFilterTags.clear();
    secondFilterTags.clear();
    consoleNames.clear();
    consoleNameFlags.clear();
    soundEvents.clear();
    commsMessages.clear();
    ClearNavpoints();
    ClearNavproxies();
    SetTickCounter(0);
}

uint64_t Simulation::CreateSpaceObject(const std::string& aiTag, const std::string& dataTag, uint16_t abits)
{
    if (!container)
        return 0;
    const ShipRadii radii = FindShipRadii(LowerCaseAscii(dataTag));
    std::unique_ptr<SpaceObject> object = MakeSpaceObject(0, aiTag, dataTag, abits, radii.exclusion,
                                                          radii.interaction, FatRadiusFor(radii.exclusion));
    QEL_ASSERT(VALID_SPACE_OBJ(object->uniqueID), "VALID_SPACE_OBJ(so->uniqueID)");
    object->lastUpdateTick = clock.time_tick_counter;
    const uint64_t run = runCount;
    CallBehaviourHook(*this, object.get(), kBehaviourAssigned, nullptr);
    // An object whose set-up cleared or reset the world belongs to no run:
    // its id may already name an object of the new one.
    if (runCount != run)
        return 0;
    const uint64_t id = object->uniqueID;
    // Its creator places it next; the tree files it where it is placed.
    container->AddUnfiled(object.release());
    return id;
}

std::unique_ptr<SpaceObject> Simulation::MakeSpaceObject(uint64_t id, const std::string& behaviourName,
                                                         const std::string& dataTag, uint16_t abits,
                                                         float exclusionRadius, float interactionRadius,
                                                         float fatRadius) const
{
    auto object = std::make_unique<SpaceObject>(id, behaviourName, dataTag, abits, exclusionRadius,
                                                interactionRadius, fatRadius);
    object->data_set.StampChangesBy(&clock);
    return object;
}

void Simulation::AddPendingObject(std::unique_ptr<SpaceObject> object)
{
    object->data_set.StampChangesBy(&clock);
    pendingNewObjects.push_back(std::move(object));
}

void Simulation::DeleteSpaceObject(uint64_t id)
{
    if (!container || id == 0)
        return;
    SuperContainerObject* object = container->Find(id);
    if (!object)
        object = container->FindInStandby(id);
    if (!object)
        return;
    container->Destroy(object);
    playerBeamCharges.erase(id);
    std::erase_if(tractorConnections, [id](const TractorConnection& connection) {
        return connection.source_id == id || connection.target_id == id;
    });
}

bool Simulation::SpaceObjectExists(uint64_t id) const
{
    QEL_ASSERT(id == 0 || VALID_SPACE_OBJ(id), "0 == uID || VALID_SPACE_OBJ(uID)");
    return GetSpaceObject(id) != nullptr;
}

SpaceObject* Simulation::GetSpaceObject(uint64_t id) const
{
    QEL_ASSERT(id == 0 || VALID_SPACE_OBJ(id), "bad ID for Simulation::GetSpaceObject()");
    if (id == 0 || !container)
        return nullptr;
    return static_cast<SpaceObject*>(container->Find(id));
}

bool Simulation::RepositionSpaceObject(SpaceObject* object, float x, float y, float z)
{
    // A position that is not a number would poison every distance test and
    // end the server at the next move.
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        return false;
    object->pos = {x, y, z};
    object->SetFatBox(object->fat_radius);
    object->lastUpdateTick = clock.time_tick_counter;
    if (SuperContainer* holder = object->Container())
        holder->QueueReinsert(object);
    return true;
}

HullPathSet* Simulation::GetHullMap(const SpaceObject& ship, bool forceCreate)
{
    return interiors->Get(ship.uniqueID, forceCreate);
}

void Simulation::ForceUpdateToClients(uint64_t spaceObjectID, uint64_t playerShipID)
{
    forcedUpdates.push_back({spaceObjectID, playerShipID});
}

void Simulation::AddListFilterTags(const std::string& first, const std::string& second)
{
    if (IsListableTag(first) && first != second && !HasTag(firstFilterTags, first))
        firstFilterTags.push_back({first, first, false, false});
    if (IsListableTag(second) && !HasTag(secondFilterTags, second))
        secondFilterTags.push_back({second, second, false, true});
}

void Simulation::WriteDebugText(const std::string& text)
{
    std::ofstream file(qel::ResolveGamePath(kDebugTextPath), std::ios::app);
    if (file)
        file << text << '\n';
}

void Simulation::SetTickCounter(int64_t tick)
{
    clock.time_tick_counter = tick;
}
