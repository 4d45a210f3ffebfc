#pragma once
// The graphics service of a program without a display (the headless server,
// tools, tests): it keeps the CPU copies of bitmaps and lists that meshes,
// silhouettes and hull shells are made from, and draws nothing. Meshes load
// through the same loaders as with a display, so the server can answer mesh
// requests and build interior grids from silhouettes.

#include <map>
#include <memory>
#include <string>

#include "engine/base/QelCpuIndexList.h"
#include "engine/base/QelCpuInstanceList.h"
#include "engine/base/QelCpuVertList.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelPixelImage.h"

// A bitmap that is only its pixels: every draw is nothing.
class QelCpuBitmap : public Qel2dBitmap {
public:
    void SetPixel(int x, int y, float alpha, float red, float green, float blue) override;
    void GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue) override;
    int GetWidth() override { return pixels_.Width(); }
    int GetHeight() override { return pixels_.Height(); }
    void SetDrawProcess(QelDrawProcess*, bool, bool) override {}
    void SetAsRenderTarget(bool, bool, const float[4]) override {}
    void DrawRotated(float, float, float, float, int, const float[4], bool) override {}
    void DrawLine(float, float, float, float, int, const float[4], bool) override {}
    void DrawQuad(const float[4], int, bool) override {}
    void SetDestRect(float, float, float, float) override {}
    void SetDestRectInt(const QelRect&) override {}
    void SetDestQuad(float, float, float, float, float, float, float, float) override {}
    void SetSourceRect(float, float, float, float) override {}
    void SetSourceRectInt(const QelRect&) override {}
    void SetSourceQuadPixels(float, float, float, float, float, float, float, float) override {}
    void SetSourceQuad(float, float, float, float, float, float, float, float) override {}
    bool RejectName(std::string) override { return false; }
    bool SavePNG(std::string name) override;

    QelPixelImage& Pixels() { return pixels_; }

private:
    QelPixelImage pixels_;
};

class QelQuietGraphics : public QelGraphicsFactoryBase {
public:
    // The size GetWidth and GetHeight report, as the window's would be.
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    // Makes the stand-in texture "smallWhite", as a service with a display loads it.
    QelQuietGraphics();

    Qel2dBitmap* GetRenderTarget(std::string name, int width, int height, bool renderTarget) override;
    Qel2dBitmap* Load2DBitmap(std::string name) override;
    Qel2dBitmap* Adopt2DImage(std::string name, QelPixelImage image) override;
    Qel2dBitmap* Find2DBitmap(std::string name) override;
    QelDrawProcess* GetShader(std::string name) override;
    QelDrawProcess* FindShader(std::string name) override;
    QelBitmapFont* LoadFont(std::string, int) override { return nullptr; }
    QelBitmapFont* FindFont(std::string, int) override { return nullptr; }
    QelVertexList* GetVertList(std::string name, int count, bool mustExist) override;
    QelVertexList* FindVertList(std::string name) override;
    QelIndexList* GetIndexList(std::string name, int count) override;
    QelIndexList* FindIndexList(std::string name) override;
    QelInstanceList* GetInstanceList(std::string name, int count) override;
    QelInstanceList* FindInstanceList(std::string name) override;
    void SetPerspective(float, float, float, float) override {}
    glm::mat4 GetProjectionMatrix() override { return glm::mat4(1.0f); }
    void Flush2D() override {}
    void Flush2DAndClearDepth(Qel2dBitmap*) override {}
    void IgnoreName(std::string) override {}
    int GetWidth() override { return kWidth; }
    int GetHeight() override { return kHeight; }
    void SetFullScreen(bool) override {}
    bool IsFullScreen() override { return false; }
    void CloseProgram() override {}
    std::string PopDroppedFile() override { return {}; }
    void RecordProfileValue(int, float) override {}
    void RollProfileCounters() override {}
    void ShowErrorMessage(std::string text) override;
    void Delete2DBitmap(std::string name) override { bitmaps_.erase(name); }

private:
    // A shader that takes any parameter and draws nothing.
    class QuietProcess : public QelDrawProcess {
    public:
        void Draw2D() override {}
        void Draw3D(const glm::mat4&, const glm::mat4&, void*, int, int) override {}
        void SetParameter(std::string, float, float, float, float) override {}
    };

    std::map<std::string, std::unique_ptr<QelCpuBitmap>> bitmaps_;
    std::map<std::string, std::unique_ptr<QuietProcess>> shaders_;
    std::map<std::string, std::unique_ptr<QelCpuVertList>> vertLists_;
    std::map<std::string, std::unique_ptr<QelCpuIndexList>> indexLists_;
    std::map<std::string, std::unique_ptr<QelCpuInstanceList>> instanceLists_;
};
