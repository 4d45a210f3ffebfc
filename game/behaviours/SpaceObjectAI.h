#pragma once
// The behaviours the world can give an object, bound by name to their hooks,
// and the draw hooks kept beside them.

// Binds every behaviour and draw hook to its name. Start-up calls it once
// before the first world exists (a later call does nothing): explicit, so the
// linker cannot drop a registration the way it drops unused static
// initialisers.
void RegisterBehaviourHooks();

