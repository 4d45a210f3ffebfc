// Tractor connections: a target held at a point that moves with its source,
// for towing, docking and formation flying. They run on the server and on
// every console alike, after every object has moved.

#include "game/world/Simulation.h"

#include "game/world/FiniteMath.h"
#include "game/world/ObjectId.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A connection between the two objects, whichever way round it was made.
auto Joins(uint64_t a, uint64_t b)
{
    return [a, b](const TractorConnection& connection) {
        return (connection.source_id == a && connection.target_id == b) ||
               (connection.source_id == b && connection.target_id == a);
    };
}

}  // namespace

bool Simulation::IsTractorConnection(uint64_t sourceID, uint64_t targetID, const glm::vec3& offsetPoint,
                                     float pullDistance)
{
    return VALID_SPACE_OBJ(sourceID) && VALID_SPACE_OBJ(targetID) && sourceID != targetID && AllFinite(offsetPoint) &&
           std::isfinite(pullDistance);
}

TractorConnection* Simulation::AddTractorConnection(uint64_t sourceID, uint64_t targetID,
                                                    const glm::vec3& offsetPoint, float pullDistance)
{
    if (!IsTractorConnection(sourceID, targetID, offsetPoint, pullDistance))
        return nullptr;
    TractorConnection* connection = GetTractorConnection(sourceID, targetID);
    if (!connection)
        connection = &tractorConnections.emplace_back(TractorConnection{sourceID, targetID});
    connection->offset = offsetPoint;
    connection->pullDistance = pullDistance;
    return connection;
}

void Simulation::DeleteTractorConnection(uint64_t sourceID, uint64_t targetID)
{
    std::erase_if(tractorConnections, Joins(sourceID, targetID));
}

TractorConnection* Simulation::GetTractorConnection(uint64_t sourceID, uint64_t targetID)
{
    const auto found = std::find_if(tractorConnections.begin(), tractorConnections.end(), Joins(sourceID, targetID));
    return found == tractorConnections.end() ? nullptr : &*found;
}

void Simulation::ClearTractorConnections()
{
    tractorConnections.clear();
}

// From the last connection to the first, so a chain of tows settles in the
// order the connections were made.
void Simulation::UpdateTractorConnections()
{
    for (size_t i = tractorConnections.size(); i-- > 0;) {
        const TractorConnection& connection = tractorConnections[i];
        SpaceObject* source = GetSpaceObject(connection.source_id);
        SpaceObject* target = GetSpaceObject(connection.target_id);
        if (!source || !target) {
            tractorConnections.erase(tractorConnections.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        PullTarget(connection, *source, *target);
    }
}

// A positive pull moves the target at most that far toward its point per
// tick; otherwise it is locked there. The tree follows a static target too,
// which no move step would refresh.
void Simulation::PullTarget(const TractorConnection& connection, SpaceObject& source, SpaceObject& target)
{
    const glm::vec3 goal = source.pos + source.rot_quat * connection.offset;
    // A source whose orientation is no unit turn can throw the point beyond
    // any number; the target then stays where it is.
    if (!AllFinite(goal))
        return;
    const glm::vec3 toGoal = goal - target.pos;
    const float distance = glm::length(toGoal);
    if (connection.pullDistance > 0.0f && distance > connection.pullDistance)
        target.pos += toGoal / distance * connection.pullDistance;
    else
        target.pos = goal;
    FollowFatBox(&target);
}
