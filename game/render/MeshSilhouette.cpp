#include "game/render/MeshSilhouette.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "helper/QelAssert.h"

namespace {

// Projected coordinates are held within this many pixels of the image before
// they are made integers: a corner further out changes nothing inside it, and
// a float that large does not fit an integer.
constexpr float kFarPixels = 1.0e6f;

bool Finite(const MeshSilhouette::Point& p)
{
    return std::isfinite(p.x) && std::isfinite(p.z);
}

int Pixel(float coordinate)
{
    return static_cast<int>(std::clamp(coordinate, -kFarPixels, kFarPixels));
}

}  // namespace

MeshSilhouette::MeshSilhouette(const std::string& artFileRoot, const QEL3DObject* mesh, int pixels, bool save)
    : MeshSilhouette(artFileRoot, mesh, pixels, save, GraphicsService())
{
}

MeshSilhouette::MeshSilhouette(const std::string& artFileRoot, const QEL3DObject* mesh, int pixels, bool save,
                               QelGraphicsFactoryBase& graphics)
    : pixels_(pixels)
{
    const std::string name = "ships/" + artFileRoot + std::to_string(pixels);
    if (!qel::CheckDataName(name)) {
        std::fprintf(stderr, "Silhouette %s: not a name inside the data folder; the hull has none.\n", name.c_str());
        return;
    }
    bitmap = graphics.Load2DBitmap(name);
    if (bitmap != nullptr && (bitmap->GetWidth() != pixels || bitmap->GetHeight() != pixels)) {
        std::fprintf(stderr, "Silhouette %s: the stored image is %d x %d, not %d x %d; it is drawn again.\n",
                     name.c_str(), bitmap->GetWidth(), bitmap->GetHeight(), pixels, pixels);
        graphics.Delete2DBitmap(name);
        bitmap = nullptr;
    }
    if (bitmap != nullptr || mesh == nullptr)
        return;
    bitmap = graphics.GetRenderTarget(name, pixels, pixels, false);
    Render(*mesh);
    const std::string path = "data/graphics/" + name;
    if (save && !(QelFileServices::Instance().MakeFolderFor(path) && bitmap->SavePNG(path)))
        std::fprintf(stderr, "Silhouette %s: %s.png cannot be written.\n", name.c_str(), path.c_str());
}

void MeshSilhouette::Render(const QEL3DObject& mesh)
{
    glm::vec3 lo(0.0f), hi(0.0f);
    mesh.GetBounds(lo, hi);
    const float half = static_cast<float>(pixels_ / 2);
    scale = std::max((hi.x - lo.x) / half, (hi.z - lo.z) / half);
    if (!(scale > 0.0f) || !std::isfinite(scale))
        return;  // a mesh with no horizontal extent shows nothing
    const float centre = static_cast<float>(pixels_) * 0.5f;
    for (const QEL3DDrawUnit& unit : mesh.units) {
        QelVertexList* list = unit.Vertices();
        if (list == nullptr)
            continue;
        const QelVertex* v = list->Vertices();
        const auto project = [&](uint32_t i) {
            return Point{v[i].position[0] / scale + centre, v[i].position[2] / scale + centre};
        };
        unit.ForEachTriangle(
            [&](uint32_t i0, uint32_t i1, uint32_t i2) { FillTriangle(project(i0), project(i1), project(i2)); });
    }
}

// The triangle is cut at its middle row into two trapezoids of spans: from
// the top corner to the span at the middle row, and from there to the bottom
// corner. The middle row is filled by both.
void MeshSilhouette::FillTriangle(Point a, Point b, Point c)
{
    if (!Finite(a) || !Finite(b) || !Finite(c))
        return;
    Point v[3] = {a, b, c};
    const auto order = [&](int i, int j) {
        if (v[j].z < v[i].z)
            std::swap(v[i], v[j]);
    };
    order(0, 1), order(1, 2), order(0, 1), order(1, 2);
    QEL_ASSERT(v[1].z >= v[0].z, "vArray[1].z >= vArray[0].z");
    QEL_ASSERT(v[2].z >= v[1].z, "vArray[2].z >= vArray[1].z");
    if (v[2].z - v[0].z <= 0.0f)
        return;
    const float t = (v[1].z - v[0].z) / (v[2].z - v[0].z);
    const int mid = Pixel((1.0f - t) * v[0].x + t * v[2].x);  // the long edge at the middle row
    const int middle = Pixel(v[1].x);
    const int spanLeft = std::min(mid, middle), spanRight = std::max(mid, middle);
    const int top = Pixel(v[0].x), bottom = Pixel(v[2].x);
    FillSpans(Pixel(v[0].z), Pixel(v[1].z), top, top, spanLeft, spanRight);
    FillSpans(Pixel(v[1].z), Pixel(v[2].z), spanLeft, spanRight, bottom, bottom);
}

// Rows startRow..endRow, the span moving from [a0, a1] to [b0, b1]; a
// trapezoid of one row adds nothing (the other half covers it). Only rows and
// columns inside the image are walked, and each pixel is set once however
// many triangles cover it.
void MeshSilhouette::FillSpans(int startRow, int endRow, int a0, int a1, int b0, int b1)
{
    if (startRow == endRow || bitmap == nullptr)
        return;
    if (covered_.empty())
        covered_.assign(static_cast<size_t>(pixels_) * static_cast<size_t>(pixels_), 0);
    const float rows = static_cast<float>(endRow - startRow);
    for (int row = std::max(startRow, 0); row <= std::min(endRow, pixels_ - 1); ++row) {
        const float g = static_cast<float>(row - startRow) / rows;
        const int first = static_cast<int>(g * static_cast<float>(b0) + (1.0f - g) * static_cast<float>(a0));
        const int last = static_cast<int>(g * static_cast<float>(b1) + (1.0f - g) * static_cast<float>(a1));
        uint8_t* line = &covered_[static_cast<size_t>(row) * static_cast<size_t>(pixels_)];
        for (int column = std::max(first, 0); column <= std::min(last, pixels_ - 1); ++column)
            if (!line[column]) {
                line[column] = 1;
                bitmap->SetPixel(column, row, 1.0f, 1.0f, 1.0f, 1.0f);
            }
    }
}
