#include "engine/sdl/GLQELSystemClass.h"

#include <SDL2/SDL.h>
#include <glad/gl.h>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "engine/base/QelKeyboard.h"
#include "engine/base/QelMouse.h"
#include "engine/base/QelSoundFactoryBase.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "tests/engine/base/RecordingGameLoop.h"

namespace {

// The program's choice of graphics, made as the game makes it.
std::unique_ptr<QelWindowGraphics> MakeGLGraphics(const QelWindowSize& size, QelSystemServices& system)
{
    return std::make_unique<GLQelGraphicsClass>(size, &system);
}

GLQelGraphicsClass& GLGraphics(const GLQELSystemClass& system)
{
    return static_cast<GLQelGraphicsClass&>(*system.Graphics());
}

// Runs the real system on the offscreen video driver; the game asks to end
// from inside a frame in one of several ways.
class GLQELSystemClassWindowTest : public ::testing::Test {
protected:
    int Frames() const { return game.Count("ClientFrameUpdate"); }

    // Calls the action from the client's frame step of the given frame.
    void OnFrame(int frame, std::function<void()> action)
    {
        game.onCall = [this, frame, action](const std::string& call) {
            if (call == "ClientFrameUpdate" && Frames() == frame)
                action();
        };
    }

    void RunToEnd()
    {
        ASSERT_TRUE(system.Initialize());
        system.Run();
        system.Shutdown();
    }

    RecordingGameLoop game;
    GLQELSystemClass system{game, MakeGLGraphics};
};

TEST_F(GLQELSystemClassWindowTest, window_is_engine_1024_by_768_fixed_size_with_gl_3_3_core_depth_and_stencil)
{
    ASSERT_TRUE(system.Initialize());
    SDL_Window* window = system.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(gSystem, &system);
    EXPECT_NE(gInputFactory, nullptr);
    EXPECT_NE(gNetworkFactory, nullptr);
    // The tests run on SDL's dummy audio driver: no device, so no working sound.
    ASSERT_NE(gSoundFactory, nullptr);
    EXPECT_FALSE(gSoundFactory->IsWorking());
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Engine");
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE, 0u);

    int major = 0, minor = 0, profile = 0, depth = 0, stencil = 0;
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &major);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, &minor);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
    EXPECT_GE(major * 10 + minor, 33);
    EXPECT_EQ(profile, SDL_GL_CONTEXT_PROFILE_CORE);
    EXPECT_EQ(depth, 24);
    EXPECT_EQ(stencil, 8);
    EXPECT_NE(glGetString(GL_VERSION), nullptr);

    system.Shutdown();
    EXPECT_EQ(gSystem, nullptr);
    EXPECT_EQ(gInputFactory, nullptr);
    EXPECT_EQ(gNetworkFactory, nullptr);
    EXPECT_EQ(gSoundFactory, nullptr);
}

TEST_F(GLQELSystemClassWindowTest, synthetic_quit_ends_the_program_after_one_more_frame)
{
    OnFrame(3, [] {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    });
    RunToEnd();
    EXPECT_EQ(game.calls.front(), "Startup");
    EXPECT_EQ(Frames(), 4);
    EXPECT_EQ(game.calls.back(), "DeleteSingletons");
    EXPECT_EQ(game.Count("Draw"), 4);
    EXPECT_EQ(game.Count("SimulationTick 33"), game.Count("ClientTick"));
    EXPECT_GE(game.Count("SimulationTick 33"), 6);
}

TEST_F(GLQELSystemClassWindowTest, input_service_quit_and_sigterm_end_the_loop_cleanly)
{
    const struct {
        const char* name;
        std::function<void()> ask;
    } cases[] = {
        {"input service Quit", [] { gInputFactory->Quit(); }},
        {"SIGTERM", [] { std::raise(SIGTERM); }},
        {"SIGINT", [] { std::raise(SIGINT); }},
    };
    for (const auto& c : cases) {
        RecordingGameLoop caseGame;
        GLQELSystemClass caseSystem(caseGame, MakeGLGraphics);
        caseGame.onCall = [&caseGame, &c](const std::string& call) {
            if (call == "ClientFrameUpdate" && caseGame.Count(call) == 2)
                c.ask();
        };
        ASSERT_TRUE(caseSystem.Initialize()) << c.name;
        caseSystem.Run();
        caseSystem.Shutdown();
        EXPECT_EQ(caseGame.Count("ClientFrameUpdate"), 3) << c.name;
        EXPECT_EQ(caseGame.calls.back(), "DeleteSingletons") << c.name;
    }
}

TEST_F(GLQELSystemClassWindowTest, exception_from_the_game_is_reported_and_the_singletons_still_go)
{
    game.onCall = [](const std::string& call) {
        if (call == "SceneTick")
            throw std::runtime_error("scene failed");
    };
    testing::internal::CaptureStderr();
    RunToEnd();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Error: scene failed"), std::string::npos) << errors;
    EXPECT_EQ(game.calls.back(), "DeleteSingletons");
}

// A placement saved before the loop runs (the start-up going full screen) is
// gone once the first frame has passed its input update.
TEST_F(GLQELSystemClassWindowTest, first_frame_empties_the_saved_placement_and_presents_without_vsync)
{
    ASSERT_TRUE(system.Initialize());
    GLQelGraphicsClass& graphics = GLGraphics(system);
    EXPECT_FALSE(graphics.PlacementSaved());
    EXPECT_FALSE(graphics.VerticalSync());
    graphics.SetFullScreen(true);
    EXPECT_FALSE(graphics.SavedPlacement().Empty());

    bool savedDuringFirstFrame = true;
    int swapInterval = -1;
    game.onCall = [&](const std::string& call) {
        if (call == "ClientFrameUpdate" && Frames() == 1)
            savedDuringFirstFrame = graphics.PlacementSaved();
        if (call == "ClientFrameUpdate" && Frames() == 2) {
            swapInterval = SDL_GL_GetSwapInterval();
            gInputFactory->Quit();
        }
    };
    system.Run();
    EXPECT_FALSE(savedDuringFirstFrame);
    EXPECT_TRUE(graphics.PlacementSaved());
    EXPECT_TRUE(graphics.SavedPlacement().Empty());
    EXPECT_EQ(swapInterval, 0);
    system.Shutdown();
}

TEST_F(GLQELSystemClassWindowTest, leaving_full_screen_returns_the_window_to_its_saved_placement)
{
    ASSERT_TRUE(system.Initialize());
    GLQelGraphicsClass& graphics = GLGraphics(system);
    SDL_Window* window = system.Window();
    SDL_SetWindowPosition(window, 40, 50);

    graphics.SetFullScreen(true);
    EXPECT_TRUE(graphics.IsFullScreen());
    graphics.SetFullScreen(true);  // a second time keeps the windowed placement
    const GLQelGraphicsClass::WindowPlacement saved = graphics.SavedPlacement();
    EXPECT_EQ(saved.x, 40);
    EXPECT_EQ(saved.y, 50);
    EXPECT_EQ(saved.width, 1024);
    EXPECT_EQ(saved.height, 768);

    SDL_SetWindowSize(window, 640, 480);  // the windowed size drifts meanwhile
    graphics.SetFullScreen(false);
    EXPECT_FALSE(graphics.IsFullScreen());
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 50);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    system.Shutdown();
}

// After the window changes size, mouse positions are scaled to the size the
// graphics service draws at, not the size the window started with.
TEST_F(GLQELSystemClassWindowTest, mouse_positions_follow_the_resized_window)
{
    ASSERT_TRUE(system.Initialize());
    int mouseX = -1, mouseY = -1, drawWidth = 0;
    game.onCall = [&](const std::string& call) {
        if (call != "ClientFrameUpdate")
            return;
        if (Frames() == 1)
            SDL_SetWindowSize(system.Window(), 800, 600);
        if (Frames() == 3) {
            SDL_Event motion{};
            motion.type = SDL_MOUSEMOTION;
            motion.motion.x = 400;
            motion.motion.y = 300;
            SDL_PushEvent(&motion);
        }
        if (Frames() == 4) {
            mouseX = gInputFactory->GetMouse()->GetX(0);
            mouseY = gInputFactory->GetMouse()->GetY(0);
            drawWidth = system.Graphics()->GetWidth();
            gInputFactory->Quit();
        }
    };
    system.Run();
    system.Shutdown();
    EXPECT_EQ(drawWidth, 800);
    EXPECT_EQ(mouseX, 400);
    EXPECT_EQ(mouseY, 300);
}

// The graphics service hands the game the files dropped on the window,
// which it asks of the window's system through the services it was given.
TEST_F(GLQELSystemClassWindowTest, a_file_dropped_on_the_window_reaches_the_game_through_the_graphics)
{
    ASSERT_TRUE(system.Initialize());
    std::vector<std::string> taken;
    game.onCall = [&](const std::string& call) {
        if (call != "ClientFrameUpdate")
            return;
        if (Frames() == 1) {
            SDL_Event drop{};
            drop.type = SDL_DROPFILE;
            drop.drop.file = SDL_strdup("/tmp/mission.py");
            SDL_PushEvent(&drop);
        }
        if (Frames() == 3) {
            taken = {gGraphicsFactory->PopDroppedFile(), gGraphicsFactory->PopDroppedFile()};
            gInputFactory->Quit();
        }
    };
    system.Run();
    system.Shutdown();
    EXPECT_EQ(taken, (std::vector<std::string>{"/tmp/mission.py", ""}));
}

// Taps whose press and release both wait in the event queue when a frame
// starts, however long the frames take: each is seen once by the frame's
// steps (the plain edges) and once by its draw (the hot keys' form).
TEST_F(GLQELSystemClassWindowTest, every_tap_made_between_two_frames_is_seen_once)
{
    auto pushKey = [](Uint32 type) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.scancode = SDL_SCANCODE_O;
        SDL_PushEvent(&event);
    };
    // Taps queued during each frame, so they arrive together before the next.
    const std::vector<int> tapsDuringFrame = {1, 0, 2, 1, 0, 0, 3, 1};
    constexpr int kSettleFrames = 16;
    int taps = 0, pressed = 0, released = 0, pressedInDraw = 0;
    QelKeyboard* keyboard = nullptr;
    game.onCall = [&](const std::string& call) {
        if (call == "ClientFrameUpdate") {
            keyboard = gInputFactory->GetKeyboard();
            pressed += keyboard->IsKeyPressed('O');
            released += keyboard->IsKeyReleased('O');
            const size_t frame = static_cast<size_t>(Frames() - 1);
            for (int tap = 0; frame < tapsDuringFrame.size() && tap < tapsDuringFrame[frame]; ++tap) {
                pushKey(SDL_KEYDOWN);
                pushKey(SDL_KEYUP);
                ++taps;
            }
            if (frame == tapsDuringFrame.size() + kSettleFrames)
                gInputFactory->Quit();
        }
        if (call == "Draw")
            pressedInDraw += keyboard->IsKeyPressed('O', true);
    };
    RunToEnd();
    EXPECT_EQ(taps, 8);
    EXPECT_EQ(pressed, taps);
    EXPECT_EQ(released, taps);
    EXPECT_EQ(pressedInDraw, taps);
}

// Two keys tapped between two frames, as a hand types hot keys faster than a
// slow frame: the first opens a screen and the second acts on it, so each
// must be pressed in a frame of its own, in the order typed, by the draw.
TEST_F(GLQELSystemClassWindowTest, keys_tapped_in_one_frame_are_pressed_in_frames_of_their_own)
{
    auto tap = [](SDL_Scancode scancode) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event event{};
            event.type = type;
            event.key.keysym.scancode = scancode;
            SDL_PushEvent(&event);
        }
    };
    constexpr int kSettleFrames = 16;
    std::vector<std::pair<int, char>> pressedInDraw;  // (frame, key)
    game.onCall = [&](const std::string& call) {
        if (call == "ClientFrameUpdate") {
            if (Frames() == 1) {
                tap(SDL_SCANCODE_O);
                tap(SDL_SCANCODE_E);
                tap(SDL_SCANCODE_O);
            }
            if (Frames() == kSettleFrames)
                gInputFactory->Quit();
        }
        if (call != "Draw")
            return;
        for (char key : {'O', 'E'}) {
            if (gInputFactory->GetKeyboard()->IsKeyPressed(key, true))
                pressedInDraw.emplace_back(Frames(), key);
        }
    };
    RunToEnd();
    ASSERT_EQ(pressedInDraw.size(), 3u);
    EXPECT_EQ(pressedInDraw[0].second, 'O');
    EXPECT_EQ(pressedInDraw[1].second, 'E');
    EXPECT_EQ(pressedInDraw[2].second, 'O');
    EXPECT_LT(pressedInDraw[0].first, pressedInDraw[1].first);
    EXPECT_LT(pressedInDraw[1].first, pressedInDraw[2].first);
}

// Clicks and moves made between two frames, as a slow frame gathers them:
// each click is seen once, where it was made, and the move after the last
// one arrives too.
TEST_F(GLQELSystemClassWindowTest, every_click_made_between_two_frames_is_seen_where_it_was_made)
{
    auto push = [](Uint32 type, int x, int y) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.x = x;
            event.motion.y = y;
        } else {
            event.button.button = SDL_BUTTON_LEFT;
            event.button.x = x;
            event.button.y = y;
        }
        SDL_PushEvent(&event);
    };
    auto click = [&](int x, int y) {
        push(SDL_MOUSEMOTION, x, y);
        push(SDL_MOUSEBUTTONDOWN, x, y);
        push(SDL_MOUSEBUTTONUP, x, y);
    };
    constexpr int kSettleFrames = 16;
    std::vector<std::pair<int, int>> presses, releases;
    int lastX = 0, lastY = 0;
    game.onCall = [&](const std::string& call) {
        if (call != "ClientFrameUpdate")
            return;
        QelMouse* mouse = gInputFactory->GetMouse();
        if (mouse->WasPressed(0))
            presses.emplace_back(mouse->GetX(0), mouse->GetY(0));
        if (mouse->WasReleased(0))
            releases.emplace_back(mouse->GetX(0), mouse->GetY(0));
        lastX = mouse->GetX(0);
        lastY = mouse->GetY(0);
        if (Frames() == 1) {
            click(100, 120);
            click(600, 400);
            push(SDL_MOUSEMOTION, 900, 700);
        }
        if (Frames() == kSettleFrames)
            gInputFactory->Quit();
    };
    RunToEnd();
    const std::vector<std::pair<int, int>> clicked = {{100, 120}, {600, 400}};
    EXPECT_EQ(presses, clicked);
    EXPECT_EQ(releases, clicked);
    EXPECT_EQ(lastX, 900);
    EXPECT_EQ(lastY, 700);
}

}  // namespace
