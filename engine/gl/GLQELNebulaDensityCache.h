#pragma once
// The clouds' density, worked out once a nebula into a grid (a 3D texture)
// instead of at every step of every ray of every frame. A nebula's cloud
// depends on its noise constants alone, so the grid is keyed by them: the
// march then reads one filtered texel a step. The grid spans the nebula's
// box in its own radii, and holds the cloud before its overall density.
// Grids of nebulae not drawn lately make room for new ones.

#include <glad/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class GLQELNebulaDensityCache {
public:
    // Texels along each side of a grid: about a nebula target's pixel
    // across a nebula filling the view, for 1.7 MB of half floats.
    static constexpr GLsizei kGridSide = 96;
    // Grids kept at once; more nebulae than this in view at once bake again
    // each frame, so it is far above what the render distance lets in.
    static constexpr size_t kMaxGrids = 16;

    // The noise constants that shape a cloud.
    struct Key {
        int32_t randomSeed = 0;
        int32_t numOctaves = 0;
        float baseFrequency = 0, baseAmplitude = 0, detailFrequency = 0, detailAmplitude = 0;
        float detailLacunarity = 0, domainWarp = 0, swirl = 0;
        // Bit for bit, so a constant a mission left NaN still finds its
        // grid instead of baking a new one every frame.
        bool operator==(const Key& other) const;
    };

    GLQELNebulaDensityCache() = default;
    ~GLQELNebulaDensityCache();
    GLQELNebulaDensityCache(const GLQELNebulaDensityCache&) = delete;
    GLQELNebulaDensityCache& operator=(const GLQELNebulaDensityCache&) = delete;

    // bakeProgram draws one layer of the grid from the noise constants in
    // the bound "Constants" block, given the layer in "bakeLayer" and the
    // side in "bakeSide"; vertexArray is any vertex array (the bake's
    // triangle comes from the vertex ids).
    void Setup(GLuint bakeProgram, GLuint vertexArray);
    // The grid of the key's cloud, baked now with the bound constants when
    // it is not kept; 0 when the graphics cannot bake one.
    GLuint Grid(const Key& key);
    size_t Count() const { return grids_.size(); }
    // Grids baked since set-up.
    size_t Bakes() const { return bakes_; }
    void Release();

private:
    struct Kept {
        Key key;
        GLuint texture = 0;
        uint64_t lastUse = 0;
    };

    // Fills the texture's every layer; false when it cannot be drawn into.
    bool Bake(GLuint texture);
    // The grid least lately used, handed over for a new key.
    Kept& Oldest();

    GLuint bakeProgram_ = 0;
    GLuint vertexArray_ = 0;
    GLuint framebuffer_ = 0;
    GLint layerLocation_ = -1;
    GLint sideLocation_ = -1;
    uint64_t uses_ = 0;
    size_t bakes_ = 0;
    std::vector<Kept> grids_;
};
