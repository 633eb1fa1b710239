#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/CloseSignals.h"
#include "platform/FrameCapture.h"
#include "platform/Script.h"
#include "platform/Watchdog.h"

// A display without a screen: a virtual desktop, a window that exists only as
// state, frames kept in memory, input from a script or from tests, and an
// in-process clipboard.
namespace platform {

class HeadlessBackend : public Backend, private ScriptHost {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    DesktopMode Desktop() const override;
    bool OpenWindow(const std::string& titleUtf8, int width, int height, bool fullScreen) override;
    void CloseWindow() override;
    void ShowWindow() override;
    void MinimizeWindow() override;
    void RestoreWindow() override;
    void RaiseWindow() override;
    void MoveWindow(int x, int y) override;
    Point WindowPosition() const override;
    bool Present(const uint8_t* pixels, int width, int height, int bytesPerPixel,
                 bool waitForVerticalBlank) override;
    bool ResetRenderer() override;
    void PollEvents(std::vector<RawEvent>& events) override;
    Point PointerPosition() const override;
    void SetCursorShape(CursorShape shape) override;
    void SetMouseCapture(bool captured) override;
    void SetClipboardText(const std::string& utf8) override;
    std::string GetClipboardText() const override;
    void ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                        bool isError) override;
    // Records the address; nothing is opened.
    bool OpenUrl(const std::string& urlUtf8) override;

    // For tests: events as if they came from the user, the frames, and what
    // the window looks like.
    void InjectEvent(const RawEvent& event) { Inject(event); }
    FrameCapture& Frames() { return capture_; }
    bool WindowOpen() const { return windowOpen_; }
    bool WindowFullScreen() const { return fullScreen_; }
    const std::string& WindowTitle() const { return title_; }
    CursorShape Cursor() const { return cursor_; }
    bool MouseCaptured() const { return captured_; }
    const std::vector<std::string>& MessageBoxes() const { return messageBoxes_; }
    const std::vector<std::string>& OpenedUrls() const { return openedUrls_; }
    // Makes the next present report a lost renderer; `restoreFails` makes
    // the restore fail too.
    void LoseRenderer(bool restoreFails);

private:
    void Inject(const RawEvent& event) override;
    void SetClipboardFromScript(const std::string& utf8) override { clipboard_ = utf8; }
    FrameCapture& Capture() override { return capture_; }

    DesktopMode desktop_;
    std::string title_;
    bool windowOpen_ = false;
    bool shown_ = false;
    bool focused_ = false;
    bool minimized_ = false;
    bool fullScreen_ = false;
    Point position_;
    Point pointer_{-1, -1};
    CursorShape cursor_ = CursorShape::Arrow;
    bool captured_ = false;
    bool rendererLost_ = false;
    bool restoreFails_ = false;
    std::string clipboard_;
    std::vector<std::string> messageBoxes_;
    std::vector<std::string> openedUrls_;
    std::vector<RawEvent> pending_;
    FrameCapture capture_;
    std::unique_ptr<Script> script_;
    std::unique_ptr<Watchdog> watchdog_;
    CloseSignals closeSignals_;
};

}  // namespace platform
