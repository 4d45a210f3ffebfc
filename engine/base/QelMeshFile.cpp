#include "engine/base/QelMeshFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "engine/base/QelFileReader.h"

namespace {

// The mesh file's own rules over the plain reads: counts of one signed byte,
// names of an int16 length, lists that are not empty.
class MeshReader {
public:
    explicit MeshReader(QelFileIO& file) : in_(file) {}

    int Count(const char* what)
    {
        const int count = in_.Read<int8_t>(what);
        if (count < 1)
            throw QelFileDamaged(std::string("a count of ") + what + " is " + std::to_string(count) +
                                 ", not 1 to 127");
        return count;
    }
    std::string Name(const char* what)
    {
        const int16_t length = in_.Read<int16_t>(what);
        if (length < 0 || length >= kMaxMeshFileName)
            throw QelFileDamaged(std::string("a name of ") + what + " claims " + std::to_string(length) + " bytes");
        std::string name(static_cast<size_t>(length), '\0');
        in_.Bytes(name.data(), length, what);
        return name;
    }
    template <typename Element>
    std::vector<Element> List(const char* what)
    {
        const int32_t count = in_.Read<int32_t>(what);
        if (count < 1)
            throw QelFileDamaged(std::string("a list of ") + what + " claims " + std::to_string(count) + " entries");
        return in_.Array<Element>(count, what);
    }
    bool AtEnd() { return in_.AtEnd(); }

private:
    QelFileReader in_;
};

bool Finite(const QelVertex& vertex)
{
    const float* values = vertex.position;
    for (size_t i = 0; i < sizeof(QelVertex) / sizeof(float); ++i)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

QelMeshFileUnit ReadUnit(MeshReader& in)
{
    QelMeshFileUnit unit;
    unit.shaderName = in.Name("shader");
    for (int i = in.Count("textures"); i > 0; --i)
        unit.textureNames.push_back(in.Name("texture"));
    for (int i = in.Count("vertex lists"); i > 0; --i) {
        QelMeshFileUnit::VertexList list;
        list.name = in.Name("vertex list");
        list.vertices = in.List<QelVertex>("vertices");
        if (!std::all_of(list.vertices.begin(), list.vertices.end(), Finite))
            throw QelFileDamaged("vertex list " + list.name + " holds numbers that are not finite");
        unit.vertexLists.push_back(std::move(list));
    }
    const size_t vertexCount = unit.vertexLists.front().vertices.size();
    for (int i = in.Count("index lists"); i > 0; --i) {
        QelMeshFileUnit::IndexList list;
        list.name = in.Name("index list");
        list.indices = in.List<uint32_t>("indices");
        for (uint32_t index : list.indices)
            if (index >= vertexCount)
                throw QelFileDamaged("index list " + list.name + " names vertex " + std::to_string(index) + " of " +
                              std::to_string(vertexCount));
        unit.indexLists.push_back(std::move(list));
    }
    return unit;
}

// Little-endian encoding; a count or name that does not fit is remembered.
class MeshWriter {
public:
    explicit MeshWriter(std::string& bytes) : bytes_(bytes) {}

    void Bytes(const void* source, size_t count) { bytes_.append(static_cast<const char*>(source), count); }
    template <typename Value>
    void Write(Value value)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof(Value));
        for (size_t i = 0; i < sizeof(Value); ++i)
            bytes_.push_back(static_cast<char>(static_cast<uint8_t>(bits >> (8 * i))));
    }
    void Count(size_t count)
    {
        fits_ = fits_ && count >= 1 && count <= kMaxMeshFileCount;
        Write(static_cast<uint8_t>(count));
    }
    void Name(const std::string& name)
    {
        fits_ = fits_ && name.size() < kMaxMeshFileName;
        Write(static_cast<int16_t>(name.size()));
        Bytes(name.data(), name.size());
    }
    template <typename Element>
    void Array(const std::vector<Element>& elements)
    {
        fits_ = fits_ && !elements.empty() && elements.size() <= static_cast<size_t>(INT32_MAX) / sizeof(Element);
        Write(static_cast<int32_t>(elements.size()));
        Bytes(elements.data(), elements.size() * sizeof(Element));
    }
    bool Fits() const { return fits_; }

private:
    std::string& bytes_;
    bool fits_ = true;
};

}  // namespace

bool ReadQelMesh(QelFileIO& file, std::vector<QelMeshFileUnit>& units, std::string& error)
{
    MeshReader in(file);
    try {
        std::vector<QelMeshFileUnit> read;
        for (int i = in.Count("units"); i > 0; --i)
            read.push_back(ReadUnit(in));
        if (!in.AtEnd())
            throw QelFileDamaged("bytes follow the last unit");
        units = std::move(read);
        return true;
    } catch (const QelFileDamaged& damage) {
        error = damage.what();
        return false;
    }
}

bool EncodeQelMesh(const std::vector<QelMeshFileUnit>& units, std::string& bytes)
{
    bytes.clear();
    MeshWriter out(bytes);
    out.Count(units.size());
    for (const QelMeshFileUnit& unit : units) {
        out.Name(unit.shaderName);
        out.Count(unit.textureNames.size());
        for (const std::string& name : unit.textureNames)
            out.Name(name);
        out.Count(unit.vertexLists.size());
        for (const QelMeshFileUnit::VertexList& list : unit.vertexLists) {
            out.Name(list.name);
            out.Array(list.vertices);
        }
        out.Count(unit.indexLists.size());
        for (const QelMeshFileUnit::IndexList& list : unit.indexLists) {
            out.Name(list.name);
            out.Array(list.indices);
        }
    }
    return out.Fits() && bytes.size() <= static_cast<size_t>(INT32_MAX);
}
