#include "game/ui/UITextFit.h"

#include <algorithm>
#include <cctype>

#include "engine/base/QelBitmapFont.h"

namespace {

constexpr const char* kCutWord = ".";
constexpr const char* kCutLines = "...";
constexpr int kAlignRight = 1;
constexpr int kAlignCentre = 2;

bool IsHardBreak(char c)
{
    return c == '^' || c == '\n';
}

// A word of punctuation only ("%", ":", "-") belongs with the word before it.
bool ClingsToPrevious(const std::string& word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::ispunct(static_cast<unsigned char>(c)) != 0;
    });
}

// A word and the blanks before it on the line.
struct Word {
    std::string gap;
    std::string text;
};

// The words of one paragraph, a clinging word joined to the one before; the
// blanks that indent the paragraph stay with its first word, and those that
// end it with its last.
std::vector<Word> SplitWords(const std::string& paragraph)
{
    std::vector<Word> words;
    size_t at = 0;
    while (at < paragraph.size()) {
        const size_t start = paragraph.find_first_not_of(' ', at);
        if (start == std::string::npos)
            break;
        size_t end = paragraph.find(' ', start);
        if (end == std::string::npos)
            end = paragraph.size();
        Word word{paragraph.substr(at, start - at), paragraph.substr(start, end - start)};
        if (words.empty())
            words.push_back({"", word.gap + word.text});
        else if (ClingsToPrevious(word.text))
            words.back().text += word.gap + word.text;
        else
            words.push_back(std::move(word));
        at = end;
    }
    // Blanks that end the paragraph stay with its last word, as padding.
    const size_t last = paragraph.find_last_not_of(' ');
    if (!words.empty() && last != std::string::npos)
        words.back().text += paragraph.substr(last + 1);
    return words;
}

std::vector<std::string> Paragraphs(const std::string& text)
{
    std::vector<std::string> paragraphs(1);
    for (char c : text) {
        if (IsHardBreak(c))
            paragraphs.emplace_back();
        else
            paragraphs.back() += c;
    }
    return paragraphs;
}

bool Fits(QelBitmapFont& font, const std::string& line, int32_t width)
{
    return font.GetTextWidth(line) <= width;
}

// Greedy lines of whole words; false when a word is wider than the box.
bool WrapWords(QelBitmapFont& font, const std::string& text, int32_t width, TextFlow flow,
               std::vector<std::string>& lines)
{
    lines.clear();
    for (const std::string& paragraph : Paragraphs(text)) {
        std::string line;
        for (const Word& word : SplitWords(paragraph)) {
            if (!Fits(font, word.text, width))
                return false;
            const std::string longer = line.empty() ? word.text : line + word.gap + word.text;
            if (line.empty() || Fits(font, longer, width)) {
                line = longer;
                continue;
            }
            lines.push_back(line);
            line = word.text;
        }
        lines.push_back(line);
    }
    return flow == TextFlow::kWrap || lines.size() == 1;
}

// How many bytes of the text's head fit the width; one at least, so that a
// box narrower than a character still moves on.
size_t FittingHead(QelBitmapFont& font, const std::string& text, int32_t width)
{
    size_t keep = text.size();
    while (keep > 1 && !Fits(font, text.substr(0, keep), width))
        --keep;
    return keep;
}

// The longest head of the text that fits with the mark after it.
std::string CutToFit(QelBitmapFont& font, const std::string& text, const std::string& mark, int32_t width)
{
    for (size_t keep = text.size(); keep > 0; --keep) {
        std::string cut = text.substr(0, keep);
        while (!cut.empty() && cut.back() == ' ')
            cut.pop_back();
        if (!cut.empty() && Fits(font, cut + mark, width))
            return cut + mark;
    }
    return mark;
}

// A number cut short would read as another number: it is never cut.
bool IsNumber(const std::string& word)
{
    const size_t first = word.find_first_not_of(" +-");
    return first != std::string::npos && std::isdigit(static_cast<unsigned char>(word[first])) != 0;
}

// Lines of words, a word too wide for the box cut with a mark.
std::vector<std::string> WrapCuttingWords(QelBitmapFont& font, const std::string& text, int32_t width)
{
    std::vector<std::string> lines;
    for (const std::string& paragraph : Paragraphs(text)) {
        std::string line;
        for (const Word& word : SplitWords(paragraph)) {
            const bool keep = Fits(font, word.text, width) || IsNumber(word.text);
            const std::string fitted = keep ? word.text : CutToFit(font, word.text, kCutWord, width);
            const std::string longer = line.empty() ? fitted : line + word.gap + fitted;
            if (line.empty() || Fits(font, longer, width)) {
                line = longer;
                continue;
            }
            lines.push_back(line);
            line = fitted;
        }
        lines.push_back(line);
    }
    return lines;
}

// The smallest face's lines, as many as the box holds; what is dropped is marked on the last line kept.
FittedText Shorten(QelBitmapFont& font, const IntRect& box, const std::string& text, TextFlow flow)
{
    FittedText fitted;
    fitted.font = &font;
    fitted.lineStep = font.GetLineStep();
    fitted.shortened = true;
    const int32_t width = box.Width();
    std::vector<std::string> lines = WrapCuttingWords(font, text, width);
    const size_t room = flow != TextFlow::kWrap || fitted.lineStep <= 0
                            ? 1
                            : static_cast<size_t>(std::max(1, box.Height() / fitted.lineStep));
    if (lines.size() > room) {
        lines.resize(room);
        lines.back() = CutToFit(font, lines.back() + " ", kCutLines, width);
    }
    fitted.lines = std::move(lines);
    for (const std::string& line : fitted.lines)
        fitted.overflowed = fitted.overflowed || !Fits(font, line, width);
    fitted.overflowed = fitted.overflowed || fitted.lineStep > box.Height();
    return fitted;
}

bool Overlap(const IntRect& a, const IntRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Describe(const TextRun& run)
{
    const auto edges = [](const IntRect& r) {
        return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
               std::to_string(r.bottom) + ")";
    };
    return "\"" + run.text + "\"" + (run.surface.empty() ? "" : " on " + run.surface) + " at " + edges(run.ink) +
           " in " + edges(run.box);
}

}  // namespace

std::vector<std::string> WrapText(QelBitmapFont& font, const std::string& text, int32_t width)
{
    std::vector<std::string> lines;
    for (const std::string& paragraph : Paragraphs(text)) {
        std::string line;
        for (const Word& word : SplitWords(paragraph)) {
            const std::string longer = line.empty() ? word.text : line + word.gap + word.text;
            if (Fits(font, longer, width)) {
                line = longer;
                continue;
            }
            if (!line.empty())
                lines.push_back(line);
            line = word.text;
            // A character wider than the box keeps a line of its own.
            while (line.size() > 1 && !Fits(font, line, width)) {
                const size_t keep = FittingHead(font, line, width);
                lines.push_back(line.substr(0, keep));
                line.erase(0, keep);
            }
        }
        lines.push_back(line);
    }
    return lines;
}

FittedText FitText(QelBitmapFont& font, const IntRect& box, const std::string& text, TextFlow flow,
                   const SmallerFace& smaller)
{
    QelBitmapFont* face = &font;
    QelBitmapFont* smallest = face;
    FittedText fitted;
    while (face) {
        fitted.font = face;
        fitted.lineStep = face->GetLineStep();
        if (WrapWords(*face, text, box.Width(), flow, fitted.lines) &&
            static_cast<int32_t>(fitted.lines.size()) * fitted.lineStep <= box.Height())
            return fitted;
        smallest = face;
        face = smaller && flow != TextFlow::kCutLine ? smaller(face) : nullptr;
    }
    return Shorten(*smallest, box, text, flow);
}

int32_t FirstLineTop(const FittedText& fitted, const IntRect& box, int align)
{
    if (align != kAlignCentre)
        return box.top;
    const int32_t height = static_cast<int32_t>(fitted.lines.size()) * fitted.lineStep;
    return (box.top + box.bottom) / 2 - height / 2;
}

IntRect FittedInk(const FittedText& fitted, const IntRect& box, int align)
{
    const int32_t top = FirstLineTop(fitted, box, align);
    IntRect ink{box.right, top, box.left, top + static_cast<int32_t>(fitted.lines.size()) * fitted.lineStep};
    for (const std::string& line : fitted.lines) {
        const int32_t width = fitted.font ? fitted.font->GetTextWidth(line) : 0;
        int32_t left = box.left;
        if (align == kAlignRight)
            left = box.right - width;
        else if (align == kAlignCentre)
            left = box.left + (box.Width() - width) / 2;
        ink.left = std::min(ink.left, left);
        ink.right = std::max(ink.right, left + width);
    }
    if (ink.left > ink.right)
        ink.left = ink.right = box.left;
    return ink;
}

void TextRunReport::Add(TextRun run)
{
    if (recording)
        runs.push_back(std::move(run));
}

std::vector<std::pair<size_t, size_t>> TextRunReport::Overlaps() const
{
    std::vector<std::pair<size_t, size_t>> pairs;
    for (size_t i = 0; i < runs.size(); ++i)
        for (size_t j = i + 1; j < runs.size(); ++j)
            if (runs[i].surface == runs[j].surface && Overlap(runs[i].ink, runs[j].ink))
                pairs.emplace_back(i, j);
    return pairs;
}

std::string TextRunReport::Faults() const
{
    std::string faults;
    for (const auto& [first, second] : Overlaps())
        faults += "overlap: " + Describe(runs[first]) + " and " + Describe(runs[second]) + "\n";
    for (const TextRun& run : runs)
        if (run.overflowed)
            faults += "leaves its box: " + Describe(run) + "\n";
    return faults;
}
