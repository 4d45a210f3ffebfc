#pragma once
// A console without a screen, connected to halvex-server over loopback
// ENet: it keeps what the server tells it of its station (its ship, its
// console and boxes), of the mission's texts (the message box, story
// dialogs, the retained widgets, the comms and grid buttons, the interior's
// grid objects when it asks for them) and of the world's shared strings, and
// it sends the crew's "signal" commands; its owner sends the heartbeats that
// keep it connected.

#include "engine/net/QelNetworkClient.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "game/net/NetworkIds.h"
#include "game/net/PresentationSignals.h"
#include "game/net/RetainedGUISignals.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

namespace harnesstest {

class BareConsole {
public:
    BareConsole(QelNetworkFactoryBase& factory, const std::string& name, uint16_t port)
        : client(factory.GetClient(name, port))
    {
        connected = client->Connect("127.0.0.1");
    }

    template <typename Signal>
    void Send(const Signal& signal)
    {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        WriteSignal(message, signal);
        client->Send(message);
    }

    // Takes in whatever has arrived.
    void Receive()
    {
        QelNetworkMessage message;
        while (client->Receive(message)) {
            message.readIndex = 0;
            uint64_t key = 0;
            message.ReadInt64(key);
            if (key == HashMessageName("signal"))
                ReadSignalMessage(message);
        }
    }

    // The mission's texts in the message box that contain the words.
    bool Told(const std::string& words) const
    {
        for (const std::string& text : texts)
            if (text.find(words) != std::string::npos)
                return true;
        return false;
    }

    // The id of the ship's grid object of that name, as the last interior
    // answer listed it; 0 when none did.
    uint64_t GridObjectNamed(const std::string& name) const
    {
        for (const auto& [id, objectName] : gridObjects)
            if (objectName == name)
                return id;
        return 0;
    }

    bool HasWidget(const std::string& tag) const
    {
        for (const RetainedGUIWidget& widget : widgets)
            if (widget.tag == tag)
                return true;
        return false;
    }

    QelNetworkClient* client;
    bool connected = false;
    uint64_t shipId = 0;
    std::string consoleType;
    std::string widgetList;
    std::map<std::string, std::array<float, 8>> boxes;  // widget -> both rectangles, in percent
    std::map<std::string, std::string> sharedStrings;
    std::vector<std::string> texts;                     // the message box's lines
    std::vector<std::string> storyTitles;
    std::vector<RetainedGUIWidget> widgets;             // retained widgets received, in order
    std::vector<ConsoleInfoEntry> commsPanel;           // heading, then buttons
    std::vector<ConsoleInfoEntry> gridPanel;
    std::map<uint64_t, std::string> gridObjects;        // id -> name, of the own ship's interior
    bool paused = false;

private:
    void ReadSignalMessage(QelNetworkMessage& message)
    {
        uint16_t code = 0;
        ReadSignalCode(message, code);
        switch (code) {
        case SIGNAL_MESS_MY_SHIP_ID: ReadOwnShip(message); break;
        case SIGNAL_MESS_WIDGET_LIST: ReadWidgetList(message); break;
        case SIGNAL_MESS_GUIBOX_SET_RECT: ReadBox(message); break;
        case SIGNAL_MESS_STRING_MAP: ReadSharedString(message); break;
        case SIGNAL_MESS_TEXT_MESSAGE: ReadText(message); break;
        case SIGNAL_MESS_STORY_DIALOG: ReadStory(message); break;
        case SIGNAL_MESS_RGUI_WIDGET: ReadWidget(message); break;
        case SIGNAL_MESS_PAUSE_STATE: ReadPause(message); break;
        case SIGNAL_MESS_GRID: ReadGrid(message); break;
        case SIGNAL_MESS_COMMS_SELECTION_INFO: ReadInfo<CommsSelectionInfoSignal>(message, commsPanel); break;
        case SIGNAL_MESS_COMMS_BUTTON_INFO: ReadInfo<CommsButtonInfoSignal>(message, commsPanel); break;
        case SIGNAL_MESS_GRID_SELECTION_INFO: ReadInfo<GridSelectionInfoSignal>(message, gridPanel); break;
        case SIGNAL_MESS_GRID_BUTTON_INFO: ReadInfo<GridButtonInfoSignal>(message, gridPanel); break;
        default: break;
        }
    }

    void ReadOwnShip(QelNetworkMessage& message)
    {
        MyShipIdSignal own;
        ASSERT_TRUE(ReadSignal(message, own));
        shipId = own.shipId;
    }

    void ReadWidgetList(QelNetworkMessage& message)
    {
        WidgetListSignal list;
        ASSERT_TRUE(ReadSignal(message, list));
        consoleType = list.consoleType;
        widgetList = list.widgetList;
        boxes.clear();
    }

    void ReadBox(QelNetworkMessage& message)
    {
        GuiBoxSetRectSignal box;
        ASSERT_TRUE(ReadSignal(message, box));
        std::copy(std::begin(box.rects), std::end(box.rects), boxes[box.widgetName].begin());
    }

    void ReadSharedString(QelNetworkMessage& message)
    {
        StringMapSignal entry;
        ASSERT_TRUE(ReadSignal(message, entry));
        if (entry.key == "clear" && entry.value == "stringmap")
            sharedStrings.clear();
        else
            sharedStrings[entry.key] = entry.value;
    }

    void ReadText(QelNetworkMessage& message)
    {
        TextMessageSignal text;
        ASSERT_TRUE(ReadSignal(message, text));
        texts.push_back(text.text);
    }

    void ReadStory(QelNetworkMessage& message)
    {
        StoryDialogSignal story;
        ASSERT_TRUE(ReadSignal(message, story));
        storyTitles.push_back(story.entry.title);
    }

    void ReadWidget(QelNetworkMessage& message)
    {
        RetainedWidgetSignal widget;
        ASSERT_TRUE(ReadSignal(message, widget));
        widgets.push_back(widget.widget);
    }

    void ReadPause(QelNetworkMessage& message)
    {
        PauseStateSignal pause;
        ASSERT_TRUE(ReadSignal(message, pause));
        paused = pause.paused != 0;
    }

    void ReadGrid(QelNetworkMessage& message)
    {
        GridSignal grid;
        ASSERT_TRUE(ReadSignal(message, grid));
        for (const GridSignal::Object& object : grid.objects)
            gridObjects[object.id] = object.name;
    }

    template <typename Signal>
    void ReadInfo(QelNetworkMessage& message, std::vector<ConsoleInfoEntry>& panel)
    {
        Signal info;
        ASSERT_TRUE(ReadSignal(message, info));
        if (Signal::kSelection)
            panel.clear();
        panel.push_back(info.Entry());
    }
};

}  // namespace harnesstest
