#pragma once
// The interface's sounds: a click, a tab, a lock. Each interface event names
// a sound in the preference list "gui-sounds" ("gui_button" -> "gui/button");
// PlayGUISound plays it once at the interface volume, volume and pitch varied
// a little so that a run of clicks does not drone. Silent without a working
// sound service, with the interface volume turned down, or for an event the
// preferences do not name. Main thread only.

#include <string>

void PlayGUISound(const std::string& event);
