// Laying a ship's interior grid over its hull silhouette: each cell is open
// when the silhouette is opaque all over a small square around the cell's
// centre, turned with the mesh.

#include "game/world/HullPathSet.h"

#include "game/world/ShipDataRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The angle of the mesh's quarter turns ("meshrotate") that turns grid
// offsets into silhouette offsets.
constexpr float kPi = 3.1415927f;
// A pixel at or above this alpha (of 255) is hull; below it, open space.
constexpr uint8_t kOpaqueAlpha = 128;

uint64_t NextSerial()
{
    static uint64_t serial = 0;
    return ++serial;
}

// Offset of a cell's centre from the grid's centre, in pixels, along one axis.
int32_t CellOffset(int32_t cell, int32_t cells, int32_t cellSize)
{
    return static_cast<int32_t>((static_cast<float>(cell) - static_cast<float>(cells) * 0.5f + 0.5f) *
                                static_cast<float>(cellSize));
}

bool GridSizeIsBuildable(int32_t columns, int32_t rows)
{
    return columns > 0 && rows > 0 && columns <= HullPathSet::kMaxGridSide && rows <= HullPathSet::kMaxGridSide;
}

}  // namespace

HullPathSet::HullPathSet(const HullSilhouette* silhouette, const ShipDataRecord& record)
    : name(record.name),
      art_file_root(record.artFileRoot),
      desc(record.longDesc),
      grid_scale(record.internalMapScale),
      w(record.internalMapW),
      h(record.internalMapH),
      symmetrical_flag(record.internalSymmetry),
      serial(NextSerial())
{
    if (silhouette && silhouette->IsWhole()) {
        hasSilhouette = true;
        // The box is measured on the small silhouette; the grid lies on this one.
        const int32_t boxScale = std::max(1, silhouette->width / HullSilhouette::kBoxImageSize);
        auto scaled = [boxScale](int32_t edge) {
            return std::clamp(edge, 0, HullSilhouette::kBoxImageSize) * boxScale;
        };
        x0 = scaled(silhouette->left);
        y0 = scaled(silhouette->top);
        x1 = scaled(silhouette->right);
        y1 = scaled(silhouette->bottom);
    }
    if (!(grid_scale > 0.0f) || !hasSilhouette)
        return;
    if (!GridSizeIsBuildable(w, h)) {
        std::fprintf(stderr, "interior grid of \"%s\": a grid of %d x %d cells is out of range (1 to %d each way); "
                     "the ship has no walkable interior\n",
                     record.key.c_str(), w, h, kMaxGridSide);
        return;
    }
    BuildCells(*silhouette, record.meshRotate);
}

// Samples each cell's square of pixels around its centre, turned with the
// mesh. A symmetrical hull samples its left half and its middle column, and
// mirrors each value to the other side.
void HullPathSet::BuildCells(const HullSilhouette& silhouette, float meshRotate)
{
    cellColumns = w;
    cellRows = h;
    cells.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);

    const int32_t cellWidth = (x1 - x0) / w;
    const int32_t cellHeight = (y1 - y0) / h;
    const int32_t halfWidth = (CellOffset(1, w, cellWidth) - CellOffset(0, w, cellWidth)) / 4;
    const int32_t halfHeight = (CellOffset(1, h, cellHeight) - CellOffset(0, h, cellHeight)) / 4;
    const float angle = (meshRotate + 2.0f) * kPi * -0.5f;
    const float cosine = std::cos(angle);
    const float sine = std::sin(angle);
    const int32_t lastColumn = symmetrical_flag ? w / 2 : w - 1;

    for (int32_t row = 0; row < h; ++row) {
        const float z = static_cast<float>(CellOffset(row, h, cellHeight));
        for (int32_t column = 0; column <= lastColumn; ++column) {
            const float x = static_cast<float>(CellOffset(column, w, cellWidth));
            const float turnedX = x * cosine + z * sine;
            const float turnedZ = -x * sine + z * cosine;
            const auto centreX = static_cast<int32_t>(static_cast<float>(silhouette.width / 2) + turnedX);
            const auto centreY = static_cast<int32_t>(static_cast<float>(silhouette.height / 2) + turnedZ);
            const int32_t open = IsSampledCellOpen(silhouette, centreX, centreY, halfWidth, halfHeight) ? 1 : 0;
            cells[CellIndex(column, row)] = open;
            if (symmetrical_flag)
                cells[CellIndex(w - 1 - column, row)] = open;
        }
    }
}

// Open when no pixel of the square is clear. Pixels outside the image count
// as opaque, so the scan only needs the part of the square inside it.
bool HullPathSet::IsSampledCellOpen(const HullSilhouette& silhouette, int32_t centreX, int32_t centreY,
                                    int32_t halfWidth, int32_t halfHeight) const
{
    const int64_t top = std::max<int64_t>(0, int64_t{centreY} - halfHeight);
    const int64_t bottom = std::min<int64_t>(silhouette.height - 1, int64_t{centreY} + halfHeight);
    const int64_t left = std::max<int64_t>(0, int64_t{centreX} - halfWidth);
    const int64_t right = std::min<int64_t>(silhouette.width - 1, int64_t{centreX} + halfWidth);
    for (int64_t y = top; y <= bottom; ++y)
        for (int64_t x = left; x <= right; ++x)
            if (silhouette.AlphaAt(static_cast<int32_t>(x), static_cast<int32_t>(y)) < kOpaqueAlpha)
                return false;
    return true;
}

void HullPathSet::CellToWorld(int32_t column, int32_t row, int32_t& x, int32_t& y, float scale) const
{
    if (!hasSilhouette || w <= 0 || h <= 0)
        return;
    x = static_cast<int32_t>((static_cast<float>(column) - static_cast<float>(w) * 0.5f + 0.5f) *
                             static_cast<float>((x1 - x0) / w) * scale);
    y = static_cast<int32_t>(static_cast<float>((y1 - y0) / h) *
                             (static_cast<float>(row) - static_cast<float>(h) * 0.5f + 0.5f) * scale);
}

int32_t HullPathSet::IsGridPointOpen(int32_t column, int32_t row) const
{
    return IsInside(column, row) ? cells[CellIndex(column, row)] : 0;
}

bool HullPathSet::IsInside(int32_t column, int32_t row) const
{
    return column >= 0 && row >= 0 && column < cellColumns && row < cellRows;
}

size_t HullPathSet::CellIndex(int32_t column, int32_t row) const
{
    return static_cast<size_t>(row) * static_cast<size_t>(cellColumns) + static_cast<size_t>(column);
}
