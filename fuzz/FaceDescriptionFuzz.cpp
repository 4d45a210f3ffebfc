// Face descriptions, written by missions into objects' keyed values: any
// text reads as a list of portrait parts whose colours are colours.

#include "fuzz/support/FuzzProcess.h"
#include "game/render/FaceDescription.h"

#include <cmath>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view description(reinterpret_cast<const char*>(data), size);
    for (const FacePart& part : ParseFaceDescription(description))
        for (int i = 0; i < 4; ++i)
            QEL_FUZZ_CHECK(std::isfinite(part.colour[i]) && part.colour[i] >= 0.0f && part.colour[i] <= 1.0f,
                           "a part's colour \"" + part.colourText + "\" has a component outside 0..1");
    return 0;
}
