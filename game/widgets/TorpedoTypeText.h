#pragma once
// What the weapons console shows of a torpedo type: the style string the
// server string map holds under the type's key gives its proper name and
// the energy a torpedo of it is worth.

#include <cstdint>
#include <string>

struct TorpedoTypeText {
    bool described = false;  // the type has a style string
    std::string name;
    int32_t energyValue = 0;
};

TorpedoTypeText ReadTorpedoTypeText(const std::string& typeKey);
