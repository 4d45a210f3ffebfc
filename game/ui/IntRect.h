#pragma once
// The rectangle of every screen-space layout: whole window pixels, y growing
// downwards. A rectangle is open (something can be drawn in it) only while
// left < right and top < bottom; the interface's controls draw nothing and
// answer nothing in a rectangle that is not open.

#include <cstdint>

struct IntPoint {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const IntPoint&) const = default;
};

struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // Copies the four edges; returns the destination.
    static IntRect& Copy(IntRect& destination, const IntRect& source);

    IntRect& Set(int32_t newLeft, int32_t newTop, int32_t newRight, int32_t newBottom);
    // Adds each delta to its own edge: moves, grows or shrinks the rectangle.
    void Offset(int32_t dLeft, int32_t dTop, int32_t dRight, int32_t dBottom);
    // Moves the rectangle: left and right by dx, top and bottom by dy.
    void Translate(int32_t dx, int32_t dy);
    // The point lies inside, the edges included.
    bool Contains(int32_t x, int32_t y) const;
    // The middle, each coordinate halved toward zero.
    IntPoint Center() const;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsOpen() const { return left < right && top < bottom; }

    bool operator==(const IntRect&) const = default;
};
