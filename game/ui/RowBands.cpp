#include "game/ui/RowBands.h"

int32_t RowBands::BandOf(int32_t row)
{
    return row >= 0 ? row / kBandRows : -((-row + kBandRows - 1) / kBandRows);
}

void RowBands::File(const IntRect& box, uint32_t index)
{
    for (int32_t band = BandOf(box.top); band <= BandOf(box.bottom); ++band)
        bands_[band].push_back(index);
}
