#pragma once
// A font made by the graphics service. Game code that only keeps fonts by tag
// (the preferences' font lists) sees no more than this; the graphics
// implementation derives its drawable font from it.

class QelFont {
public:
    virtual ~QelFont() = default;
};
