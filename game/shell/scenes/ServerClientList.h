#pragma once

class UIContext;
// The consoles connected to this server, at the right edge of the server's
// screens: for each its number (the client id modulo 1000) with one '!' for
// every two missed heartbeat checks, its console name, the name of its ship,
// and "M" for a main screen and "S" for science. The list stays for 750
// ticks (about 25 s) after a console connects or leaves, then slides out to
// the right one pixel per tick. With no console left there is no list.

void DrawServerClientList(UIContext& ui);
