#pragma once
// A bounded list of coloured text lines that the screen shows: the console
// log (what the mission prints, warnings, key tests), drawn by the log
// overlay, and the message log of the console's message box, drawn by the
// text waterfall. Each keeps the newest 300 lines. Main thread only.

#include <glm/vec4.hpp>

#include <cstddef>
#include <deque>
#include <string>

struct TextLogLine {
    std::string text;
    glm::vec4 colour{1.0f};  // r, g, b, a 0..1
};

class TextLog {
public:
    // Enough to fill any screen several times over; older lines are dropped.
    static constexpr size_t kMaxLines = 300;

    TextLog() = default;
    TextLog(const TextLog&) = delete;
    TextLog& operator=(const TextLog&) = delete;

    // Appends a line, dropping the oldest beyond kMaxLines. An empty text is a line too.
    void Add(const glm::vec4& colour, std::string text);
    void Clear() { lines_.clear(); }

    // Oldest first.
    size_t Count() const { return lines_.size(); }
    const TextLogLine& Line(size_t index) const { return lines_[index]; }
    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

private:
    std::deque<TextLogLine> lines_;
};

// The console log and the console's message log; both live for the whole process.
extern TextLog theConsoleLog;
extern TextLog theMessageLog;
