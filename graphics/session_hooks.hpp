// Routines that sgopn runs as a session opens. Packages above the kernel keep
// state that belongs to one session (legend entries, for one); the kernel
// cannot call up into them, so they register here and forget it when asked.
#pragma once

namespace zep::hooks {

using OpenHook = void (*)();

// Registers a routine to run at every session open, before the workstation
// opens; returns true so that a package can register in a static initializer.
bool onOpen(OpenHook hook);
// Runs the registered routines in the order registered.
void runOpenHooks();

}  // namespace zep::hooks
