#include "game/render/ObjectTypeDrawData.h"

#include <algorithm>
#include <cstdio>

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/MeshSilhouette.h"
#include "game/world/ShipData.h"
#include "helper/GeneralUtils.h"

namespace {

const char* const kMeshShader = "Redwood";
const char* const kShipMeshFolder = "ships/";
// The hull shell made from a mesh that arrived over the network: kept in
// memory under this name, never saved.
const char* const kRebuiltShellName = "RenderManager::ProcessAssetDataMessage";
// The box the opaque search of a 256-pixel silhouette starts from.
constexpr int32_t kStartBoxLow = 108;
constexpr int32_t kStartBoxHigh = 148;

// The art file root of the definition that stands in for any other.
std::string UnknownArtRoot()
{
    const ShipData::KeyMap& keys = ShipData::Instance().mainKeys;
    const auto found = keys.find(ShipData::kUnknownKey);
    return found == keys.end() ? ShipData::kUnknownKey : found->second->artFileRoot;
}

// The silhouette's pixels as the box search sees them: opaque above half
// alpha, clear below; outside the image everything is clear.
class SilhouettePixels {
public:
    explicit SilhouettePixels(Qel2dBitmap& bitmap) : bitmap_(bitmap) {}

    float Alpha(int x, int y) const
    {
        float alpha = 0.0f, red, green, blue;
        bitmap_.GetPixel(x, y, alpha, red, green, blue);
        return alpha;
    }
    // The first step i of 0..n at which the pixel (x + i·dx, y + i·dy) is
    // opaque (or clear), or -1.
    int FirstOpaque(int x, int y, int dx, int dy, int n) const
    {
        for (int i = 0; i <= n; ++i)
            if (Alpha(x + i * dx, y + i * dy) > 0.5f)
                return i;
        return -1;
    }
    int FirstClear(int x, int y, int dx, int dy, int n) const
    {
        for (int i = 0; i <= n; ++i)
            if (Alpha(x + i * dx, y + i * dy) < 0.5f)
                return i;
        return -1;
    }
    // How far an edge moves over the opaque run that starts at (x, y) and
    // runs outward: to its first clear pixel, or over the whole n pixels to
    // the image's border when there is none.
    int RunLength(int x, int y, int dx, int dy, int n) const
    {
        const int clear = FirstClear(x, y, dx, dy, n);
        return clear < 0 ? n : clear;
    }

private:
    Qel2dBitmap& bitmap_;
};

}  // namespace

ObjectTypeDrawData::ObjectTypeDrawData(std::string shipKey) : ObjectTypeDrawData(std::move(shipKey), GraphicsService())
{
}

ObjectTypeDrawData::ObjectTypeDrawData(std::string shipKey, QelGraphicsFactoryBase& graphics)
{
    const std::string key = LowerCaseAscii(std::move(shipKey));
    const ShipDataRecord* record = ShipData::Instance().Find(key);
    std::string root = record ? record->artFileRoot : UnknownArtRoot();
    mesh = graphics.Load3DObject(kShipMeshFolder + root, kMeshShader);  // refuses a root that leaves the folder
    if (!mesh && root != UnknownArtRoot()) {
        std::fprintf(stderr, "Ship type %s: the mesh %s%s cannot be read; it is drawn as %s%s.\n", key.c_str(),
                     kShipMeshFolder, root.c_str(), kShipMeshFolder, UnknownArtRoot().c_str());
        root = UnknownArtRoot();
        mesh = graphics.Load3DObject(kShipMeshFolder + root, kMeshShader);
    }
    MakeViews(root, record, kShipMeshFolder + root, true, graphics);
}

void ObjectTypeDrawData::ResetForTransfer()
{
    mesh = std::make_unique<QEL3DObject>();
    silhouette = largeSilhouette = nullptr;
    silhouetteLeft = silhouetteTop = silhouetteRight = silhouetteBottom = 0;
    pointSandwich.reset();
    size = 0.0f;
}

void ObjectTypeDrawData::RebuildFromMesh(const std::string& shipKey, QelGraphicsFactoryBase& graphics)
{
    const ShipDataRecord* record = ShipData::Instance().Find(LowerCaseAscii(shipKey));
    MakeViews(record ? record->artFileRoot : UnknownArtRoot(), record, kRebuiltShellName, false, graphics);
}

void ObjectTypeDrawData::MakeViews(const std::string& artRoot, const ShipDataRecord* record,
                                   const std::string& shellName, bool save, QelGraphicsFactoryBase& graphics)
{
    glm::vec3 lo(0.0f), hi(0.0f);
    if (mesh && mesh->GetBounds(lo, hi))
        size = std::max(hi.x - lo.x, hi.z - lo.z);

    silhouette = MeshSilhouette(artRoot, mesh.get(), kSilhouettePixels, save, graphics).bitmap;
    FindSilhouetteBounds();
    largeSilhouette = MeshSilhouette(artRoot, mesh.get(), kLargeSilhouettePixels, save, graphics).bitmap;
    pointSandwich.reset();
    if (record && !record->shields.empty())
        pointSandwich = std::make_unique<PointSandwich>(shellName, mesh.get(), save, graphics);
}

// Edges at the image's border are no longer searched, and every search that
// finds something moves its edge out by at least a pixel, so the walk ends.
void ObjectTypeDrawData::FindSilhouetteBounds()
{
    silhouetteLeft = silhouetteTop = kStartBoxLow;
    silhouetteRight = silhouetteBottom = kStartBoxHigh;
    if (silhouette == nullptr)
        return;
    const SilhouettePixels pixels(*silhouette);
    const int width = silhouette->GetWidth(), height = silhouette->GetHeight();
    int32_t &left = silhouetteLeft, &top = silhouetteTop, &right = silhouetteRight, &bottom = silhouetteBottom;
    for (;;) {
        const int leftHit = left >= 1 ? pixels.FirstOpaque(left, top, 0, 1, bottom - top) : -1;
        const int topHit = top >= 1 ? pixels.FirstOpaque(left, top, 1, 0, right - left) : -1;
        const int rightHit = right < width - 1 ? pixels.FirstOpaque(right, top, 0, 1, bottom - top) : -1;
        const int bottomHit = bottom < height - 1 ? pixels.FirstOpaque(left, bottom, 1, 0, right - left) : -1;
        if (leftHit < 0 && topHit < 0 && rightHit < 0 && bottomHit < 0)
            return;
        const int leftMove = leftHit < 0 ? 0 : pixels.RunLength(left, top + leftHit, -1, 0, left);
        const int topMove = topHit < 0 ? 0 : pixels.RunLength(left + topHit, top, 0, -1, top);
        const int rightMove = rightHit < 0 ? 0 : pixels.RunLength(right, top + rightHit, 1, 0, width - 1 - right);
        const int bottomMove = bottomHit < 0 ? 0 : pixels.RunLength(left + bottomHit, bottom, 0, 1, height - 1 - bottom);
        top -= topMove;
        left -= leftMove;
        right += rightMove;
        bottom += bottomMove;
    }
}
