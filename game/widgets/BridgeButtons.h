#pragma once
// Four small widgets that fill their box with one control or one row of them:
// "radar_zoom_ctrl" sets the 2D radar's zoom and whether it colours ships by
// side; "red_alert" toggles the ship's red alert; "request_dock" asks to dock
// or to leave the dock; "shield_control" raises or lowers the shields. The
// last three answer their button, a hot key and a controller action alike,
// and their hot keys and actions still work while the widget edit key holds
// the buttons still.

#include "game/ui/IntRect.h"

#include <string>

class ConsoleState;

void ViewRadarZoomCtrlDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewRedAlertDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewRequestDockDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewShieldControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
