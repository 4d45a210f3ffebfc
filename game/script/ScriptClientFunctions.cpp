// Module functions of zmx that manage the connected consoles and their
// screens. A client id (bit 63) addresses one console, which is told by one
// "signal"; client 0 is the server's own screen, changed in place. Every
// argument is checked before anything changes or is sent.

#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptSignals.h"
#include "game/script/ScriptValue.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <pybind11/stl.h>

#include <glm/vec3.hpp>

#include <array>

namespace zmx {
namespace {

using Vec3 = ScriptValue<glm::vec3>;

constexpr uint32_t kReliable = ServerMessageSink::kReliable;
constexpr uint32_t kUnreliable = ServerMessageSink::kUnreliable;
// What get_type_of_client answers for a client the server has no record of.
constexpr const char* kNoClientType = "fail";

ServerScreen& Screen()
{
    return theMissionScript.Screen();
}

ClientRecord* FindRecord(uint64_t clientId)
{
    return gServer ? gServer->FindClient(clientId) : nullptr;
}

std::vector<std::string> Split(const std::string& text, const char* delimiters)
{
    std::vector<std::string> tokens;
    Tokenize(text, tokens, delimiters);
    return tokens;
}

// String maps refuse the empty key: no message could carry it.
void RequireKey(const std::string& key, const char* function)
{
    if (key.empty())
        throw py::value_error(std::string(function) + ": the key is empty; nothing changed");
}

// ---- client records ----

std::vector<uint64_t> GetClientIdList()
{
    std::vector<uint64_t> ids;
    if (gServer)
        for (const auto& entry : gServer->Clients())
            ids.push_back(entry.first);
    return ids;
}

void AssignClientToShip(uint64_t clientComputerID, uint64_t controlledShipID)
{
    RequireSpaceObjectOrNone(controlledShipID, "assign_client_to_ship", "controlledShipID");
    RequireClientOrServer(clientComputerID, "assign_client_to_ship", "clientComputerID");
    if (clientComputerID == 0) {
        if (Simulation* world = theMissionScript.World())
            world->subjectID = controlledShipID;
        return;
    }
    if (ClientRecord* record = FindRecord(clientComputerID))
        record->shipId = controlledShipID;
    SendSignalToClient(clientComputerID, MyShipIdSignal{controlledShipID}, kReliable);
}

// The console's record keeps its own ship; 0 turns the other focus off.
void AssignClientToAltShip(uint64_t clientComputerID, uint64_t controlledShipID)
{
    RequireSpaceObjectOrNone(controlledShipID, "assign_client_to_alt_ship", "controlledShipID");
    RequireClientOrServer(clientComputerID, "assign_client_to_alt_ship", "clientComputerID");
    if (clientComputerID == 0) {
        if (Simulation* world = theMissionScript.World())
            world->altSubjectID = controlledShipID;
        return;
    }
    SendSignalToClient(clientComputerID, MyAltShipIdSignal{controlledShipID}, kReliable);
}

uint64_t GetShipOfClient(uint64_t clientID)
{
    RequireClientOrServer(clientID, "get_ship_of_client", "clientID");
    if (clientID == 0) {
        const Simulation* world = theMissionScript.World();
        return world ? world->subjectID : 0;
    }
    const ClientRecord* record = FindRecord(clientID);
    return record ? record->shipId : 0;
}

py::str GetTypeOfClient(uint64_t clientID)
{
    RequireClientOrServer(clientID, "get_type_of_client", "clientID");
    if (clientID == 0)
        return DecodeLenient(Screen().ConsoleName());
    const ClientRecord* record = FindRecord(clientID);
    return record ? DecodeLenient(record->consoleName) : py::str(kNoClientType);
}

void SuppressClientConnectDialog(int32_t onOffFlag)
{
    if (gServer)
        gServer->suppressConnectDialog = onOffFlag != 0;
}

// ---- screens ----

void SendSpeechBubbleToObject(uint64_t clientComputerID, uint64_t spaceObjectID, int32_t seconds,
                              const std::string& color, const std::string& text)
{
    RequireSpaceObjectOrNone(spaceObjectID, "send_speech_bubble_to_object", "spaceObjectID");
    RequireClientOrServer(clientComputerID, "send_speech_bubble_to_object", "clientComputerID");
    CheckTextsFit({&color, &text}, "send_speech_bubble_to_object");
    if (clientComputerID == 0)
        Screen().SetSpeechBubble(spaceObjectID, seconds, color, text);
    else
        SendSignalToClient(clientComputerID, SpeechBubbleSignal{spaceObjectID, seconds, color, text}, kReliable);
}

// The widget names are joined by '^'; runs of it separate like one.
void SendClientWidgetList(uint64_t clientID, const std::string& consoleType, const std::string& widgetList)
{
    constexpr const char* kName = "send_client_widget_list";
    RequireClientOrServer(clientID, kName, "clientID");
    CheckTextsFit({&consoleType, &widgetList}, kName);
    WarnOfConsoleName(consoleType, kName, "consoleType");
    WarnOfUnknownWidgets(Split(widgetList, "^"), kName, "widgetList");
    if (clientID == 0) {
        Screen().SetConsole(consoleType, Split(widgetList, "^"));
        return;
    }
    SendSignalToClient(clientID, WidgetListSignal{consoleType, widgetList}, kReliable);
    if (ClientRecord* record = FindRecord(clientID))
        record->SetConsoleName(consoleType);
}

void SendClientWidgetRects(uint64_t clientID, const std::string& name, float a1, float a2, float a3, float a4,
                           float a5, float a6, float a7, float a8)
{
    RequireClientOrServer(clientID, "send_client_widget_rects", "clientID");
    CheckTextFits(name, "send_client_widget_rects");
    WarnOfUnknownWidgets({name}, "send_client_widget_rects", "widget name");
    const std::array<float, 8> rects{a1, a2, a3, a4, a5, a6, a7, a8};
    if (clientID == 0) {
        Screen().SetBoxRects(Screen().ConsoleName(), name, rects);
        return;
    }
    GuiBoxSetRectSignal signal;
    signal.widgetName = name;
    std::copy(rects.begin(), rects.end(), signal.rects);
    SendSignalToClient(clientID, signal, kUnreliable);
}

// The console answers with "widget_box_state"; the server's own screen
// raises it at once.
void QueryClientWidgetState(uint64_t clientID, const std::string& widgetName, int32_t fullScreenFlag)
{
    RequireClientOrServer(clientID, "query_client_widget_state", "clientID");
    CheckTextFits(widgetName, "query_client_widget_state");
    WarnOfUnknownWidgets({widgetName}, "query_client_widget_state", "widgetName");
    if (clientID == 0)
        Screen().ReportWidgetBoxes(widgetName, fullScreenFlag != 0 ? 1 : 0);
    else
        SendSignalToClient(clientID, WidgetBoxStateQuerySignal{widgetName, fullScreenFlag}, kReliable);
}

// Switching on while on keeps the ship first shown.
void SuperHyperWarpMode(uint64_t clientID, const std::string& shipHullKey, int32_t onOffFlag)
{
    RequireClientOrServer(clientID, "super_hyper_warp_mode", "clientID");
    CheckTextFits(shipHullKey, "super_hyper_warp_mode");
    if (clientID != 0) {
        SendSignalToClient(clientID, SuperHyperWarpSignal{shipHullKey, onOffFlag}, kReliable);
        return;
    }
    const bool shown = Screen().HyperWarpShown();
    if (!shown && onOffFlag != 0)
        Screen().ShowHyperWarp(shipHullKey);
    else if (shown && onOffFlag == 0)
        Screen().HideHyperWarp();
}

// The options are ';'-separated; the three ids come back with the choice.
void SendHoldMenu(uint64_t clientID, uint64_t subject, uint64_t object, uint64_t extra,
                  const std::string& menuOptionStringSet)
{
    RequireClientOrServer(clientID, "send_hold_menu", "clientID");
    CheckTextFits(menuOptionStringSet, "send_hold_menu");
    if (clientID == 0) {
        Screen().ShowHoldMenu(subject, object, extra, Split(menuOptionStringSet, ";"));
        return;
    }
    RequireSpaceObjectOrNone(subject, "send_hold_menu", "subject");
    RequireSpaceObjectOrNone(object, "send_hold_menu", "object");
    SendSignalToClient(clientID, HoldMenuSignal{subject, object, extra, menuOptionStringSet}, kReliable);
}

void CinematicControl(uint64_t clientID, int32_t scriptControlsCamera, uint64_t dollyID, const Vec3* dollyPos,
                      uint64_t targetID, const Vec3* targetPos)
{
    RequireClientOrServer(clientID, "cinematic_control", "clientID");
    RequireSpaceObjectOrNone(dollyID, "cinematic_control", "dollyID");
    RequireSpaceObjectOrNone(targetID, "cinematic_control", "targetID");
    const CinematicValues values{scriptControlsCamera, dollyID, RequireVector(dollyPos, "cinematic_control"),
                                 targetID, RequireVector(targetPos, "cinematic_control")};
    RequireFinite(values.dollyPos, "cinematic_control", "dollyPos");
    RequireFinite(values.targetPos, "cinematic_control", "targetPos");
    if (clientID == 0) {
        Screen().SetCinematic(values);
        return;
    }
    CinematicControlSignal signal;
    signal.scriptControlsCamera = values.scriptControlsCamera;
    signal.dollyId = values.dollyId;
    signal.targetId = values.targetId;
    for (int axis = 0; axis < 3; ++axis) {
        signal.dollyPos[axis] = values.dollyPos[axis];
        signal.targetPos[axis] = values.targetPos[axis];
    }
    SendSignalToClient(clientID, signal, kReliable);
}

void TransparentOptionsButton(uint64_t clientID, int32_t onOffFlag)
{
    RequireClientOrServer(clientID, "transparent_options_button", "clientID");
    if (clientID == 0)
        Screen().SetOptionsTransparency(onOffFlag == 1);
    else
        SendSignalToClient(clientID, OptionsTransparencySignal{onOffFlag}, kReliable);
}

// The client tags are kept for missions that call them; they do nothing.
void ClientTagsStub() {}

// ---- strings ----

// This machine's own client string map (the one its console keeps in its
// file); a key it lacks reads empty.
std::string LocalClientString(const std::string& key)
{
    const CorvaneClient* client = theMissionScript.LocalClient();
    if (!client)
        return "";
    const auto found = client->stringMap.find(key);
    return found == client->stringMap.end() ? "" : found->second;
}

void SetLocalClientString(const std::string& key, const std::string& value)
{
    CorvaneClient* client = theMissionScript.LocalClient();
    if (!client)
        return;
    client->stringMap[key] = value;
    client->StringMapChanged();
}

// The answer arrives as the event "client_string"; from this machine's own
// map it arrives before this call returns.
void RequestClientString(uint64_t clientComputerID, const std::string& stringKey)
{
    RequireClientOrServer(clientComputerID, "request_client_string", "clientComputerID");
    RequireKey(stringKey, "request_client_string");
    CheckTextFits(stringKey, "request_client_string");
    if (clientComputerID != 0) {
        SendSignalToClient(clientComputerID, ClientStringRequestSignal{stringKey}, kReliable);
        return;
    }
    EventMessage event;
    event.tag = "client_string";
    event.sub_tag = stringKey;
    event.value_tag = LocalClientString(stringKey);
    const Simulation* world = theMissionScript.World();
    event.event_time = world ? world->TickCount() : 0;
    theMissionScript.HandleEvent(event);
}

void SetClientString(uint64_t clientComputerID, const std::string& stringKey, const std::string& stringValue)
{
    RequireClientOrServer(clientComputerID, "set_client_string", "clientComputerID");
    RequireKey(stringKey, "set_client_string");
    CheckTextsFit({&stringKey, &stringValue}, "set_client_string");
    if (clientComputerID == 0)
        SetLocalClientString(stringKey, stringValue);
    else
        SendSignalToClient(clientComputerID, SetClientStringSignal{stringKey, stringValue}, kReliable);
}

// The replication pass copies the change to every console. The string map
// refuses an empty key, so it is refused here first.
void SetSharedString(const std::string& key, const std::string& value)
{
    RequireKey(key, "set_shared_string");
    CheckTextsFit({&key, &value}, "set_shared_string");
    ServerStringMap::Instance().Set(key, value);
}

// A key never set reads empty (and is entered so).
py::str GetSharedString(const std::string& key)
{
    return DecodeLenient(ServerStringMap::Instance().Get(key));
}

}  // namespace

void AddClientFunctions(FunctionTable& table)
{
    table.Add("get_client_ID_list", &GetClientIdList,
              "return a list of client ids, for the computers that are currently connected to this server.");
    for (const char* name : {"clear_client_tags", "add_client_tag", "query_client_tags"})
        table.Add(name, &ClientTagsStub, "stub; does nothing yet.");
    // Built once: the table keeps the text's address until the module is made.
    static const std::string widgetListDoc =
        "sends the gameplay widgets to draw, on the targeted client (0 = server screen)\nwidgetList: widget names "
        "joined by '^'; " + WidgetNamesHelp() + "\n" + ConsoleNameHelp() +
        "\nuse: zmx.send_client_widget_list(client_id, \"helm\", \"2dview^helm_simple^throttle^text_waterfall\")";
    table.Add("send_client_widget_list", &SendClientWidgetList, widgetListDoc.c_str(), py::arg("clientID"),
              py::arg("consoleType"), py::arg("widgetList"));
    table.Add("query_client_widget_state", &QueryClientWidgetState,
              "sends a request for the client to send a 'widget_box_state' script event back.", py::arg("clientID"),
              py::arg("widgetName"), py::arg("fullScreenFlag"));
    table.Add("assign_client_to_ship", &AssignClientToShip, "Tells a client computer which ship it should control.",
              py::arg("clientComputerID"), py::arg("controlledShipID"));
    table.Add("assign_client_to_alt_ship", &AssignClientToAltShip,
              "Tells a client computer that the 2d radar should focus on controlledShipID, instead of its assigned "
              "ship.  Turn this code off by providing zero as the second argument.",
              py::arg("clientComputerID"), py::arg("controlledShipID"));
    table.Add("send_speech_bubble_to_object", &SendSpeechBubbleToObject,
              "attaches a speech bubble to a space object on the 2d radar.", py::arg("clientComputerID"),
              py::arg("spaceObjectID"), py::arg("seconds"), py::arg("color"), py::arg("text"));
    table.Add("request_client_string", &RequestClientString,
              "requests a string value from the client computer.  This results in a script message, 'client_string'",
              py::arg("clientComputerID"), py::arg("string_key"));
    table.Add("set_client_string", &SetClientString,
              "stores a string value (and its string key) to the client computer", py::arg("clientComputerID"),
              py::arg("string_key"), py::arg("string_value"));
    table.Add("get_ship_of_client", &GetShipOfClient, "returns the player ship ID assigned to the client computer",
              py::arg("clientID"));
    table.Add("get_type_of_client", &GetTypeOfClient, "returns the consoleType perviously assigned to the client computer",
              py::arg("clientID"));
    table.Add("send_client_widget_rects", &SendClientWidgetRects,
              "changes the rects of a gameplay widget, on the targeted client (0 = server screen).");
    table.Add("super_hyper_warp_mode", &SuperHyperWarpMode,
              "turns on (or off) the super_hyper_warp_mode screen to a particular computer", py::arg("clientID"),
              py::arg("ship_hull_key"), py::arg("on_off_flag"));
    table.Add("send_hold_menu", &SendHoldMenu,
              "sends info to client that displays a quick menu list on the 2d radar, as a result of a hold-click. "
              "menuOptionStringSet is semicolon-delimited.  Subject, object, and extra are repeated back in message "
              "when one of these menu buttons is clicked.",
              py::arg("clientID"), py::arg("subject"), py::arg("object"), py::arg("extra"),
              py::arg("menuOptionStringSet"));
    table.Add("cinematic_control", &CinematicControl,
              "for a specific client (0=server machine), this sets the values to be used with the 'cinematic' "
              "console, which requiers a 3d_view widget, and 'cinematic' == camModeTag",
              py::arg("clientID"), py::arg("scriptControlsCamera"), py::arg("dollyID"), py::arg("dollyPos"),
              py::arg("targetID"), py::arg("targetPos"));
    table.Add("suppress_client_connect_dialog", &SuppressClientConnectDialog,
              "turns on (or off) the client connect dialog on the server (arg is 1 or 0)", py::arg("on_off_flag"));
    table.Add("transparent_options_button", &TransparentOptionsButton,
              "for a specific client (0=server machine), turns on (or off) the Options button transparency (arg is 1 "
              "or 0)",
              py::arg("clientID"), py::arg("on_off_flag"));
    table.Add("set_shared_string", &SetSharedString,
              "sets (or changes) a shared string, given a key and a value (both strings).  The shared strings are "
              "automatically copied from server to all clients.",
              py::arg("key"), py::arg("value"));
    table.Add("get_shared_string", &GetSharedString,
              "gets a shared string, given the key (itself a string).  Shared strings are automatically copied from "
              "server to all clients.",
              py::arg("key"));
}

}  // namespace zmx
