// The text box: a single-line edit field (Edline) drawn in the current
// rectangle. A press on it makes it the text-entry owner of the context; the
// owner takes the keyboard's typed characters and cursor keys each frame.

#include <algorithm>
#include <charconv>

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/ui/Edline.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"
#include "game/ui/UIControls.h"

namespace {

constexpr int32_t kBackspace = 8;
constexpr int32_t kEnter = 13;
constexpr int32_t kFirstPrintable = 32;
constexpr int32_t kLastPrintable = 126;
// The caret shows for this many ticks, then hides for as many.
constexpr int32_t kCaretBlinkTicks = 10;
constexpr const char* kCaptionFont = "smallest";
constexpr int32_t kTextInset = 3;

bool IsDigit(int32_t c)
{
    return c >= '0' && c <= '9';
}

bool IsLetterOrDigit(int32_t c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A digits-only field's text read as a decimal number, within its bounds.
bool NumberWithinBounds(const std::string& text, int32_t minimum, int32_t maximum)
{
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && number >= minimum && number <= maximum;
}

// A printable character at the cursor; true when the text changed. The text
// holds at most capacity - 1 characters: typing into a full text pushes its
// last character off.
bool Insert(Edline& field, int32_t character)
{
    if (field.Length() >= field.capacity)
        return false;
    if (field.digitsOnly && !IsDigit(character))
        return false;
    if (field.alphanumericOnly && !IsLetterOrDigit(character))
        return false;
    std::string typed = field.text;
    typed.insert(static_cast<size_t>(field.cursor), 1, static_cast<char>(character));
    if (field.digitsOnly && !NumberWithinBounds(typed, field.minimum, field.maximum))
        return false;
    typed.resize(std::min(typed.size(), static_cast<size_t>(std::max(field.capacity - 1, 0))));
    if (typed == field.text)
        return false;
    field.text = std::move(typed);
    field.cursor = std::min(field.cursor + 1, field.Length());
    return true;
}

bool Backspace(Edline& field)
{
    if (field.cursor <= 0)
        return false;
    field.text.erase(static_cast<size_t>(field.cursor - 1), 1);
    --field.cursor;
    return true;
}

// Enter keeps the text and pushes it into the history, newest first.
void Enter(Edline& field)
{
    const size_t keep = static_cast<size_t>(std::max(field.capacity - 1, 0));
    std::move_backward(field.history.begin(), field.history.end() - 1, field.history.end());
    field.history[0] = field.text.substr(0, keep);
}

void MoveCursor(Edline& field, int32_t key)
{
    switch (key) {
    case qel::vk::kLeft: field.cursor = std::max(field.cursor - 1, 0); break;
    case qel::vk::kRight: field.cursor = std::min(field.cursor + 1, field.Length()); break;
    case qel::vk::kHome: field.cursor = 0; break;
    case qel::vk::kEnd: field.cursor = field.Length(); break;
    default: break;
    }
}

// Every queued character, then every queued key; true when the text changed
// or Enter was pressed.
bool TakeTypedKeys(QelKeyboard& keyboard, Edline& field)
{
    bool answered = false;
    int32_t code = 0;
    while (keyboard.PopTypedChar(code)) {
        bool changed = false;
        if (code == kBackspace) {
            changed = Backspace(field);
        } else if (code == kEnter) {
            Enter(field);
            answered = true;
        } else if (code >= kFirstPrintable && code <= kLastPrintable) {
            changed = Insert(field, code);
        }
        field.changed = field.changed || changed;
        answered = answered || changed;
    }
    while (keyboard.PopKeyDown(code))
        MoveCursor(field, code);
    return answered;
}

// Keys typed while no box had them are not this box's to take.
void DiscardQueuedKeys(QelKeyboard& keyboard)
{
    int32_t code = 0;
    while (keyboard.PopTypedChar(code)) {
    }
    while (keyboard.PopKeyDown(code)) {
    }
}

void TakeEntryOnPress(UIContext& ui, Edline& field, const IntRect& rect)
{
    if (ui.modalThisFrame != 0 || ui.activeId != 0 || field.id == 0 || !ui.MouseInside(rect))
        return;
    ui.hotId = field.id;
    if (!ui.LeftPressed() || ui.textEntryOwner == field.id)
        return;
    ui.textEntryOwner = field.id;
    if (QelKeyboard* keyboard = ui.Keyboard())
        DiscardQueuedKeys(*keyboard);
}

int32_t Width(QelBitmapFont& font, const std::string& text, int32_t from, int32_t to)
{
    return font.GetTextWidth(text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

// Scrolls so that the text from the first visible character to the cursor
// fits, and no further than needed to show as much of the text as fits.
void ScrollToCursor(Edline& field, QelBitmapFont& font, const std::string& shown, int32_t width)
{
    const int32_t length = static_cast<int32_t>(shown.size());
    field.firstVisible = std::clamp(field.firstVisible, 0, field.cursor);
    while (field.firstVisible < field.cursor && Width(font, shown, field.firstVisible, field.cursor) > width)
        ++field.firstVisible;
    while (field.firstVisible > 0 && Width(font, shown, field.firstVisible - 1, length) <= width)
        --field.firstVisible;
}

// The longest start of the text that fits the width.
std::string FittingStart(QelBitmapFont& font, const std::string& text, int32_t width)
{
    size_t fits = 0, tooLong = text.size() + 1;
    while (tooLong - fits > 1) {
        const size_t middle = (fits + tooLong) / 2;
        if (font.GetTextWidth(text.substr(0, middle)) <= width)
            fits = middle;
        else
            tooLong = middle;
    }
    return text.substr(0, fits);
}

// One line at the bottom of the box, leaving its top to the caption.
IntRect LineBox(QelBitmapFont& font, const IntRect& rect)
{
    const IntRect box = Inset(rect, kTextInset);
    const int32_t lineHeight = font.GetAscent() - font.GetDescent();
    return IntRect{box.left, std::max(box.top, box.bottom - lineHeight), box.right, box.bottom};
}

void DrawFieldText(UIContext& ui, Edline& field, QelBitmapFont& font, const IntRect& rect, const glm::vec4& colour,
                   bool owner, int layer)
{
    const IntRect line = LineBox(font, rect);
    const std::string shown = field.password ? std::string(field.text.size(), '*') : field.text;
    ScrollToCursor(field, font, shown, line.Width());
    const std::string visible = FittingStart(font, shown.substr(static_cast<size_t>(field.firstVisible)), line.Width());
    if (!visible.empty())
        ui.DrawText(&font, line, visible, colour, layer, 0, TextFlow::kCutLine);
    if (owner && (ui.tickCount / kCaretBlinkTicks) % 2 == 1) {
        const float x = static_cast<float>(line.left + Width(font, shown, field.firstVisible, field.cursor)) + 0.5f;
        ui.DrawLine(x, static_cast<float>(line.top), x, static_cast<float>(line.bottom), colour, layer + 1);
    }
}

}  // namespace

bool uiTextBox(UIContext& ui, const std::string& placeholder, Edline& field, int layer)
{
    glm::vec4 colour = ui.mainColour;
    ui.TakeNextColour(colour);
    const IntRect rect = ui.CurrentRect();
    if (!rect.IsOpen())
        return false;

    TakeEntryOnPress(ui, field, rect);
    const bool owner = field.id != 0 && ui.textEntryOwner == field.id;
    bool answered = false;
    // The owner may have replaced the text without SetText.
    field.cursor = std::clamp(field.cursor, 0, field.Length());
    QelKeyboard* keyboard = ui.Keyboard();
    if (owner && keyboard != nullptr)
        answered = TakeTypedKeys(*keyboard, field);

    DrawFrame(ui, 1, rect, ui.shades[2], layer);
    if (ui.activeId == field.id)
        colour = ui.shades[3];
    else if (ui.hotId == field.id)
        colour = ScaledRgb(colour, 0.9f);
    QelBitmapFont* font = ui.GetFont(field.font);
    if (font == nullptr)
        return answered;
    // The placeholder: in place of the text while there is none, else as a caption above it.
    if (field.text.empty() && !owner) {
        ui.DrawText(font, LineBox(*font, rect), placeholder, ui.shades[4], layer + 1);
        return answered;
    }
    ui.DrawText(ui.GetFont(kCaptionFont), IntRect{rect.left + kTextInset, rect.top + 1, rect.right, rect.bottom},
                placeholder, ui.shades[4], layer + 1);
    DrawFieldText(ui, field, *font, rect, colour, owner, layer + 1);
    return answered;
}
