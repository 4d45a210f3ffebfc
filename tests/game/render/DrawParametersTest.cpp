#include <gtest/gtest.h>

#include <map>

#include "engine/base/QelQuietGraphics.h"
#include "game/render/PointSandwich.h"
#include "game/render/RedwoodPointLight.h"
#include "helper/QelAssert.h"
#include "tests/game/render/MeshFixtures.h"

namespace {

// A shader that remembers the parameters it was given and the draws it made.
class RecordingProcess : public QelDrawProcess {
public:
    void Draw2D() override {}
    void Draw3D(const glm::mat4&, const glm::mat4&, void*, int count, int) override
    {
        ++draws;
        lastCount = count;
    }
    void SetParameter(std::string name, float x, float y, float z, float w) override
    {
        parameters[name + (name.rfind("spot", 0) == 0 ? std::to_string(static_cast<int>(x)) : "")] = {x, y, z, w};
    }

    std::map<std::string, glm::vec4> parameters;
    int draws = 0;
    int lastCount = -1;
};

class RecordingGraphics : public QelQuietGraphics {
public:
    QelDrawProcess* GetShader(std::string name) override { return &processes[name]; }
    QelDrawProcess* FindShader(std::string name) override { return &processes[name]; }

    std::map<std::string, RecordingProcess> processes;
};

TEST(RedwoodPointLight, apply_writes_every_value_of_its_slot_and_refuses_slots_outside_0_to_15)
{
    RecordingProcess redwood;
    RedwoodPointLight light{{1, 0.5f, 0.25f}, {10, 20, 30}, 400};
    light.Apply(&redwood, 15);
    EXPECT_EQ(redwood.parameters["spotPos15"], glm::vec4(15, 10, 20, 30));
    EXPECT_EQ(redwood.parameters["spotRadius15"], glm::vec4(15, 400, 0, 0));
    EXPECT_EQ(redwood.parameters["spotColor15"], glm::vec4(15, 1, 0.5f, 0.25f));
    RedwoodPointLight{{0, 1, 0}, {1, 2, 3}, 5}.Apply(&redwood, 15);
    EXPECT_EQ(redwood.parameters["spotPos15"], glm::vec4(15, 1, 2, 3));
    EXPECT_EQ(redwood.parameters["spotRadius15"], glm::vec4(15, 5, 0, 0));
    EXPECT_EQ(redwood.parameters["spotColor15"], glm::vec4(15, 0, 1, 0));
    EXPECT_THROW(light.Apply(&redwood, 16), qel::AssertionFailure);
    EXPECT_THROW(light.Apply(&redwood, -1), qel::AssertionFailure);
    EXPECT_THROW(light.Apply(nullptr, 0), qel::AssertionFailure);
}

TEST(PointSandwichDraw, the_shell_draws_white_with_its_colour_centre_and_band_or_flat)
{
    RecordingGraphics graphics;
    const auto hull = qeltest::TriangleMesh(graphics, "hull", qeltest::Box({-1, -1, -1}, {1, 1, 1}));
    PointSandwich shell("hull", hull.get(), false, graphics);
    shell.centerPoint = {3, 4, 5};
    shell.minMax = {26, 31};
    shell.Draw(glm::mat4(1.0f), glm::mat4(1.0f), {0.2f, 0.8f, 0, 0.5f});
    RecordingProcess& ring = graphics.processes["PointRing"];
    EXPECT_EQ(ring.draws, 1);
    EXPECT_EQ(ring.lastCount, 0);  // the whole index list
    EXPECT_EQ(ring.parameters["color"], glm::vec4(0.2f, 0.8f, 0, 0.5f));
    EXPECT_EQ(ring.parameters["centerPoint"], glm::vec4(3, 4, 5, 1));
    EXPECT_EQ(ring.parameters["minMax"], glm::vec4(26, 31, 1, 1));
    ASSERT_EQ(ring.bitmap2DList.size(), 1u);
    EXPECT_EQ(ring.bitmap2DList[0], graphics.Find2DBitmap("smallWhite"));
    EXPECT_EQ(ring.vertList, std::vector<QelVertexList*>{shell.vertexList});
    EXPECT_EQ(ring.indexList, std::vector<QelIndexList*>{shell.indexList});

    shell.DrawFlat(glm::mat4(1.0f), glm::mat4(1.0f), {1, 0, 0, 1});
    RecordingProcess& flat = graphics.processes["Flat"];
    EXPECT_EQ(flat.draws, 1);
    EXPECT_EQ(flat.parameters["color"], glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(flat.parameters.count("minMax"), 0u);
}

}  // namespace
