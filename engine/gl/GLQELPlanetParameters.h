#pragma once
// The constants of the planet shaders ("GasGiant" and "Volume"), in block
// order after the matrices: 192 bytes, for a 384-byte block.

#include <glm/vec4.hpp>

#include <string>

struct GLQELPlanetParameters {
    glm::vec4 camPos{0.0f};  // the camera's eye as the camera keeps it: minus its world position
    glm::vec4 camDir{0.0f};
    glm::vec4 lightDir{0.0f};  // toward the light; w unused
    glm::vec4 lightColorIntensity{0.0f};
    glm::vec4 ambientColor{0.0f};
    glm::vec4 baseColor{0.0f};
    glm::vec4 emissiveColor{0.0f};
    glm::vec4 upperCloudColor{0.0f};
    float fresnelPower = 0, fresnelBias = 0, timeScale = 0, radius = 0;
    float oblateness = 0, bandScale = 0, upperCloudStrength = 0, upperCloudExponent = 0;
    float windSpeed1 = 0, windSpeed2 = 0, stormSpeed = 0, stormSize = 0;
    float stormDepth = 0, cycloneStability = 0;
    float time = 0;  // the planet renderer's clock: bands, clouds and storm drift with it
    float unused = 0;

    // Sets the parameter of that name; false when it is not one of these.
    bool Set(const std::string& name, float x, float y, float z, float w);
};
static_assert(sizeof(GLQELPlanetParameters) == 192, "the planet constants fill bytes 192 to 383");
