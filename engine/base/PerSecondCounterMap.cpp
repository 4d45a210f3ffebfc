#include "engine/base/PerSecondCounterMap.h"

#include "engine/base/QelClock.h"

PerSecondCounterMap& PerSecondCounterMap::Instance()
{
    static PerSecondCounterMap instance;
    return instance;
}

void PerSecondCounterMap::Add(float amount, const std::string& name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    PerSecondCounter& counter = GetCounter(name);
    AdvanceTo(counter, qel::GetMilliseconds());
    float& bucket = counter.buckets[counter.currentIndex];
    bucket += amount;
    if (bucket > counter.max)
        counter.max = bucket;
}

PerSecondCounter& PerSecondCounterMap::GetCounter(const std::string& name)
{
    auto [it, inserted] = counters_.try_emplace(name);
    if (inserted)
        it->second.name = name;
    return it->second;
}

const PerSecondCounter* PerSecondCounterMap::Find(const std::string& name) const
{
    const auto found = counters_.find(name);
    return found == counters_.end() ? nullptr : &found->second;
}

void PerSecondCounterMap::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    counters_.clear();
}

// Moves the running second forward by the whole seconds since the last
// advance, zeroing each bucket it enters. The part of a second left over is
// dropped. Past a full turn every bucket has been entered, so a long pause
// (or the first use, whose last advance is 0) costs one pass, not one step per
// second since boot.
void PerSecondCounterMap::AdvanceTo(PerSecondCounter& counter, uint32_t now)
{
    const uint32_t seconds = (now - counter.lastAdvance) / 1000u;
    if (seconds == 0)
        return;
    counter.lastAdvance = now;
    const int count = PerSecondCounter::kBucketCount;
    if (seconds >= static_cast<uint32_t>(count)) {
        counter.buckets.fill(0.0f);
        counter.currentIndex = static_cast<int32_t>((counter.currentIndex + seconds % count) % count);
        return;
    }
    for (uint32_t i = 0; i < seconds; ++i) {
        counter.currentIndex = (counter.currentIndex + 1) % count;
        counter.buckets[counter.currentIndex] = 0.0f;
    }
}

void AddPerSecondCounter(float amount, const std::string& name)
{
    PerSecondCounterMap::Instance().Add(amount, name);
}
