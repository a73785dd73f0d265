// Routines that sgopn runs as a session opens and sgcls as it closes. Packages
// above the kernel keep state that belongs to one session (legend entries, a
// figure's grid and the kernel parameters it took over); the kernel cannot
// call up into them, so they register here and forget it when asked.
#pragma once

namespace zep::hooks {

using OpenHook = void (*)();

// Registers a routine to run at every session open, before the workstation
// opens; returns true so that a package can register in a static initializer.
bool onOpen(OpenHook hook);
// Runs the registered routines in the order registered.
void runOpenHooks();
// Registers a routine to run at every session close, before the last page
// closes; returns true like onOpen.
bool onClose(OpenHook hook);
// Runs the close routines in the order registered.
void runCloseHooks();

}  // namespace zep::hooks
