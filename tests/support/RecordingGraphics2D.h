#pragma once
// A 2D graphics service that records every draw instead of drawing, for
// headless tests of controls, widgets and scenes: each quad, line, sprite and
// text lands in one list, in call order, with its bitmap or font, geometry,
// colour and layer. Fonts measure every character kCharWidth pixels wide.

#include <glm/vec4.hpp>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/QuietGraphics.h"

namespace qeltest {

struct DrawRecord {
    enum class Kind { Quad, Line, Sprite, Text };
    Kind kind = Kind::Quad;
    std::string source;        // bitmap name, or font name and size
    float dest[8] = {};        // Quad: corners TL, TR, BL, BR; Line: x1, y1, x2, y2; Sprite: x, y, scale
    float src[8] = {};         // Quad: the source corners as given
    bool srcInPixels = false;  // set by SetSourceRect, clear for SetSourceQuad
    glm::vec4 colour{0.0f};
    int layer = 0;
    std::string text;  // Text
    QelRect box;       // Text: the text rectangle
    int align = 0;     // Text: 0 left, 1 right, 2 centred

    float Left() const { return std::min(std::min(dest[0], dest[2]), std::min(dest[4], dest[6])); }
    float Right() const { return std::max(std::max(dest[0], dest[2]), std::max(dest[4], dest[6])); }
    float Top() const { return std::min(std::min(dest[1], dest[3]), std::min(dest[5], dest[7])); }
    float Bottom() const { return std::max(std::max(dest[1], dest[3]), std::max(dest[5], dest[7])); }
};

class RecordingBitmap : public Qel2dBitmap {
public:
    RecordingBitmap(std::string name, int width, int height, std::vector<DrawRecord>& log)
        : name_(std::move(name)), width_(width), height_(height), alpha_(static_cast<size_t>(width * height), 1.0f),
          log_(log)
    {
    }

    void SetPixel(int x, int y, float alpha, float, float, float) override
    {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            alpha_[static_cast<size_t>(y * width_ + x)] = alpha;
    }
    void GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue) override
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return;
        alpha = alpha_[static_cast<size_t>(y * width_ + x)];
        red = green = blue = 1.0f;
    }
    int GetWidth() override { return width_; }
    int GetHeight() override { return height_; }
    void SetDrawProcess(QelDrawProcess*, bool, bool) override {}
    void SetAsRenderTarget(bool, bool, const float[4]) override {}
    void DrawRotated(float x, float y, float, float scale, int orderKey, const float colour[4], bool) override
    {
        DrawRecord record = Record(DrawRecord::Kind::Sprite, colour, orderKey);
        record.dest[0] = x;
        record.dest[1] = y;
        record.dest[2] = scale;
        log_.push_back(record);
    }
    void DrawLine(float x1, float y1, float x2, float y2, int orderKey, const float colour[4], bool) override
    {
        DrawRecord record = Record(DrawRecord::Kind::Line, colour, orderKey);
        const float points[8] = {x1, y1, x2, y2, x1, y1, x2, y2};
        std::copy(points, points + 8, record.dest);
        log_.push_back(record);
    }
    void DrawQuad(const float colour[4], int orderKey, bool) override
    {
        DrawRecord record = Record(DrawRecord::Kind::Quad, colour, orderKey);
        std::copy(dest_, dest_ + 8, record.dest);
        std::copy(src_, src_ + 8, record.src);
        record.srcInPixels = srcInPixels_;
        log_.push_back(record);
    }
    void SetDestRect(float l, float t, float r, float b) override { SetDestQuad(l, t, r, t, l, b, r, b); }
    void SetDestRectInt(const QelRect& r) override
    {
        SetDestRect(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                    static_cast<float>(r.bottom));
    }
    void SetDestQuad(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) override
    {
        const float corners[8] = {x0, y0, x1, y1, x2, y2, x3, y3};
        std::copy(corners, corners + 8, dest_);
    }
    void SetSourceRect(float l, float t, float r, float b) override
    {
        const float corners[8] = {l, t, r, t, l, b, r, b};
        std::copy(corners, corners + 8, src_);
        srcInPixels_ = true;
    }
    void SetSourceRectInt(const QelRect& r) override
    {
        SetSourceRect(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                      static_cast<float>(r.bottom));
    }
    void SetSourceQuadPixels(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) override
    {
        const float corners[8] = {x0, y0, x1, y1, x2, y2, x3, y3};
        std::copy(corners, corners + 8, src_);
        srcInPixels_ = true;
    }
    void SetSourceQuad(float u0, float v0, float u1, float v1, float u2, float v2, float u3, float v3) override
    {
        const float corners[8] = {u0, v0, u1, v1, u2, v2, u3, v3};
        std::copy(corners, corners + 8, src_);
        srcInPixels_ = false;
    }
    bool RejectName(std::string) override { return false; }
    bool SavePNG(std::string) override { return false; }

private:
    DrawRecord Record(DrawRecord::Kind kind, const float colour[4], int orderKey) const
    {
        DrawRecord record;
        record.kind = kind;
        record.source = name_;
        record.colour = glm::vec4(colour[0], colour[1], colour[2], colour[3]);
        record.layer = orderKey;
        return record;
    }

    std::string name_;
    int width_, height_;
    std::vector<float> alpha_;
    std::vector<DrawRecord>& log_;
    float dest_[8] = {};
    float src_[8] = {};
    bool srcInPixels_ = false;
};

// Every character kCharWidth pixels wide; lines kLineHeight apart.
class RecordingFont : public QelBitmapFont {
public:
    static constexpr int kCharWidth = 8;
    static constexpr int kLineHeight = 16;

    RecordingFont(std::string name, std::vector<DrawRecord>& log) : name_(std::move(name)), log_(log) {}

    void SetTextRect(int left, int top, int right, int bottom) override { box_ = QelRect{left, top, right, bottom}; }
    void SetTextRectFrom(const QelRect& rect) override { box_ = rect; }
    void DrawTextLeft(std::string text, const float colour[4], int orderKey) override { Draw(text, colour, orderKey, 0); }
    void DrawTextRight(std::string text, const float colour[4], int orderKey) override { Draw(text, colour, orderKey, 1); }
    void DrawTextCentered(std::string text, const float colour[4], int orderKey) override
    {
        Draw(text, colour, orderKey, 2);
    }
    void SetSingleLine() override {}
    // Lines of as many characters as fit the width, broken after the last
    // blank that fits (a word longer than a line where the line ends); '^'
    // and a line end always break, as in the game's fonts.
    int LayoutText(std::string text, int width) override
    {
        const size_t perLine = static_cast<size_t>(std::max(width / kCharWidth, 1));
        lines_.clear();
        size_t paragraph = 0;
        while (true) {
            const size_t end = std::min(text.find_first_of("^\n", paragraph), text.size());
            if (end == paragraph)
                lines_.emplace_back();
            for (size_t start = paragraph; start < end;) {
                while (start < end && text[start] == ' ' && start != paragraph)
                    ++start;
                if (start == end)
                    break;
                size_t count = std::min(perLine, end - start);
                if (start + count < end && text[start + count] != ' ') {
                    const size_t blank = text.rfind(' ', start + count);
                    if (blank != std::string::npos && blank > start)
                        count = blank - start;
                }
                lines_.push_back(text.substr(start, count));
                start += count;
            }
            if (end == text.size())
                break;
            paragraph = end + 1;
        }
        return static_cast<int>(lines_.size()) * kLineHeight;
    }
    const std::vector<std::string>& LaidOutLines() const override { return lines_; }
    int GetTextWidth(std::string text) override { return static_cast<int>(text.size()) * kCharWidth; }
    int GetTextHeight(std::string) override { return kLineHeight; }
    int GetLineHeight() override { return kLineHeight; }
    int GetLineStep() override { return kLineHeight; }
    int GetAscent() override { return 12; }
    int GetDescent() override { return -4; }

    const std::string& Name() const { return name_; }

private:
    void Draw(const std::string& text, const float colour[4], int orderKey, int align)
    {
        DrawRecord record;
        record.kind = DrawRecord::Kind::Text;
        record.source = name_;
        record.colour = glm::vec4(colour[0], colour[1], colour[2], colour[3]);
        record.layer = orderKey;
        record.text = text;
        record.box = box_;
        record.align = align;
        log_.push_back(record);
    }

    std::string name_;
    std::vector<DrawRecord>& log_;
    QelRect box_;
    std::vector<std::string> lines_;
};

// The service: the bitmaps named in `available` load (8 × 8, opaque, unless
// AddBitmap gave another size), every font loads; the window is 1024 × 768.
class RecordingGraphics2D : public QuietGraphics {
public:
    RecordingGraphics2D() : available{"smallWhite", "gradient1024", "grid-icon-sheet"} {}

    Qel2dBitmap* Load2DBitmap(std::string name) override
    {
        ++loadRequests[name];
        if (Qel2dBitmap* bitmap = Find2DBitmap(name))
            return bitmap;
        if (available.count(name) == 0)
            return nullptr;
        return AddBitmap(name, name == "grid-icon-sheet" ? 1280 : 8, name == "grid-icon-sheet" ? 1280 : 8);
    }
    Qel2dBitmap* Find2DBitmap(std::string name) override
    {
        const auto found = bitmaps.find(name);
        return found == bitmaps.end() ? nullptr : found->second.get();
    }
    QelBitmapFont* LoadFont(std::string name, int size) override
    {
        const std::string key = name + std::to_string(size);
        auto& font = fonts[key];
        if (!font)
            font = std::make_unique<RecordingFont>(key, log);
        return font.get();
    }
    int GetWidth() override { return width; }
    int GetHeight() override { return height; }
    void SetFullScreen(bool on) override { fullScreen = on; }
    bool IsFullScreen() override { return fullScreen; }
    void CloseProgram() override { ++closeRequests; }

    RecordingBitmap* AddBitmap(const std::string& name, int w, int h)
    {
        available.insert(name);
        auto& bitmap = bitmaps[name];
        bitmap = std::make_unique<RecordingBitmap>(name, w, h, log);
        return bitmap.get();
    }

    // The records that pass a test; of one kind; drawn with one bitmap or
    // font; quads of one bitmap.
    template <class Test>
    std::vector<DrawRecord> Where(Test&& test) const
    {
        std::vector<DrawRecord> found;
        for (const DrawRecord& record : log)
            if (test(record))
                found.push_back(record);
        return found;
    }
    std::vector<DrawRecord> Of(DrawRecord::Kind kind) const
    {
        return Where([&](const DrawRecord& record) { return record.kind == kind; });
    }
    std::vector<DrawRecord> From(const std::string& source) const
    {
        return Where([&](const DrawRecord& record) { return record.source == source; });
    }
    std::vector<DrawRecord> Quads(const std::string& source) const
    {
        return Where([&](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Quad && r.source == source; });
    }
    // The texts drawn, in order.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const DrawRecord& record : Of(DrawRecord::Kind::Text))
            texts.push_back(record.text);
        return texts;
    }
    // The first text record with that text; a record with empty text when none.
    DrawRecord Text(const std::string& text) const
    {
        for (const DrawRecord& record : log)
            if (record.kind == DrawRecord::Kind::Text && record.text == text)
                return record;
        return DrawRecord{};
    }

    int width = 1024;
    int height = 768;
    std::set<std::string> available;
    bool fullScreen = false;
    int closeRequests = 0;
    std::map<std::string, int> loadRequests;
    std::vector<DrawRecord> log;
    std::map<std::string, std::unique_ptr<RecordingBitmap>> bitmaps;
    std::map<std::string, std::unique_ptr<RecordingFont>> fonts;
};

}  // namespace qeltest
