#pragma once
// One widget of a retained GUI: the screens mission scripts build on the
// consoles (and on the server's own window) out of buttons, text fields,
// drop-down lists, sliders, texts, icons, bitmaps, portraits and ship models,
// nested in sub-regions. A script fills one record per widget; it travels as
// "signal" 35 (RetainedWidgetSignal) and is kept, with its children, in the
// RetainedGUIManager's tree. A record is a plain value: copying it copies its
// children deeply.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The kinds a retained widget can have; any other kind draws nothing.
namespace retained_kind {
inline constexpr const char* kButton = "button";
inline constexpr const char* kTypein = "typein";
inline constexpr const char* kDropdown = "dropdown";
inline constexpr const char* kSlider = "slider";
inline constexpr const char* kText = "text";
inline constexpr const char* kShip3D = "3dship";
inline constexpr const char* kFace = "face";
inline constexpr const char* kCheckbox = "checkbox";
inline constexpr const char* kIcon = "icon";
inline constexpr const char* kBitmap = "bitmap";
inline constexpr const char* kRawIconButton = "rawiconbutton";
inline constexpr const char* kSubregion = "subregion";
inline constexpr const char* kClickRegion = "clickregion";
inline constexpr const char* kIconButton = "iconbutton";
inline constexpr const char* kIconCheckbox = "iconcheckbox";
inline constexpr const char* kColorButton = "colorbutton";
inline constexpr const char* kColorCheckbox = "colorcheckbox";

inline constexpr std::array<const char*, 17> kAll = {
    kButton, kTypein, kDropdown, kSlider, kText, kShip3D, kFace, kCheckbox, kIcon,
    kBitmap, kRawIconButton, kSubregion, kClickRegion, kIconButton, kIconCheckbox, kColorButton, kColorCheckbox,
};
}  // namespace retained_kind

struct RetainedGUIWidget {
    // Largest size of a rectangle coordinate, in pixels or percent: far
    // beyond any screen or bitmap, and small enough that a layout scaling it
    // by a parent's size still fits a 32-bit pixel position.
    static constexpr float kMaxCoordinate = 1.0e6f;

    // Whether a font or colour text names one: "" and "empty" ask for the
    // kind's default.
    static bool IsSet(const std::string& text) { return !text.empty() && text != "empty"; }

    // Every float is a number and every rectangle coordinate within
    // kMaxCoordinate either way: rectangles and slider values become pixel
    // positions, and a NaN or an infinity has none.
    bool NumbersFit() const;

    std::string tag;                               // the key for updates, hiding and actions
    std::vector<RetainedGUIWidget> visibleList;    // children that are drawn
    std::vector<RetainedGUIWidget> backgroundList; // children gathered between a clear and a complete
    bool building = true;                          // between a clear and a complete
    std::string kind;                              // one of retained_kind
    std::string text;       // label, typed text, chosen list text, ship key or face description
    std::string style;      // the style text the sender built the widget from; not drawn
    std::string data;       // per kind: '^'-separated choices (dropdown), slider mode, placeholder
                            // (typein), fill colour (clickregion), bitmap name (bitmap)
    std::string font;       // font tag; "" or "empty": the default, "gui-2"
    std::string color;      // colour text; "" or "empty": the kind's default
    std::string parentTag;  // empty: top level
    float low = 0.0f;       // slider minimum
    float high = 0.0f;      // slider maximum
    float value = 0.0f;     // slider value
    int32_t index = 0;      // drop-down selection, icon cell, or text alignment (0 left, 1 centred, 2 right)
    int32_t layer = 0;      // draw layer; 0: 1002
    bool ticked = true;     // check state; for "typein", false means a password field
    bool shown = true;      // false while hidden
    bool absolute = false;  // true: the rectangle is pixels from the parent's top-left;
                            // false: percent of the parent's width and height
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    // Source rectangle in bitmap pixels; srcRight and srcBottom both below 1:
    // the whole bitmap.
    float srcLeft = 0.0f, srcTop = 0.0f, srcRight = 0.0f, srcBottom = 0.0f;
    uint64_t nextSendTick = 0;  // earliest tick at which a dragged slider reports again
};
