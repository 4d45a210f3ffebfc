#pragma once
// The graphics service as the headless layers see it: only what code outside
// the graphics folder calls. The graphics implementation derives from it and
// publishes itself in gGraphicsFactory; without graphics (the headless server)
// the pointer stays null.

#include <string>

class QelFont;

class QelGraphicsFactoryBase {
public:
    virtual ~QelGraphicsFactoryBase() = default;

    // The font of that file at that pixel size, made on first request and kept
    // by the service (a second request gives the same object).
    virtual QelFont* LoadFont(const std::string& fileName, int sizeInPixels) = 0;
};

extern QelGraphicsFactoryBase* gGraphicsFactory;
