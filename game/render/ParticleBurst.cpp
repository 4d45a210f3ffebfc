#include "game/render/ParticleBurst.h"

#include "game/guimodel/KeyValueParser.h"
#include "game/render/Particle3DSSManager.h"
#include "game/world/FiniteMath.h"
#include "helper/CRand.h"
#include "helper/ColorParse.h"
#include "helper/GeneralUtils.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Cones open to a quarter of a half turn.
constexpr float kConeSpread = std::numbers::pi_v<float> / 4.0f;
// Integer ranges reach their top value as often as the others.
constexpr float kRangeTopWidening = 0.999f;
constexpr const char* kDocContext = "particle_event";

enum class Shape { None, Hull, LineX, LineY, LineZ, RingX, RingY, RingZ, ConeX, ConeY, ConeZ };

Shape ShapeNamed(const std::string& name)
{
    static const std::pair<const char*, Shape> kShapes[] = {
        {"hull", Shape::Hull},     {"line_x", Shape::LineX}, {"line_y", Shape::LineY}, {"line_z", Shape::LineZ},
        {"ring_x", Shape::RingX},  {"ring_y", Shape::RingY}, {"ring_z", Shape::RingZ}, {"cone_x", Shape::ConeX},
        {"cone_y", Shape::ConeY},  {"cone_z", Shape::ConeZ},
    };
    for (const auto& [shapeName, shape] : kShapes)
        if (name == shapeName)
            return shape;
    return Shape::None;
}

// 0..1 from the game's second random source.
float Unit()
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX);
}

// A number from text as atof reads it; what is not a finite number is 0.
float FiniteNumber(const std::string& text)
{
    const float value = LeadingFloat(text);
    return std::isfinite(value) ? value : 0.0f;
}

template <typename Value>
struct Range {
    Value min{};
    Value max{};

    // One value sets both ends, two set them in order; none, or only an empty
    // one, leaves the range.
    template <typename Read>
    void Set(const KeyValueParser::Entry& entry, Read read)
    {
        if (entry.size() < 2 || (entry.size() == 2 && entry[1].empty()))
            return;
        min = read(entry[1]);
        max = entry.size() > 2 ? read(entry[2]) : min;
        if (min > max)
            std::swap(min, max);
    }

    float Sample() const { return Unit() * static_cast<float>(max - min) + static_cast<float>(min); }
    // An integer of the range, each about as likely, held to what 32 bits hold.
    int32_t SampleInt() const
    {
        const double value = static_cast<double>(Unit()) *
                                 (static_cast<double>(max) + kRangeTopWidening - static_cast<double>(min)) +
                             static_cast<double>(min);
        return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
    }
};

// The burst a descriptor describes, read in the order of its entries.
struct ParticleEvent {
    Range<int32_t> count;
    bool align = false;
    Shape shape = Shape::None;
    bool smoke = false;
    Range<float> speed;
    glm::vec4 colourA{1.0f};
    glm::vec4 colourB{1.0f};
    Range<float> lifespan;
    Range<float> size;
    Range<int32_t> cell;
    Range<int32_t> delay;
};

struct KeyDoc {
    const char* key;
    const char* text;
};
constexpr KeyDoc kKeyDocs[] = {
    {"count", "int, number of particles created in this event"},
    {"align", "sets whether the subsequent offsets are relative to the front of the space object.  True or False."},
    {"shape", "sets the type of random pattern the particles follow.  hull, line_x, line_y, line_z, cone_x, cone_y, "
              "cone_z, ring_x, ring_y, ring_z"},
    {"smoke", "sets whether these particles are smoke or hot particles.  True or False."},
    {"speed", "float, speed of each particle (0.1-10.0)"},
    {"color", "color of particles"},
    {"lifespan", "number of frames (30/sec) each particle exists"},
    {"size", "float, scaling value for these particles(0.1-100.0)"},
    {"offset", "modify the emit point by these three numbers (x,y,z)"},
    {"image_cell", "index into the particle sprite sheet (0-15)"},
    {"delay", "number of frames (30/sec) before this particle appears and begins to age."},
};

// Records the key's documentation; false for a key no event knows.
bool Documented(KeyValueParser& parser, const std::string& key)
{
    for (const KeyDoc& doc : kKeyDocs)
        if (key == doc.key) {
            parser.AddDoc(kDocContext, key, doc.text);
            return true;
        }
    return false;
}

const auto kReadFloat = [](const std::string& text) { return FiniteNumber(text); };
const auto kReadInt = [](const std::string& text) { return LeadingInt(text); };

// Applies one entry; offsets move the emit point at once, turned with the
// object when "align" came before them.
void Apply(ParticleEvent& event, const KeyValueParser& parser, const std::string& key, glm::vec3& position,
           const glm::quat& orientation)
{
    const KeyValueParser::Entry& entry = parser.CurrentValues();
    const std::string first = entry.size() > 1 ? entry[1] : std::string();
    if (key == "count") {
        parser.GetIntRange(event.count.min, event.count.max);
    } else if (key == "align") {
        event.align = first == "True";
    } else if (key == "shape") {
        event.shape = ShapeNamed(first);
    } else if (key == "smoke") {
        event.smoke = first == "True";
    } else if (key == "speed") {
        event.speed.Set(entry, kReadFloat);
    } else if (key == "color") {
        if (entry.size() < 2 || first.empty())
            return;
        ParseColor(event.colourA, first);
        event.colourB = event.colourA;
        if (entry.size() > 2)
            ParseColor(event.colourB, entry[2]);
    } else if (key == "lifespan") {
        event.lifespan.Set(entry, kReadFloat);
    } else if (key == "size") {
        event.size.Set(entry, kReadFloat);
    } else if (key == "offset") {
        if (entry.size() < 4)
            return;
        const glm::vec3 offset(FiniteNumber(entry[1]), FiniteNumber(entry[2]), FiniteNumber(entry[3]));
        position += event.align ? orientation * offset : offset;
    } else if (key == "image_cell") {
        event.cell.Set(entry, kReadInt);
    } else if (key == "delay") {
        event.delay.Set(entry, kReadInt);
    }
}

// The direction a particle of the shape leaves in; line shapes carry their
// speed sample in their length.
glm::vec3 ShapeDirection(Shape shape, const glm::vec3& random, float angle, float speed, float spread)
{
    switch (shape) {
    case Shape::LineX:
        return {speed, 0.0f, 0.0f};
    case Shape::LineY:
        return {0.0f, speed, 0.0f};
    case Shape::LineZ:
        return {0.0f, 0.0f, speed};
    case Shape::RingX:
        return {0.0f, std::sin(angle), std::cos(angle)};
    case Shape::RingY:
        return {std::sin(angle), 0.0f, std::cos(angle)};
    case Shape::RingZ:
        return {std::sin(angle), std::cos(angle), 0.0f};
    case Shape::ConeY:
        return SafeNormalize({std::sin(angle), std::sin(spread), std::cos(angle)});
    case Shape::ConeZ:
        return SafeNormalize({std::sin(angle), std::cos(angle), std::sin(spread)});
    case Shape::ConeX: {
        const glm::quat open = glm::normalize(glm::quat(std::sin(spread), 0.0f, 0.0f, 1.0f));
        const glm::vec3 opened = SafeNormalize(open * glm::vec3(1.0f, 0.0f, 0.0f));
        const float roll = Unit() * 2.0f * std::numbers::pi_v<float> - std::numbers::pi_v<float>;
        const glm::quat turn = glm::normalize(glm::quat(roll, 1.0f, 0.0f, 0.0f));
        return SafeNormalize(turn * opened);
    }
    case Shape::None:
    case Shape::Hull:
        break;
    }
    return random;
}

// The descriptor's entries in order; offsets move the position.
ParticleEvent ReadEvent(const std::string& descriptor, glm::vec3& position, const glm::quat& orientation)
{
    KeyValueParser& parser = KeyValueParser::Global();
    parseStyleString(parser, descriptor);
    ParticleEvent event;
    for (std::string key = parser.NextEntry(); !key.empty(); key = parser.NextEntry())
        if (Documented(parser, key))
            Apply(event, parser, key, position, orientation);
    return event;
}

// One particle's direction: its shape's, turned with the object when the
// burst is aligned.
glm::vec3 Direction(const ParticleEvent& event, const glm::quat& orientation)
{
    const float angle = Unit() * 2.0f * std::numbers::pi_v<float> - std::numbers::pi_v<float>;
    glm::vec3 random;
    RandomVector(random, 1.0f);
    const float lineSpeed = event.speed.Sample();
    const float spread = Unit() * kConeSpread;
    const glm::vec3 direction = ShapeDirection(event.shape, random, angle, lineSpeed, spread);
    if (!event.align || event.shape == Shape::None || event.shape == Shape::Hull)
        return direction;
    const glm::vec3 turned = orientation * direction;
    return event.shape == Shape::ConeX ? SafeNormalize(turned) : turned;
}

}  // namespace

void SpawnParticleBurst(const std::string& descriptor, const glm::vec3& at, const glm::quat& orientation,
                        const ParticleHull* hull, Particle3DSSManager& hot, Particle3DSSManager& smoke)
{
    glm::vec3 position = at;
    const ParticleEvent event = ReadEvent(descriptor, position, orientation);
    // A script or a peer asking for millions gets one ring's worth.
    const int32_t wanted = std::clamp(event.count.SampleInt(), 0, Particle3DSSManager::kCapacity);
    Particle3DSSManager& into = event.smoke ? smoke : hot;
    const bool onHull = event.shape == Shape::Hull && hull && hull->randomVertex;
    for (int32_t i = 0; i < wanted; ++i) {
        const glm::vec3 direction = Direction(event, orientation);
        const glm::vec3 emit =
            onHull ? glm::vec3(hull->model * glm::vec4(hull->randomVertex() * kParticleHullLift, 1.0f)) : position;
        const float speed = event.speed.Sample();
        const float mix = Unit();
        const glm::vec4 colour = event.colourA * (1.0f - mix) + event.colourB * mix;
        const float size = event.size.Sample();
        const int32_t lifetime = event.lifespan.SampleInt();
        const int32_t cell = event.cell.SampleInt();
        into.Add(emit, direction * speed, colour, size, lifetime, cell, event.delay.SampleInt());
    }
}
