#include "game/world/ObjectIdTable.h"

namespace {

// Kept at most half full, so a probe seldom goes past its first slot; the
// first table is this size.
constexpr size_t kLoadDivisor = 2;
constexpr size_t kFirstSize = 16;
// Spreads the ids, which are issued one after another, over the table.
constexpr uint64_t kIdSpread = 0x9E3779B97F4A7C15ull;

}  // namespace

SuperContainerObject* ObjectIdTable::Find(uint64_t id) const
{
    if (slots.empty())
        return nullptr;
    const size_t mask = slots.size() - 1;
    for (size_t slot = Home(id); slots[slot].id != 0; slot = (slot + 1) & mask)
        if (slots[slot].id == id)
            return slots[slot].object;
    return nullptr;
}

void ObjectIdTable::Insert(uint64_t id, SuperContainerObject* object)
{
    if ((count + 1) * kLoadDivisor > slots.size())
        Grow();
    Place({id, object});
    ++count;
}

// The slots after the freed one that would be passed over on the way from
// their home to where they stand move back into the gap, so no probe ever
// meets a free slot before the id it looks for.
void ObjectIdTable::Erase(uint64_t id)
{
    if (slots.empty())
        return;
    const size_t mask = slots.size() - 1;
    size_t gap = Home(id);
    while (slots[gap].id != id) {
        if (slots[gap].id == 0)
            return;
        gap = (gap + 1) & mask;
    }
    for (size_t next = (gap + 1) & mask; slots[next].id != 0; next = (next + 1) & mask) {
        const size_t fromHome = (next - Home(slots[next].id)) & mask;
        if (fromHome >= ((next - gap) & mask)) {
            slots[gap] = slots[next];
            gap = next;
        }
    }
    slots[gap] = Slot{};
    --count;
}

size_t ObjectIdTable::Home(uint64_t id) const
{
    return static_cast<size_t>((id * kIdSpread) >> 32) & (slots.size() - 1);
}

void ObjectIdTable::Place(const Slot& slot)
{
    const size_t mask = slots.size() - 1;
    size_t free = Home(slot.id);
    while (slots[free].id != 0)
        free = (free + 1) & mask;
    slots[free] = slot;
}

void ObjectIdTable::Grow()
{
    std::vector<Slot> old;
    old.swap(slots);
    slots.assign(old.empty() ? kFirstSize : old.size() * 2, Slot{});
    for (const Slot& slot : old)
        if (slot.id != 0)
            Place(slot);
}
