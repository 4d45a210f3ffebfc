#pragma once
// Named statistics counters kept per second over the last 200 seconds. Any
// thread may count; the statistics overlay reads the records to draw graphs.

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

struct PerSecondCounter {
    // The overlay's graphs span 200 seconds.
    static constexpr int kBucketCount = 200;

    std::string name;
    int32_t flag = 0;                          // never changed by counting
    std::array<float, kBucketCount> buckets{}; // totals per second; current index is the running second
    float max = 0.0f;                          // highest bucket total ever reached
    int32_t currentIndex = 0;                  // 0..kBucketCount-1
    uint32_t lastAdvance = 0;                  // clock ms at the last advance
};

class PerSecondCounterMap {
public:
    static PerSecondCounterMap& Instance();

    // Adds the amount to the running second of the named counter.
    void Add(float amount, const std::string& name);

    // The record of a name, created empty when absent. Does not lock: a reader
    // that runs while other threads count holds Mutex() around its reads.
    PerSecondCounter& GetCounter(const std::string& name);
    // The record of a name, or null; every record by name. Neither locks.
    const PerSecondCounter* Find(const std::string& name) const;
    const std::map<std::string, PerSecondCounter>& Counters() const { return counters_; }
    std::mutex& Mutex() { return mutex_; }

    // Forgets every counter (tests start from a clean map).
    void Clear();

private:
    PerSecondCounterMap() = default;
    static void AdvanceTo(PerSecondCounter& counter, uint32_t now);

    std::map<std::string, PerSecondCounter> counters_;
    std::mutex mutex_;
};

void AddPerSecondCounter(float amount, const std::string& name);
