#pragma once
// The immediate-mode interface's one context. Every scene, console widget and
// the script-built retained screens draw their controls through it: a control
// is a function called anew every drawn frame with a caller-chosen id (see
// UIControls.h); it lays itself out in the current rectangle, draws, and
// answers what the user did to it this frame. Between frames only this
// context survives: the rectangle stack, a handful of ids, the modal
// drop-down, the colours and the fonts.
//
// The frame, as the render manager drives it:
//   theUIContext.BeginFrame();     first thing of the draw
//   theUIContext.ReadMainColour(); the preference may have changed
//   ... the scene draws; every control applies the click rule ...
//   theUIContext.EndFrame();       end of the draw: closes a drop-down
//                                  released outside its list
//
// The click rule: a click needs the left button pressed and released on the
// same control and fires on the release; a control pressed and left keeps the
// mouse until the button is up over no control. While a drop-down list is
// open every other control draws but neither highlights nor clicks.
//
// Ids are plain integers, constant per call site or a base plus a row index;
// 0 never names a control. Drop-down rows take the list's id + 12345 onward,
// and the retained screens number their controls from 20001.
//
// The context reads the engine's services (gGraphicsFactory, gInputFactory)
// at each use, so a test puts recording fakes in their place; without them it
// draws nothing and sees no input. Main thread only.

#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "game/ui/IntRect.h"
#include "game/ui/UITextFit.h"
#include "game/world/PreferenceRules.h"

class InterfacePictures;
class Qel2dBitmap;
class QelBitmapFont;
class QelGraphicsFactoryBase;
class QelKeyboard;
class QelMouse;

class UIContext {
public:
    // Nested layouts never go deeper than this; a deeper push is a program error.
    static constexpr int kMaxRectDepth = 20;
    static constexpr int kShadeCount = 5;
    // Layer of fills (FillRect) and of the panels most controls draw.
    static constexpr int kControlLayer = 1000;
    static constexpr const char* kWhiteBitmap = "smallWhite";
    static constexpr const char* kDefaultFontName = "defaultsans";
    static constexpr int kDefaultFontSize = 24;
    // The modal region while no list is open.
    static constexpr IntRect kNoRegion{-1, -1, -1, -1};

    // --- The rectangle stack: the current rectangle is the one the next
    // control lays itself out in.
    const IntRect& CurrentRect() const { return rects_[rectIndex_]; }
    int RectIndex() const { return rectIndex_; }
    void SetCurrentRect(const IntRect& rect);
    void SetCurrentRectEdges(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // A copy of the current rectangle becomes current; Pop returns to the one below.
    void PushRect();
    void PopRect();
    // Moves the current rectangle by count of its own widths (heights) plus pixels.
    void ShiftRectX(int32_t count, int32_t pixels);
    void ShiftRectY(int32_t count, int32_t pixels);
    // The current rectangle becomes the square at its right end.
    void SquareRectRight();

    // --- The frame protocol (see above).
    void BeginFrame();
    void EndFrame();
    // Parses "gui-color-main" into the main colour; the dim colour and the
    // shades keep what the settings computed.
    void ReadMainColour();
    // Reads the interface's settings once the preferences and the graphics
    // are up: colours, the fonts' list, the white bitmap, the standby texts
    // and the interface sounds. Each font is baked the first time it is
    // asked for, or by LoadNextFont.
    void LoadSettings();
    // Bakes one font of the list not yet baked (the default font last);
    // false when every one is.
    bool LoadNextFont();

    // The font of a preference tag ("gui-1", "gui-2", "smallest", ...). A tag
    // the preferences do not define falls back to the default font (logged
    // once); null only while no font can be loaded at all.
    QelBitmapFont* GetFont(const std::string& tag);
    // A face of the fonts folder at a pixel size, loaded once.
    QelBitmapFont* GetFace(const std::string& fileName, int size);
    // The same face a step smaller (UITextFit.h), or null when the font is
    // already the smallest or was not loaded through this context.
    QelBitmapFont* SmallerFont(QelBitmapFont* font);
    // Fills with the white bitmap in the colour, at layer 1000 unless told.
    void FillRect(float left, float top, float right, float bottom, const glm::vec4& colour,
                  int layer = kControlLayer);
    // Splits the current rectangle at splitX: the label right-aligned left of
    // it, the value right-aligned right of it.
    void DrawTextPair(const std::string& fontTag, const std::string& label, const std::string& value, int32_t splitX,
                      const glm::vec4& labelColour, const glm::vec4& valueColour, int layer);

    // --- State that survives frames (ids: 0 = none).
    int32_t tickCount = 0;         // 33 ms ticks, advanced by the scene tick; the caret blinks on it
    int32_t activeId = 0;          // pressed and not yet released
    int32_t hotId = 0;             // under the mouse this frame
    int32_t textEntryOwner = 0;    // the text box (its field's id) that takes typed keys
    int32_t previousActiveId = 0;  // the active id as the frame began
    int32_t previousHotId = 0;     // the hot id of the last frame
    int32_t modalNextFrame = 0;    // the drop-down opened (or kept open) during this frame
    int32_t modalThisFrame = 0;    // the open drop-down; while set, every other control is inert
    IntRect modalRegion = kNoRegion;  // where a release keeps the open list open

    glm::vec4 mainColour{0.0f};  // "gui-color-main"
    glm::vec4 dimColour{0.0f};   // main × 0.4, alpha kept: panels
    std::array<glm::vec4, kShadeCount> shades{};  // dim × 1.1, 1.3, 1.5, 1.7, 1.9: hot, active, disabled
    glm::vec4 knobColour{0.0f};      // "gui-color-dragbar-knob"
    glm::vec4 knobTextColour{0.0f};  // "gui-color-dragbar-knob-text"
    // A colour text for the next control only; it takes it and empties it.
    std::string nextControlColour;
    // The id uiSliderRow takes next; its caller sets it before the first row.
    int32_t sliderRowId = 0;
    // Where text is drawn now: "" the window, else the render target a view
    // draws into (see TextSurfaceScope); the text runs are kept under it.
    std::string textSurface;
    // The text runs of the frame, kept while it records (emptied by BeginFrame).
    TextRunReport textRuns;
    // The renderer's portraits and ship models for the script screens and
    // story dialogs, set by the render manager while it is set up; while null
    // they are left out and the rest of a screen draws as usual.
    InterfacePictures* pictures = nullptr;

    // --- For the controls: the click rule, the colours they share and the
    // services they draw and read through.

    // Steps 2 and 3 of the click rule: hot while inside, active on a press,
    // clicked on the release. True on the click.
    bool Interact(int32_t id, bool inside, bool enabled);
    // The whole rule on a rectangle: a rectangle that is not open never clicks.
    bool ClickRule(int32_t id, const IntRect& hit, bool enabled);
    // dim, shade 2 while hot, shade 4 while active.
    glm::vec4 PanelColour(int32_t id) const;
    // Takes the next-control colour: true, with it, when it was set and valid.
    bool TakeNextColour(glm::vec4& colour);
    // Main colour, or a valid next-control colour (taken), shade 2 when disabled.
    glm::vec4 LabelColour(bool enabled);

    bool MouseInside(const IntRect& rect);
    bool MouseInside(float left, float top, float right, float bottom);
    // The mouse position in window pixels; false without a mouse.
    bool MousePosition(int32_t& x, int32_t& y);
    bool LeftPressed();
    bool LeftReleased();
    bool LeftDown();
    QelKeyboard* Keyboard();
    int32_t WindowWidth();
    int32_t WindowHeight();

    // The white bitmap with its whole image as the source; null without graphics.
    Qel2dBitmap* White();
    // A bitmap of the graphics folder; null when it does not load, which is
    // logged once per name rather than every frame.
    Qel2dBitmap* Bitmap(const std::string& name);
    // Text fitted into the rectangle (UITextFit.h): align 0 left from the
    // top, 1 right from the top, 2 centred both ways. A rectangle with no
    // width shows nothing.
    void DrawText(QelBitmapFont* font, const IntRect& box, const std::string& text, const glm::vec4& colour,
                  int layer, int align = 0, TextFlow flow = TextFlow::kWrap);
    // Where DrawText would put the text's lines in the box.
    IntRect TextInk(QelBitmapFont* font, const IntRect& box, const std::string& text, int align = 0,
                    TextFlow flow = TextFlow::kWrap);
    // Whether DrawText shows the whole text in the box (in some face), nothing cut.
    bool TextFitsWhole(QelBitmapFont* font, const IntRect& box, const std::string& text,
                       TextFlow flow = TextFlow::kWrap);
    // The height of the text's lines in a box of the width, fitted as DrawText fits it.
    int32_t MeasureText(QelBitmapFont* font, int32_t width, const std::string& text, TextFlow flow = TextFlow::kWrap);
    // The same over a black copy a little right and down, so it reads over
    // any background.
    struct Shadow {
        int layer = 0;
        int32_t offset = 1;  // pixels right and down
    };
    void DrawShadowedText(QelBitmapFont* font, const IntRect& box, const std::string& text, const glm::vec4& colour,
                          int layer, Shadow shadow, int align = 0, TextFlow flow = TextFlow::kWrap);
    void FillTriangle(float x0, float y0, float x1, float y1, float x2, float y2, const glm::vec4& colour, int layer);
    void DrawLine(float x0, float y0, float x1, float y1, const glm::vec4& colour, int layer);

private:
    struct FaceSize {
        std::string fileName;
        int size = 0;
    };

    QelGraphicsFactoryBase* Graphics() const;
    QelMouse* Mouse() const;
    FittedText Fit(QelBitmapFont& font, const IntRect& box, const std::string& text, TextFlow flow);
    void DrawFitted(const FittedText& fitted, const std::string& text, const IntRect& box, const glm::vec4& colour,
                    int layer, int align);

    std::array<IntRect, kMaxRectDepth> rects_{};
    int rectIndex_ = 0;
    QelBitmapFont* DefaultFont();

    std::map<std::string, PreferenceFont> fontList_;  // by tag, from the preferences
    std::map<std::string, QelBitmapFont*> fonts_;      // by tag, once baked
    std::map<const QelBitmapFont*, FaceSize> faceSizes_;  // every face loaded through the context
    QelBitmapFont* defaultFont_ = nullptr;
    bool defaultFontTried_ = false;
    QelGraphicsFactoryBase* whiteSource_ = nullptr;  // the service white_ was taken from
    Qel2dBitmap* white_ = nullptr;
    std::set<std::string> missingBitmaps_;    // logged already; not looked for again
    std::set<std::string> unknownFontTags_;  // logged already
};

// The one context of the program.
extern UIContext theUIContext;

// While it lives, text is drawn into the named render target rather than the
// window (the radar's target, a list drawn off screen).
class TextSurfaceScope {
public:
    TextSurfaceScope(UIContext& ui, std::string surface);
    ~TextSurfaceScope();
    TextSurfaceScope(const TextSurfaceScope&) = delete;
    TextSurfaceScope& operator=(const TextSurfaceScope&) = delete;

private:
    UIContext& ui_;
    std::string previous_;
};

// True when the mouse lies inside the rectangle, all four edges included.
bool uiHitTest(UIContext& ui, int32_t left, int32_t top, int32_t right, int32_t bottom);

// True, with the colour, when the text parses to a colour; text the parser
// cannot read (and "magenta", which reads the same) leaves the colour as it was.
bool uiParseColorValid(const std::string& text, glm::vec4& colour);

// A panel with its bottom-right corner cut at 45 degrees. Styles below 10:
// filled with "gradient1024" tinted with the colour and outlined in the colour
// at twice its brightness (chamfer 10 pixels). Styles 10 to 18: a knob filled
// solid, chamfer 18 − style (18 is a plain rectangle). Other styles draw nothing.
void uiFrame(UIContext& ui, int style, float left, float top, float right, float bottom, const glm::vec4& colour,
             int layer);
