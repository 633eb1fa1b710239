#include "platform/sdl/SdlBackend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/MessageBox.h"
#include "platform/RunOptions.h"
#include "platform/Time.h"
#include "platform/VirtualClock.h"
#include "platform/sdl/X11Desktop.h"

namespace platform {

namespace {

constexpr uint32_t kMaximizeEchoMs = 500;
// How long a window manager may take to frame the window where it was asked.
constexpr uint32_t kPlacementMs = 1000;

SDL_SystemCursor SystemCursor(CursorShape shape) {
    switch (shape) {
    case CursorShape::AppStarting: return SDL_SYSTEM_CURSOR_WAITARROW;
    case CursorShape::Hand: return SDL_SYSTEM_CURSOR_HAND;
    case CursorShape::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case CursorShape::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    default: return SDL_SYSTEM_CURSOR_ARROW;   // SDL has no help cursor
    }
}

constexpr const char* kDisplayAdvice =
    "set DISPLAY or WAYLAND_DISPLAY to a running desktop, or run with WORDRAIL_BACKEND=headless";

// True when SDL_VIDEODRIVER names the driver.
bool DriverRequested(const char* driver) {
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    return requested != nullptr && SDL_strcasecmp(requested, driver) == 0;
}

// SDL falls back to these when it reaches no display; a window there is
// never seen, so they serve only when asked for.
bool ShowsNothing(const char* driver) {
    return SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0;
}

// Whether the renderer draws through OpenGL that the processor rasterises
// (Mesa's llvmpipe or softpipe, as under Xvfb or on a machine without a
// GPU): its threads and memory buy nothing over SDL's software renderer.
bool DrawsOnSoftwareGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || SDL_strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned kGlRenderer = 0x1F01;
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const auto* name = getString ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
    if (name == nullptr) return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, software) != nullptr) return true;
    return false;
}

SDL_Renderer* CreateSoftwareRenderer(SDL_Window* window) {
    // The window's own surface, not a texture of an accelerated renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace

SdlBackend::SdlBackend() {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1");
    // The click that gives the window the focus back is a click like any
    // other; SDL would drop it.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, "Word Rail");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    videoReady_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (videoReady_) x11::TakeOverErrors();
    if (!videoReady_) {
        std::fprintf(stderr, "no display (%s): %s\n", SDL_GetError(), kDisplayAdvice);
    } else if (const char* driver = SDL_GetCurrentVideoDriver(); driver && ShowsNothing(driver) &&
                                                                 !DriverRequested(driver)) {
        std::fprintf(stderr, "no display (only SDL's %s video driver started): %s\n", driver, kDisplayAdvice);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoReady_ = false;
    }
    script_ = Script::LoadFromOptions();
    if (const uint32_t limit = CurrentRunOptions().watchdogMs; limit > 0)
        watchdog_ = std::make_unique<Watchdog>(limit, capture_);
    // Only a script's screenshots and the watchdog ever ask for a frame.
    capture_.SetKeepFrames((script_ && script_->TakesScreenshots()) || watchdog_);
}

SdlBackend::~SdlBackend() {
    watchdog_.reset();
    CloseWindow();
    // A lost display, or a window destroyed by another program, is touched
    // no more: SDL would wait on it for ever, or set a cursor on the window
    // that is gone. The process is ending; the X connection goes with it.
    if (!DisplayLive() || windowGone_) return;
    for (SDL_Cursor* cursor : cursors_)
        if (cursor) SDL_FreeCursor(cursor);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlBackend::DisplayLive() const { return videoReady_ && !x11::ConnectionLost(); }

bool SdlBackend::WindowLive() const { return window_ != nullptr && !x11::ConnectionLost(); }

DesktopMode SdlBackend::Desktop() const {
    SDL_DisplayMode mode{};
    if (!videoReady_ || SDL_GetDesktopDisplayMode(0, &mode) != 0) return DesktopMode{};
    // Bytes x 8: an XRGB8888 desktop says 24 bits but takes four bytes.
    return DesktopMode{mode.w, mode.h, static_cast<int>(SDL_BYTESPERPIXEL(mode.format)) * 8};
}

bool SdlBackend::OpenWindow(const std::string& titleUtf8, int width, int height,
                            bool fullScreen) {
    if (!DisplayLive()) return false;
    ignoreMaximizeUntil_ = SDL_GetTicks() + kMaximizeEchoMs;
    width_ = width;
    height_ = height;
    if (window_) {
        SDL_SetWindowTitle(window_, titleUtf8.c_str());
        ApplyFullScreen(fullScreen);
        SDL_RenderSetLogicalSize(renderer_, width, height);
        return true;
    }
    window_ = SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width, height, SDL_WINDOW_HIDDEN);
    if (!window_) {
        std::fprintf(stderr, "no window: %s\n", SDL_GetError());
        return false;
    }
    x11::OutliveLostConnection(window_);
    windowGone_ = false;
    fullScreen_ = false;
    ApplyFullScreen(fullScreen);
    if (!CreateRenderer()) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    input_ = SdlInputState{};
    input_.windowId = SDL_GetWindowID(window_);
    SDL_StartTextInput();
    return true;
}

bool SdlBackend::CreateRenderer() {
    // A renderer the player named stays, whatever it runs on. Otherwise
    // OpenGL is not even loaded where it could only be software (its
    // threads and libraries would stay for the process's life); where that
    // shows only once it runs, the software renderer still takes over.
    const bool chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (!chosen && x11::ServerLacksDirectRendering(window_)) {
        renderer_ = CreateSoftwareRenderer(window_);
    } else {
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (renderer_ && !chosen && DrawsOnSoftwareGl(renderer_)) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = CreateSoftwareRenderer(window_);
        }
    }
    if (!renderer_) {
        std::fprintf(stderr, "no renderer: %s\n", SDL_GetError());
        return false;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer_, &info);
    // The software renderer accepts vsync but never waits.
    selfPaced_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    SDL_RenderSetLogicalSize(renderer_, width_, height_);
    vsync_ = false;
    rendererLost_ = false;
    repaint_ = true;
    return true;
}

void SdlBackend::ApplyFullScreen(bool fullScreen) {
    // Without a window manager nobody makes a window full screen: SDL would
    // think the window covers the desktop and draw for that size into the
    // unchanged window. The window then covers the desktop by itself.
    if (fullScreen && !x11::WindowManagerMissing(window_)) {
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_Rect bounds{0, 0, width_, height_};
        if (fullScreen) SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &bounds);
        SDL_SetWindowBordered(window_, fullScreen ? SDL_FALSE : SDL_TRUE);
        if (fullScreen) SDL_SetWindowPosition(window_, bounds.x, bounds.y);
        SDL_SetWindowSize(window_, bounds.w, bounds.h);
    }
    fullScreen_ = fullScreen;
    repaint_ = true;
}

void SdlBackend::DestroyRenderer() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    textureBytes_ = 0;
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

void SdlBackend::CloseWindow() {
    if (!window_) return;
    if (x11::ConnectionLost()) {
        // What was made on a lost display stays as it is: freeing it would
        // wait on the dead connection. The process is ending.
        window_ = nullptr;
        renderer_ = nullptr;
        texture_ = nullptr;
        return;
    }
    SDL_StopTextInput();
    DestroyRenderer();
    // SDL would wait for a destroyed window to be unmapped, for ever; the
    // process is ending, and the X connection goes with it.
    if (!windowGone_) SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void SdlBackend::ShowWindow() {
    if (!WindowLive()) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlBackend::MinimizeWindow() {
    if (WindowLive()) SDL_MinimizeWindow(window_);
}

void SdlBackend::RestoreWindow() {
    if (WindowLive()) SDL_RestoreWindow(window_);
}

void SdlBackend::RaiseWindow() {
    if (WindowLive()) SDL_RaiseWindow(window_);
}

void SdlBackend::MoveWindow(int x, int y) {
    if (!WindowLive() || fullScreen_) return;
    SDL_SetWindowPosition(window_, x, y);
    // Back from full screen, a window manager may not have framed the
    // window yet: the frame then stands where the window should. Once the
    // window says where it went, it is put right.
    pendingMove_ = Point{x, y};
    pendingMoveUntil_ = SDL_GetTicks() + kPlacementMs;
}

Point SdlBackend::WindowPosition() const {
    Point position;
    if (WindowLive()) SDL_GetWindowPosition(window_, &position.x, &position.y);
    return position;
}

bool SdlBackend::Present(const uint8_t* pixels, int width, int height, int bytesPerPixel,
                         bool waitForVerticalBlank) {
    if (!renderer_ || rendererLost_) return false;
    if (x11::ConnectionLost()) {
        // Nothing can be shown any more; the run is ending.
        PaceWithoutVsync();
        capture_.OnPresent(pixels, width, height, bytesPerPixel);
        return true;
    }
    if (!texture_ || textureBytes_ != bytesPerPixel) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(
            renderer_, bytesPerPixel == 2 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888,
            SDL_TEXTUREACCESS_STREAMING, width, height);
        textureBytes_ = texture_ ? bytesPerPixel : 0;
        if (!texture_) return false;
        repaint_ = true;
    }
    if (vsync_ != waitForVerticalBlank) {
        SDL_RenderSetVSync(renderer_, waitForVerticalBlank ? 1 : 0);
        vsync_ = waitForVerticalBlank;
    }
    const int64_t before = MonotonicMs();
    const bool drew = Draw(pixels, width, height, bytesPerPixel);
    if (waitForVerticalBlank && VirtualClockEnabled()) {
        // Scripted frames lie 1/60 s of game time apart, whatever the driver
        // and the machine's speed make of the real wait.
        AdvanceVirtualClockToNextFrame();
    } else if (waitForVerticalBlank) {
        // Some drivers ignore vsync; then the frames are paced here instead of
        // running as fast as the processor allows.
        if (drew && !selfPaced_) quickPresents_ = MonotonicMs() - before < 2 ? quickPresents_ + 1 : 0;
        if (!drew || selfPaced_ || quickPresents_ >= 8) PaceWithoutVsync();
    }
    capture_.OnPresent(pixels, width, height, bytesPerPixel);
    return true;
}

bool SdlBackend::Draw(const uint8_t* pixels, int width, int height, int bytesPerPixel) {
    // A window destroyed by another program shows nothing; the run is
    // ending.
    if (windowGone_) return false;
    const size_t bytes = static_cast<size_t>(width) * height * bytesPerPixel;
    if (!repaint_ && shownFrame_.size() == bytes && std::memcmp(shownFrame_.data(), pixels, bytes) == 0)
        return false;
    SDL_UpdateTexture(texture_, nullptr, pixels, width * bytesPerPixel);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    shownFrame_.assign(pixels, pixels + bytes);
    repaint_ = false;
    return true;
}

void SdlBackend::PaceWithoutVsync() {
    SDL_DisplayMode mode{};
    int rate = 60;
    if (SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0)
        rate = mode.refresh_rate;
    const int64_t now = MonotonicMs();
    const int64_t next = ((now * rate / 1000 + 1) * 1000 + rate - 1) / rate;
    SleepMs(static_cast<uint32_t>(next - now));
}

bool SdlBackend::ResetRenderer() {
    if (!WindowLive()) return false;
    DestroyRenderer();
    return CreateRenderer();
}

void SdlBackend::Inject(const RawEvent& event) {
    SDL_Event sdlEvent;
    if (SdlEventFromRaw(event, input_.windowId, sdlEvent)) SDL_PushEvent(&sdlEvent);
}

void SdlBackend::PollEvents(std::vector<RawEvent>& events) {
    if (CloseSignals::TakeRequest()) {
        RawEvent quit;
        quit.kind = RawEvent::Kind::Quit;
        events.push_back(quit);
    }
    if (!videoReady_) return;
    if (!x11::ConnectionLost()) PollDisplay(events);
    // A lost display ends the run as a close signal does.
    if (x11::ConnectionLost() && !displayLossTold_) {
        displayLossTold_ = true;
        RawEvent quit;
        quit.kind = RawEvent::Kind::Quit;
        events.push_back(quit);
    }
}

void SdlBackend::PollDisplay(std::vector<RawEvent>& events) {
    if (script_) script_->Step(*this);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (x11::WindowWasDestroyed(event, window_)) {
            // Closed from outside: the game ends the normal way and saves.
            windowGone_ = true;
            RawEvent quit;
            quit.kind = RawEvent::Kind::Quit;
            events.push_back(quit);
            continue;
        }
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_MOVED && pendingMove_) {
            const Point target = *pendingMove_;
            if (SDL_TICKS_PASSED(SDL_GetTicks(), pendingMoveUntil_) ||
                (event.window.data1 == target.x && event.window.data2 == target.y))
                pendingMove_.reset();
            else
                SDL_SetWindowPosition(window_, target.x, target.y);
        }
        if (event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                              event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
            repaint_ = true;
        RawEvent raw;
        if (!RawEventFromSdl(event, input_, raw)) continue;
        if (raw.kind == RawEvent::Kind::RendererReset) {
            rendererLost_ = true;
            continue;
        }
        // Some window managers report our own full-screen switch as a
        // maximise, which would switch straight back.
        if (raw.kind == RawEvent::Kind::Maximized &&
            !SDL_TICKS_PASSED(SDL_GetTicks(), ignoreMaximizeUntil_))
            continue;
        events.push_back(raw);
    }
}

Point SdlBackend::PointerPosition() const { return input_.pointer; }

void SdlBackend::SetCursorShape(CursorShape shape) {
    if (!DisplayLive()) return;
    if (shape == CursorShape::None) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor*& cursor = cursors_[static_cast<size_t>(shape)];
    if (!cursor) cursor = SDL_CreateSystemCursor(SystemCursor(shape));
    if (cursor) SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlBackend::SetMouseCapture(bool captured) {
    if (DisplayLive()) SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::SetClipboardText(const std::string& utf8) {
    if (DisplayLive()) SDL_SetClipboardText(utf8.c_str());
}

std::string SdlBackend::GetClipboardText() const {
    if (!DisplayLive() || !SDL_HasClipboardText()) return "";
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

void SdlBackend::ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                bool isError) {
    // Said on stderr too, as the headless backend says it: a box may not be
    // seen by whoever started the game from a terminal.
    std::fprintf(stderr, "[%s] %s\n", captionUtf8.c_str(), textUtf8.c_str());
    // After the display was lost no box is opened on it, nor on a new connection.
    if (x11::ConnectionLost()) return;
    const uint32_t flags = isError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING;
    const std::string fitted = FitMessageText(textUtf8, kMessageBoxColumns);
    if (SDL_ShowSimpleMessageBox(flags, captionUtf8.c_str(), fitted.c_str(), window_) != 0)
        std::fprintf(stderr, "The message box could not be shown: %s\n", SDL_GetError());
}

bool SdlBackend::OpenUrl(const std::string& urlUtf8) {
    if (SDL_OpenURL(urlUtf8.c_str()) != 0) {
        std::fprintf(stderr, "OpenUrl: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

}  // namespace platform
