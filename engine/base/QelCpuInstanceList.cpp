#include "engine/base/QelCpuInstanceList.h"

#include <cstring>

QelCpuInstanceList::QelCpuInstanceList(std::string name, int count) : name_(std::move(name))
{
    instances_.Resize(count);
}

void QelCpuInstanceList::Resize(int count)
{
    instances_.Resize(count);
}

QelInstance& QelCpuInstanceList::Checked(int index)
{
    QEL_ASSERT(instances_.Contains(index), "instanceIndex < numInstances");
    return instances_.At(index);
}

QelInstance& QelCpuInstanceList::Changing(int index)
{
    QelInstance& instance = Checked(index);
    instances_.MarkChanged();
    return instance;
}

void QelCpuInstanceList::SetPosition(int index, float x, float y, float z, float w)
{
    QelInstance& i = Changing(index);
    i.position[0] = x, i.position[1] = y, i.position[2] = z, i.position[3] = w;
}

void QelCpuInstanceList::SetColor(int index, float r, float g, float b, float a)
{
    QelInstance& i = Changing(index);
    i.colour[0] = r, i.colour[1] = g, i.colour[2] = b, i.colour[3] = a;
}

void QelCpuInstanceList::SetAge(int index, float age)
{
    Changing(index).age = age;
}

void QelCpuInstanceList::SetCellIndex(int index, int cell)
{
    Changing(index).cellIndex = static_cast<float>(cell);
}

void QelCpuInstanceList::SetInstance(int index, const QelInstanceRecord& record)
{
    QelInstance& i = Changing(index);
    std::memcpy(i.position, record.position, sizeof(i.position));
    std::memcpy(i.colour, record.colour, sizeof(i.colour));
    std::memcpy(i.velocity, record.velocity, sizeof(i.velocity));
    i.age = record.age;
    i.cellIndex = static_cast<float>(record.cellIndex);
}

void QelCpuInstanceList::GetPosition(int index, float& x, float& y, float& z, float& w)
{
    const QelInstance& i = Checked(index);
    x = i.position[0], y = i.position[1], z = i.position[2], w = i.position[3];
}

void QelCpuInstanceList::GetColor(int index, float& r, float& g, float& b, float& a)
{
    const QelInstance& i = Checked(index);
    r = i.colour[0], g = i.colour[1], b = i.colour[2], a = i.colour[3];
}

float QelCpuInstanceList::GetAge(int index)
{
    return Checked(index).age;
}

int QelCpuInstanceList::GetCellIndex(int index)
{
    return static_cast<int>(Checked(index).cellIndex);
}

QelInstanceRecord QelCpuInstanceList::GetInstance(int index)
{
    const QelInstance& i = Checked(index);
    QelInstanceRecord record{};
    std::memcpy(record.position, i.position, sizeof(record.position));
    std::memcpy(record.colour, i.colour, sizeof(record.colour));
    std::memcpy(record.velocity, i.velocity, sizeof(record.velocity));
    record.age = i.age;
    record.cellIndex = static_cast<int>(i.cellIndex);
    return record;
}

void QelCpuInstanceList::GetBounds(float minimum[3], float maximum[3])
{
    instances_.Bounds(minimum, maximum);
}
