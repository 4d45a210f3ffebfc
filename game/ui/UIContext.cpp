#include "game/ui/UIContext.h"

#include <cstdio>
#include <utility>

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIControlParts.h"
#include "game/world/AppData.h"
#include "game/world/PreferenceRules.h"
#include "helper/ColorParse.h"
#include "helper/QelAssert.h"

UIContext theUIContext;

namespace {

constexpr int kLeftButton = 0;
constexpr float kDimFactor = 0.4f;
// Shade i is the dim colour × (kFirstShade + kShadeStep × i).
constexpr float kFirstShade = 1.1f;
constexpr float kShadeStep = 0.2f;

// The shipped preference values: what a colour preference that does not parse keeps.
constexpr glm::vec4 kDefaultMainColour{0.208f, 0.753f, 0.910f, 1.0f};  // #35c0e8
constexpr glm::vec4 kDefaultKnobTextColour{0.0f, 0.0f, 0.0f, 1.0f};

const glm::vec4 kLogRed{1.0f, 0.0f, 0.0f, 1.0f};
// A box that any text's lines fit down: only its width counts.
constexpr int32_t kUnboundedHeight = 1 << 24;

// A colour preference, or the fallback with one line naming the preference.
glm::vec4 ColourPreference(const char* key, const glm::vec4& fallback)
{
    glm::vec4 colour = fallback;
    const std::string text = AppData::GetString(key);
    if (!uiParseColorValid(text, colour)) {
        std::fprintf(stderr, "Preference %s: \"%s\" is not a colour; the interface keeps its default.\n", key,
                     text.c_str());
    }
    return colour;
}

}  // namespace

TextSurfaceScope::TextSurfaceScope(UIContext& ui, std::string surface) : ui_(ui), previous_(std::move(ui.textSurface))
{
    ui_.textSurface = std::move(surface);
}

TextSurfaceScope::~TextSurfaceScope()
{
    ui_.textSurface = std::move(previous_);
}

// --- The rectangle stack -------------------------------------------------

void UIContext::SetCurrentRect(const IntRect& rect)
{
    rects_[rectIndex_] = rect;
}

void UIContext::SetCurrentRectEdges(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    rects_[rectIndex_].Set(left, top, right, bottom);
}

// Checked before the index moves, so a failed push or pop leaves the stack usable.
void UIContext::PushRect()
{
    QEL_ASSERT(rectIndex_ + 1 < kMaxRectDepth, "rectIndex < 20");
    ++rectIndex_;
    rects_[rectIndex_] = rects_[rectIndex_ - 1];
}

void UIContext::PopRect()
{
    QEL_ASSERT(rectIndex_ > 0, "rectIndex >= 0");
    --rectIndex_;
}

void UIContext::ShiftRectX(int32_t count, int32_t pixels)
{
    IntRect& rect = rects_[rectIndex_];
    const int32_t step = rect.Width() * count + pixels;
    rect.left += step;
    rect.right += step;
}

void UIContext::ShiftRectY(int32_t count, int32_t pixels)
{
    IntRect& rect = rects_[rectIndex_];
    const int32_t step = rect.Height() * count + pixels;
    rect.top += step;
    rect.bottom += step;
}

void UIContext::SquareRectRight()
{
    IntRect& rect = rects_[rectIndex_];
    rect.left = rect.right - rect.Height();
}

// --- The frame protocol ----------------------------------------------------

void UIContext::BeginFrame()
{
    previousActiveId = activeId;
    // A press dragged off its control is dropped only once the button is up
    // over no control.
    if (!LeftDown() && hotId == 0)
        activeId = 0;
    modalThisFrame = modalNextFrame;
    rectIndex_ = 0;
    previousHotId = hotId;
    hotId = 0;
    textRuns.runs.clear();
}

// A release anywhere outside the open list closes it.
void UIContext::EndFrame()
{
    modalThisFrame = modalNextFrame;
    if (!LeftReleased())
        return;
    const IntRect& r = modalRegion;
    if (modalThisFrame == 0 || !MouseInside(r)) {
        modalNextFrame = 0;
        modalRegion = kNoRegion;
    }
}

void UIContext::ReadMainColour()
{
    uiParseColorValid(AppData::GetString("gui-color-main"), mainColour);
}

void UIContext::LoadSettings()
{
    missingBitmaps_.clear();
    unknownFontTags_.clear();
    whiteSource_ = nullptr;
    White();

    mainColour = ColourPreference("gui-color-main", kDefaultMainColour);
    knobColour = ColourPreference("gui-color-dragbar-knob", kDefaultMainColour);
    knobTextColour = ColourPreference("gui-color-dragbar-knob-text", kDefaultKnobTextColour);
    dimColour = ScaledRgb(mainColour, kDimFactor);
    for (int i = 0; i < kShadeCount; ++i)
        shades[i] = ScaledRgb(dimColour, kFirstShade + kShadeStep * static_cast<float>(i));

    fontList_.clear();
    fonts_.clear();
    faceSizes_.clear();
    defaultFont_ = nullptr;
    defaultFontTried_ = false;
    for (PreferenceFont& font : AppData::FontList(AppData::FontListKey()))
        fontList_[font.tag] = std::move(font);
    AppData::LoadStandbyText();
    AppData::LoadGuiSounds();

    tickCount = 0;
    modalNextFrame = 0;
    modalThisFrame = 0;
}

// --- Fonts, fills and text ---------------------------------------------------

QelBitmapFont* UIContext::GetFont(const std::string& tag)
{
    const auto found = fonts_.find(tag);
    if (found != fonts_.end())
        return found->second ? found->second : DefaultFont();
    const auto listed = fontList_.find(tag);
    QelGraphicsFactoryBase* graphics = Graphics();
    if (listed != fontList_.end() && graphics) {
        QelBitmapFont* font = GetFace(listed->second.fileName, listed->second.size);
        fonts_[tag] = font;
        if (font)
            return font;
    }
    if (listed == fontList_.end() && unknownFontTags_.insert(tag).second)
        std::fprintf(stderr, "Font tag \"%s\" is not in the preferences; drawing with the default font.\n",
                     tag.c_str());
    return DefaultFont();
}

QelBitmapFont* UIContext::DefaultFont()
{
    QelGraphicsFactoryBase* graphics = Graphics();
    if (!defaultFontTried_ && graphics) {
        defaultFontTried_ = true;
        defaultFont_ = GetFace(kDefaultFontName, kDefaultFontSize);
    }
    return defaultFont_;
}

QelBitmapFont* UIContext::GetFace(const std::string& fileName, int size)
{
    QelGraphicsFactoryBase* graphics = Graphics();
    QelBitmapFont* font = graphics ? graphics->LoadFont(fileName, size) : nullptr;
    if (font)
        faceSizes_[font] = {fileName, size};
    return font;
}

QelBitmapFont* UIContext::SmallerFont(QelBitmapFont* font)
{
    const auto found = faceSizes_.find(font);
    if (found == faceSizes_.end())
        return nullptr;
    const FaceSize face = found->second;
    for (int size : kFitSizes)
        if (size < face.size && size >= kSmallestSize)
            return GetFace(face.fileName, size);
    return nullptr;
}

bool UIContext::LoadNextFont()
{
    if (!Graphics())
        return false;
    for (const auto& [tag, font] : fontList_)
        if (fonts_.count(tag) == 0) {
            GetFont(tag);
            return true;
        }
    if (defaultFontTried_)
        return false;
    DefaultFont();
    return true;
}

void UIContext::FillRect(float left, float top, float right, float bottom, const glm::vec4& colour, int layer)
{
    Qel2dBitmap* white = White();
    if (white == nullptr)
        return;
    white->SetDestRect(left, top, right, bottom);
    white->DrawQuad(&colour[0], layer, false);
}

void UIContext::DrawTextPair(const std::string& fontTag, const std::string& label, const std::string& value,
                             int32_t splitX, const glm::vec4& labelColour, const glm::vec4& valueColour, int layer)
{
    QelBitmapFont* font = GetFont(fontTag);
    const IntRect& rect = CurrentRect();
    DrawText(font, IntRect{rect.left, rect.top, splitX, rect.bottom}, label, labelColour, layer, 1);
    DrawText(font, IntRect{splitX, rect.top, rect.right, rect.bottom}, value, valueColour, layer, 1);
}

void UIContext::DrawText(QelBitmapFont* font, const IntRect& box, const std::string& text, const glm::vec4& colour,
                         int layer, int align, TextFlow flow)
{
    if (font == nullptr || text.empty() || box.Width() <= 0)
        return;
    const FittedText fitted = Fit(*font, box, text, flow);
    DrawFitted(fitted, text, box, colour, layer, align);
    textRuns.Add({text, textSurface, box, FittedInk(fitted, box, align), layer, fitted.shortened, fitted.overflowed});
}

IntRect UIContext::TextInk(QelBitmapFont* font, const IntRect& box, const std::string& text, int align, TextFlow flow)
{
    if (font == nullptr || text.empty() || box.Width() <= 0)
        return IntRect{box.left, box.top, box.left, box.top};
    return FittedInk(Fit(*font, box, text, flow), box, align);
}

bool UIContext::TextFitsWhole(QelBitmapFont* font, const IntRect& box, const std::string& text, TextFlow flow)
{
    if (font == nullptr || text.empty() || box.Width() <= 0)
        return text.empty();
    return !Fit(*font, box, text, flow).shortened;
}

int32_t UIContext::MeasureText(QelBitmapFont* font, int32_t width, const std::string& text, TextFlow flow)
{
    if (font == nullptr || text.empty() || width <= 0)
        return 0;
    const IntRect unbounded{0, 0, width, kUnboundedHeight};
    const FittedText fitted = Fit(*font, unbounded, text, flow);
    return static_cast<int32_t>(fitted.lines.size()) * fitted.lineStep;
}

void UIContext::DrawShadowedText(QelBitmapFont* font, const IntRect& box, const std::string& text,
                                 const glm::vec4& colour, int layer, Shadow shadow, int align, TextFlow flow)
{
    if (font == nullptr || text.empty() || box.Width() <= 0)
        return;
    const FittedText fitted = Fit(*font, box, text, flow);
    IntRect under = box;
    under.Translate(shadow.offset, shadow.offset);
    DrawFitted(fitted, text, under, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f), shadow.layer, align);
    DrawFitted(fitted, text, box, colour, layer, align);
    textRuns.Add({text, textSurface, box, FittedInk(fitted, box, align), layer, fitted.shortened, fitted.overflowed});
}

FittedText UIContext::Fit(QelBitmapFont& font, const IntRect& box, const std::string& text, TextFlow flow)
{
    return FitText(font, box, text, flow, [this](QelBitmapFont* face) { return SmallerFont(face); });
}

// Text the font lays out into the same lines goes to it whole; otherwise
// each fitted line is drawn on its own in a box one line high.
void UIContext::DrawFitted(const FittedText& fitted, const std::string& text, const IntRect& box,
                           const glm::vec4& colour, int layer, int align)
{
    QelBitmapFont& font = *fitted.font;
    const auto draw = [&](const std::string& what) {
        switch (align) {
        case 1: font.DrawTextRight(what, &colour[0], layer); break;
        case 2: font.DrawTextCentered(what, &colour[0], layer); break;
        default: font.DrawTextLeft(what, &colour[0], layer); break;
        }
    };
    font.LayoutText(text, box.Width());
    if (font.LaidOutLines() == fitted.lines) {
        font.SetTextRect(box.left, box.top, box.right, box.bottom);
        draw(text);
        return;
    }
    int32_t top = FirstLineTop(fitted, box, align);
    for (const std::string& line : fitted.lines) {
        font.SetTextRect(box.left, top, box.right, top + fitted.lineStep);
        font.SetSingleLine();  // fitted already: never broken again
        draw(line);
        top += fitted.lineStep;
    }
}

void UIContext::FillTriangle(float x0, float y0, float x1, float y1, float x2, float y2, const glm::vec4& colour,
                             int layer)
{
    Qel2dBitmap* white = White();
    if (white == nullptr)
        return;
    // A quad whose last two corners meet draws one triangle.
    white->SetDestQuad(x0, y0, x1, y1, x2, y2, x2, y2);
    white->DrawQuad(&colour[0], layer, false);
}

void UIContext::DrawLine(float x0, float y0, float x1, float y1, const glm::vec4& colour, int layer)
{
    if (Qel2dBitmap* white = White())
        white->DrawLine(x0, y0, x1, y1, layer, &colour[0], false);
}

// --- The click rule and the shared colours -------------------------------------

bool UIContext::Interact(int32_t id, bool inside, bool enabled)
{
    if (modalThisFrame == 0) {
        if (inside)
            hotId = id;
        if (enabled && activeId == 0 && hotId == id && LeftPressed())
            activeId = id;
    }
    const bool clicked = enabled && hotId == id && previousActiveId == id && LeftReleased();
    if (clicked)
        activeId = 0;
    return clicked;
}

bool UIContext::ClickRule(int32_t id, const IntRect& hit, bool enabled)
{
    if (!hit.IsOpen())
        return false;
    return Interact(id, MouseInside(hit), enabled);
}

glm::vec4 UIContext::PanelColour(int32_t id) const
{
    if (activeId == id)
        return shades[4];
    if (hotId == id)
        return shades[2];
    return dimColour;
}

bool UIContext::TakeNextColour(glm::vec4& colour)
{
    if (nextControlColour.empty())
        return false;
    const bool valid = uiParseColorValid(nextControlColour, colour);
    nextControlColour.clear();
    return valid;
}

glm::vec4 UIContext::LabelColour(bool enabled)
{
    glm::vec4 colour = mainColour;
    TakeNextColour(colour);
    return enabled ? colour : shades[2];
}

bool uiParseColorValid(const std::string& text, glm::vec4& colour)
{
    glm::vec4 parsed;
    ParseColor(parsed, text);
    if (parsed == kUnreadableColor)
        return false;
    colour = parsed;
    return true;
}

// --- Services ----------------------------------------------------------------

QelGraphicsFactoryBase* UIContext::Graphics() const
{
    return gGraphicsFactory;
}

QelMouse* UIContext::Mouse() const
{
    return gInputFactory ? gInputFactory->GetMouse() : nullptr;
}

QelKeyboard* UIContext::Keyboard()
{
    return gInputFactory ? gInputFactory->GetKeyboard() : nullptr;
}

bool UIContext::MouseInside(const IntRect& rect)
{
    return MouseInside(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                       static_cast<float>(rect.bottom));
}

bool UIContext::MouseInside(float left, float top, float right, float bottom)
{
    int32_t x = 0, y = 0;
    if (!MousePosition(x, y))
        return false;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    return fx >= left && fx <= right && fy >= top && fy <= bottom;
}

bool uiHitTest(UIContext& ui, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return ui.MouseInside(static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                          static_cast<float>(bottom));
}

bool UIContext::MousePosition(int32_t& x, int32_t& y)
{
    QelMouse* mouse = Mouse();
    if (mouse == nullptr)
        return false;
    x = mouse->GetX(kLeftButton);
    y = mouse->GetY(kLeftButton);
    return true;
}

bool UIContext::LeftPressed()
{
    QelMouse* mouse = Mouse();
    return mouse && mouse->WasPressed(kLeftButton);
}

bool UIContext::LeftReleased()
{
    QelMouse* mouse = Mouse();
    return mouse && mouse->WasReleased(kLeftButton);
}

bool UIContext::LeftDown()
{
    QelMouse* mouse = Mouse();
    return mouse && mouse->IsDown(kLeftButton);
}

int32_t UIContext::WindowWidth()
{
    QelGraphicsFactoryBase* graphics = Graphics();
    return graphics ? graphics->GetWidth() : 0;
}

int32_t UIContext::WindowHeight()
{
    QelGraphicsFactoryBase* graphics = Graphics();
    return graphics ? graphics->GetHeight() : 0;
}

// Every fill and line draws with it, so it is looked up once per graphics service.
Qel2dBitmap* UIContext::White()
{
    QelGraphicsFactoryBase* graphics = Graphics();
    if (graphics != whiteSource_) {
        whiteSource_ = graphics;
        white_ = Bitmap(kWhiteBitmap);
    }
    if (white_ != nullptr)
        white_->SetSourceQuad(0, 0, 1, 0, 0, 1, 1, 1);
    return white_;
}

Qel2dBitmap* UIContext::Bitmap(const std::string& name)
{
    QelGraphicsFactoryBase* graphics = Graphics();
    if (graphics == nullptr || missingBitmaps_.count(name) != 0)
        return nullptr;
    if (Qel2dBitmap* bitmap = graphics->Load2DBitmap(name))
        return bitmap;
    missingBitmaps_.insert(name);
    const std::string line = "BITMAP FILE NOT FOUND: " + name;
    theConsoleLog.Add(kLogRed, line);
    std::fprintf(stderr, "%s\n", line.c_str());
    return nullptr;
}
