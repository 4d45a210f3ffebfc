#pragma once
// The CPU copy every graphics list keeps: fixed-size records with a changed
// flag. It needs no graphics context, so a program without a display holds
// meshes and answers questions about them; a graphics implementation sends
// the records to its GPU buffer when the flag says they changed.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "helper/QelAssert.h"

template <typename Record>
class QelRecordArray {
public:
    // Count must be positive: an empty buffer cannot be drawn from. The
    // records start zeroed; earlier contents are lost.
    void Resize(int count)
    {
        QEL_ASSERT(count > 0, "S_OK == result");
        records_.assign(static_cast<size_t>(count), Record{});
        changed_ = true;
    }
    int Count() const { return static_cast<int>(records_.size()); }
    bool Contains(int index) const { return index >= 0 && index < Count(); }
    Record& At(int index) { return records_[static_cast<size_t>(index)]; }
    const Record& At(int index) const { return records_[static_cast<size_t>(index)]; }
    const Record* Data() const { return records_.data(); }
    size_t Bytes() const { return records_.size() * sizeof(Record); }

    // Replaces every record; the count must match.
    void Assign(const Record* records, int count)
    {
        QEL_ASSERT(count == Count(), "count == numRecords");
        std::copy(records, records + count, records_.begin());
        changed_ = true;
    }

    bool Changed() const { return changed_; }
    void MarkChanged() { changed_ = true; }
    void ClearChanged() { changed_ = false; }

    // Per-axis minimum and maximum of the records' positions (x, y, z); the
    // first record starts both.
    void Bounds(float minimum[3], float maximum[3]) const
    {
        for (int axis = 0; axis < 3; ++axis)
            minimum[axis] = maximum[axis] = records_.front().position[axis];
        for (const Record& record : records_)
            for (int axis = 0; axis < 3; ++axis) {
                minimum[axis] = std::min(minimum[axis], record.position[axis]);
                maximum[axis] = std::max(maximum[axis], record.position[axis]);
            }
    }

private:
    std::vector<Record> records_;
    bool changed_ = true;
};
