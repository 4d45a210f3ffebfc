#include "engine/base/QelRunLoop.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/base/QelClock.h"
#include "engine/base/QelFrameLoop.h"
#include "engine/base/QelFramePacer.h"
#include "tests/engine/base/RecordingGameLoop.h"

namespace {

// Quits on the pump of the given pass; records sleeps and errors as calls.
class FakePlatform : public QelRunPlatform {
public:
    explicit FakePlatform(RecordingGameLoop& game) : game_(game) {}

    bool PumpEvents() override
    {
        game_.calls.push_back("Pump");
        return ++passes_ >= quitOnPass;
    }
    void Sleep(int32_t) override { game_.calls.push_back("Sleep"); }
    void ShowError(const std::string& text) override { errors.push_back(text); }

    int quitOnPass = 1;
    std::vector<std::string> errors;

private:
    RecordingGameLoop& game_;
    int passes_ = 0;
};

class QelRunLoopTest : public ::testing::Test {
protected:
    bool Run() { return QelRunLoop(game, frame, pacer, platform).Run(); }

    qel::ManualClock clock{5'000'000};
    RecordingGameLoop game;
    QelFrameLoop frame{game, game};
    QelFramePacer pacer;
    FakePlatform platform{game};
};

TEST_F(QelRunLoopTest, pass_that_sees_quit_runs_a_whole_frame_and_sleep_then_deletes_singletons)
{
    platform.quitOnPass = 2;
    EXPECT_TRUE(Run());
    ASSERT_GE(game.calls.size(), 4u);
    EXPECT_EQ(game.calls.front(), "Startup");
    EXPECT_EQ(game.Count("Pump"), 2);
    EXPECT_EQ(game.Count("EndFrame"), 2);
    EXPECT_EQ(game.Count("Sleep"), 2);
    const std::vector<std::string> tail(game.calls.end() - 3, game.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"EndFrame", "Sleep", "DeleteSingletons"}));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(QelRunLoopTest, exception_anywhere_is_shown_and_singletons_are_still_deleted)
{
    struct Case {
        const char* thrower;
        int pumps;  // passes begun before the throw
    };
    const Case cases[] = {{"Startup", 0}, {"ServerTick", 1}, {"Draw", 1}};
    for (const auto& [thrower, pumps] : cases) {
        RecordingGameLoop failing;
        QelFrameLoop failingFrame(failing, failing);
        FakePlatform failingPlatform(failing);
        failingPlatform.quitOnPass = 1000;
        failing.onCall = [thrower = std::string(thrower)](const std::string& call) {
            if (call == thrower)
                throw std::runtime_error(std::string("broken ") + thrower);
        };
        EXPECT_FALSE(QelRunLoop(failing, failingFrame, pacer, failingPlatform).Run()) << thrower;
        EXPECT_EQ(failingPlatform.errors, std::vector<std::string>{std::string("broken ") + thrower}) << thrower;
        EXPECT_EQ(failing.calls.back(), "DeleteSingletons") << thrower;
        EXPECT_EQ(failing.Count("Pump"), pumps) << thrower;
    }
}

TEST_F(QelRunLoopTest, failure_while_deleting_singletons_is_shown_not_thrown)
{
    game.onCall = [](const std::string& call) {
        if (call == "DeleteSingletons")
            throw std::logic_error("destructor failed");
    };
    bool clean = true;
    EXPECT_NO_THROW(clean = Run());
    EXPECT_FALSE(clean);
    EXPECT_EQ(platform.errors, std::vector<std::string>{"destructor failed"});
}

}  // namespace
