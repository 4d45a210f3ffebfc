#pragma once
// The star background of the 3D views: a textured cube around the camera,
// drawn with the camera's rotation only, so the stars never come nearer. A
// sky image is a cross of 4 x 3 cells, six of them the cube's faces (the
// generator tools/sky/make_sky.py draws "sky1" to these corners); the cube
// is textured from the faces alone, cut out once and kept (SkyFaces.h). The
// render manager makes its sky box at set-up and holds it; the 3D view and
// the menu scenes draw it first, behind everything.

#include <glm/mat4x4.hpp>

#include <memory>
#include <string>

class Qel2dBitmap;
class QelDrawProcess;
class QelIndexList;
class QelVertexList;
class SkyFacesLoader;

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
    // A sky's faces are kept by the graphics service under its name and this.
    static constexpr const char* kFacesSuffix = ".skyfaces";

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
    // Makes the named sky the texture, at once: BeginTexture, then
    // FinishLoading.
    virtual void SetTexture(const std::string& name);

    // Starts making the named sky the texture; the sky drawn so far stays
    // until the new one is complete. A sky whose faces are held already is
    // taken at once; a name that loads nothing falls back to "sky1", and when
    // that fails too the sky box has no texture. The faces of every sky but
    // "sky1" are let go of when another sky replaces them.
    void BeginTexture(const std::string& name);
    // One step of the loading begun; false once nothing is left to load.
    bool ContinueLoading();
    // What is left of the loading, at once.
    void FinishLoading();
    bool Loading() const { return loader != nullptr; }

    const std::string& TextureName() const { return textureName; }
    Qel2dBitmap* Texture() const { return texture; }

private:
    void Install(const std::string& name, Qel2dBitmap* faces);
    void ReleaseTexture();
    void WriteTexCoords(int width, int height);

    std::string textureName;
    std::string loadingName;
    std::unique_ptr<SkyFacesLoader> loader;
    QelDrawProcess* shader = nullptr;
    Qel2dBitmap* texture = nullptr;
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
};
