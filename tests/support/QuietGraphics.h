#pragma once
// A graphics service and a font that draw nothing, for headless tests of code
// that only needs to reach the service; a test overrides what it watches.

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelQuietGraphics.h"

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
    int GetLineStep() override { return 0; }
    int GetAscent() override { return 0; }
    int GetDescent() override { return 0; }

private:
    std::vector<std::string> lines_;
};

// The engine's own headless service: keeps CPU copies, draws nothing.
using QuietGraphics = QelQuietGraphics;

}  // namespace qeltest
