#include "engine/base/QelCpuVertList.h"

#include <cstring>

QelCpuVertList::QelCpuVertList(std::string name, int count) : name_(std::move(name))
{
    vertices_.Resize(count);
}

void QelCpuVertList::Resize(int count)
{
    vertices_.Resize(count);
}

QelVertex& QelCpuVertList::Checked(int index)
{
    QEL_ASSERT(vertices_.Contains(index), "vertexIndex < numVerts");
    return vertices_.At(index);
}

QelVertex& QelCpuVertList::Changing(int index)
{
    QelVertex& vertex = Checked(index);
    vertices_.MarkChanged();
    return vertex;
}

float* QelCpuVertList::Vector(QelVertex& vertex, int which)
{
    QEL_ASSERT(which >= 0 && which <= 2, "which < 3");
    return which == 0 ? vertex.normal : which == 1 ? vertex.binormal : vertex.tangent;
}

void QelCpuVertList::SetPosition(int index, float x, float y, float z)
{
    QelVertex& v = Changing(index);
    v.position[0] = x, v.position[1] = y, v.position[2] = z, v.position[3] = 1.0f;
}

void QelCpuVertList::SetVector(int index, int which, float x, float y, float z)
{
    float* vector = Vector(Changing(index), which);
    vector[0] = x, vector[1] = y, vector[2] = z;
}

void QelCpuVertList::SetTexCoord(int index, int which, float u, float v)
{
    QEL_ASSERT(which >= 0 && which <= 3, "which < 4");
    QelVertex& vertex = Changing(index);
    vertex.texCoord[which][0] = u, vertex.texCoord[which][1] = v;
}

void QelCpuVertList::SetColor(int index, float r, float g, float b, float a)
{
    QelVertex& v = Changing(index);
    v.colour[0] = r, v.colour[1] = g, v.colour[2] = b, v.colour[3] = a;
}

void QelCpuVertList::SetVertex(int index, const QelVertexRecord& record)
{
    QelVertex& v = Changing(index);
    std::memcpy(v.position, record.position, sizeof(record.position));
    v.position[3] = 1.0f;
    std::memcpy(v.normal, record.normal, sizeof(float) * 3 * 3 + sizeof(record.texCoord) + sizeof(record.colour));
}

void QelCpuVertList::GetPosition(int index, float& x, float& y, float& z)
{
    const QelVertex& v = Checked(index);
    x = v.position[0], y = v.position[1], z = v.position[2];
}

void QelCpuVertList::GetVector(int index, int which, float& x, float& y, float& z)
{
    const float* vector = Vector(Checked(index), which);
    x = vector[0], y = vector[1], z = vector[2];
}

void QelCpuVertList::GetTexCoord(int index, int which, float& u, float& v)
{
    QEL_ASSERT(which >= 0 && which <= 3, "which < 4");
    const QelVertex& vertex = Checked(index);
    u = vertex.texCoord[which][0], v = vertex.texCoord[which][1];
}

void QelCpuVertList::GetColor(int index, float& r, float& g, float& b, float& a)
{
    const QelVertex& v = Checked(index);
    r = v.colour[0], g = v.colour[1], b = v.colour[2], a = v.colour[3];
}

QelVertexRecord QelCpuVertList::GetVertex(int index)
{
    const QelVertex& v = Checked(index);
    QelVertexRecord record{};
    std::memcpy(record.position, v.position, sizeof(record.position));
    std::memcpy(record.normal, v.normal, sizeof(float) * 3 * 3 + sizeof(record.texCoord) + sizeof(record.colour));
    return record;
}

void QelCpuVertList::GetBounds(float minimum[3], float maximum[3])
{
    vertices_.Bounds(minimum, maximum);
}

void QelCpuVertList::SetVertices(const QelVertex* vertices, int count)
{
    vertices_.Assign(vertices, count);
}
