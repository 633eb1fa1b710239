#pragma once

#include <SDL.h>

// What SDL leaves out on an X11 desktop: whether a window manager runs (full
// screen is a window manager's service), the window being destroyed by
// another program, X protocol errors and a lost connection, whose default
// handlers end the process. Every call does nothing, or answers "no", on
// other video drivers.
namespace platform::x11 {

// Replaces Xlib's error handlers for the rest of the process: an error is
// logged once per kind and otherwise ignored; a lost connection is logged
// and noted (ConnectionLost). Also asks SDL for the raw X events that
// WindowWasDestroyed reads.
void TakeOverErrors();

// Lets Xlib return from a lost connection of the window's display instead
// of ending the process there, so that the run can end normally and save.
// Until this is called a lost connection still ends the process.
void OutliveLostConnection(SDL_Window* window);

// True once the X connection broke: from then on every call on the display
// would fail or wait for ever, so none may be made.
bool ConnectionLost();

// True on X11 when no window manager that follows the desktop conventions
// runs on the window's screen: nobody would make the window full screen.
bool WindowManagerMissing(SDL_Window* window);

// True on X11 when the X server offers no direct rendering (neither DRI3
// nor DRI2, as under Xvfb): OpenGL there can only be rasterised by the
// processor.
bool ServerLacksDirectRendering(SDL_Window* window);

// Whether the event says that the window itself was destroyed.
bool WindowWasDestroyed(const SDL_Event& event, SDL_Window* window);

}  // namespace platform::x11
