#include "engine/base/QelFontFace.h"

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"

#include <stb/stb_truetype.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

namespace {

// A font file larger than this is not a font the game ships; refusing it keeps
// a wrong name from reading a huge file into memory.
constexpr std::streamoff kMaxFontFileBytes = 64 * 1024 * 1024;

const char* const kDefaultFontBase = "data/QelDefault/DefaultSans";

std::string FontsFolder()
{
    return QelFileServices::Instance().DataSetFolder() + "/graphics/fonts/";
}

bool IsLineBreak(char c)
{
    return c == ' ' || c == '^' || c == '\n';
}

bool IsHardBreak(char c)
{
    return c == '^' || c == '\n';
}

// Fonts are only read: opening them for writing would fail on read-only data.
bool ReadWholeFontFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = path + ": cannot be opened";
        return false;
    }
    const std::streamoff length = file.tellg();
    if (length <= 0 || length > kMaxFontFileBytes) {
        error = path + ": empty or too large for a font";
        return false;
    }
    bytes.resize(static_cast<size_t>(length));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), length)) {
        error = path + ": cannot be read";
        return false;
    }
    return true;
}

// A font file as read once: the interface bakes one file at several sizes.
// The file's size and time tell a file replaced since from the one kept.
struct ReadFont {
    off_t size = 0;
    timespec modified{};
    std::shared_ptr<const std::vector<unsigned char>> bytes;
};

std::shared_ptr<const std::vector<unsigned char>> ReadFontFile(const std::string& path, std::string& error)
{
    static std::map<std::string, ReadFont> readFonts;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = path + ": cannot be opened";
        return nullptr;
    }
    ReadFont& kept = readFonts[path];
    if (kept.bytes && kept.size == info.st_size && kept.modified.tv_sec == info.st_mtim.tv_sec &&
        kept.modified.tv_nsec == info.st_mtim.tv_nsec)
        return kept.bytes;
    auto bytes = std::make_shared<std::vector<unsigned char>>();
    if (!ReadWholeFontFile(path, *bytes, error)) {
        readFonts.erase(path);
        return nullptr;
    }
    kept = {info.st_size, info.st_mtim, bytes};
    return bytes;
}

constexpr int kGlyphCount = QelFontFace::kEndCode - QelFontFace::kFirstCode;

// Rows for the glyphs at the size: each takes about half of its size's square
// of the atlas, rounded up to a power of two.
int GuessedAtlasHeight(int size)
{
    const int64_t side = int64_t{size} + 1;
    const int64_t rows = kGlyphCount * side * side / (2 * QelFontFace::kAtlasSide);
    int height = QelFontFace::kMinAtlasHeight;
    while (height < rows && height < QelFontFace::kAtlasSide)
        height *= 2;
    return height;
}

// Bakes the glyphs into as few rows as hold them: the guess, doubled while
// they do not fit, up to the square. stb clears every row it is given, so a
// small font clears a strip rather than a megabyte. Returns stb's result of
// the last try: the rows used, or minus the glyphs that fit the square.
int BakeAtlas(const std::vector<unsigned char>& file, int offset, int size, std::vector<uint8_t>& atlas,
              stbtt_bakedchar* baked)
{
    for (int height = GuessedAtlasHeight(size);; height *= 2) {
        atlas.resize(static_cast<size_t>(QelFontFace::kAtlasSide) * height);
        const int result = stbtt_BakeFontBitmap(file.data(), offset, static_cast<float>(size), atlas.data(),
                                                QelFontFace::kAtlasSide, height, QelFontFace::kFirstCode,
                                                kGlyphCount, baked);
        if (result > 0 || height >= QelFontFace::kAtlasSide)
            return result;
    }
}

}  // namespace

// Font names come from the preferences, so a wrong one must not end the game.
bool QelFontFace::LoadGameFont(const std::string& name, int size, bool fromDefaults, const std::string& label)
{
    const std::string base = fromDefaults ? std::string("data/QelDefault/") + name : FontsFolder() + name;
    if (LoadEitherFile(base, size, label))
        return true;
    std::fprintf(stderr, "Font %s: falling back to the default font.\n", label.c_str());
    if (LoadEitherFile(kDefaultFontBase, size, label))
        return true;
    std::fprintf(stderr, "Font %s: the default font is missing too; text is not drawn.\n", label.c_str());
    return false;
}

bool QelFontFace::LoadEitherFile(const std::string& base, int size, const std::string& label)
{
    std::string ttfError, otfError;
    *this = QelFontFace();
    if (Load(qel::ResolveGamePath(base + ".ttf"), size, ttfError) ||
        Load(qel::ResolveGamePath(base + ".otf"), size, otfError)) {
        if (Overflowed())
            std::fprintf(stderr, "Font %s: %s; the rest draw nothing.\n", label.c_str(), ttfError.c_str());
        return true;
    }
    std::fprintf(stderr, "Font %s: %s; %s.\n", label.c_str(), ttfError.c_str(), otfError.c_str());
    return false;
}

bool QelFontFace::Load(const std::string& path, int size, std::string& error)
{
    size_ = size;
    const std::shared_ptr<const std::vector<unsigned char>> read = ReadFontFile(path, error);
    if (!read)
        return false;
    const std::vector<unsigned char>& file = *read;
    stbtt_fontinfo info;
    const int offset = stbtt_GetFontOffsetForIndex(file.data(), 0);
    if (offset < 0 || stbtt_InitFont(&info, file.data(), offset) == 0 || size <= 0) {
        error = path + ": not a TrueType or OpenType font, or a size below 1";
        return false;
    }
    stbtt_bakedchar baked[kEndCode - kFirstCode];
    const int result = BakeAtlas(file, offset, size, atlas_, baked);
    // Nothing baked (not even the first glyph fits) is an overflow too.
    overflowed_ = result <= 0;
    TrimAtlas(overflowed_ ? kAtlasSide : result);
    const int bakedCount = overflowed_ ? -result : kEndCode - kFirstCode;
    for (int i = 0; i < bakedCount; ++i)
        glyphs_[i] = {baked[i].x0, baked[i].y0, baked[i].x1, baked[i].y1, baked[i].xoff, baked[i].yoff,
                      baked[i].xadvance};
    if (overflowed_)
        error = path + " at size " + std::to_string(size) + ": only " + std::to_string(bakedCount) + " of " +
                std::to_string(kEndCode - kFirstCode) + " glyphs fit the " + std::to_string(kAtlasSide) +
                " x " + std::to_string(kAtlasSide) + " atlas";
    ReadMetrics(file);
    loaded_ = true;
    return true;
}

// Keeps the rows the glyphs were baked into, rounded up to a power of two.
void QelFontFace::TrimAtlas(int usedRows)
{
    atlasHeight_ = kMinAtlasHeight;
    while (atlasHeight_ < usedRows && atlasHeight_ < kAtlasSide)
        atlasHeight_ *= 2;
    atlas_.resize(static_cast<size_t>(kAtlasSide) * atlasHeight_);
}

// From the "hhea" table, scaled so that ascender - descender is the size.
void QelFontFace::ReadMetrics(const std::vector<unsigned char>& file)
{
    stbtt_fontinfo info;
    stbtt_InitFont(&info, file.data(), stbtt_GetFontOffsetForIndex(file.data(), 0));
    int ascender = 0, descender = 0, gap = 0;
    stbtt_GetFontVMetrics(&info, &ascender, &descender, &gap);
    if (ascender == descender)
        return;
    const float scale = static_cast<float>(size_) / static_cast<float>(ascender - descender);
    ascent_ = static_cast<int>(ascender * scale);
    descent_ = static_cast<int>(descender * scale);
    lineGap_ = static_cast<int>(gap * scale);
}

const QelBakedGlyph* QelFontFace::Glyph(unsigned char code) const
{
    const int index = static_cast<int>(code) - kFirstCode;
    if (!loaded_ || index < 0 || index >= kEndCode - kFirstCode)
        return nullptr;
    return &glyphs_[index];
}

float QelFontFace::Advance(unsigned char code) const
{
    const QelBakedGlyph* glyph = Glyph(code);
    return glyph ? glyph->xAdvance : 0.0f;
}

int QelFontFace::TextWidth(const std::string& text) const
{
    float width = 0;
    for (char c : text)
        width += Advance(static_cast<unsigned char>(c));
    return static_cast<int>(width);
}

size_t QelFontFace::CountFittingChars(const std::string& text, int width) const
{
    float sum = 0;
    for (size_t k = 0; k < text.size(); ++k) {
        sum += Advance(static_cast<unsigned char>(text[k]));
        if (sum > static_cast<float>(width)) {
            for (size_t j = k; j >= 1; --j)
                if (text[j] == ' ' || text[j] == '^')
                    return j;
            return k;
        }
    }
    return text.size();
}

int QelFontFace::LayoutText(const std::string& whole, int width, std::vector<std::string>& lines) const
{
    lines.clear();
    int height = 0;
    std::string text = whole.substr(0, kMaxLayoutBytes);
    while (true) {
        size_t count = CountFittingChars(text, width);
        const size_t hardBreak = text.find_first_of("^\n");
        if (hardBreak != std::string::npos && hardBreak < count)
            count = hardBreak;
        const bool endsAtBreak = count < text.size() && IsLineBreak(text[count]);
        // Nothing fits and no break to step over: the rest can never be laid
        // out, and going on would repeat the same empty line for ever.
        if (count == 0 && !endsAtBreak)
            break;
        lines.push_back(count == 0 ? std::string(" ") : text.substr(0, count));
        height += size_;
        std::string rest = text.substr(endsAtBreak ? count + 1 : count);
        while (!rest.empty() && rest.back() == ' ')
            rest.pop_back();
        if (rest.empty())
            break;
        text = std::move(rest);
    }
    return height;
}

int QelFontFace::FirstLineTop(int top, int bottom, int lineCount, QelTextAlign align) const
{
    if (align != QelTextAlign::Centre)
        return top;
    const float half = static_cast<float>(size_) * static_cast<float>(lineCount - 1) * 0.5f + size_ * 0.5f;
    return static_cast<int>(static_cast<float>((top + bottom) / 2) - half);
}

// The widest stretch between hard breaks decides the alignment.
int QelFontFace::WidestRun(const std::string& text) const
{
    int widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && !IsHardBreak(text[end]))
            ++end;
        widest = std::max(widest, TextWidth(text.substr(start, end - start)));
        start = end + 1;
    }
    return widest;
}

std::vector<QelGlyphQuad> QelFontFace::LineQuads(const std::string& line, int left, int top, int right,
                                                 QelTextAlign align) const
{
    float pen = static_cast<float>(left);
    const float baseline = static_cast<float>(top + ascent_);
    const int slack = right - WidestRun(line) - left;
    if (align == QelTextAlign::Right)
        pen += static_cast<float>(slack);
    else if (align == QelTextAlign::Centre)
        pen += static_cast<float>(slack / 2);

    std::vector<QelGlyphQuad> quads;
    quads.reserve(line.size());
    constexpr float kAtlasWidth = static_cast<float>(kAtlasSide);
    const float atlasHeight = static_cast<float>(atlasHeight_);
    for (char c : line) {
        const QelBakedGlyph* g = Glyph(static_cast<unsigned char>(c));
        if (!g)
            continue;
        const float x = std::floor(pen + g->xOffset + 0.5f);
        const float y = std::floor(baseline + g->yOffset + 0.5f);
        quads.push_back({x, y, x + static_cast<float>(g->x1 - g->x0), y + static_cast<float>(g->y1 - g->y0),
                         g->x0 / kAtlasWidth, g->y0 / atlasHeight, g->x1 / kAtlasWidth, g->y1 / atlasHeight});
        pen += g->xAdvance;
    }
    return quads;
}
