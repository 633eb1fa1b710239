#pragma once

#include <SDL.h>

#include <array>
#include <memory>
#include <optional>

#include "platform/Backend.h"
#include "platform/CloseSignals.h"
#include "platform/FrameCapture.h"
#include "platform/Script.h"
#include "platform/Watchdog.h"
#include "platform/sdl/SdlEvents.h"

// The real display: one SDL window with a renderer that scales the picture
// to the window (desktop full screen keeps its resolution), a streaming
// texture in the surfaces' format (RGB565 or XRGB8888) and vsync pacing.
// Where OpenGL is only a software rasteriser, SDL's own software renderer
// draws instead, at a fraction of the cost; a frame like the one on show is
// not drawn again.
namespace platform {

class SdlBackend final : public Backend, private ScriptHost {
public:
    SdlBackend();
    ~SdlBackend() override;

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
    bool OpenUrl(const std::string& urlUtf8) override;

private:
    void Inject(const RawEvent& event) override;
    void SetClipboardFromScript(const std::string& utf8) override { SetClipboardText(utf8); }
    FrameCapture& Capture() override { return capture_; }

    // False once the X connection is lost: nothing may touch the display then.
    bool DisplayLive() const;
    bool WindowLive() const;
    void PollDisplay(std::vector<RawEvent>& events);
    bool CreateRenderer();
    void DestroyRenderer();
    void ApplyFullScreen(bool fullScreen);
    // Draws the frame unless it is the one on show; true when it drew.
    bool Draw(const uint8_t* pixels, int width, int height, int bytesPerPixel);
    void PaceWithoutVsync();

    // SDL's own handlers are kept out, so both backends end on the same signals.
    CloseSignals closeSignals_;
    bool videoReady_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureBytes_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool vsync_ = false;
    bool selfPaced_ = false;      // the renderer cannot wait for the vertical blank
    bool rendererLost_ = false;
    bool fullScreen_ = false;
    bool windowGone_ = false;     // destroyed by another program
    bool displayLossTold_ = false;
    bool repaint_ = true;         // the window lost what it showed
    std::vector<uint8_t> shownFrame_;
    uint32_t ignoreMaximizeUntil_ = 0;
    std::optional<Point> pendingMove_;   // where the window was last asked to stand
    uint32_t pendingMoveUntil_ = 0;
    int quickPresents_ = 0;
    SdlInputState input_;
    std::array<SDL_Cursor*, 7> cursors_{};
    FrameCapture capture_;
    std::unique_ptr<Script> script_;
    std::unique_ptr<Watchdog> watchdog_;
};

}  // namespace platform
