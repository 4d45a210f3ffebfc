#pragma once
// The state of one single-line text entry: the text with its cursor, the
// lines entered before, what may be typed, and the id and font of the text
// box (uiTextBox) that edits it. The text box does the typing, scrolling and
// drawing; the owner makes the field, sets its restrictions and reads it.

#include <array>
#include <cstdint>
#include <string>

class Edline {
public:
    // Lines kept by Enter, newest first.
    static constexpr int kHistoryLines = 25;

    Edline(int32_t id, std::string font, int32_t capacity);

    // Replaces the text (cut to capacity characters), puts the cursor at its
    // start and clears the changed flag and the history position.
    void SetText(const std::string& newText);
    // SetText only when the text differs, so an owner that refreshes the field
    // every frame does not throw the typist's cursor back to the start.
    void SyncText(const std::string& newText);

    int32_t Length() const { return static_cast<int32_t>(text.size()); }

    std::string text;
    int32_t capacity;                // the most characters the text may hold
    int32_t cursor = 0;              // insertion point, 0..length
    int32_t firstVisible = 0;        // first character the box shows, never past the cursor
    bool password = false;           // the box shows '*' for every character
    int32_t historyPosition = -1;    // -1: not browsing the history
    std::array<std::string, kHistoryLines> history;
    bool digitsOnly = false;         // only digits, and the number within minimum..maximum
    bool alphanumericOnly = false;   // only letters and digits
    int32_t id;                      // the GUI id of the text box that edits this field
    bool changed = false;            // set when typing changed the text; cleared by SetText
    std::string font;                // GUI font tag
    int32_t minimum = 0;
    int32_t maximum = 10000;
};
