#pragma once
// Every mutable value the game program keeps for the whole process, and why
// there is only one of it. Each is declared again here exactly as its own
// header declares it, so the list reads on its own; code includes that
// header, not this list. A value that can be handed to the code that uses
// it does not belong here: pass it instead, and take it off this list when
// its declaration goes.

class ControllerInput;
class DmxLighting;
class GLQELSystemClass;
class MissionScript;
class MusicControl;
class QelGraphicsFactoryBase;
class QelInputFactoryBase;
class QelNetworkFactoryBase;
class QelSoundFactoryBase;
class TextLog;

// The engine's services: each stands for a device the process opens once.

// engine/base/QelGraphicsFactoryBase.h: the one window and its GL context, which own every drawable resource.
extern QelGraphicsFactoryBase* gGraphicsFactory;
// engine/base/QelInputFactoryBase.h: the one window's keyboard, mouse and joysticks.
extern QelInputFactoryBase* gInputFactory;
// engine/base/QelSoundFactoryBase.h: the one audio device and the mixer that feeds it.
extern QelSoundFactoryBase* gSoundFactory;
// engine/net/QelNetworkFactoryBase.h: the network library, started once for the process.
extern QelNetworkFactoryBase* gNetworkFactory;
// engine/sdl/GLQELSystemClass.h: the window and event pump the platform library allows one of.
extern GLQELSystemClass* gSystem;

// The game's own: each is a thing the machine has one of.

// game/ui/TextLog.h: the program's console log, one per process like its standard error.
extern TextLog theConsoleLog;
// game/ui/TextLog.h: the crew's message log, shown on every screen of this machine.
extern TextLog theMessageLog;
// game/ui/ControllerInput.h: the game controllers plugged into this machine, read once a frame.
extern ControllerInput theControllerInput;
// game/world/MusicControl.h: the one music stream playing on the audio device.
extern MusicControl* gMusicControl;
// game/world/DmxLighting.h: the one set of lights on the machine's DMX line.
extern DmxLighting* gDmxLighting;
// game/script/MissionScript.h: the one embedded Python interpreter the mission's script runs in.
extern MissionScript theMissionScript;

// Being passed instead (declared in their own headers until then):
//   gServer       game/net/CorvaneServer.h  the server of the game this machine hosts
//   the command route  game/net/CorvaneClient.cpp  the client the widgets' commands go
//                      through, until they send through the console state they draw
//   theUIContext  game/ui/UIContext.h       the immediate-mode interface's state between frames
//   theSimulation game/world/Simulation.h   the world the server runs
