#pragma once
// The named signs missions put into space for the consoles' maps: nav points
// (a point, or an area of four corners) and nav proxies (a label standing in
// for a space object). Plain records the world keeps under small integer ids
// drawn from one counter; the server sends one whenever its change flag is
// set, and every one to a console that connects.

#include "helper/ColorParse.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

struct Navpoint {
    std::string text;
    std::string visibleToSide;  // the side that sees it; empty = every side
    uint64_t visibleToShip = 0; // the one ship that sees it; 0 = every ship
    glm::vec3 pos{0.0f};
    std::array<glm::vec2, 4> corners{};  // an area's corners on the plane, in the order given
    bool isArea = false;
    glm::vec4 color{1.0f};
    int32_t has_changed_flag = 0;  // not 0: the server sends it at its next frame and clears this

    // Leaves the change flag alone: the mission sets it when it is done.
    void SetColor(std::string colorString) { ParseColor(color, std::move(colorString)); }
};

struct NavProxy {
    uint64_t proxy_id = 0;  // the space object it stands for
    std::string text;
    std::string shiptype;   // the hull key it is drawn as
    glm::vec3 pos{0.0f};    // the object's place when made; moved by the mission after that
    glm::vec4 color{1.0f};
    int32_t has_changed_flag = 0;

    void SetColor(std::string colorString) { ParseColor(color, std::move(colorString)); }
};
