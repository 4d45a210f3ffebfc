#pragma once
// The CPU half of a bitmap font: the glyphs of one TrueType or OpenType file
// baked at one pixel size into an 8-bit atlas, the font's vertical metrics,
// and the text layout (line breaking, alignment, glyph rectangles). It needs
// no graphics context, so metrics and layout are checked headless; the
// graphics service's font uploads the atlas and draws the rectangles.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct QelBakedGlyph {
    uint16_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // atlas rectangle, pixels
    float xOffset = 0, yOffset = 0;           // from the pen on the baseline
    float xAdvance = 0;
};

// One glyph as drawn: a pixel rectangle of the target and its atlas coordinates.
struct QelGlyphQuad {
    float left, top, right, bottom;  // pixels
    float u0, v0, u1, v1;            // 0..1 in the atlas
};

// Horizontal placement of a line in its box.
enum class QelTextAlign { Left = 0, Right = 1, Centre = 2 };

class QelFontFace {
public:
    // The atlas is this wide; its height is the power of two that holds the
    // baked rows (at most the width), so a small font's texture is a fraction
    // of the largest one's and is made and uploaded in a fraction of the time.
    static constexpr int kAtlasSide = 1024;
    // The shortest atlas: below this a texture saves nothing worth a row.
    static constexpr int kMinAtlasHeight = 16;
    static constexpr int kFirstCode = 0;
    static constexpr int kEndCode = 255;  // codes kFirstCode..kEndCode-1 are baked
    // Longer texts are cut before layout: a box holds far less, and the cut
    // bounds the work a script's text can cause.
    static constexpr size_t kMaxLayoutBytes = 1020;

    // Reads the file and bakes it; false (with the reason) when the file is
    // missing or not a font. A face that failed has no glyphs and metrics 0.
    bool Load(const std::string& path, int size, std::string& error);
    // The game's font of the name at the size: data/graphics/fonts/<name>
    // (fromDefaults: data/QelDefault/<name>), ".ttf" or else ".otf". A font
    // that cannot be read is reported on standard error under the label, and
    // the engine's default font is baked instead; false when that fails too
    // (the face then has no glyphs).
    bool LoadGameFont(const std::string& name, int size, bool fromDefaults, const std::string& label);
    // Set after Load when some glyphs did not fit the atlas (they draw nothing).
    bool Overflowed() const { return overflowed_; }

    int Size() const { return size_; }
    int LineStep() const { return size_; }
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }  // negative
    int LineGap() const { return lineGap_; }
    // ascent + descent + line gap: descent being negative, ascent - |descent| + gap.
    int LineHeight() const { return ascent_ + descent_ + lineGap_; }
    // kAtlasSide x AtlasHeight() coverage bytes, row by row (none before a bake).
    const std::vector<uint8_t>& Atlas() const { return atlas_; }
    int AtlasHeight() const { return atlasHeight_; }
    const QelBakedGlyph* Glyph(unsigned char code) const;

    // Sum of the advances of the bytes, truncated.
    int TextWidth(const std::string& text) const;
    // How many leading bytes fit in width, backing up to the last ' ' or '^'.
    size_t CountFittingChars(const std::string& text, int width) const;
    // Breaks text into lines no wider than width; returns lines x size.
    int LayoutText(const std::string& text, int width, std::vector<std::string>& lines) const;
    // First line's top for a box: top, or centred between top and bottom.
    int FirstLineTop(int top, int bottom, int lineCount, QelTextAlign align) const;
    // The glyph rectangles of one line in the box from left to right, top down.
    std::vector<QelGlyphQuad> LineQuads(const std::string& line, int left, int top, int right,
                                        QelTextAlign align) const;

private:
    bool LoadEitherFile(const std::string& base, int size, const std::string& label);
    float Advance(unsigned char code) const;
    int WidestRun(const std::string& text) const;
    void ReadMetrics(const std::vector<unsigned char>& file);
    void TrimAtlas(int usedRows);

    int size_ = 0;
    int ascent_ = 0, descent_ = 0, lineGap_ = 0;
    bool loaded_ = false;
    bool overflowed_ = false;
    int atlasHeight_ = kMinAtlasHeight;  // rows of atlas_
    std::array<QelBakedGlyph, kEndCode - kFirstCode> glyphs_{};
    std::vector<uint8_t> atlas_;
};
