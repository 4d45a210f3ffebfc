#include "game/render/PointSandwich.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileReader.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"

namespace {

const char* const kCacheFolder = "data/graphics";
const char* const kCacheExtension = "pointcube";
const char* const kFallbackTexture = "smallWhite";
const char* const kVertexListPrefix = "PointSandwich_meshVerts_";
const char* const kIndexListPrefix = "PointSandwich_meshIndexes_";
// Cells added to the hull's extent, half on each side: the shell stands off
// the hull, and a vertex reaches cells up to √2 pitches away.
constexpr int kGridMargin = 16;
// A vertex raises the shell within this many pitches of it.
const float kReach = std::sqrt(2.0f);
// Rays start this far: hits as far or farther are not reported.
constexpr float kRayReach = 1000000.0f;

// Every shell vertex: its position, normal (0, 1, 0), first texture
// coordinate (1, 0) and white.
QelVertexRecord ShellVertex(float x, float y, float z)
{
    QelVertexRecord v{};
    v.position[0] = x, v.position[1] = y, v.position[2] = z;
    v.normal[1] = 1.0f;
    v.texCoord[0][0] = 1.0f;
    v.colour[0] = v.colour[1] = v.colour[2] = v.colour[3] = 1.0f;
    return v;
}

glm::vec3 Position(const QelVertexRecord& v)
{
    return {v.position[0], v.position[1], v.position[2]};
}

bool Finite(const QelVertexRecord& record)
{
    const float* values = record.position;
    for (size_t i = 0; i < sizeof(QelVertexRecord) / sizeof(float); ++i)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

// The cells i (or j) a vertex at grid coordinate f can reach, held inside the grid.
std::pair<int, int> Reachable(float f, int count)
{
    const float first = std::clamp(std::ceil(f - kReach), 0.0f, static_cast<float>(count));
    const float last = std::clamp(std::floor(f + kReach), -1.0f, static_cast<float>(count - 1));
    return {static_cast<int>(first), static_cast<int>(last)};
}

}  // namespace

PointSandwich::PointSandwich(std::string meshName, const QEL3DObject* source, bool save)
    : PointSandwich(std::move(meshName), source, save, GraphicsService())
{
}

PointSandwich::PointSandwich(std::string meshName, const QEL3DObject* source, bool save,
                             QelGraphicsFactoryBase& graphics)
    : name(std::move(meshName)), mesh(source), graphics_(graphics)
{
    // A name from data or the network that could leave the data folder
    // gets a shell all the same, but no cache file.
    const bool cached = qel::CheckDataName(name).has_value();
    if (!cached)
        std::fprintf(stderr, "Hull shell %s: not a name inside the data folder; its cache is not kept.\n", name.c_str());
    if (cached && LoadNative(name))
        return;
    if (mesh != nullptr && PlanGrid()) {
        BuildLayers();
        BuildQuads();
    }
    BuildBuffers();
    if (save && cached && !SaveNative(name))
        std::fprintf(stderr, "Hull shell %s: %s/%s.%s cannot be written.\n", name.c_str(), kCacheFolder,
                     name.c_str(), kCacheExtension);
}

// A grid over the hull's horizontal extent, centred on the mesh's origin, its
// pitch a tenth of the narrower extent (coarser for a very long hull), and
// reaching 8 cells past a centred hull on every side.
bool PointSandwich::PlanGrid()
{
    glm::vec3 lo(0.0f), hi(0.0f);
    if (!mesh->GetBounds(lo, hi))
        return false;
    const float xExtent = hi.x - lo.x, zExtent = hi.z - lo.z;
    const float longest = std::max(xExtent, zExtent);
    if (!(longest > 0.0f) || !std::isfinite(longest))
        return false;
    cellSize = std::min(xExtent, zExtent) / 10.0f;
    const float finest = longest / static_cast<float>(kMaxGridSide - kGridMargin);
    if (!(cellSize >= finest))
        cellSize = finest;
    columns = static_cast<int32_t>(xExtent / cellSize) + kGridMargin;
    rows = static_cast<int32_t>(zExtent / cellSize) + kGridMargin;
    origin = glm::vec3(-static_cast<float>(columns) * cellSize * 0.5f, 0.0f,
                       -static_cast<float>(rows) * cellSize * 0.5f);
    cells.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), Cell{});
    for (int32_t j = 0; j < rows; ++j)
        for (int32_t i = 0; i < columns; ++i)
            cells[static_cast<size_t>(i + j * columns)] = {static_cast<float>(i) * cellSize + origin.x,
                                                           static_cast<float>(j) * cellSize + origin.z, 0.0f, 0.0f};
    return true;
}

// Every cell starts at (0, 0), so its range always holds 0; each vertex
// lowers the bottom and raises the top of the cells within √2 pitches of it,
// a tenth of a pitch past itself.
void PointSandwich::BuildLayers()
{
    for (Cell& cell : cells)
        cell.low = cell.high = 0.0f;
    const float pad = cellSize / 10.0f;
    for (const QEL3DDrawUnit& unit : mesh->units) {
        QelVertexList* list = unit.Vertices();
        if (list == nullptr)
            continue;
        for (int n = 0; n < list->GetCount(); ++n) {
            const float* p = list->Vertices()[n].position;
            if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
                continue;
            const auto [i0, i1] = Reachable((p[0] - origin.x) / cellSize, columns);
            const auto [j0, j1] = Reachable((p[2] - origin.z) / cellSize, rows);
            for (int j = j0; j <= j1; ++j)
                for (int i = i0; i <= i1; ++i) {
                    Cell& c = cells[static_cast<size_t>(i + j * columns)];
                    const float dx = p[0] - c.x, dz = p[2] - c.z;
                    if (2.0f * cellSize * cellSize > dz * dz + dx * dx) {
                        c.low = std::min(c.low, p[1] - pad);
                        c.high = std::max(c.high, p[1] + pad);
                    }
                }
        }
    }
}

// A top and a bottom quad over every grid square with a touched corner, so
// the untouched space around the hull makes no geometry.
void PointSandwich::BuildQuads()
{
    vertices.clear();
    indices.clear();
    const auto at = [&](int i, int j) -> const Cell& { return cells[static_cast<size_t>(i + j * columns)]; };
    const auto touched = [](const Cell& c) { return c.low < 0.0f || c.high > 0.0f; };
    for (int i = 0; i + 1 < columns; ++i)
        for (int j = 0; j + 1 < rows; ++j) {
            const Cell &a = at(i, j), &b = at(i + 1, j), &c = at(i + 1, j + 1), &d = at(i, j + 1);
            if (touched(a) || touched(b) || touched(c) || touched(d)) {
                AddQuad(a, b, c, d, true);
                AddQuad(a, b, c, d, false);
            }
        }
}

void PointSandwich::AddQuad(const Cell& a, const Cell& b, const Cell& c, const Cell& d, bool top)
{
    const uint32_t n = static_cast<uint32_t>(vertices.size());
    for (const Cell* corner : {&a, &b, &c, &d})
        vertices.push_back(ShellVertex(corner->x, top ? corner->high : corner->low, corner->z));
    indices.insert(indices.end(), {n, n + 1, n + 2, n + 2, n + 3, n});
}

void PointSandwich::BuildBuffers()
{
    if (vertices.empty() || indices.empty())
        return;  // an empty shell draws nothing and needs no lists
    const std::string number = std::to_string(FreeListNumber());
    shader = graphics_.GetShader("PointRing");
    indexList = graphics_.GetIndexList(kIndexListPrefix + number, static_cast<int>(indices.size()));
    indexList->SetIndices(indices.data(), static_cast<int>(indices.size()));
    vertexList = graphics_.GetVertList(kVertexListPrefix + number, static_cast<int>(vertices.size()), false);
    for (size_t i = 0; i < vertices.size(); ++i)
        vertexList->SetVertex(static_cast<int>(i), vertices[i]);
}

// The service hands back the stored list for a name it knows, so two shells
// sharing a number would draw each other's geometry: the number is the first
// whose lists the service does not hold.
int32_t PointSandwich::FreeListNumber() const
{
    int32_t number = 0;
    while (graphics_.FindVertList(kVertexListPrefix + std::to_string(number)) != nullptr ||
           graphics_.FindIndexList(kIndexListPrefix + std::to_string(number)) != nullptr)
        ++number;
    return number;
}

void PointSandwich::DrawWith(QelDrawProcess* process, const glm::mat4& world, const glm::mat4& view)
{
    process->bitmap2DList = {graphics_.Find2DBitmap(kFallbackTexture)};
    process->vertList = {vertexList};
    process->indexList = {indexList};
    process->Draw3D(world, view, nullptr, 0, 0);
}

void PointSandwich::Draw(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour)
{
    if (vertexList == nullptr || graphics_.Find2DBitmap(kFallbackTexture) == nullptr)
        return;
    shader->SetParameter("color", colour.r, colour.g, colour.b, colour.a);
    shader->SetParameter("centerPoint", centerPoint.x, centerPoint.y, centerPoint.z, 1.0f);
    shader->SetParameter("minMax", minMax.x, minMax.y, 1.0f, 1.0f);
    DrawWith(shader, world, view);
}

void PointSandwich::DrawFlat(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour)
{
    if (vertexList == nullptr || graphics_.Find2DBitmap(kFallbackTexture) == nullptr)
        return;
    QelDrawProcess* flat = graphics_.GetShader("Flat");
    flat->SetParameter("color", colour.r, colour.g, colour.b, colour.a);
    DrawWith(flat, world, view);
}

bool PointSandwich::RayCast(const glm::vec3& rayOrigin, const glm::vec3& direction, float& distance,
                            glm::vec3& hitPoint, glm::vec3& normal) const
{
    distance = kRayReach;
    bool hit = false;
    for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        float along = 0.0f;
        glm::vec3 point, faceNormal;
        if (RayTriangleIntersect(rayOrigin, direction, Position(vertices[indices[t]]),
                                 Position(vertices[indices[t + 1]]), Position(vertices[indices[t + 2]]), along,
                                 point, faceNormal) &&
            along < distance) {
            distance = along;
            hitPoint = point;
            normal = faceNormal;
            hit = true;
        }
    }
    return hit;
}

bool PointSandwich::SaveNative(const std::string& cacheName) const
{
    QelFileServices& files = QelFileServices::Instance();
    files.MakeFolderFor(QelFileIO::MakePath(kCacheFolder, cacheName, kCacheExtension));
    QelFileIO* file = files.GetFileIO("PointSandwich::SaveNative");
    if (!file->Open(kCacheFolder, cacheName, kCacheExtension, false, true, true, false))
        return false;
    const int32_t vertexCount = static_cast<int32_t>(vertices.size());
    const int32_t indexCount = static_cast<int32_t>(indices.size());
    const bool written = file->WriteBytes(&vertexCount, sizeof(vertexCount)) &&
                         file->WriteBytes(vertices.data(), vertexCount * static_cast<int32_t>(sizeof(QelVertexRecord))) &&
                         file->WriteBytes(&indexCount, sizeof(indexCount)) &&
                         file->WriteBytes(indices.data(), indexCount * static_cast<int32_t>(sizeof(uint32_t)));
    return file->Close() && written;
}

bool PointSandwich::LoadNative(const std::string& cacheName)
{
    vertices.clear();
    indices.clear();
    QelFileIO* file = QelFileServices::Instance().GetFileIO("PointSandwich::LoadNative");
    if (!file->OpenRead(kCacheFolder, cacheName, kCacheExtension))
        return false;
    QelFileReader in(*file);
    try {
        const int32_t vertexCount = in.Read<int32_t>("the vertex count");
        if (vertexCount < 0)
            throw QelFileDamaged("the vertex count is negative");
        std::vector<QelVertexRecord> read = in.Array<QelVertexRecord>(vertexCount, "the vertices");
        if (!std::all_of(read.begin(), read.end(), Finite))
            throw QelFileDamaged("a vertex holds a number that is not finite");
        const int32_t indexCount = in.Read<int32_t>("the index count");
        if (indexCount < 0 || indexCount % 3 != 0)
            throw QelFileDamaged("the index count " + std::to_string(indexCount) + " is no count of triangles");
        std::vector<uint32_t> readIndices = in.Array<uint32_t>(indexCount, "the indices");
        for (uint32_t index : readIndices)
            if (index >= static_cast<uint32_t>(vertexCount))
                throw QelFileDamaged("an index names vertex " + std::to_string(index) + " of " +
                                     std::to_string(vertexCount));
        if (!in.AtEnd())
            throw QelFileDamaged("bytes follow the indices");
        vertices = std::move(read);
        indices = std::move(readIndices);
    } catch (const QelFileDamaged& damage) {
        file->Close();
        std::fprintf(stderr, "Hull shell %s: the cache %s/%s.%s is damaged (%s); it is built again.\n",
                     cacheName.c_str(), kCacheFolder, cacheName.c_str(), kCacheExtension, damage.what());
        return false;
    }
    file->Close();
    BuildBuffers();
    return true;
}
