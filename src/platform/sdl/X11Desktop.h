#pragma once

#include <SDL.h>

// What SDL leaves out on an X11 desktop: whether a window manager runs (full
// screen is a window manager's service), the window being destroyed by
// another program, and X protocol errors, whose default handler ends the
// process. Every call does nothing, or answers "no", on other video drivers.
namespace platform::x11 {

// Replaces Xlib's error handler for the rest of the process: an error is
// logged once per kind and otherwise ignored. Also asks SDL for the raw
// X events that WindowWasDestroyed reads.
void TakeOverErrors();

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
