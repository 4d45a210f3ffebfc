// Module functions of zmx that put text in front of the crew: lines of the
// message text box, comms messages, the entries of the comms and engineering
// consoles' info lists, and the measures of text as the screens draw it.
// Each sender writes one "signal"; when the server's own screen is addressed
// (client 0, or the ship it follows) it shows the same there.

#include "game/net/PresentationSignals.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptSignals.h"
#include "game/script/ScriptTextMetrics.h"
#include "game/world/Simulation.h"
#include "helper/ColorParse.h"

#include <vector>

namespace zmx {
namespace {

constexpr uint32_t kReliable = ServerMessageSink::kReliable;
// What the text measures give for a font tag the preferences do not list.
constexpr int32_t kNoSuchFont = -1;

ServerScreen& Screen()
{
    return theMissionScript.Screen();
}

// The ship the server's own screen follows is addressed with it.
bool ServerFollows(uint64_t shipId)
{
    const Simulation* world = theMissionScript.World();
    return world && world->subjectID == shipId;
}

// Text the parser cannot read gives its warning colour; only a component
// that is no number at all is refused.
glm::vec4 RequireColour(const std::string& description, const char* function, const char* argument)
{
    glm::vec4 colour;
    ParseColor(colour, description);
    for (int i = 0; i < 4; ++i)
        RequireFinite(colour[i], function, argument);
    return colour;
}

TextMessageSignal TextMessage(const glm::vec4& colour, const std::string& text)
{
    TextMessageSignal signal;
    for (int i = 0; i < 4; ++i)
        signal.colour[i] = colour[i];
    signal.text = text;
    return signal;
}

// ---- the message text box ----

// Ship 0 is every console, and the server's own screen.
void SendMessageToPlayerShip(uint64_t playerID, const std::string& colorDesc, const std::string& text)
{
    constexpr const char* kName = "send_message_to_player_ship";
    RequireSpaceObjectOrNone(playerID, kName, "playerID");
    CheckTextFits(text, kName);
    const glm::vec4 colour = RequireColour(colorDesc, kName, "colorDesc");
    if (playerID == 0)
        SendSignalToAll(TextMessage(colour, text), kReliable);
    else
        SendSignalToShip(playerID, TextMessage(colour, text), kReliable);
    if (playerID == 0 || ServerFollows(playerID))
        Screen().AddTextMessage(text, colour);
}

void SendMessageToClient(uint64_t clientID, const std::string& colorDesc, const std::string& text)
{
    constexpr const char* kName = "send_message_to_client";
    RequireClientOrServer(clientID, kName, "clientID");
    CheckTextFits(text, kName);
    const glm::vec4 colour = RequireColour(colorDesc, kName, "colorDesc");
    if (clientID == 0)
        Screen().AddTextMessage(text, colour);
    else
        SendSignalToClient(clientID, TextMessage(colour, text), kReliable);
}

// ---- comms messages ----

// The colours travel as the mission wrote them; the server's own screen
// keeps them parsed, with the tick the message came.
void SendCommsMessageToPlayerShip(uint64_t playerID, uint64_t otherID, const std::string& faceDesc,
                                  const std::string& titleText, const std::string& titleColor,
                                  const std::string& bodyText, const std::string& bodyColor)
{
    constexpr const char* kName = "send_comms_message_to_player_ship";
    RequireSpaceObjectOrNone(playerID, kName, "playerID");
    RequireSpaceObjectOrNone(otherID, kName, "otherID");
    CheckTextsFit({&faceDesc, &titleText, &titleColor, &bodyText, &bodyColor}, kName);
    const CommsMessageSignal signal{otherID, faceDesc, titleText, titleColor, bodyText, bodyColor};
    if (ServerFollows(playerID)) {
        Simulation& world = *theMissionScript.World();
        world.commsMessages.push_back(CommsRecordOf(signal, world.TickCount()));
    }
    if (playerID == 0)
        SendSignalToAll(signal, kReliable);
    else
        SendSignalToShip(playerID, signal, kReliable);
}

// ---- the consoles' info lists ----

// One entry for the ship's consoles, and for the server's own list when it
// follows the ship: a selection replaces the list, a button adds to it.
template <typename Signal>
void SendConsoleInfo(uint64_t playerID, const ConsoleInfoEntry& entry, const char* name)
{
    CheckTextsFit({&entry.first, &entry.second, &entry.third}, name);
    if (ServerFollows(playerID)) {
        constexpr auto kList = Signal::kEngineering ? ServerScreen::InfoList::Engineering : ServerScreen::InfoList::Comms;
        if constexpr (Signal::kSelection)
            Screen().SelectInfo(kList, entry);
        else
            Screen().AddInfo(kList, entry);
    }
    SendSignalToShip(playerID, Signal::FromEntry(entry), kReliable);
}

void SendCommsSelectionInfo(uint64_t playerID, const std::string& text1, const std::string& text2,
                            const std::string& text3)
{
    RequireSpaceObject(playerID, "send_comms_selection_info", "playerID");
    SendConsoleInfo<CommsSelectionInfoSignal>(playerID, {text3, text2, text1}, "send_comms_selection_info");
}

void SendCommsButtonInfo(uint64_t playerID, const std::string& text1, const std::string& text2,
                         const std::string& text3)
{
    RequireSpaceObject(playerID, "send_comms_button_info", "playerID");
    SendConsoleInfo<CommsButtonInfoSignal>(playerID, {text2, text1, text3}, "send_comms_button_info");
}

// Ship 0 is the consoles aboard no ship.
void SendGridSelectionInfo(uint64_t playerID, const std::string& text1, const std::string& text2,
                           const std::string& text3)
{
    RequireSpaceObjectOrNone(playerID, "send_grid_selection_info", "playerID");
    SendConsoleInfo<GridSelectionInfoSignal>(playerID, {text3, text2, text1}, "send_grid_selection_info");
}

void SendGridButtonInfo(uint64_t playerID, const std::string& text1, const std::string& text2,
                        const std::string& text3)
{
    RequireSpaceObject(playerID, "send_grid_button_info", "playerID");
    SendConsoleInfo<GridButtonInfoSignal>(playerID, {text2, text1, text3}, "send_grid_button_info");
}

// ---- text measures ----

// The faces measured with, kept for the process: a face depends only on its
// file and size, whichever mission asks.
const QelFontFace* MeasuredFace(const std::string& fontTag)
{
    static ScriptTextMetrics metrics;
    return metrics.Face(fontTag);
}

// Lines of the text wrapped to the width, times the font's size.
int32_t GetTextBlockHeight(const std::string& fontTag, const std::string& textToMeasure, int32_t width)
{
    const QelFontFace* face = MeasuredFace(fontTag);
    std::vector<std::string> lines;
    return face ? face->LayoutText(textToMeasure, width, lines) : kNoSuchFont;
}

int32_t GetTextLineWidth(const std::string& fontTag, const std::string& textToMeasure)
{
    const QelFontFace* face = MeasuredFace(fontTag);
    return face ? face->TextWidth(textToMeasure) : kNoSuchFont;
}

// The font's line height, whatever the text.
int32_t GetTextLineHeight(const std::string& fontTag, const std::string& /*textToMeasure*/)
{
    const QelFontFace* face = MeasuredFace(fontTag);
    return face ? face->LineHeight() : kNoSuchFont;
}

}  // namespace

void AddMessageFunctions(FunctionTable& table)
{
    table.Add("send_message_to_player_ship", &SendMessageToPlayerShip,
              "sends a text message to the text box, on every client for a certain ship. args:  uint64 playerID (0 = "
              "all ships), std::string color, std::string text",
              py::arg("playerID"), py::arg("colorDesc"), py::arg("text"));
    table.Add("send_message_to_client", &SendMessageToClient,
              "sends a text message to the text box, for the specific client. args:  uint64 clientID (0 = server "
              "screen), std::string color, std::string text",
              py::arg("clientID"), py::arg("colorDesc"), py::arg("text"));
    table.Add("send_comms_message_to_player_ship", &SendCommsMessageToPlayerShip,
              "sends a complex message to the comms console of a certain ship. args:  uint64 playerID (0 = all "
              "ships), uint64 otherID, std::string faceDesc, std::string titleText, std::string titleColor, "
              "std::string bodyText, std::string bodyColor\n"
              "use: zmx.send_comms_message_to_player_ship(ship_id, station_id, \"\", \"Halcyon Station\", "
              "\"white\", \"Dock at bay 2.\", \"lime\")",
              py::arg("playerID"), py::arg("otherID"), py::arg("faceDesc"), py::arg("titleText"),
              py::arg("titleColor"), py::arg("bodyText"), py::arg("bodyColor"));
    table.Add("send_comms_selection_info", &SendCommsSelectionInfo,
              "sends a complex message to the comms console of a certain ship. args:  uint64 playerID (a ship; 0 "
              "is refused), std::string faceDesc (the face comms_face shows), std::string color, std::string "
              "heading\n"
              "starts the ship's comms buttons anew under this heading; send_comms_button_info adds the buttons "
              "after it\n"
              "use: zmx.send_comms_selection_info(ship_id, \"\", \"white\", \"Picket Command\")");
    table.Add("send_comms_button_info", &SendCommsButtonInfo,
              "sends a complex message to the comms console of a certain ship. args:  uint64 playerID (a ship; 0 "
              "is refused), std::string color, std::string label (the button's text), std::string reply (the "
              "sub_tag of the 'press_comms_button' event a press raises)\n"
              "adds a button under the heading of send_comms_selection_info, which comes first\n"
              "use: zmx.send_comms_button_info(ship_id, \"gold\", \"Request relief\", \"request_relief\")");
    table.Add("send_grid_selection_info", &SendGridSelectionInfo,
              "sends a complex message to the engineering console of a certain ship. args:  uint64 playerID (a "
              "ship, or 0 for the consoles aboard none), std::string text (kept, not shown), std::string color, "
              "std::string heading\n"
              "starts the ship's grid buttons anew under this heading; send_grid_button_info adds the buttons "
              "after it\n"
              "use: zmx.send_grid_selection_info(ship_id, \"\", \"white\", \"Damage control\")");
    table.Add("send_grid_button_info", &SendGridButtonInfo,
              "sends a complex message to the engineering console of a certain ship. args:  uint64 playerID (a "
              "ship; 0 is refused), std::string color, std::string label (the button's text), std::string reply "
              "(the sub_tag of the 'press_grid_button' event a press raises)\n"
              "adds a button under the heading of send_grid_selection_info, which comes first\n"
              "use: zmx.send_grid_button_info(ship_id, \"orange\", \"Seal the breach\", \"seal\")");
    table.Add("get_text_block_height", &GetTextBlockHeight,
              "for a font key, a string of (possibly) multiline text, and a pixel width, this returns the height of "
              "the drawn text.",
              py::arg("fontTag"), py::arg("textToMeasure"), py::arg("width"));
    table.Add("get_text_line_width", &GetTextLineWidth,
              "for a font key and a text string (one line, no wrapping), this returns the width of the drawn text.",
              py::arg("fontTag"), py::arg("textToMeasure"));
    table.Add("get_text_line_height", &GetTextLineHeight,
              "for a font key and a text string (one line, no wrapping), this returns the height of the drawn text.",
              py::arg("fontTag"), py::arg("textToMeasure"));
}

}  // namespace zmx
