#pragma once
// The graphics service's font: a QelFontFace whose atlas is a bitmap of the
// service (white, glyph coverage as alpha), drawn as two triangles a glyph
// through the 2D batches, so all text of a font shares few draw calls.

#include <string>
#include <vector>

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelFontFace.h"

class GLQel2DBitmap;
class GLQelGraphicsClass;

class GLQELFont : public QelBitmapFont {
public:
    // key: the service's key, the font name followed by the size.
    GLQELFont(GLQelGraphicsClass& graphics, std::string key);

    void SetTextRect(int left, int top, int right, int bottom) override;
    void SetTextRectFrom(const QelRect& rect) override;
    void DrawTextLeft(std::string text, const float colour[4], int orderKey) override;
    void DrawTextRight(std::string text, const float colour[4], int orderKey) override;
    void DrawTextCentered(std::string text, const float colour[4], int orderKey) override;
    void SetSingleLine() override { singleLine_ = true; }
    int LayoutText(std::string text, int width) override;
    const std::vector<std::string>& LaidOutLines() const override { return lines_; }
    int GetTextWidth(std::string text) override { return face_.TextWidth(text); }
    int GetTextHeight(std::string) override { return GetLineHeight(); }
    int GetLineHeight() override { return face_.LineHeight(); }
    int GetLineStep() override { return face_.LineStep(); }
    int GetAscent() override { return face_.Ascent(); }
    int GetDescent() override { return face_.Descent(); }

    // Bakes the named font (".ttf", else ".otf") from the fonts folder, or
    // from the engine defaults; a missing or broken file falls back to the
    // default font with one log line.
    void LoadFont(const std::string& name, int size, bool fromDefaults);
    void EmptyFunction() {}
    void DrawTextLine(const std::string& text, int left, int top, int right, int bottom, const float colour[4],
                      QelTextAlign align, int orderKey);
    void DrawTextBox(const std::string& text, const float colour[4], QelTextAlign align, int orderKey);

    const QelFontFace& Face() const { return face_; }
    GLQel2DBitmap* Atlas() const { return atlas_; }

private:
    void FillAtlas();
    bool Inks(const QelGlyphQuad& q) const;

    GLQelGraphicsClass& graphics_;
    std::string name_;
    QelFontFace face_;
    GLQel2DBitmap* atlas_ = nullptr;  // owned by the service
    QelRect box_;
    std::vector<std::string> lines_;
    bool singleLine_ = false;
};
