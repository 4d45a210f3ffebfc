#pragma once
// A font at one pixel size, made and kept by the graphics service. Text is
// read byte by byte; it is laid out in the text box, breaking lines at spaces,
// at '^' and at newlines.

#include <string>
#include <vector>

#include "engine/base/Qel2dBitmap.h"

class QelBitmapFont {
public:
    virtual ~QelBitmapFont() = default;

    virtual void SetTextRect(int left, int top, int right, int bottom) = 0;
    virtual void SetTextRectFrom(const QelRect& rect) = 0;
    virtual void DrawTextLeft(std::string text, const float colour[4], int orderKey) = 0;
    virtual void DrawTextRight(std::string text, const float colour[4], int orderKey) = 0;
    virtual void DrawTextCentered(std::string text, const float colour[4], int orderKey) = 0;
    // Only the first line of the next text box is drawn.
    virtual void SetSingleLine() = 0;
    // Breaks the text into lines of at most width pixels; returns lines x size.
    virtual int LayoutText(std::string text, int width) = 0;
    // The lines of the last LayoutText (or draw), first to last.
    virtual const std::vector<std::string>& LaidOutLines() const = 0;
    virtual int GetTextWidth(std::string text) = 0;
    virtual int GetTextHeight(std::string text) = 0;
    virtual int GetLineHeight() = 0;
    // From the top of one laid-out line to the top of the next.
    virtual int GetLineStep() = 0;
    virtual int GetAscent() = 0;
    virtual int GetDescent() = 0;  // negative
};
