#pragma once
// A graphics service that draws nothing and makes nothing, for headless tests of
// code that only needs to reach the service; a test overrides what it watches.

#include "engine/base/QelGraphicsFactoryBase.h"

namespace qeltest {

class QuietFont : public QelBitmapFont {
public:
    void SetTextRect(int, int, int, int) override {}
    void SetTextRectFrom(const QelRect&) override {}
    void DrawTextLeft(std::string, const float[4], int) override {}
    void DrawTextRight(std::string, const float[4], int) override {}
    void DrawTextCentered(std::string, const float[4], int) override {}
    void SetSingleLine() override {}
    int LayoutText(std::string, int) override { return 0; }
    const std::vector<std::string>& LaidOutLines() const override { return lines_; }
    int GetTextWidth(std::string) override { return 0; }
    int GetTextHeight(std::string) override { return 0; }
    int GetLineHeight() override { return 0; }
    int GetAscent() override { return 0; }
    int GetDescent() override { return 0; }

private:
    std::vector<std::string> lines_;
};

class QuietGraphics : public QelGraphicsFactoryBase {
public:
    Qel2dBitmap* GetRenderTarget(std::string, int, int, bool) override { return nullptr; }
    Qel2dBitmap* Load2DBitmap(std::string) override { return nullptr; }
    Qel2dBitmap* Find2DBitmap(std::string) override { return nullptr; }
    QelDrawProcess* GetShader(std::string) override { return nullptr; }
    QelDrawProcess* FindShader(std::string) override { return nullptr; }
    QelBitmapFont* LoadFont(std::string, int) override { return nullptr; }
    QelBitmapFont* FindFont(std::string, int) override { return nullptr; }
    QelVertexList* GetVertList(std::string, int, bool) override { return nullptr; }
    QelVertexList* FindVertList(std::string) override { return nullptr; }
    QelIndexList* GetIndexList(std::string, int) override { return nullptr; }
    QelIndexList* FindIndexList(std::string) override { return nullptr; }
    QelInstanceList* GetInstanceList(std::string, int) override { return nullptr; }
    QelInstanceList* FindInstanceList(std::string) override { return nullptr; }
    void SetPerspective(float, float, float, float) override {}
    glm::mat4 GetProjectionMatrix() override { return glm::mat4(1.0f); }
    void Flush2D() override {}
    void Flush2DAndClearDepth(Qel2dBitmap*) override {}
    void IgnoreName(std::string) override {}
    int GetWidth() override { return 1024; }
    int GetHeight() override { return 768; }
    void SetFullScreen(bool) override {}
    bool IsFullScreen() override { return false; }
    void CloseProgram() override {}
    std::string PopDroppedFile() override { return {}; }
    void RecordProfileValue(int, float) override {}
    void RollProfileCounters() override {}
    void ShowErrorMessage(std::string) override {}
    void Delete2DBitmap(std::string) override {}
};

}  // namespace qeltest
