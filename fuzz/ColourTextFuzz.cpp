// Colour texts, from ship lists, keyed values, scripts, style strings and the
// network: any text gives a colour whose four components are numbers in 0..1.

#include "fuzz/support/FuzzProcess.h"
#include "helper/ColorParse.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    glm::vec4 colour{-1.0f};
    const std::string text(reinterpret_cast<const char*>(data), size);
    ParseColor(colour, text);
    for (int i = 0; i < 4; ++i)
        QEL_FUZZ_CHECK(std::isfinite(colour[i]) && colour[i] >= 0.0f && colour[i] <= 1.0f,
                       "\"" + text + "\" gave a component outside 0..1: " + std::to_string(colour[i]));
    return 0;
}
