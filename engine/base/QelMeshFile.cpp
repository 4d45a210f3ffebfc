#include "engine/base/QelMeshFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "engine/base/QelFileIO.h"

namespace {

// Lists are read in pieces of at most this many elements, so a damaged count
// costs no more memory than the file really holds.
constexpr int32_t kReadPiece = 65536;

class Damaged : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Little-endian reads from the file object's buffer; running out is damage.
class MeshReader {
public:
    explicit MeshReader(QelFileIO& file) : file_(file) {}

    void Bytes(void* destination, int32_t count, const char* what)
    {
        int32_t copied = 0;
        if (!file_.ReadBuffered(destination, count, copied))
            throw Damaged(std::string("the file ends inside ") + what);
    }
    template <typename Value>
    Value Read(const char* what)
    {
        uint8_t bytes[sizeof(Value)];
        Bytes(bytes, sizeof(Value), what);
        uint64_t bits = 0;
        for (size_t i = 0; i < sizeof(Value); ++i)
            bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
        Value value;
        std::memcpy(&value, &bits, sizeof(Value));
        return value;
    }
    int Count(const char* what)
    {
        const int count = Read<int8_t>(what);
        if (count < 1)
            throw Damaged(std::string("a count of ") + what + " is " + std::to_string(count) + ", not 1 to 127");
        return count;
    }
    std::string Name(const char* what)
    {
        const int16_t length = Read<int16_t>(what);
        if (length < 0 || length >= kMaxMeshFileName)
            throw Damaged(std::string("a name of ") + what + " claims " + std::to_string(length) + " bytes");
        std::string name(static_cast<size_t>(length), '\0');
        Bytes(name.data(), length, what);
        return name;
    }
    template <typename Element>
    std::vector<Element> Array(const char* what)
    {
        const int32_t count = Read<int32_t>(what);
        if (count < 1)
            throw Damaged(std::string("a list of ") + what + " claims " + std::to_string(count) + " entries");
        std::vector<Element> elements;
        for (int32_t done = 0; done < count;) {
            const int32_t piece = std::min(kReadPiece, count - done);
            elements.resize(static_cast<size_t>(done + piece));
            Bytes(elements.data() + done, piece * static_cast<int32_t>(sizeof(Element)), what);
            done += piece;
        }
        return elements;
    }
    bool AtEnd()
    {
        uint8_t extra = 0;
        int32_t copied = 0;
        return !file_.ReadBuffered(&extra, 1, copied);
    }

private:
    QelFileIO& file_;
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
        list.vertices = in.Array<QelVertex>("vertices");
        if (!std::all_of(list.vertices.begin(), list.vertices.end(), Finite))
            throw Damaged("vertex list " + list.name + " holds numbers that are not finite");
        unit.vertexLists.push_back(std::move(list));
    }
    const size_t vertexCount = unit.vertexLists.front().vertices.size();
    for (int i = in.Count("index lists"); i > 0; --i) {
        QelMeshFileUnit::IndexList list;
        list.name = in.Name("index list");
        list.indices = in.Array<uint32_t>("indices");
        for (uint32_t index : list.indices)
            if (index >= vertexCount)
                throw Damaged("index list " + list.name + " names vertex " + std::to_string(index) + " of " +
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
            throw Damaged("bytes follow the last unit");
        units = std::move(read);
        return true;
    } catch (const Damaged& damage) {
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
