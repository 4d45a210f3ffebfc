#pragma once
// The engine's graphics service on OpenGL 3.3 core: owns every drawable
// resource by name, the projection matrix, the 2D batches and the render
// states, and offers the window services (size, full screen, quitting,
// dropped files, the error box) and a small profiling table. The system
// service makes the GL context, then calls Initialize; everything else
// reaches the service through gGraphicsFactory. What only the window's system
// knows comes through the QelSystemServices the program hands it.
//
// GL objects are made on first use, so resources (bitmaps with their pixels,
// fonts with their metrics, the lists) also work without a context.

#include <SDL2/SDL_video.h>

#include <map>
#include <memory>
#include <string>

#include "engine/base/QelSystemServices.h"
#include "engine/gl/GLQel2DBufferPool.h"
#include "engine/gl/GLQelRenderStates.h"
#include "engine/gl/QelShaderRegistry.h"

class GLQel2DBitmap;
class GLQELFont;
class GLQELShaderRoot;
class GLQELVertList;
class GLQELIndexList;
class GLQELInstanceList;

class GLQelGraphicsClass : public QelWindowGraphics {
public:
    // Where the window stood before it went full screen, to return it there;
    // empty (all zero) while none was saved.
    struct WindowPlacement {
        int x = 0, y = 0;
        int width = 0, height = 0;
        bool Empty() const { return width <= 0 || height <= 0; }
    };

    static constexpr int kProfileRows = 1000;
    static constexpr int kProfileSlots = 10;
    // The font every program has, from the engine's own folder.
    static constexpr const char* kDefaultFontName = "DefaultSans";
    static constexpr int kDefaultFontSize = 12;

    // Sized as the program asks until Initialize gives the drawable's size;
    // without a system no files are dropped.
    explicit GLQelGraphicsClass(const QelWindowSize& size = {}, QelSystemServices* system = nullptr);
    ~GLQelGraphicsClass() override;

    // The service while it exists (gGraphicsFactory as this class).
    static GLQelGraphicsClass& Instance();
    // True when GL functions may be called: a context was made current and loaded.
    static bool ContextReady();

    // Needs the window's GL context current; false (after telling the user)
    // when it is missing or too old.
    bool Initialize(int width, int height, SDL_Window* window) override;
    void Shutdown();

    Qel2dBitmap* GetRenderTarget(std::string name, int width, int height, bool renderTarget) override;
    Qel2dBitmap* Load2DBitmap(std::string name) override;
    Qel2dBitmap* Adopt2DImage(std::string name, QelPixelImage image) override;
    Qel2dBitmap* Find2DBitmap(std::string name) override;
    QelDrawProcess* GetShader(std::string name) override;
    QelDrawProcess* FindShader(std::string name) override;
    QelBitmapFont* LoadFont(std::string name, int size) override;
    QelBitmapFont* FindFont(std::string name, int size) override;
    QelVertexList* GetVertList(std::string name, int count, bool mustExist) override;
    QelVertexList* FindVertList(std::string name) override;
    QelIndexList* GetIndexList(std::string name, int count) override;
    QelIndexList* FindIndexList(std::string name) override;
    QelInstanceList* GetInstanceList(std::string name, int count) override;
    QelInstanceList* FindInstanceList(std::string name) override;
    void SetPerspective(float fieldOfView, float aspect, float nearPlane, float farPlane) override;
    glm::mat4 GetProjectionMatrix() override { return projection_; }
    void Flush2D() override;
    void Flush2DAndClearDepth(Qel2dBitmap* target) override;
    void SubmitDrawing() override;
    bool CopyToScreen(Qel2dBitmap& source, const QelRect& from, const QelRect& to) override;
    void IgnoreName(std::string) override {}
    int GetWidth() override { return windowWidth_; }
    int GetHeight() override { return windowHeight_; }
    void SetFullScreen(bool on) override;
    bool IsFullScreen() override;
    void CloseProgram() override;
    std::string PopDroppedFile() override;
    void RecordProfileValue(int slot, float value) override;
    void RollProfileCounters() override;
    void ShowErrorMessage(std::string text) override;
    void Delete2DBitmap(std::string name) override;
    bool FileExists(const std::string& path);
    bool KnowsShader(const std::string& name) override;
    // The shader classes GetShader makes, the engine's from the start; a
    // program adds its own here before asking for them.
    QelShaderRegistry& ShaderRegistry() { return shaderRegistry_; }

    // Once, on the first frame: forgets any saved placement and records that
    // this was done.
    void ResetSavedPlacement() override;
    bool PlacementSaved() const override { return placementSaved_; }
    const WindowPlacement& SavedPlacement() const { return savedPlacement_; }
    // Whether frames wait for the vertical blank when presented.
    bool VerticalSync() const override { return vsync_; }

    // The window's client area changed (full screen on or off).
    void ResizeSwapChain(int width, int height) override;
    // The size the 2D draws convert pixels with: the current target's.
    void SetDeviceSize(int width, int height);
    int DeviceWidth() const { return deviceWidth_; }
    int DeviceHeight() const { return deviceHeight_; }
    // A 2D vertex at pixel (x, y) of the current target, in clip space.
    Qel2DVertex MakeVertex(float x, float y, float u, float v, const float colour[4]) const;

    GLQel2DBufferPool& Pool() { return *pool_; }
    GLQelRenderStates& States() { return states_; }
    SDL_Window* Window() const { return window_; }
    const std::string& AdapterDescription() const { return adapterDescription_; }
    int ProfileRow() const { return profileRow_; }
    float PreviousPeak(int slot) const { return previousPeaks_[slot]; }

private:
    static bool IsDefaultFont(const std::string& name, int size);
    // Keeps the memory a frame frees for the next frame (see the .cpp).
    static void KeepFrameMemory();
    bool LoadBitmapFile(GLQel2DBitmap& bitmap, const std::string& path);

    std::map<std::string, std::unique_ptr<GLQel2DBitmap>> bitmaps_;
    QelShaderRegistry shaderRegistry_;
    std::map<std::string, std::unique_ptr<GLQELShaderRoot>> shaders_;
    std::map<std::string, std::unique_ptr<GLQELFont>> fonts_;
    std::map<std::string, std::unique_ptr<GLQELVertList>> vertLists_;
    std::map<std::string, std::unique_ptr<GLQELIndexList>> indexLists_;
    std::map<std::string, std::unique_ptr<GLQELInstanceList>> instanceLists_;

    float profileHistory_[kProfileRows][kProfileSlots] = {};
    float previousPeaks_[kProfileSlots] = {};
    float currentPeaks_[kProfileSlots] = {};
    int profileRow_ = 0;

    int windowWidth_, windowHeight_;  // the window's client size
    int deviceWidth_ = 0, deviceHeight_ = 0;  // the current target's size
    SDL_Window* window_ = nullptr;
    QelSystemServices* system_ = nullptr;  // the window's; null without one
    std::string adapterDescription_;
    glm::mat4 projection_{1.0f};  // stored transposed
    float fieldOfView_ = 0, aspect_ = 0, nearPlane_ = 0, farPlane_ = 0;
    std::unique_ptr<GLQel2DBufferPool> pool_;
    GLQelRenderStates states_;
    WindowPlacement savedPlacement_;
    bool placementSaved_ = false;  // set by the first frame's reset
    bool vsync_ = false;  // never set: frames are presented as soon as drawn
    bool loadingDefaults_ = false;
    bool contextOwnedHere_ = false;
};
