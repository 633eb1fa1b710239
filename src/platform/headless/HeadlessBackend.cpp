#include "platform/headless/HeadlessBackend.h"

#include <cstdio>

#include "platform/RunOptions.h"
#include "platform/Time.h"
#include "platform/VirtualClock.h"

namespace platform {

namespace {

// Sleeps to the next 1/60 s boundary, as a 60 Hz display's vertical blank.
void WaitForFrameBoundary() {
    if (VirtualClockEnabled()) {
        AdvanceVirtualClockToNextFrame();
        return;
    }
    const int64_t now = MonotonicMs();
    const int64_t next = ((now * 60 / 1000 + 1) * 1000 + 59) / 60;
    SleepMs(static_cast<uint32_t>(next - now));
}

RawEvent WindowEvent(RawEvent::Kind kind) {
    RawEvent event;
    event.kind = kind;
    return event;
}

}  // namespace

HeadlessBackend::HeadlessBackend() {
    const RunOptions& options = CurrentRunOptions();
    desktop_ = DesktopMode{options.desktopWidth, options.desktopHeight,
                           options.desktopBitsPerPixel};
    script_ = Script::LoadFromOptions();
    if (options.watchdogMs > 0) watchdog_ = std::make_unique<Watchdog>(options.watchdogMs, capture_);
    // Without a script, tests look at the frames; a script asks for them only
    // through its screenshots, and the watchdog saves the last one.
    capture_.SetKeepFrames(!script_ || script_->TakesScreenshots() || watchdog_);
}

HeadlessBackend::~HeadlessBackend() = default;

DesktopMode HeadlessBackend::Desktop() const { return desktop_; }

bool HeadlessBackend::OpenWindow(const std::string& titleUtf8, int /*width*/, int /*height*/,
                                 bool fullScreen) {
    title_ = titleUtf8;
    fullScreen_ = fullScreen;
    if (fullScreen) position_ = Point{0, 0};
    windowOpen_ = true;
    return true;
}

void HeadlessBackend::CloseWindow() {
    windowOpen_ = false;
    shown_ = false;
    focused_ = false;
    captured_ = false;
}

void HeadlessBackend::ShowWindow() {
    if (!windowOpen_ || shown_) return;
    shown_ = true;
    // A newly shown window gets the focus, as a desktop gives it.
    if (!focused_) Inject(WindowEvent(RawEvent::Kind::FocusGained));
}

void HeadlessBackend::MinimizeWindow() {
    if (windowOpen_ && !minimized_) Inject(WindowEvent(RawEvent::Kind::Minimized));
}

void HeadlessBackend::RestoreWindow() {
    if (windowOpen_ && minimized_) Inject(WindowEvent(RawEvent::Kind::Restored));
}

void HeadlessBackend::RaiseWindow() {
    if (windowOpen_ && !focused_) Inject(WindowEvent(RawEvent::Kind::FocusGained));
}

void HeadlessBackend::MoveWindow(int x, int y) {
    if (!fullScreen_) position_ = Point{x, y};
}

Point HeadlessBackend::WindowPosition() const { return position_; }

bool HeadlessBackend::Present(const uint8_t* pixels, int width, int height, int bytesPerPixel,
                              bool waitForVerticalBlank) {
    if (rendererLost_) return false;
    if (waitForVerticalBlank) WaitForFrameBoundary();
    capture_.OnPresent(pixels, width, height, bytesPerPixel);
    return true;
}

bool HeadlessBackend::ResetRenderer() {
    if (restoreFails_) return false;
    rendererLost_ = false;
    return true;
}

void HeadlessBackend::LoseRenderer(bool restoreFails) {
    rendererLost_ = true;
    restoreFails_ = restoreFails;
}

void HeadlessBackend::Inject(const RawEvent& event) {
    switch (event.kind) {
    case RawEvent::Kind::MouseMove:
    case RawEvent::Kind::ButtonDown:
    case RawEvent::Kind::ButtonUp:
    case RawEvent::Kind::Wheel:
    case RawEvent::Kind::PointerLeft: pointer_ = Point{event.x, event.y}; break;
    case RawEvent::Kind::FocusGained: focused_ = true; break;
    case RawEvent::Kind::FocusLost: focused_ = false; break;
    case RawEvent::Kind::Minimized: minimized_ = true; break;
    case RawEvent::Kind::Restored: minimized_ = false; break;
    default: break;
    }
    pending_.push_back(event);
}

void HeadlessBackend::PollEvents(std::vector<RawEvent>& events) {
    if (CloseSignals::TakeRequest()) Inject(WindowEvent(RawEvent::Kind::Quit));
    if (script_) script_->Step(*this);
    events.insert(events.end(), pending_.begin(), pending_.end());
    pending_.clear();
}

Point HeadlessBackend::PointerPosition() const { return pointer_; }

void HeadlessBackend::SetCursorShape(CursorShape shape) { cursor_ = shape; }

void HeadlessBackend::SetMouseCapture(bool captured) { captured_ = captured; }

void HeadlessBackend::SetClipboardText(const std::string& utf8) { clipboard_ = utf8; }

std::string HeadlessBackend::GetClipboardText() const { return clipboard_; }

void HeadlessBackend::ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                     bool /*isError*/) {
    messageBoxes_.push_back(captionUtf8 + ": " + textUtf8);
    std::fprintf(stderr, "[%s] %s\n", captionUtf8.c_str(), textUtf8.c_str());
}

bool HeadlessBackend::OpenUrl(const std::string& urlUtf8) {
    openedUrls_.push_back(urlUtf8);
    std::fprintf(stderr, "[open] %s\n", urlUtf8.c_str());
    return true;
}

}  // namespace platform
