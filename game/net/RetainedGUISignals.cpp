#include "game/net/RetainedGUISignals.h"

#include "game/net/ReadMessageFields.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

// Bytes of a text's length field.
constexpr int32_t kTextLengthBytes = 2;

bool IsKind(const std::string& kind, const char* expected)
{
    return kind == expected;
}

// The text, or as many of its whole lines as fit in room bytes (a first line
// longer than that is cut at the limit).
std::string_view LinesThatFit(std::string_view text, int32_t room)
{
    const size_t limit = static_cast<size_t>(std::max(room, 0));
    if (text.size() <= limit)
        return text;
    const size_t lastLineEnd = limit == 0 ? std::string_view::npos : text.rfind('\n', limit - 1);
    return text.substr(0, lastLineEnd == std::string_view::npos ? limit : lastLineEnd + 1);
}

}  // namespace

RetainedActionSignal RetainedActionSignal::Of(const RetainedGUIWidget& widget)
{
    return {widget.tag, widget.kind, widget.value, widget.text, widget.index};
}

EventMessage GuiMessageEvent(const RetainedActionSignal& action)
{
    EventMessage event;
    event.tag = "gui_message";
    event.sub_tag = action.tag;
    if (IsKind(action.kind, retained_kind::kSlider)) {
        event.sub_float = action.value;
    } else if (IsKind(action.kind, retained_kind::kDropdown)) {
        event.sub_float = static_cast<float>(action.index);
        event.value_tag = action.text;
    } else if (IsKind(action.kind, retained_kind::kTypein)) {
        event.value_tag = action.text;
    }
    return event;
}

void WriteSignal(QelNetworkMessage& message, const RetainedWidgetSignal& signal)
{
    const RetainedGUIWidget& w = signal.widget;
    WriteSignalCode(message, signal.kCode);
    for (const std::string* text : {&w.kind, &w.text, &w.tag, &w.style, &w.data, &w.parentTag, &w.font, &w.color})
        message.WriteString(*text);
    message.WriteFloat(w.low).WriteFloat(w.high).WriteFloat(w.value);
    message.WriteInt32(w.index).WriteInt32(w.layer);
    message.WriteInt8(w.absolute).WriteInt8(w.ticked).WriteInt8(w.shown);
    for (float edge : {w.left, w.top, w.right, w.bottom, w.srcLeft, w.srcTop, w.srcRight, w.srcBottom})
        message.WriteFloat(edge);
}

// Rectangles and slider values become pixel positions, so each must be a
// number, and a rectangle one a screen can hold.
bool ReadSignal(QelNetworkMessage& message, RetainedWidgetSignal& signal)
{
    RetainedGUIWidget& w = signal.widget;
    uint8_t absolute = 0, ticked = 0, shown = 0;
    if (!ReadMessageFields(message, w.kind, w.text, w.tag, w.style, w.data, w.parentTag, w.font, w.color, w.low,
                           w.high, w.value, w.index, w.layer, absolute, ticked, shown, w.left, w.top, w.right,
                           w.bottom, w.srcLeft, w.srcTop, w.srcRight, w.srcBottom))
        return false;
    w.absolute = absolute != 0;
    w.ticked = ticked != 0;
    w.shown = shown != 0;
    return w.NumbersFit();
}

void WriteSignal(QelNetworkMessage& message, const RetainedActionSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.tag).WriteString(signal.kind);
    if (IsKind(signal.kind, retained_kind::kSlider))
        message.WriteFloat(signal.value);
    else if (IsKind(signal.kind, retained_kind::kTypein))
        message.WriteString(signal.text);
    else if (IsKind(signal.kind, retained_kind::kDropdown))
        message.WriteString(signal.text).WriteInt32(signal.index);
}

// A slider's value reaches the script as a number, so it must be one.
bool ReadSignal(QelNetworkMessage& message, RetainedActionSignal& signal)
{
    if (!ReadMessageFields(message, signal.tag, signal.kind))
        return false;
    if (IsKind(signal.kind, retained_kind::kSlider))
        return ReadMessageFields(message, signal.value) && std::isfinite(signal.value);
    if (IsKind(signal.kind, retained_kind::kTypein))
        return ReadMessageFields(message, signal.text);
    if (IsKind(signal.kind, retained_kind::kDropdown))
        return ReadMessageFields(message, signal.text, signal.index);
    return true;
}

void WriteSignal(QelNetworkMessage& message, const RetainedVisibilitySignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.tag).WriteInt8(signal.shown ? 1 : 0);
}

bool ReadSignal(QelNetworkMessage& message, RetainedVisibilitySignal& signal)
{
    uint8_t shown = 0;
    if (!ReadMessageFields(message, signal.tag, shown))
        return false;
    signal.shown = shown != 0;
    return !signal.tag.empty();
}

void WriteSignal(QelNetworkMessage& message, const DebugTreeRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.tag).WriteInt32(signal.visibleListFlag);
}

bool ReadSignal(QelNetworkMessage& message, DebugTreeRequestSignal& signal)
{
    return ReadMessageFields(message, signal.tag, signal.visibleListFlag);
}

// A large tree's text is cut rather than refused: the script still learns
// what the console shows first.
void WriteSignal(QelNetworkMessage& message, const DebugTreeTextSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(LinesThatFit(signal.text, message.BytesLeftToWrite() - kTextLengthBytes));
}

bool ReadSignal(QelNetworkMessage& message, DebugTreeTextSignal& signal)
{
    return ReadMessageFields(message, signal.text);
}

void WriteSignal(QelNetworkMessage& message, const RetainedHotKeySignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.category).WriteString(signal.tag).WriteString(signal.keyName);
    message.WriteString(signal.description);
}

bool ReadSignal(QelNetworkMessage& message, RetainedHotKeySignal& signal)
{
    return ReadMessageFields(message, signal.category, signal.tag, signal.keyName, signal.description) &&
           !signal.category.empty() && !signal.tag.empty();
}

void WriteSignal(QelNetworkMessage& message, const StoryDialogSignal& signal)
{
    const StoryDialogEntry& e = signal.entry;
    WriteSignalCode(message, signal.kCode);
    message.WriteString(e.title).WriteString(e.text).WriteString(e.face).WriteString(e.color);
}

bool ReadSignal(QelNetworkMessage& message, StoryDialogSignal& signal)
{
    StoryDialogEntry& e = signal.entry;
    e.shownMillis = 0;
    return ReadMessageFields(message, e.title, e.text, e.face, e.color);
}
