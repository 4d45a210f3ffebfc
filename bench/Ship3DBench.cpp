// 3D frame time of lit ships: 10, 50 and 200 of the game's own hulls in
// view of the chase camera, drawn with the lit-ship shader and its spot
// lights over a star box, at 1024 x 768, finished on the GPU. The first is
// the player's frigate under the camera; the others are scattered through
// the view from 400 to 4000 units ahead, as a battle would place them. Run
// under llvmpipe on the offscreen driver with two rasterizer threads; the
// goal is 30 frames a second with 50 ships.
#include <benchmark/benchmark.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/OffscreenBench.h"
#include "game/render/Camera.h"
#include "game/render/RedwoodPointLight.h"
#include "helper/CRand.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr float kPi = 3.14159265f;
constexpr int kStarSide = 1024;  // the size of a sky texture
constexpr int kMostShips = 200;
constexpr float kNearest = 400.0f, kFarthest = 4000.0f;  // how far ahead the other ships are
// Hulls of the scene with their display scale, as the ship list gives it.
const std::pair<const char*, float> kHulls[] = {{"tern_frigate", 0.4f},    {"fleet_light_cruiser", 0.5f},
                                                {"skarn_raider", 0.5f},     {"skarn_carrier", 0.5f},
                                                {"kestrel_fighter", 0.5f}};

class Ship3DFixture {
public:
    Ship3DFixture()
    {
        ready_ = offscreen_.Ready();
        if (!ready_)
            return;
        for (const auto& [hull, scale] : kHulls) {
            meshes_.push_back(graphics_.Load3DObject(std::string("ships/") + hull, "Redwood"));
            scales_.push_back(scale);
            ready_ = ready_ && meshes_.back() != nullptr;
        }
        MakeSky();
        graphics_.SetPerspective(kPi / 3, static_cast<float>(kWidth) / kHeight, 1.0f, 100000.0f);
        camera_.eye = -glm::vec3(0, 60, -160);
        camera_.target = glm::vec3(0);
        camera_.LookAtTarget();
        PlaceShips();
    }
    ~Ship3DFixture() { meshes_.clear(); }

    bool Ready() const { return ready_; }

    void Frame(int ships)
    {
        offscreen_.Context().Clear();
        sky_->Draw3D(glm::mat4(1.0f), camera_.matrix, nullptr, 0, 0);
        QelDrawProcess* redwood = graphics_.GetShader("Redwood");
        const glm::vec3 direction = glm::normalize(camera_.eye - camera_.target);
        redwood->SetParameter("lightDir", 1, 0, 0, 0);
        redwood->SetParameter("cameraPos", camera_.eye.x, camera_.eye.y, camera_.eye.z, 1);
        redwood->SetParameter("cameraDir", direction.x, direction.y, direction.z, 1);
        redwood->SetParameter("lightColorIntensity", 1, 1, 1, 1);
        redwood->SetParameter("ambientColor", 0.3f, 0.3f, 0.3f, 0.3f);
        for (int i = 0; i < ships; ++i) {
            const glm::vec3 at(worlds_[static_cast<size_t>(i)][3]);
            RedwoodPointLight{{1.0f, 0.6f, 0.3f}, at + glm::vec3(-30, 20, 0), 120}.Apply(redwood, 0);
            const size_t hull = static_cast<size_t>(i) % meshes_.size();
            meshes_[hull]->Draw(worlds_[static_cast<size_t>(i)], camera_.matrix, nullptr);
        }
        glFinish();
    }

private:
    // The player's frigate at the origin; each other ship at a fixed random
    // place inside the view, turned its own way, at its display scale.
    void PlaceShips()
    {
        const glm::mat4 viewToWorld = glm::inverse(camera_.matrix);
        const float spread = std::tan(kPi / 6) * 0.8f;
        csrand(1);
        const auto unit = [] { return static_cast<float>(crand()) / 32767.0f; };
        for (int i = 0; i < kMostShips; ++i) {
            glm::vec3 at(0.0f);
            if (i > 0) {
                const float depth = kNearest + (kFarthest - kNearest) * unit();
                const glm::vec4 seen((unit() * 2 - 1) * spread * depth * kWidth / kHeight,
                                     (unit() * 2 - 1) * spread * depth, depth, 1.0f);
                at = glm::vec3(viewToWorld * seen);
            }
            const float scale = scales_[static_cast<size_t>(i) % scales_.size()];
            worlds_.push_back(glm::scale(glm::rotate(glm::translate(glm::mat4(1.0f), at), 6.283f * unit(),
                                                     glm::vec3(0, 1, 0)),
                                         glm::vec3(scale)));
        }
    }

    // A box of stars, each face showing the whole star texture.
    void MakeSky()
    {
        Qel2dBitmap* stars = graphics_.GetRenderTarget("bench-stars", kStarSide, kStarSide, false);
        for (int i = 0; i < 4000; ++i)
            stars->SetPixel(i * 7919 % kStarSide, i * 104729 % kStarSide, 1, 1, 1, 1);
        QelVertexList* box = graphics_.GetVertList("bench-stars_v", 24, false);
        QelIndexList* indices = graphics_.GetIndexList("bench-stars_i", 36);
        const glm::vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int face = 0; face < 6; ++face) {
            const glm::vec3 out = axes[face / 2] * (face % 2 ? -50.0f : 50.0f);
            const glm::vec3 u = axes[(face / 2 + 1) % 3] * 50.0f, v = axes[(face / 2 + 2) % 3] * 50.0f;
            const glm::vec3 corners[4] = {out - u - v, out + u - v, out + u + v, out - u + v};
            for (int k = 0; k < 4; ++k) {
                box->SetPosition(face * 4 + k, corners[k].x, corners[k].y, corners[k].z);
                box->SetTexCoord(face * 4 + k, 0, k == 1 || k == 2 ? 1.0f : 0.0f, k >= 2 ? 1.0f : 0.0f);
            }
            const uint32_t first = static_cast<uint32_t>(face * 4);
            const uint32_t quad[6] = {first, first + 1, first + 2, first, first + 2, first + 3};
            for (int k = 0; k < 6; ++k)
                indices->SetIndex(face * 6 + k, quad[k]);
        }
        sky_ = graphics_.GetShader("Skybox");
        sky_->bitmap2DList = {stars};
        sky_->vertList = {box};
        sky_->indexList = {indices};
    }

    OffscreenBench offscreen_{kWidth, kHeight};
    GLQelGraphicsClass& graphics_ = offscreen_.Graphics();
    std::vector<std::unique_ptr<QEL3DObject>> meshes_;
    std::vector<float> scales_;
    std::vector<glm::mat4> worlds_;
    QelDrawProcess* sky_ = nullptr;
    Camera camera_;
    bool ready_ = false;
};

// The game's data folder holds the generated meshes (unless the environment
// names another).
Ship3DFixture& Fixture()
{
    setenv("QEL_DATA_DIR", QEL_SOURCE_DIR "/data", 0);
    static Ship3DFixture fixture;
    return fixture;
}

void BM_LitShips(benchmark::State& state)
{
    Ship3DFixture& fixture = Fixture();
    if (!fixture.Ready()) {
        state.SkipWithError("no GL 3.3 context on the offscreen driver, or no generated meshes");
        return;
    }
    const int ships = static_cast<int>(state.range(0));
    for (auto _ : state)
        fixture.Frame(ships);
    state.counters["ships"] = ships;
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LitShips)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
