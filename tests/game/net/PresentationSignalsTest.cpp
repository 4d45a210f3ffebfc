// The presentation signals: what each record reads back, the order in which
// the info lists' texts travel, and the values a console refuses to apply.

#include "game/net/PresentationSignals.h"

#include "game/world/ObjectId.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

constexpr uint64_t kShip = kSpaceObjectIdBit | 9;
constexpr uint64_t kGridObject = kGridObjectIdBit | 9;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Writes the record and reads it back as a console's handler does, the code
// taken off first; false when the reader refuses it.
template <typename Signal>
bool RoundTrip(const Signal& sent, Signal& received)
{
    QelNetworkMessage message;
    WriteSignal(message, sent);
    uint16_t code = 0;
    EXPECT_TRUE(ReadSignalCode(message, code) && code == Signal::kCode);
    return ReadSignal(message, received) && message.BytesLeftToRead() == 0;
}

template <typename Signal>
bool Reads(const Signal& sent)
{
    Signal received;
    return RoundTrip(sent, received);
}

TEST(PresentationSignals, records_read_back_what_was_written)
{
    TextMessageSignal text{{0.5f, 0.25f, 1.0f, 1.0f}, "Hail"}, textBack;
    ASSERT_TRUE(RoundTrip(text, textBack));
    EXPECT_EQ(textBack.text, "Hail");
    EXPECT_EQ(textBack.colour[1], 0.25f);

    CommsMessageSignal comms{kShip, "head #e6b594 0 0", "Depot", "yellow", "Dock at once.", "white"}, commsBack;
    ASSERT_TRUE(RoundTrip(comms, commsBack));
    EXPECT_EQ(commsBack.sourceId, kShip);
    EXPECT_EQ(commsBack.face + "|" + commsBack.title + "|" + commsBack.titleColour + "|" + commsBack.body + "|" +
                  commsBack.bodyColour,
              "head #e6b594 0 0|Depot|yellow|Dock at once.|white");

    SoundFileSignal sound{"gui/beep", -2.5f, 0.5f}, soundBack;
    ASSERT_TRUE(RoundTrip(sound, soundBack));
    EXPECT_EQ(soundBack.volume, -2.5f);

    DmxChannelSignal dmx{{12, DMX_BEHAV_SINE, 4, 10, 250}}, dmxBack;
    ASSERT_TRUE(RoundTrip(dmx, dmxBack));
    EXPECT_EQ(dmxBack.request.high, 250);

    AttachedEmitterSignal removal{7, 0, 0, AttachedEmitterSignal::kDeleteDescriptor}, removalBack;
    ASSERT_TRUE(RoundTrip(removal, removalBack));
    EXPECT_TRUE(removalBack.Deletes());
    EXPECT_FALSE((AttachedEmitterSignal{7, kShip, 0, "delete"}.Deletes())) << "only without an object";

    EXPECT_TRUE(Reads(SkyBoxSignal{"sky2"}));
    EXPECT_TRUE(Reads(MusicTensionSignal{100.0f}));
    EXPECT_TRUE(Reads(PlaySongSignal{"music/calm/low/drift"}));
    EXPECT_TRUE(Reads(MainScreenViewSignal{"lrs", "front", "chase"}));
    EXPECT_TRUE(Reads(ParticleEventSignal{kShip, 0.0f, 0.0f, 0.0f, "count:5"}));
}

// Each list's entry (first, second, third) travels in its own order, and the
// console fills its slots back as the server's own list holds them.
TEST(PresentationSignals, info_entries_travel_in_the_order_of_their_code)
{
    const ConsoleInfoEntry entry{"first", "second", "third"};
    auto wire = [](const auto& signal) { return signal.a + "," + signal.b + "," + signal.c; };
    EXPECT_EQ(wire(CommsSelectionInfoSignal::FromEntry(entry)), "second,third,first");
    EXPECT_EQ(wire(GridSelectionInfoSignal::FromEntry(entry)), "second,third,first");
    EXPECT_EQ(wire(CommsButtonInfoSignal::FromEntry(entry)), "third,second,first");
    EXPECT_EQ(wire(GridButtonInfoSignal::FromEntry(entry)), "third,second,first");

    CommsSelectionInfoSignal selection;
    ASSERT_TRUE(RoundTrip(CommsSelectionInfoSignal::FromEntry(entry), selection));
    EXPECT_EQ(selection.Entry(), entry);
    GridButtonInfoSignal button;
    ASSERT_TRUE(RoundTrip(GridButtonInfoSignal::FromEntry(entry), button));
    EXPECT_EQ(button.Entry(), entry);
    EXPECT_TRUE(CommsSelectionInfoSignal::kSelection && !CommsSelectionInfoSignal::kEngineering);
    EXPECT_TRUE(GridButtonInfoSignal::kEngineering && !GridButtonInfoSignal::kSelection);
}

TEST(PresentationSignals, a_console_refuses_what_it_could_not_apply)
{
    struct Case {
        const char* what;
        std::function<bool()> reads;
    };
    const Case cases[] = {
        {"a text colour that is no number", [] { return Reads(TextMessageSignal{{kNaN, 0, 0, 1}, "x"}); }},
        {"a comms message from a grid object", [] { return Reads(CommsMessageSignal{kGridObject, "", "", "", "", ""}); }},
        {"a main screen view without a camera mode", [] { return Reads(MainScreenViewSignal{"lrs", "front", ""}); }},
        {"a music set without a name", [] { return Reads(MusicFolderSignal{""}); }},
        {"a song without a name", [] { return Reads(PlaySongSignal{""}); }},
        {"a tension above 100", [] { return Reads(MusicTensionSignal{100.5f}); }},
        {"a tension below 0", [] { return Reads(MusicTensionSignal{-1.0f}); }},
        {"a tension that is no number", [] { return Reads(MusicTensionSignal{kNaN}); }},
        {"a sound file without a name", [] { return Reads(SoundFileSignal{"", 1.0f, 1.0f}); }},
        {"a sound volume of 10", [] { return Reads(SoundFileSignal{"beep", 10.0f, 1.0f}); }},
        {"a sound pitch of -100", [] { return Reads(SoundFileSignal{"beep", 1.0f, -100.0f}); }},
        {"a DMX channel beyond the table", [] { return Reads(DmxChannelSignal{{kDmxConfigurableChannels, 0, 0, 0, 0}}); }},
        {"a DMX behaviour beyond the table", [] { return Reads(DmxChannelSignal{{0, DMX_BEHAV_MAX, 0, 0, 0}}); }},
        {"a DMX level above a byte", [] { return Reads(DmxChannelSignal{{0, 0, 0, 0, 256}}); }},
        {"a particle burst without a descriptor", [] { return Reads(ParticleEventSignal{0, 1, 2, 3, ""}); }},
        {"a particle burst at no point", [] { return Reads(ParticleEventSignal{0, kNaN, 2, 3, "count:5"}); }},
        {"a particle burst on a grid object", [] { return Reads(ParticleEventSignal{kGridObject, 0, 0, 0, "a"}); }},
        {"an emitter without a descriptor", [] { return Reads(AttachedEmitterSignal{3, kShip, 5, ""}); }},
        {"an emitter on a grid object", [] { return Reads(AttachedEmitterSignal{3, kGridObject, 5, "a"}); }},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(c.reads()) << c.what;
}

TEST(PresentationSignals, a_message_cut_short_is_refused)
{
    QelNetworkMessage whole;
    WriteSignal(whole, CommsMessageSignal{kShip, "face", "title", "red", "body", "white"});
    for (int32_t length = 2; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        cut.WriteBytes(whole.Data(), length);
        uint16_t code = 0;
        ReadSignalCode(cut, code);
        CommsMessageSignal received;
        EXPECT_FALSE(ReadSignal(cut, received)) << length << " bytes";
    }
}

TEST(PresentationSignals, the_tactical_and_long_range_views_bring_their_radar_zoom)
{
    EXPECT_EQ(RadarZoomOfMainView("tactical"), 0.06f);
    EXPECT_EQ(RadarZoomOfMainView("lrs"), 0.01f);
    EXPECT_EQ(RadarZoomOfMainView("info"), std::nullopt);
    EXPECT_EQ(RadarZoomOfMainView("Tactical"), std::nullopt) << "compared exactly";
}

}  // namespace
