#include "platform/sdl/X11Desktop.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <utility>

namespace platform::x11 {

namespace {

bool OnX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && SDL_strcmp(driver, "x11") == 0;
}

bool WindowInfo(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
           info.subsystem == SDL_SYSWM_X11;
}

int LogAndIgnore(Display* display, XErrorEvent* error) {
    // A window destroyed by another program makes every later request on it
    // fail; the game goes on to its normal end instead.
    // Nothing that a destructor frees: errors may come while the process
    // ends, after such a set would be gone.
    static std::array<bool, 256> seen{};
    if (!std::exchange(seen[error->error_code], true)) {
        char text[128] = "";
        XGetErrorText(display, error->error_code, text, sizeof text);
        std::fprintf(stderr, "X error ignored: %s (request %d)\n", text, error->request_code);
    }
    return 0;
}

std::atomic<bool> connectionLost{false};

int NoteLostConnection(Display* display) {
    if (!connectionLost.exchange(true)) {
        std::fprintf(stderr, "The connection to the X display %s was lost; the game ends and saves.\n",
                     DisplayString(display));
    }
    return 0;
}

// Returning from here makes Xlib fail the call that met the loss, and every
// later one, instead of ending the process.
void OutliveConnection(Display*, void*) { connectionLost = true; }

// The window a conventions-following window manager names on the root, or
// None. Errors on a stale id are ignored by our handler.
Window WindowProperty(Display* display, Window of, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    Window result = None;
    if (XGetWindowProperty(display, of, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1) {
        result = *reinterpret_cast<Window*>(data);
    }
    if (data != nullptr) XFree(data);
    return result;
}

}  // namespace

void TakeOverErrors() {
    if (!OnX11()) return;
    XSetErrorHandler(LogAndIgnore);
    XSetIOErrorHandler(NoteLostConnection);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void OutliveLostConnection(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (WindowInfo(window, info)) XSetIOErrorExitHandler(info.info.x11.display, OutliveConnection, nullptr);
}

bool ConnectionLost() { return connectionLost; }

bool WindowManagerMissing(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!WindowInfo(window, info)) return false;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, info.info.x11.window, &attributes);
    const Window root = attributes.root != None ? attributes.root : DefaultRootWindow(display);
    const Window manager = WindowProperty(display, root, check);
    // The manager's own window names itself: a stale property left by a
    // manager that ended does not.
    return manager == None || WindowProperty(display, manager, check) != manager;
}

bool ServerLacksDirectRendering(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!WindowInfo(window, info)) return false;
    int opcode = 0;
    int event = 0;
    int error = 0;
    for (const char* extension : {"DRI3", "DRI2"})
        if (XQueryExtension(info.info.x11.display, extension, &opcode, &event, &error)) return false;
    return true;
}

bool WindowWasDestroyed(const SDL_Event& event, SDL_Window* window) {
    if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
        event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return false;
    const XEvent& xevent = event.syswm.msg->msg.x11.event;
    if (xevent.type != DestroyNotify) return false;
    SDL_SysWMinfo info;
    return WindowInfo(window, info) && xevent.xdestroywindow.window == info.info.x11.window;
}

}  // namespace platform::x11
