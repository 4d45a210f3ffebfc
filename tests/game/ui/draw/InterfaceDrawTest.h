#pragma once
// The interface drawn by the real graphics service on the offscreen driver:
// the preferences' colours and fonts loaded, a scripted input in place, and
// the checks the drawing tests make of the screen read back.

#include <cstdlib>

#include "game/ui/IntRect.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "tests/support/OffscreenGraphicsTest.h"
#include "tests/support/ScriptedInput.h"

namespace qeltest {

class InterfaceDrawTest : public OffscreenGraphicsTest {
protected:
    InterfaceDrawTest(int width, int height) : OffscreenGraphicsTest(width, height) {}

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OffscreenGraphicsTest::SetUp());
        gInputFactory = &input;
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
    }

    void TearDown() override
    {
        theUIContext = UIContext();
        gInputFactory = nullptr;
        OffscreenGraphicsTest::TearDown();
    }

    static Rgb Bytes(const glm::vec4& colour)
    {
        return {static_cast<int>(colour.r * 255), static_cast<int>(colour.g * 255), static_cast<int>(colour.b * 255)};
    }

    static bool Near(const Rgb& a, const Rgb& b, int tolerance)
    {
        for (int i = 0; i < 3; ++i)
            if (std::abs(a[i] - b[i]) > tolerance)
                return false;
        return true;
    }

    // Pixels in the rectangle that are close to the colour.
    int CountNear(const IntRect& r, const Rgb& colour, int tolerance) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                count += Near(At(x, y), colour, tolerance) ? 1 : 0;
        return count;
    }

    ScriptedInput input;
};

}  // namespace qeltest
