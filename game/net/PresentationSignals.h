#pragma once
// The presentation "signal" codes (framing and conventions as in
// SignalMessage.h): what the mission has a console show, play and light,
// besides its retained GUI and story dialogs: text and comms messages, the
// consoles' info lists, the main screen's view, music, sound files, DMX
// channels, particles and the sky. One record, one writer and one reader per
// code; the script functions of zmx write them, the console reads them.
//
// Readers refuse what the console could not apply: an empty name where one is
// needed, an id of the wrong kind, a number that is not finite or outside the
// range its code allows.

#include "game/net/SignalMessage.h"
#include "game/world/DmxLighting.h"
#include "game/world/SimulationRecords.h"

#include <cstdint>
#include <optional>
#include <string>

// S->C 25: one line for the message text box, in its colour.
struct TextMessageSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_TEXT_MESSAGE;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};  // red, green, blue, alpha; finite
    std::string text;
};

// S->C 26: a message for the comms console, from another ship (or nobody);
// the colours travel as the mission wrote them.
struct CommsMessageSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_COMMS_MESSAGE;
    uint64_t sourceId = 0;  // 0 or a space-object id
    std::string face;       // portrait description
    std::string title;
    std::string titleColour;
    std::string body;
    std::string bodyColour;
};

// The comms console's record of the message, its colours parsed, stamped
// with the tick it came at.
CommsMessageRecord CommsRecordOf(const CommsMessageSignal& signal, int64_t arrivalTick);

// One entry of a console's info list (the comms console's and the
// engineering console's): three texts that the console's widgets give their
// meaning.
struct ConsoleInfoEntry {
    std::string first;
    std::string second;
    std::string third;

    bool operator==(const ConsoleInfoEntry&) const = default;
};

// S->C 27 to 30: one entry of the comms (27, 28) or engineering (29, 30) info
// list; a selection (27, 29) replaces the list with it, a button (28, 30)
// is added to it. The three texts travel in an order of their own, which
// differs between selections and buttons; FromEntry and Entry keep to it.
template <SignalMessageCode Code>
struct ConsoleInfoSignal {
    static constexpr SignalMessageCode kCode = Code;
    static constexpr bool kSelection = Code == SIGNAL_MESS_COMMS_SELECTION_INFO || Code == SIGNAL_MESS_GRID_SELECTION_INFO;
    static constexpr bool kEngineering = Code == SIGNAL_MESS_GRID_SELECTION_INFO || Code == SIGNAL_MESS_GRID_BUTTON_INFO;

    std::string a, b, c;  // as they travel

    static ConsoleInfoSignal FromEntry(const ConsoleInfoEntry& entry)
    {
        if constexpr (kSelection)
            return {entry.second, entry.third, entry.first};
        else
            return {entry.third, entry.second, entry.first};
    }
    ConsoleInfoEntry Entry() const
    {
        if constexpr (kSelection)
            return {c, a, b};
        else
            return {c, b, a};
    }
};
using CommsSelectionInfoSignal = ConsoleInfoSignal<SIGNAL_MESS_COMMS_SELECTION_INFO>;
using CommsButtonInfoSignal = ConsoleInfoSignal<SIGNAL_MESS_COMMS_BUTTON_INFO>;
using GridSelectionInfoSignal = ConsoleInfoSignal<SIGNAL_MESS_GRID_SELECTION_INFO>;
using GridButtonInfoSignal = ConsoleInfoSignal<SIGNAL_MESS_GRID_BUTTON_INFO>;

// 40, both ways, one layout: the main screen's view, camera angle and camera
// mode (S->C, "set_main_view_modes"), or the view, facing and mode a console
// chose (C->S). None is empty.
struct MainScreenViewSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_MAIN_SCN_VIEW;
    std::string view;
    std::string cameraAngle;
    std::string cameraMode;
};

// The 2D radar's zoom that a main screen view brings with it ("tactical" and
// "lrs", compared exactly); other views leave the zoom as it is.
std::optional<float> RadarZoomOfMainView(const std::string& view);

// S->C 49 and 51: the music set to take tracks from, and one song to play
// now. Neither name is empty.
template <SignalMessageCode Code>
struct MusicNameSignal {
    static constexpr SignalMessageCode kCode = Code;
    std::string name;
};
using MusicFolderSignal = MusicNameSignal<SIGNAL_MESS_MUSIC_FOLDER>;
using PlaySongSignal = MusicNameSignal<SIGNAL_MESS_PLAY_SONG>;

// S->C 50: the music's tension rises to at least this.
struct MusicTensionSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_MUSIC_TENSION;
    static constexpr float kMaxTension = 100.0f;
    float tension = 0.0f;  // 0..kMaxTension
};

// S->C 53: a sound file (below data/audio/, no extension) plays once.
struct SoundFileSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SFX_FILE;
    // Beyond these a sound is noise or silence to a voice, whatever the file.
    static constexpr float kVolumeBound = 10.0f;   // |volume| below it
    static constexpr float kPitchBound = 100.0f;   // |pitch| below it
    std::string fileName;  // not empty
    float volume = 1.0f;
    float pitch = 1.0f;
};

// S->C 57: one DMX channel's behaviour; it must fit the lighting's tables
// (DmxChannelFault).
struct DmxChannelSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_DMX_CHANNEL;
    DmxChannelRequest request;
};

// S->C 63: a burst of particles, at the object (its own place and turn) or,
// with object 0, at the point.
struct ParticleEventSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_PARTICLE_EVENT;
    uint64_t objectId = 0;               // 0 or a space-object id
    float x = 0.0f, y = 0.0f, z = 0.0f;  // finite; not used with an object
    std::string descriptor;              // a style string; not empty
};

// S->C 64: a particle emitter under the server's id, fixed to its object;
// the descriptor "delete" with object 0 removes the emitter of the id.
struct AttachedEmitterSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_ATTACHED_EMITTOR;
    static constexpr const char* kDeleteDescriptor = "delete";
    uint64_t emitterId = 0;
    uint64_t objectId = 0;  // 0 or a space-object id
    int32_t lifeSpan = 0;   // firings; negative: without end
    std::string descriptor; // not empty

    bool Deletes() const { return objectId == 0 && descriptor == kDeleteDescriptor; }
};

// S->C 70: the sky box's art file.
struct SkyBoxSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SKY_BOX;
    std::string artFileName;
};

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const ConsoleInfoSignal<Code>& signal)
{
    WriteSignalCode(message, Code);
    message.WriteString(signal.a).WriteString(signal.b).WriteString(signal.c);
}

template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, ConsoleInfoSignal<Code>& signal)
{
    message.ReadString(signal.a).ReadString(signal.b).ReadString(signal.c);
    return !message.IsBad();
}

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const MusicNameSignal<Code>& signal)
{
    WriteSignalCode(message, Code);
    message.WriteString(signal.name);
}

template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, MusicNameSignal<Code>& signal)
{
    message.ReadString(signal.name);
    return !message.IsBad() && !signal.name.empty();
}

void WriteSignal(QelNetworkMessage& message, const TextMessageSignal& signal);
void WriteSignal(QelNetworkMessage& message, const CommsMessageSignal& signal);
void WriteSignal(QelNetworkMessage& message, const MainScreenViewSignal& signal);
void WriteSignal(QelNetworkMessage& message, const MusicTensionSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SoundFileSignal& signal);
void WriteSignal(QelNetworkMessage& message, const DmxChannelSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ParticleEventSignal& signal);
void WriteSignal(QelNetworkMessage& message, const AttachedEmitterSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SkyBoxSignal& signal);

bool ReadSignal(QelNetworkMessage& message, TextMessageSignal& signal);
bool ReadSignal(QelNetworkMessage& message, CommsMessageSignal& signal);
bool ReadSignal(QelNetworkMessage& message, MainScreenViewSignal& signal);
bool ReadSignal(QelNetworkMessage& message, MusicTensionSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SoundFileSignal& signal);
bool ReadSignal(QelNetworkMessage& message, DmxChannelSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ParticleEventSignal& signal);
bool ReadSignal(QelNetworkMessage& message, AttachedEmitterSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SkyBoxSignal& signal);
