#pragma once
// How the interface makes a text fit the box it is given. Every text of the
// interface goes through UIContext::DrawText, which fits it here before it
// draws: the text is broken into lines between words only (a '^' or a line
// end always breaks; a run of punctuation such as "%" stays with the word
// before it), and when a word is wider than the box or the lines are taller
// than it, the same face is tried a step smaller, down to kSmallestSize
// pixels. Where even that does not fit, the smallest face is kept and the
// text shortened: a word cut with "." where it leaves the box, and the lines
// below the box dropped, the last kept line ending in "...".
//
//   FittedText fitted = FitText(*font, box, "FRONT SHIELD", TextFlow::kWrap,
//                               [](QelBitmapFont* f) { return theUIContext.SmallerFont(f); });
//
// What was drawn can be reported: while a TextRunReport is recording, each
// text run is kept with its box, the rectangle its lines take (its ink), and
// whether it had to be shortened or still leaves the box. Tests read it to
// find text that overlaps other text or runs out of its box. Texts drawn
// into a render target (the radar, a list drawn off screen) are kept under
// the name of that surface, and only texts of one surface are compared.

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "game/ui/IntRect.h"

class QelBitmapFont;

// How a text may be fitted: over as many lines as the box holds, on one
// line, or on one line in the face it was given, cut short with "..." (a
// preview of a longer text).
enum class TextFlow { kWrap, kOneLine, kCutLine };

struct FittedText {
    QelBitmapFont* font = nullptr;   // the face the lines are drawn in
    std::vector<std::string> lines;  // top to bottom
    int32_t lineStep = 0;            // pixels from one line's top to the next
    bool shortened = false;          // a word or whole lines were cut to fit
    bool overflowed = false;         // even so, the lines leave the box
};

// Pixel sizes a face steps down through, largest first; a face steps to the
// next size below its own. Below kSmallestSize a crew can no longer read it
// across a bridge.
inline constexpr int kFitSizes[] = {54, 46, 40, 34, 28, 24, 20, 18, 16, 14, 12, 11, 10};
inline constexpr int kSmallestSize = 10;

// The face a step smaller than the one given, or null when there is none.
using SmallerFace = std::function<QelBitmapFont*(QelBitmapFont*)>;

// The lines and the face that make the text fit the box (see above).
FittedText FitText(QelBitmapFont& font, const IntRect& box, const std::string& text, TextFlow flow,
                   const SmallerFace& smaller);

// The text broken into lines of the width between words, in the face as it
// is; a word wider than the width is broken where the line ends, so that
// nothing is lost. For texts laid out a line at a time by their widget
// (logs that scroll by lines).
std::vector<std::string> WrapText(QelBitmapFont& font, const std::string& text, int32_t width);

// The rectangle the fitted lines take in the box with the alignment (0 left
// from the top, 1 right from the top, 2 centred both ways).
IntRect FittedInk(const FittedText& fitted, const IntRect& box, int align);

// The top of the first line for the alignment, as the fonts place it.
int32_t FirstLineTop(const FittedText& fitted, const IntRect& box, int align);

// One text as drawn.
struct TextRun {
    std::string text;     // as asked for
    std::string surface;  // "" the window, else the render target's name
    IntRect box;          // the box it was given
    IntRect ink;          // where its lines are
    int layer = 0;
    bool shortened = false;
    bool overflowed = false;
};

// The text runs of a frame, while recording.
class TextRunReport {
public:
    bool recording = false;
    std::vector<TextRun> runs;

    void Add(TextRun run);
    // Runs of one surface whose inks share more than an edge, as index pairs.
    std::vector<std::pair<size_t, size_t>> Overlaps() const;
    // A readable list of the overlapping and overflowing runs; empty when there are none.
    std::string Faults() const;
};
