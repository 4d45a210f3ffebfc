#pragma once
// The immediate-mode interface on recording fakes: a 2D service that records
// what the controls draw and an input the test scripts frame by frame. The
// settings come from the game's own preferences.

#include <gtest/gtest.h>

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "tests/support/RecordingGraphics2D.h"
#include "tests/support/ScriptedInput.h"

class UITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gGraphicsFactory = &graphics;
        gInputFactory = &input;
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
        graphics.log.clear();
    }

    void TearDown() override
    {
        theUIContext = UIContext();
        gGraphicsFactory = nullptr;
        gInputFactory = nullptr;
    }

    // One drawn frame: the context's frame around the draw; then this frame's
    // input edges end. The records are those of this frame only.
    template <class Draw>
    void Frame(Draw&& draw)
    {
        graphics.log.clear();
        ui.BeginFrame();
        draw();
        ui.EndFrame();
        input.NextFrame();
    }

    qeltest::RecordingGraphics2D graphics;
    qeltest::ScriptedInput input;
    UIContext& ui = theUIContext;
};
