#include "engine/gl/GLQELPlanetParameters.h"

#include <map>

bool GLQELPlanetParameters::Set(const std::string& name, float x, float y, float z, float w)
{
    static const std::map<std::string, glm::vec4 GLQELPlanetParameters::*> vectors = {
        {"camPos", &GLQELPlanetParameters::camPos},
        {"camDir", &GLQELPlanetParameters::camDir},
        {"lightColorIntensity", &GLQELPlanetParameters::lightColorIntensity},
        {"ambientColor", &GLQELPlanetParameters::ambientColor},
        {"baseColor", &GLQELPlanetParameters::baseColor},
        {"emissiveColor", &GLQELPlanetParameters::emissiveColor},
        {"upperCloudColor", &GLQELPlanetParameters::upperCloudColor}};
    static const std::map<std::string, float GLQELPlanetParameters::*> floats = {
        {"fresnelPower", &GLQELPlanetParameters::fresnelPower},
        {"fresnelBias", &GLQELPlanetParameters::fresnelBias},
        {"timeScale", &GLQELPlanetParameters::timeScale},
        {"radius", &GLQELPlanetParameters::radius},
        {"oblateness", &GLQELPlanetParameters::oblateness},
        {"bandScale", &GLQELPlanetParameters::bandScale},
        {"upperCloudStrength", &GLQELPlanetParameters::upperCloudStrength},
        {"upperCloudExponent", &GLQELPlanetParameters::upperCloudExponent},
        {"windSpeed1", &GLQELPlanetParameters::windSpeed1},
        {"windSpeed2", &GLQELPlanetParameters::windSpeed2},
        {"stormSpeed", &GLQELPlanetParameters::stormSpeed},
        {"stormSize", &GLQELPlanetParameters::stormSize},
        {"stormDepth", &GLQELPlanetParameters::stormDepth},
        {"cycloneStability", &GLQELPlanetParameters::cycloneStability},
        {"time", &GLQELPlanetParameters::time}};
    if (name == "lightDir") {
        lightDir = {x, y, z, 0.0f};
        return true;
    }
    if (const auto vector = vectors.find(name); vector != vectors.end()) {
        this->*(vector->second) = {x, y, z, w};
        return true;
    }
    if (const auto single = floats.find(name); single != floats.end()) {
        this->*(single->second) = x;
        return true;
    }
    return false;
}
