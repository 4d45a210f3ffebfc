#include "game/render/FaceDescription.h"

#include "helper/ColorParse.h"

#include <limits>

namespace {

bool IsWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsSign(char c)
{
    return c == '+' || c == '-' || c == '|';
}

// Reads a description from left to right, one part per call.
class FaceScanner {
public:
    explicit FaceScanner(std::string_view text) : text_(text) {}

    // The next part, or false when no part can begin in the rest.
    bool Next(FacePart& part)
    {
        if (!FindPartStart())
            return false;
        part = FacePart{};
        part.name = Run(IsWordChar);
        Run(IsBlank);
        part.colourText = ColourText();
        ParseColor(part.colour, part.colourText);
        for (int16_t* number : {&part.column, &part.row, &part.offsetX, &part.offsetY}) {
            Run(IsBlank);
            *number = Number();
        }
        if (At(';'))
            ++position_;
        return true;
    }

private:
    // Moves to the first place at or after the cursor where a part begins: a
    // run of word characters (perhaps none) followed by a blank.
    bool FindPartStart()
    {
        while (position_ < text_.size()) {
            size_t wordEnd = position_;
            while (wordEnd < text_.size() && IsWordChar(text_[wordEnd]))
                ++wordEnd;
            if (wordEnd < text_.size() && IsBlank(text_[wordEnd]))
                return true;
            // No start inside that word either: each of its tails ends where it does.
            position_ = wordEnd + 1;
        }
        return false;
    }

    // '#' and hex digits, or a word.
    std::string ColourText()
    {
        if (!At('#'))
            return Run(IsWordChar);
        ++position_;
        return '#' + Run(IsHexDigit);
    }

    // An optional sign and decimal digits; no digits, or a value beyond 16
    // bits, reads 0. A '|' counts as no sign.
    int16_t Number()
    {
        const bool negative = At('-');
        if (position_ < text_.size() && IsSign(text_[position_]))
            ++position_;
        const std::string digits = Run(IsDigit);
        int32_t magnitude = 0;
        for (char digit : digits) {
            magnitude = magnitude * 10 + (digit - '0');
            if (magnitude > std::numeric_limits<int16_t>::max() + 1)
                return 0;
        }
        const int32_t value = negative ? -magnitude : magnitude;
        if (value > std::numeric_limits<int16_t>::max())
            return 0;
        return static_cast<int16_t>(value);
    }

    template <typename Predicate>
    std::string Run(Predicate inRun)
    {
        const size_t start = position_;
        while (position_ < text_.size() && inRun(text_[position_]))
            ++position_;
        return std::string(text_.substr(start, position_ - start));
    }

    bool At(char c) const { return position_ < text_.size() && text_[position_] == c; }

    std::string_view text_;
    size_t position_ = 0;
};

}  // namespace

std::vector<FacePart> ParseFaceDescription(std::string_view description)
{
    std::vector<FacePart> parts;
    FaceScanner scanner(description);
    FacePart part;
    while (scanner.Next(part))
        parts.push_back(std::move(part));
    return parts;
}
