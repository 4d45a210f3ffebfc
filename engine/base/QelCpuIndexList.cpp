#include "engine/base/QelCpuIndexList.h"

QelCpuIndexList::QelCpuIndexList(std::string name, int count) : name_(std::move(name))
{
    indices_.Resize(count);
}

void QelCpuIndexList::Resize(int count)
{
    indices_.Resize(count);
}

void QelCpuIndexList::SetIndex(int index, uint32_t value)
{
    QEL_ASSERT(indices_.Contains(index), "index < numIndexes");
    indices_.At(index) = value;
    indices_.MarkChanged();
}

uint32_t QelCpuIndexList::GetIndex(int index)
{
    QEL_ASSERT(indices_.Contains(index), "index < numIndexes");
    return indices_.At(index);
}

void QelCpuIndexList::SetIndices(const uint32_t* indices, int count)
{
    indices_.Assign(indices, count);
}
