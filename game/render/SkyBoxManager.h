#pragma once
// The star background of the 3D views: a textured cube around the camera,
// drawn with the camera's rotation only, so the stars never come nearer. Its
// texture is a cross of 4 × 3 cells, six of them the cube's faces (the
// generator tools/sky/make_sky.py draws "sky1" to these corners). The render
// manager makes the one sky box at its set-up; the 3D view and the menu
// scenes draw it first, behind everything.

#include <glm/mat4x4.hpp>

#include <string>

class Qel2dBitmap;
class QelDrawProcess;
class QelIndexList;
class QelVertexList;

class SkyBoxManager {
public:
    static constexpr float kHalfSize = 50.0f;
    static constexpr int kVertexCount = 24;  // four a face
    static constexpr int kIndexCount = 36;   // two triangles a face
    static constexpr const char* kShaderName = "Skybox";
    static constexpr const char* kVertexListName = "SkyBox_verts";
    static constexpr const char* kIndexListName = "SkyBox_indexes";
    // The texture every machine has: the build draws it.
    static constexpr const char* kDefaultTexture = "sky1";

    // Builds the cube at once.
    SkyBoxManager();
    virtual ~SkyBoxManager();
    SkyBoxManager(const SkyBoxManager&) = delete;
    SkyBoxManager& operator=(const SkyBoxManager&) = delete;

    // Fetches the shader and (re)writes the cube's lists: positions, face
    // normals, indices, texture corners. Nothing without a graphics service.
    virtual void Build();
    // Draws the cube with no world transform and the given view matrix (the
    // shader keeps only its rotation). Nothing without a texture or shader.
    // Whether it drew: the sky then covers every pixel of the view.
    virtual bool Draw(const glm::mat4& view);
    // Replaces the texture: the old one is let go of (when the sky box loaded
    // it), the new one loaded by name; a name that loads nothing falls back to
    // "sky1", and when that fails too the sky box has no texture.
    virtual void SetTexture(const std::string& name);

    const std::string& TextureName() const { return textureName; }
    Qel2dBitmap* Texture() const { return texture; }

private:
    void ReleaseTexture();
    Qel2dBitmap* LoadTexture(const std::string& name);

    std::string textureName;
    QelDrawProcess* shader = nullptr;
    Qel2dBitmap* texture = nullptr;
    bool ownsTexture = false;  // loaded here, not by someone else before
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
};

// The program's one sky box while the render manager lives; null otherwise.
extern SkyBoxManager* theSkyBox;
