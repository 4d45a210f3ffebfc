// The server's notices for a console's own screen, without a network: they
// reach this machine's ConsoleScreen, or its mirror's list of world sounds.

#include "game/net/ConsoleScreen.h"
#include "game/net/MessageHooks.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "tests/support/ScreenClient.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct RecordingScreen : ConsoleScreen {
    void SetConsole(const std::string& name, const std::vector<std::string>& list) override
    {
        console = name;
        widgets = list;
    }
    std::string ConsoleName() const override { return console; }
    void SetBoxRects(const std::string& consoleName, const std::string& widgetName,
                     const std::array<float, 8>& r) override
    {
        boxes.push_back({consoleName, widgetName, r});
    }
    void ReportWidgetBoxes(const std::string& widgetName, int32_t layoutIndex) override
    {
        reports.emplace_back(widgetName, layoutIndex);
    }
    void SetSpeechBubble(uint64_t objectId, int32_t seconds, const std::string& colour,
                         const std::string& text) override
    {
        bubbles.push_back({objectId, seconds, colour, text});
    }
    void ClearForNewWorld() override { ++worldsForgotten; }

    struct Box {
        std::string console, widget;
        std::array<float, 8> rects;
    };
    struct Bubble {
        uint64_t id;
        int32_t seconds;
        std::string colour, text;
    };
    std::string console;
    std::vector<std::string> widgets;
    std::vector<Box> boxes;
    std::vector<std::pair<std::string, int32_t>> reports;
    std::vector<Bubble> bubbles;
    int worldsForgotten = 0;
};

template <typename Signal>
void WriteSignalMessage(QelNetworkMessage& message, const Signal& signal)
{
    message.WriteInt64(HashMessageName("signal"));
    WriteSignal(message, signal);
}

class ConsoleSignalTest : public ::testing::Test {
protected:
    void SetUp() override { world.Reset(false, ""); }

    template <typename Signal>
    void Send(const Signal& signal)
    {
        QelNetworkMessage message;
        WriteSignalMessage(message, signal);
        uint64_t key = 0;
        message.ReadInt64(key);
        ASSERT_TRUE(CallClientHook(key, message, &client.Client()));
    }

    static GuiBoxSetRectSignal Box(const std::string& widget, std::array<float, 8> r)
    {
        GuiBoxSetRectSignal box;
        box.widgetName = widget;
        std::copy(r.begin(), r.end(), box.rects);
        return box;
    }

    Simulation world;
    RecordingScreen screen;
    qeltest::ScreenClient client{screen};
};

TEST_F(ConsoleSignalTest, a_new_simulation_makes_the_screen_forget_the_old_worlds_objects)
{
    Send(NewSimulationSignal{});
    EXPECT_EQ(screen.worldsForgotten, 1);
}

TEST_F(ConsoleSignalTest, the_widget_list_names_the_console_and_its_widgets_in_order)
{
    Send(WidgetListSignal{"helm", "helm_normal^throttle^^ship_data^"});
    EXPECT_EQ(screen.console, "helm");
    EXPECT_EQ(screen.widgets, (std::vector<std::string>{"helm_normal", "throttle", "ship_data"}));

    Send(WidgetListSignal{"blank", ""});
    EXPECT_EQ(screen.console, "blank");
    EXPECT_TRUE(screen.widgets.empty());
}

TEST_F(ConsoleSignalTest, box_rectangles_reach_the_console_shown_and_unplaceable_ones_are_refused)
{
    screen.console = "sci";
    Send(Box("science_data", {10, 10, 50, 90, 5, 10, 45, 90.5f}));
    ASSERT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(screen.boxes[0].console, "sci");
    EXPECT_EQ(screen.boxes[0].widget, "science_data");
    EXPECT_EQ(screen.boxes[0].rects[7], 90.5f);

    // Not a number, an edge at or beyond the limit, or no name at all.
    const uint64_t rejected = RejectedMessageCount();
    Send(Box("science_data", {kNaN, 0, 0, 0, 0, 0, 0, 0}));
    Send(Box("science_data", {0, 0, 0, 0, 0, 0, 0, -10000.0f}));
    screen.console.clear();
    Send(Box("", {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(RejectedMessageCount(), rejected + 3);

    // A box named by its widget alone still belongs somewhere.
    Send(Box("throttle", {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(screen.boxes.size(), 2u);
}

TEST_F(ConsoleSignalTest, bubbles_and_state_queries_reach_the_screen)
{
    Send(SpeechBubbleSignal{kSpaceObjectIdBit | 7, 4, "#ff0", "Hail!"});
    ASSERT_EQ(screen.bubbles.size(), 1u);
    EXPECT_EQ(screen.bubbles[0].id, kSpaceObjectIdBit | 7);
    EXPECT_EQ(screen.bubbles[0].seconds, 4);
    EXPECT_EQ(screen.bubbles[0].text, "Hail!");

    Send(WidgetBoxStateQuerySignal{"throttle", 0});
    Send(WidgetBoxStateQuerySignal{"throttle", 7});
    EXPECT_EQ(screen.reports,
              (std::vector<std::pair<std::string, int32_t>>{{"throttle", 0}, {"throttle", 1}}));
}

TEST_F(ConsoleSignalTest, world_sounds_join_the_mirror_and_bad_ones_are_refused)
{
    Send(SoundEventSignal{"SD", 1.0f, 2.0f, 3.0f});
    Send(SoundEventSignal{"SD", 4.0f, 5.0f, 6.0f});  // no gap between sounds from the server
    Send(SoundEventSignal{"", 0, 0, 0});
    Send(SoundEventSignal{"PB", kNaN, 0, 0});
    ASSERT_EQ(world.soundEvents.size(), 2u);
    EXPECT_EQ(world.soundEvents[1].name, "SD");
    EXPECT_EQ(world.soundEvents[1].position, glm::vec3(4, 5, 6));
}

TEST_F(ConsoleSignalTest, a_program_without_a_screen_takes_the_screen_signals_quietly)
{
    client.Client().SetConsoleScreen(nullptr);
    Send(WidgetListSignal{"helm", "throttle"});
    Send(Box("throttle", {1, 2, 3, 4, 5, 6, 7, 8}));
    Send(SpeechBubbleSignal{0, 0, "", ""});
    Send(WidgetBoxStateQuerySignal{"throttle", 1});
    Send(NoPayloadSignal<SIGNAL_MESS_SCREEN_SIZE_QUERY>{});
    EXPECT_TRUE(screen.boxes.empty());
}

}  // namespace
