#include "game/script/GameControls.h"

namespace {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 3;
constexpr int kVersionPatch = 0;

}  // namespace

std::string GSGetGameVersion()
{
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." + std::to_string(kVersionPatch);
}
