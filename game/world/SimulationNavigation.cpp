// Nav points and nav proxies: the named signs of the consoles' maps, under
// ids from one counter that both kinds share and that carries on across games.

#include "game/world/Simulation.h"

#include "game/world/ObjectId.h"

#include <algorithm>

namespace {

// The smallest id whose record satisfies the test (maps walk in id order), or 0.
template <typename Record, typename Test>
int32_t FirstIdWhere(const std::map<int32_t, Record>& records, Test test)
{
    const auto found = std::find_if(records.begin(), records.end(), [&](const auto& entry) { return test(entry.second); });
    return found == records.end() ? 0 : found->first;
}

template <typename Record>
Record* Find(std::map<int32_t, Record>& records, int32_t id)
{
    const auto found = records.find(id);
    return found == records.end() ? nullptr : &found->second;
}

// Erases the record and notes its id for the consoles; nothing when there is none.
template <typename Record>
void Delete(std::map<int32_t, Record>& records, std::vector<int32_t>& deletedIds, int32_t id)
{
    if (records.erase(id) != 0)
        deletedIds.push_back(id);
}

}  // namespace

// The counter steps on, wrapping past the largest id to the negative ones and
// never issuing 0. An id a console received or a mission still uses is
// skipped, so a new entry never takes an old one's place.
int32_t Simulation::NextNavId()
{
    do {
        navIdCounter = static_cast<int32_t>(static_cast<uint32_t>(navIdCounter) + 1u);
        if (navIdCounter == 0)
            navIdCounter = 1;
    } while (navpoints.count(navIdCounter) != 0 || navproxies.count(navIdCounter) != 0);
    return navIdCounter;
}

int32_t Simulation::SetNavpoint(int32_t id, float x, float y, float z, const std::string& text,
                                const std::string& colDesc)
{
    if (id == 0)
        id = NextNavId();
    Navpoint& point = navpoints[id];
    point.text = text;
    point.pos = {x, y, z};
    point.SetColor(colDesc);
    point.has_changed_flag = 1;
    return id;
}

int32_t Simulation::AddNavpoint(float x, float y, float z, const std::string& text, const std::string& colDesc)
{
    return SetNavpoint(0, x, y, z, text, colDesc);
}

int32_t Simulation::SetNavarea(const std::array<glm::vec2, 4>& corners, const std::string& text,
                               const std::string& colDesc)
{
    const int32_t id = SetNavpoint(0, 0.0f, 0.0f, 0.0f, text, colDesc);
    Navpoint& area = navpoints.at(id);
    area.isArea = true;
    area.corners = corners;
    return id;
}

int32_t Simulation::AddNavarea(const std::array<glm::vec2, 4>& corners, const std::string& text,
                               const std::string& colDesc)
{
    return SetNavarea(corners, text, colDesc);
}

void Simulation::DeleteNavpoint(int32_t id)
{
    Delete(navpoints, deletedNavpointIds, id);
}

bool Simulation::NavpointExists(int32_t id) const
{
    return id != 0 && navpoints.count(id) != 0;
}

Navpoint* Simulation::GetNavpoint(int32_t id)
{
    return Find(navpoints, id);
}

int32_t Simulation::GetNavpointIdByName(const std::string& text) const
{
    return FirstIdWhere(navpoints, [&](const Navpoint& point) { return point.text == text; });
}

void Simulation::ClearNavpoints()
{
    navpoints.clear();
}

int32_t Simulation::SetNavproxy(int32_t id, uint64_t proxyID, const std::string& text, const std::string& shipType,
                                const std::string& colDesc)
{
    const bool existing = id != 0 && NavproxyExists(id);
    if (id == 0)
        id = NextNavId();
    NavProxy& proxy = navproxies[id];
    proxy.proxy_id = proxyID;
    proxy.text = text;
    proxy.shiptype = shipType;
    proxy.SetColor(colDesc);
    proxy.has_changed_flag = 1;
    if (!existing) {
        const SpaceObject* object = VALID_SPACE_OBJ(proxyID) ? GetSpaceObject(proxyID) : nullptr;
        proxy.pos = object ? object->pos : glm::vec3(0.0f);
    }
    return id;
}

int32_t Simulation::AddNavproxy(uint64_t proxyID, const std::string& name, const std::string& shipType,
                                const std::string& colDesc)
{
    return SetNavproxy(0, proxyID, name, shipType, colDesc);
}

void Simulation::DeleteNavproxy(int32_t id)
{
    Delete(navproxies, deletedNavproxyIds, id);
}

bool Simulation::NavproxyExists(int32_t id) const
{
    return id != 0 && navproxies.count(id) != 0;
}

NavProxy* Simulation::GetNavproxy(int32_t id)
{
    return Find(navproxies, id);
}

int32_t Simulation::GetNavproxyIdByName(const std::string& text) const
{
    return FirstIdWhere(navproxies, [&](const NavProxy& proxy) { return proxy.text == text; });
}

int32_t Simulation::GetNavproxyIdByProxyId(uint64_t proxyID) const
{
    return FirstIdWhere(navproxies, [&](const NavProxy& proxy) { return proxy.proxy_id == proxyID; });
}

void Simulation::SetNavproxyPos(NavProxy& navproxy, float x, float y, float z)
{
    navproxy.pos = {x, y, z};
    navproxy.has_changed_flag = 1;
}

void Simulation::ClearNavproxies()
{
    navproxies.clear();
}
