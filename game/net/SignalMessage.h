#pragma once
// "signal": the one general-purpose command message. Every crew command a
// console sends and most notifications the server sends travel as "signal"
// with a 16-bit code that says what follows. This file is the protocol's one
// written form: every code in one enum, and for each code carried by the
// client and server core one payload record with one writer and one reader.
//
// Framing: the key of "signal" (written by StartClientMessage or
// StartServerMessage), the code as a 16-bit value, then the payload,
// little-endian and packed. Where a code travels both ways the two payloads
// may differ; the record names say which direction they carry.
//
// The retained GUI's and story dialogs' codes (35, 37, 38, 39, 56, 83, 88,
// 94) have their records in RetainedGUISignals.h; what else missions have
// consoles show, play and light (25 to 30, 40, 49 to 51, 53, 57, 63, 64, 70)
// in PresentationSignals.h.
//
// Writers append the code and the payload. Readers read the payload only (the
// handler has read the code to choose the reader) and answer false when the
// message ends too soon or holds what the code cannot carry; the caller then
// applies nothing.

#include "engine/base/QelNetworkMessage.h"
#include "game/world/NavRecords.h"
#include "game/world/SideTables.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Directions: S->C server to client, C->S client to server.
enum SignalMessageCode : uint16_t {
    SIGNAL_MESS_MY_SHIP_ID = 0,                  // S->C
    SIGNAL_MESS_MY_ALT_SHIP_ID = 1,              // S->C
    SIGNAL_MESS_SPEECH_BUBBLE = 2,               // S->C
    SIGNAL_MESS_FULL_OBJECT_REQUEST = 3,         // C->S
    SIGNAL_MESS_HEARTBEAT = 4,                   // C->S
    SIGNAL_MESS_THROTTLE = 5,                    // both
    SIGNAL_MESS_REVERSE = 6,                     // both
    SIGNAL_MESS_STEER = 7,                       // both
    SIGNAL_MESS_STEER_2D = 8,                    // C->S
    SIGNAL_MESS_STEER_FREE = 9,                  // C->S
    SIGNAL_MESS_DOCK = 10,                       // C->S
    SIGNAL_MESS_UNDOCK = 11,                     // C->S
    SIGNAL_MESS_OBJECT_REMOVED = 12,             // S->C
    SIGNAL_MESS_SELECT_OBJECT = 13,              // C->S
    SIGNAL_MESS_UNUSED_14 = 14,                  // no part of the game uses it
    SIGNAL_MESS_TORPEDO_TUBE = 15,               // C->S
    SIGNAL_MESS_NAV_POINT = 16,                  // S->C
    SIGNAL_MESS_ALL_NAV_POINTS_DELETED = 17,     // S->C
    SIGNAL_MESS_NAV_POINT_DELETED = 18,          // S->C
    SIGNAL_MESS_NAV_PROXY = 19,                  // S->C
    SIGNAL_MESS_ALL_NAV_PROXIES_DELETED = 20,    // S->C
    SIGNAL_MESS_NAV_PROXY_DELETED = 21,          // S->C
    SIGNAL_MESS_SCREEN_SIZE_QUERY = 22,          // S->C
    SIGNAL_MESS_NEW_SIMULATION = 23,             // S->C
    SIGNAL_MESS_SIMULATION_STOPPED = 24,         // S->C
    SIGNAL_MESS_TEXT_MESSAGE = 25,               // S->C
    SIGNAL_MESS_COMMS_MESSAGE = 26,              // S->C
    SIGNAL_MESS_COMMS_SELECTION_INFO = 27,       // S->C
    SIGNAL_MESS_COMMS_BUTTON_INFO = 28,          // S->C
    SIGNAL_MESS_GRID_SELECTION_INFO = 29,        // S->C
    SIGNAL_MESS_GRID_BUTTON_INFO = 30,           // S->C
    SIGNAL_MESS_FLOAT_VALUE = 31,                // both, fields in different orders
    SIGNAL_MESS_INT64_VALUE = 32,                // C->S
    SIGNAL_MESS_CONSOLE_NAME = 33,               // C->S
    SIGNAL_MESS_COMMS_BUTTON = 34,               // C->S
    SIGNAL_MESS_RGUI_WIDGET = 35,                // S->C
    SIGNAL_MESS_UNUSED_36 = 36,                  // no part of the game uses it
    SIGNAL_MESS_RGUI_CLEAR = 37,                 // S->C
    SIGNAL_MESS_RGUI_COMPLETE = 38,              // S->C
    SIGNAL_MESS_RGUI_ACTION = 39,                // C->S
    SIGNAL_MESS_MAIN_SCN_VIEW = 40,              // both
    SIGNAL_MESS_SHIELDS = 41,                    // C->S
    SIGNAL_MESS_GRID = 42,                       // C->S request, S->C grid
    SIGNAL_MESS_GRID_OBJECT = 43,                // retired: nothing sends it
    SIGNAL_MESS_DELETE_GRID = 44,                // S->C
    SIGNAL_MESS_GRID_OBJECT_DELETED = 45,        // S->C
    SIGNAL_MESS_GRID_OBJECT_SELECTION = 46,      // C->S
    SIGNAL_MESS_GRID_POINT_SELECTION = 47,       // C->S
    SIGNAL_MESS_GRID_BUTTON = 48,                // C->S
    SIGNAL_MESS_MUSIC_FOLDER = 49,               // S->C
    SIGNAL_MESS_MUSIC_TENSION = 50,              // S->C
    SIGNAL_MESS_PLAY_SONG = 51,                  // S->C
    SIGNAL_MESS_SONG_ENDED = 52,                 // C->S
    SIGNAL_MESS_SFX_FILE = 53,                   // S->C
    SIGNAL_MESS_WIDGET_LIST = 54,                // S->C
    SIGNAL_MESS_CLIENT_CHANGE = 55,              // C->S
    SIGNAL_MESS_STORY_DIALOG = 56,               // S->C
    SIGNAL_MESS_DMX_CHANNEL = 57,                // S->C
    SIGNAL_MESS_PAUSE_STATE = 58,                // S->C
    SIGNAL_MESS_RED_ALERT = 59,                  // both
    SIGNAL_MESS_GUIBOX_SET_RECT = 60,            // S->C
    SIGNAL_MESS_SFX = 61,                        // S->C
    SIGNAL_MESS_SCREEN_SIZE = 62,                // C->S
    SIGNAL_MESS_PARTICLE_EVENT = 63,             // S->C
    SIGNAL_MESS_ATTACHED_EMITTOR = 64,           // S->C
    SIGNAL_MESS_SHIP_RECORD = 65,                // C->S request, S->C record
    SIGNAL_MESS_DRAW_DATA_OUTLINE = 66,          // S->C
    SIGNAL_MESS_ASSET_DATA = 67,                 // C->S request, S->C data
    SIGNAL_MESS_BEAM_FREQUENCY = 68,             // C->S
    SIGNAL_MESS_BEAM_SPEED = 69,                 // C->S
    SIGNAL_MESS_SKY_BOX = 70,                    // S->C
    SIGNAL_MESS_SET_BEAM_DAMAGE = 71,            // S->C
    SIGNAL_MESS_SHIELD_PIERCING = 72,            // C->S
    SIGNAL_MESS_TORPEDO_CONVERSION = 73,         // C->S
    SIGNAL_MESS_FIGHTER_BOOST = 74,              // C->S
    SIGNAL_MESS_FIGHTER_THRUST = 75,             // C->S
    SIGNAL_MESS_FIGHTER_SHOOT = 76,              // C->S
    SIGNAL_MESS_FIGHTER_TORPEDO = 77,            // C->S
    SIGNAL_MESS_FIGHTER_DOCK_REQUEST = 78,       // C->S
    SIGNAL_DAMAGE_AMOUNT = 79,                   // S->C
    SIGNAL_MESS_SUPER_HYPER_WARP = 80,           // S->C
    SIGNAL_MESS_CINEMATIC_CONTROL = 81,          // S->C
    SIGNAL_MESS_AUTO_CINEMATIC_STARS = 82,       // S->C
    SIGNAL_MESS_RETAINED_VISIBILITY = 83,        // S->C
    SIGNAL_MESS_OPTIONS_TRANSPARENCY = 84,       // S->C
    SIGNAL_MESS_JUMP = 85,                       // C->S jump, S->C jump effect
    SIGNAL_MESS_JUMP_TIME = 86,                  // S->C
    SIGNAL_MESS_STRING_MAP = 87,                 // S->C
    SIGNAL_MESS_DEBUG_TREE = 88,                 // S->C request, C->S text
    SIGNAL_MESS_REQUEST_CLIENT_STRING = 89,      // S->C request, C->S answer
    SIGNAL_MESS_SET_CLIENT_STRING = 90,          // S->C
    SIGNAL_MESS_SCAN_CHECK = 91,                 // C->S
    SIGNAL_MESS_SCAN = 92,                       // C->S command, S->C queue
    SIGNAL_MESS_QUICK_JUMP = 93,                 // C->S
    SIGNAL_MESS_RGUI_HOTKEY = 94,                // S->C
    SIGNAL_MESS_WIDGET_BOX_STATE = 95,           // C->S
    SIGNAL_MESS_WIDGET_BOX_STATE_QUERY = 96,     // S->C
    SIGNAL_MESS_CONNECT_RESET = 97,              // S->C
    SIGNAL_MESS_SIMULATION_TICK = 98,            // S->C
    SIGNAL_MESS_HOLD = 99,                       // S->C menu, C->S click
    SIGNAL_MESS_HOLD_BUTTON = 100,               // C->S
    SIGNAL_MESS_SCRIPT_EVENT = 101,              // C->S
    SIGNAL_MESS_PING = 102,                      // S->C ping, C->S echo
    SIGNAL_MESS_MACHINE_NAME = 103,              // both
    SIGNAL_MESS_MACHINE_NAME_QUERY = 104,        // S->C
    SIGNAL_MESS_INDEXED_TABLES = 105,            // S->C
};

// Codes run from 0 to this; anything above is no code at all.
constexpr uint16_t kLastSignalCode = SIGNAL_MESS_INDEXED_TABLES;

// Checks the readers share: an id that may name the console's ship, and
// floats that are numbers (a NaN or an infinity is no helm setting, and
// would spread through every later computation on the ship).
bool ShipIdFitsSignal(uint64_t id);
bool AllFinite(std::initializer_list<float> values);

// Begins the payload of a code (the key must already be written).
void WriteSignalCode(QelNetworkMessage& message, SignalMessageCode code);
// Reads the code that follows the key; false when the message ends first.
bool ReadSignalCode(QelNetworkMessage& message, uint16_t& code);

// C->S 3: the objects a console has seen updated but does not know in full.
struct FullObjectRequestSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_FULL_OBJECT_REQUEST;
    // The client asks for at most this many objects per request, so a
    // request stays small however many unknown objects pile up.
    static constexpr size_t kMaxIdsPerRequest = 10;
    // Each a space-object id, no 0: the reader skips ids of any other kind,
    // so the valid ones beside them are still answered.
    std::vector<uint64_t> objectIds;
};

// A code that carries nothing but itself.
template <SignalMessageCode Code>
struct NoPayloadSignal {
    static constexpr SignalMessageCode kCode = Code;
};

// S->C 0 and 1: the ship this console controls, and the ship its 2D radar
// follows instead (0 = back to the own ship).
template <SignalMessageCode Code>
struct ShipIdSignal {
    static constexpr SignalMessageCode kCode = Code;
    uint64_t shipId = 0;  // 0 or a space-object id
};
using MyShipIdSignal = ShipIdSignal<SIGNAL_MESS_MY_SHIP_ID>;
using MyAltShipIdSignal = ShipIdSignal<SIGNAL_MESS_MY_ALT_SHIP_ID>;
// C->S 52: the console's music finished a track; the id is the console's own
// ship. The server raises "song_ended" for the console.
using SongEndedSignal = ShipIdSignal<SIGNAL_MESS_SONG_ENDED>;

// C->S 4: a console is still there.
using HeartbeatSignal = NoPayloadSignal<SIGNAL_MESS_HEARTBEAT>;

// 5, both ways: the helm's throttle. The server clamps what a console sends;
// a console refuses more than 100 either way from the server.
struct ThrottleSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_THROTTLE;
    float throttle = 0.0f;  // share of full impulse; finite
};

// 6, both ways: whether the engines run backwards.
struct ReverseSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_REVERSE;
    int32_t reverse = 0;  // 0 or 1; the server clamps other values
};

// 7 (both ways) and 9 (C->S): turn rates about the three axes, from the
// constrained and the free steering widgets. 8 (C->S) carries only yaw and
// pitch, in that order.
template <SignalMessageCode Code>
struct SteeringSignal {
    static constexpr SignalMessageCode kCode = Code;
    float roll = 0.0f;   // -1..1 of full turn rate; finite
    float pitch = 0.0f;
    float yaw = 0.0f;
};
using SteerSignal = SteeringSignal<SIGNAL_MESS_STEER>;
using SteerFreeSignal = SteeringSignal<SIGNAL_MESS_STEER_FREE>;

struct Steer2DSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_STEER_2D;
    float yaw = 0.0f;    // -1..1 of full turn rate; finite
    float pitch = 0.0f;
};

// S->C 2: a speech bubble over an object on the 2D radar; an empty text
// removes it.
struct SpeechBubbleSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SPEECH_BUBBLE;
    uint64_t objectId = 0;  // 0 or a space-object id
    int32_t seconds = 0;
    std::string colour;
    std::string text;
};

// S->C 17 and 20: every nav point, and every nav proxy, is gone.
using AllNavPointsDeletedSignal = NoPayloadSignal<SIGNAL_MESS_ALL_NAV_POINTS_DELETED>;
using AllNavProxiesDeletedSignal = NoPayloadSignal<SIGNAL_MESS_ALL_NAV_PROXIES_DELETED>;

// S->C 16: one nav point, whole (the console keeps it under the server's id).
struct NavPointSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_NAV_POINT;
    int32_t id = 0;  // not 0
    Navpoint point;  // visibleToShip 0 or a space-object id; every float finite
};

// S->C 19: one nav proxy, whole.
struct NavProxySignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_NAV_PROXY;
    int32_t id = 0;  // not 0
    NavProxy proxy;  // proxy_id 0 or a space-object id; every float finite
};

// S->C 18 and 21: one nav point, or one nav proxy, is gone.
template <SignalMessageCode Code>
struct NavDeletedSignal {
    static constexpr SignalMessageCode kCode = Code;
    int32_t id = 0;
};
using NavPointDeletedSignal = NavDeletedSignal<SIGNAL_MESS_NAV_POINT_DELETED>;
using NavProxyDeletedSignal = NavDeletedSignal<SIGNAL_MESS_NAV_PROXY_DELETED>;

// One science scan a ship has queued: what it scans and how.
struct ScanQueueEntry {
    uint64_t objectId = 0;  // a space-object id
    std::string scanType;

    bool operator==(const ScanQueueEntry&) const = default;
};

// S->C 92: a ship's queue of science scans, in order. A queue too long for one
// message is sent as far as it fits; the rest follows once the first scans
// are done.
struct ScanQueueSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SCAN;
    std::vector<ScanQueueEntry> entries;
};

// S->C 105: the side tables whole: icon colours, icon indexes, relationships
// (each list ended by a key of 0), then the four diplomacy colours. An entry
// whose side key is 0 cannot be told from a list's end and is left out;
// every attitude is a DIPLOMACY value and every colour component finite.
struct IndexedTablesSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_INDEXED_TABLES;
    SideTables tables;
};

// S->C 22: the mission asks the console for its window size (a
// ScreenSizeSignal answers).
using ScreenSizeQuerySignal = NoPayloadSignal<SIGNAL_MESS_SCREEN_SIZE_QUERY>;

// C->S 55: what the console just did ("client_connected", "entered_options",
// "left_options", "change_console"); the mission hears it as "client_change".
struct ClientChangeSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_CLIENT_CHANGE;
    std::string change;
};

// C->S 62: the console's window in pixels; the mission hears it as "screen_size".
struct ScreenSizeSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SCREEN_SIZE;
    // Larger than any display; a size beyond it is no window at all.
    static constexpr int32_t kMaxPixels = 32768;
    int32_t width = 0;   // 1..kMaxPixels
    int32_t height = 0;  // 1..kMaxPixels
};

// S->C 54: the console's name and the widgets it draws, joined by '^'.
struct WidgetListSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_WIDGET_LIST;
    std::string consoleType;
    std::string widgetList;
};

// S->C 60: both rectangles of one widget's box: normal layout, then full
// screen, each left, top, right, bottom.
struct GuiBoxSetRectSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_GUIBOX_SET_RECT;
    // Percent of the window; a box this far outside it is no layout at all.
    static constexpr float kMaxMagnitude = 10000.0f;
    std::string widgetName;
    float rects[8] = {};  // finite, each of magnitude below kMaxMagnitude
};

// S->C 61: a sound heard at a point of the world (the console plays it by
// its distance from the ship it shows).
struct SoundEventSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SFX;
    std::string name;  // not empty
    float x = 0.0f, y = 0.0f, z = 0.0f;  // finite
};

// C->S 95: one box of a widget on the console ("widget_box_state"): the
// layout (0 normal, 1 full screen) and its rectangle in percent.
struct WidgetBoxStateSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_WIDGET_BOX_STATE;
    std::string widgetName;
    std::string screenName;
    int32_t layoutIndex = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// S->C 80: the super-hyper-warp screen on (1) or off (0), with the hull it shows.
struct SuperHyperWarpSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SUPER_HYPER_WARP;
    std::string shipHullKey;
    int32_t onOffFlag = 0;
};

// S->C 81: the camera of the "cinematic" view, when the script drives it.
struct CinematicControlSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_CINEMATIC_CONTROL;
    int32_t scriptControlsCamera = 0;
    uint64_t dollyId = 0;
    float dollyPos[3] = {};
    uint64_t targetId = 0;
    float targetPos[3] = {};
};

// S->C 84: the options button drawn transparent (1) or not.
struct OptionsTransparencySignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_OPTIONS_TRANSPARENCY;
    int32_t onOffFlag = 0;
};

// S->C 96: the console reports the box of the widget ("widget_box_state").
struct WidgetBoxStateQuerySignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_WIDGET_BOX_STATE_QUERY;
    std::string widgetName;
    int32_t fullScreenFlag = 0;
};

// S->C 99: a quick menu on the 2D radar; the three ids come back with the
// chosen option, the options are ';'-separated.
struct HoldMenuSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_HOLD;
    uint64_t subject = 0;  // 0 or a space-object id
    uint64_t object = 0;   // 0 or a space-object id
    uint64_t extra = 0;
    std::string options;
};

// S->C 12: the object is gone from the world.
struct ObjectRemovedSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_OBJECT_REMOVED;
    uint64_t objectId = 0;
};

// C->S 13: a console picked an object (or a point) on one of its views. A
// kind containing "helm" asks the ship to turn towards the point.
struct SelectObjectSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SELECT_OBJECT;
    uint64_t objectId = 0;     // 0 or a space-object id
    std::string kind;          // selection kind
    std::string value;
    std::string dataSetKey;    // the selection's key; not empty. Only the ship's target keys are kept
    std::string extra;
    float x = 0.0f, y = 0.0f, z = 0.0f;  // the point picked; finite
};

// S->C 23: a new game begins; the console forgets its world.
using NewSimulationSignal = NoPayloadSignal<SIGNAL_MESS_NEW_SIMULATION>;
// S->C 24: the game stopped.
using SimulationStoppedSignal = NoPayloadSignal<SIGNAL_MESS_SIMULATION_STOPPED>;

// S->C 31: one float value of an object's data set.
struct FloatValueToClientSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_FLOAT_VALUE;
    uint64_t objectId = 0;  // a space-object id
    std::string key;        // not empty
    int32_t index = 0;
    float value = 0.0f;
};

// C->S 33: the console's name, which gives it its role on the server.
struct ConsoleNameSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_CONSOLE_NAME;
    std::string name;
};

// S->C 58: whether the world is paused.
struct PauseStateSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_PAUSE_STATE;
    int32_t paused = 0;
};

// 59, both ways: the red alert state of a ship.
struct RedAlertSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_RED_ALERT;
    int32_t redAlert = 0;
};

// C->S 65: a ship definition the console failed to find.
struct ShipRecordRequestSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SHIP_RECORD;
    std::string shipKey;
};

// S->C 71: the base beam damage of the three kinds of shooter.
struct BeamDamageSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SET_BEAM_DAMAGE;
    float playerShip = 1.0f;    // each at least 0
    float computerShip = 1.0f;
    float station = 1.0f;
};

// C->S 85: the helm asks for a jump (its S->C form, the jump effect, carries
// other fields).
struct JumpSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_JUMP;
    float distance = 0.0f;   // finite
    float direction = 0.0f;  // finite
};

// S->C 85: the console's ship arrived from a jump; the screen shows the
// jump's effect for the seconds. The tick is the server's, for the record.
struct JumpEffectSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_JUMP;
    // An effect longer than this is no jump but a blank screen.
    static constexpr uint64_t kMaxEffectSeconds = 60;
    int64_t tick = 0;
    uint64_t effectSeconds = 0;  // at most kMaxEffectSeconds
};

// S->C 86: the seconds left before the ship's jump, for the helm's countdown.
struct JumpTimeSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_JUMP_TIME;
    int32_t seconds = 0;  // at least 0
};

// S->C 79: the damage the console's ship just took, for the damage flash.
struct DamageAmountSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_DAMAGE_AMOUNT;
    float damage = 0.0f;  // finite, at least 0
};

// S->C 82: the most "exciting" object near the ship, for the main screen's
// automatic camera; 0 when there is none.
struct AutoCinematicStarsSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_AUTO_CINEMATIC_STARS;
    uint64_t objectId = 0;  // 0 or a space object
};

// S->C 87: one entry of the server string map; key "clear" with value
// "stringmap" empties the console's copy.
struct StringMapSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_STRING_MAP;
    std::string key;  // not empty
    std::string value;
};

// S->C 89: the mission asks for a value of the console's own string map.
struct ClientStringRequestSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_REQUEST_CLIENT_STRING;
    std::string key;  // not empty
};

// C->S 89: the console's answer; the value is empty when it has none.
struct ClientStringSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_REQUEST_CLIENT_STRING;
    std::string key;
    std::string value;
};

// S->C 90: the mission stores a value in the console's own string map.
struct SetClientStringSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SET_CLIENT_STRING;
    std::string key;  // not empty
    std::string value;
};

// S->C 97: a console has just connected and starts from a clean slate.
using ConnectResetSignal = NoPayloadSignal<SIGNAL_MESS_CONNECT_RESET>;

// S->C 98: the server's tick, which the console's clock takes over.
struct SimulationTickSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SIMULATION_TICK;
    uint64_t tick = 0;
};

// S->C 102 and its C->S echo: the key of one round-trip measurement.
struct PingSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_PING;
    int32_t key = 0;
};

// 103, both ways: the console's machine name (the console tells it; the server
// operator may give it a new one).
struct MachineNameSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_MACHINE_NAME;
    std::string name;
};

// S->C 104: the server asks for the machine name.
using MachineNameQuerySignal = NoPayloadSignal<SIGNAL_MESS_MACHINE_NAME_QUERY>;

// ---- Ship interior grids ----

// C->S 42: a console showing its ship's interior asks for the grid and its
// grid objects; a value other than 0 asks for every keyed value of every
// grid object again, not only those that changed.
struct GridRequestSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_GRID;
    int32_t value = 0;
};

// S->C 42: one ship's interior grid (the header) and some of its grid
// objects, each with its path as (column, row) pairs. A grid with many grid
// objects travels in several messages, each with the whole header.
struct GridSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_GRID;
    // Grid objects per message at most; fewer when they would not fit.
    static constexpr size_t kMaxObjectsPerMessage = 50;

    struct Object {
        uint64_t id = 0;  // a grid-object id
        std::string name;
        std::string tag;
        std::string type;
        int32_t layer = 0;
        std::vector<int32_t> path;  // column, row pairs; never -1, which ends the list
    };

    uint64_t shipId = 0;  // a space-object id
    std::string name;
    std::string description;
    std::string artFileRoot;
    float gridScale = 0.0f;
    int32_t width = 0;
    int32_t height = 0;
    int32_t symmetricalFlag = 0;
    std::vector<Object> objects;

    // Bytes the header, and one object, take in the message.
    int32_t HeaderSize() const;
    static int32_t ObjectSize(const Object& object);
    // Bytes the list's end (the id 0) takes.
    static constexpr int32_t kEndSize = 8;
};

// S->C 44: the ship's interior grid was rebuilt; consoles drop their copy
// and take the ship data key.
struct DeleteGridSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_DELETE_GRID;
    std::string shipDataKey;  // not empty
    uint64_t shipId = 0;      // a space-object id
};

// S->C 45: a grid object was deleted from the ship's interior.
struct GridObjectDeletedSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_GRID_OBJECT_DELETED;
    uint64_t gridObjectId = 0;  // a grid-object id
    uint64_t shipId = 0;        // a space-object id
};

// C->S 46: the crew picked a grid object of the ship (from a list or the
// interior view).
struct GridObjectSelectionSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_GRID_OBJECT_SELECTION;
    uint64_t shipId = 0;        // 0 or a space-object id
    uint64_t gridObjectId = 0;  // 0 or a grid-object id
    std::string consoleName;
    std::string widgetName;
};

// C->S 47: the crew clicked a cell of the ship's interior view.
struct GridPointSelectionSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_GRID_POINT_SELECTION;
    uint64_t shipId = 0;  // 0 or a space-object id
    int32_t column = 0;
    int32_t row = 0;
    std::string consoleName;
    std::string widgetName;
};

// C->S 48: a command button of the grid console, for the ship and the grid
// object it has selected.
struct GridButtonSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_GRID_BUTTON;
    std::string button;
    uint64_t shipId = 0;        // 0 or a space-object id
    uint64_t gridObjectId = 0;  // 0 or a grid-object id
};

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const NoPayloadSignal<Code>&)
{
    WriteSignalCode(message, Code);
}

template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, NoPayloadSignal<Code>&)
{
    return !message.IsBad();
}

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const ShipIdSignal<Code>& signal)
{
    WriteSignalCode(message, Code);
    message.WriteInt64(signal.shipId);
}

// Only 0 or a space-object id can name the console's ship.
template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, ShipIdSignal<Code>& signal)
{
    message.ReadInt64(signal.shipId);
    return !message.IsBad() && ShipIdFitsSignal(signal.shipId);
}

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const SteeringSignal<Code>& signal)
{
    WriteSignalCode(message, Code);
    message.WriteFloat(signal.roll).WriteFloat(signal.pitch).WriteFloat(signal.yaw);
}

template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, SteeringSignal<Code>& signal)
{
    message.ReadInt32(signal.roll).ReadInt32(signal.pitch).ReadInt32(signal.yaw);
    return !message.IsBad() && AllFinite({signal.roll, signal.pitch, signal.yaw});
}

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const NavDeletedSignal<Code>& signal)
{
    WriteSignalCode(message, Code);
    message.WriteInt32(signal.id);
}

template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, NavDeletedSignal<Code>& signal)
{
    message.ReadInt32(signal.id);
    return !message.IsBad();
}

void WriteSignal(QelNetworkMessage& message, const FullObjectRequestSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ThrottleSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ReverseSignal& signal);
void WriteSignal(QelNetworkMessage& message, const Steer2DSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ObjectRemovedSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SelectObjectSignal& signal);
void WriteSignal(QelNetworkMessage& message, const FloatValueToClientSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ConsoleNameSignal& signal);
void WriteSignal(QelNetworkMessage& message, const PauseStateSignal& signal);
void WriteSignal(QelNetworkMessage& message, const RedAlertSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ShipRecordRequestSignal& signal);
void WriteSignal(QelNetworkMessage& message, const BeamDamageSignal& signal);
void WriteSignal(QelNetworkMessage& message, const JumpSignal& signal);
void WriteSignal(QelNetworkMessage& message, const StringMapSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ClientStringRequestSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ClientStringSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SetClientStringSignal& signal);
void WriteSignal(QelNetworkMessage& message, const AutoCinematicStarsSignal& signal);
void WriteSignal(QelNetworkMessage& message, const JumpEffectSignal& signal);
void WriteSignal(QelNetworkMessage& message, const JumpTimeSignal& signal);
void WriteSignal(QelNetworkMessage& message, const DamageAmountSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SimulationTickSignal& signal);
void WriteSignal(QelNetworkMessage& message, const PingSignal& signal);
void WriteSignal(QelNetworkMessage& message, const MachineNameSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ClientChangeSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ScreenSizeSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SpeechBubbleSignal& signal);
void WriteSignal(QelNetworkMessage& message, const WidgetListSignal& signal);
void WriteSignal(QelNetworkMessage& message, const GuiBoxSetRectSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SoundEventSignal& signal);
void WriteSignal(QelNetworkMessage& message, const WidgetBoxStateSignal& signal);
void WriteSignal(QelNetworkMessage& message, const SuperHyperWarpSignal& signal);
void WriteSignal(QelNetworkMessage& message, const CinematicControlSignal& signal);
void WriteSignal(QelNetworkMessage& message, const OptionsTransparencySignal& signal);
void WriteSignal(QelNetworkMessage& message, const WidgetBoxStateQuerySignal& signal);
void WriteSignal(QelNetworkMessage& message, const HoldMenuSignal& signal);
void WriteSignal(QelNetworkMessage& message, const NavPointSignal& signal);
void WriteSignal(QelNetworkMessage& message, const NavProxySignal& signal);
void WriteSignal(QelNetworkMessage& message, const ScanQueueSignal& signal);
void WriteSignal(QelNetworkMessage& message, const IndexedTablesSignal& signal);
void WriteSignal(QelNetworkMessage& message, const GridRequestSignal& signal);
void WriteSignal(QelNetworkMessage& message, const GridSignal& signal);
void WriteSignal(QelNetworkMessage& message, const DeleteGridSignal& signal);
void WriteSignal(QelNetworkMessage& message, const GridObjectDeletedSignal& signal);
void WriteSignal(QelNetworkMessage& message, const GridObjectSelectionSignal& signal);
void WriteSignal(QelNetworkMessage& message, const GridPointSelectionSignal& signal);
void WriteSignal(QelNetworkMessage& message, const GridButtonSignal& signal);

bool ReadSignal(QelNetworkMessage& message, FullObjectRequestSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ThrottleSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ReverseSignal& signal);
bool ReadSignal(QelNetworkMessage& message, Steer2DSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ObjectRemovedSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SelectObjectSignal& signal);
bool ReadSignal(QelNetworkMessage& message, FloatValueToClientSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ConsoleNameSignal& signal);
bool ReadSignal(QelNetworkMessage& message, PauseStateSignal& signal);
bool ReadSignal(QelNetworkMessage& message, RedAlertSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ShipRecordRequestSignal& signal);
bool ReadSignal(QelNetworkMessage& message, BeamDamageSignal& signal);
bool ReadSignal(QelNetworkMessage& message, JumpSignal& signal);
bool ReadSignal(QelNetworkMessage& message, StringMapSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ClientStringRequestSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ClientStringSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SetClientStringSignal& signal);
bool ReadSignal(QelNetworkMessage& message, AutoCinematicStarsSignal& signal);
bool ReadSignal(QelNetworkMessage& message, JumpEffectSignal& signal);
bool ReadSignal(QelNetworkMessage& message, JumpTimeSignal& signal);
bool ReadSignal(QelNetworkMessage& message, DamageAmountSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SimulationTickSignal& signal);
bool ReadSignal(QelNetworkMessage& message, PingSignal& signal);
bool ReadSignal(QelNetworkMessage& message, MachineNameSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ClientChangeSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ScreenSizeSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SpeechBubbleSignal& signal);
bool ReadSignal(QelNetworkMessage& message, WidgetListSignal& signal);
bool ReadSignal(QelNetworkMessage& message, GuiBoxSetRectSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SoundEventSignal& signal);
bool ReadSignal(QelNetworkMessage& message, WidgetBoxStateSignal& signal);
bool ReadSignal(QelNetworkMessage& message, SuperHyperWarpSignal& signal);
bool ReadSignal(QelNetworkMessage& message, CinematicControlSignal& signal);
bool ReadSignal(QelNetworkMessage& message, OptionsTransparencySignal& signal);
bool ReadSignal(QelNetworkMessage& message, WidgetBoxStateQuerySignal& signal);
bool ReadSignal(QelNetworkMessage& message, HoldMenuSignal& signal);
bool ReadSignal(QelNetworkMessage& message, NavPointSignal& signal);
bool ReadSignal(QelNetworkMessage& message, NavProxySignal& signal);
bool ReadSignal(QelNetworkMessage& message, ScanQueueSignal& signal);
bool ReadSignal(QelNetworkMessage& message, IndexedTablesSignal& signal);
bool ReadSignal(QelNetworkMessage& message, GridRequestSignal& signal);
bool ReadSignal(QelNetworkMessage& message, GridSignal& signal);
bool ReadSignal(QelNetworkMessage& message, DeleteGridSignal& signal);
bool ReadSignal(QelNetworkMessage& message, GridObjectDeletedSignal& signal);
bool ReadSignal(QelNetworkMessage& message, GridObjectSelectionSignal& signal);
bool ReadSignal(QelNetworkMessage& message, GridPointSelectionSignal& signal);
bool ReadSignal(QelNetworkMessage& message, GridButtonSignal& signal);
