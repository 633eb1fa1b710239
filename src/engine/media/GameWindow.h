#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/foundation/ListenerList.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"
#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/WindowTypes.h"

class Canvas;
class Surface;

// Who is asked when the player closes the window: the scene layer, which
// lives above this one, registers itself here. Without one the window closes.
class CloseRequestTarget {
public:
    // Asks the current scene (a transition's target) to quit; false when
    // there is no scene to ask.
    virtual bool RequestQuitOfCurrentScene() = 0;

protected:
    ~CloseRequestTarget() = default;
};

// The one top-level window and its display: the window is made windowed or
// full screen, everything is drawn into a back surface through its canvas,
// and once a frame (as a timer service) the back surface is shown. Its
// window procedure keeps the active, focus and full-screen state and hands
// every message to the message listeners first.
class GameWindow : public Service {
    ENGINE_CLASS(GameWindow, Service)

public:
    // Messages of the window's own, sent to its message listeners.
    static constexpr uint32_t GW_MODE_SWITCHED = 0xAF00FA00;
    static constexpr uint32_t GW_DEACTIVATED = 0xAF00FA01;
    static constexpr uint32_t GW_ACTIVATED = 0xAF00FA02;

    static constexpr const char* kCreationFailedText =
        "Something went wrong with creating the game-window.\nThis game will quit now.";
    // The code of the quit message a window that could not be made posts.
    static constexpr int kCreationFailedExitCode = 1;
    static constexpr const char* kDisplayBusyText =
        "Unable to play the game. Possibly another game is running.\n(DirectX is already being "
        "used by different game)";

    // Makes the instance (one global reference), creates its display,
    // centres and shows it.
    static GameWindow* Create(const std::string& title, int32_t width, int32_t height,
                              bool fullScreen, int32_t preferredPixelBytes, int32_t iconId);
    static GameWindow* Instance();
    static void DestroyInstance();

    // True when another copy of the program runs on the same data, or when
    // the lock that tells cannot be taken (`lockProblem` then says why); this
    // copy must then end. False with `lockProblem` set when the data folder
    // cannot be written: this copy may run, but nothing it saves is kept.
    // The lock it takes is held for the process's life.
    static bool CheckSingleInstance(std::string& lockProblem);
    static void ReleaseSingleInstanceForTesting();

    static void SetClipboardText(const std::string& text);
    static std::string GetClipboardText();

    static int32_t WindowProc(platform::WindowHandle window, uint32_t message, uint32_t wParam,
                              uint32_t lParam);

    GameWindow();
    ~GameWindow() override;

    void Update(uint32_t elapsedMs) override;

    virtual void Init(const std::string& title, int32_t x, int32_t y, int32_t width,
                      int32_t height, bool fullScreen, int32_t preferredPixelBytes);
    virtual void CreateDisplay();
    virtual void Show();
    virtual void Present();
    virtual void CentreWindow();
    virtual void Shutdown();

    Canvas* GetCanvas() const { return canvas_.Get(); }
    Surface* GetPrimarySurface() const { return primary_.Get(); }
    Surface* GetBackSurface() const { return back_.Get(); }
    platform::DisplayDevice* GetDirectDraw() const { return device_.get(); }
    platform::WindowHandle GetHwnd() const { return window_; }
    void SetTitle(const std::string& title) { title_ = title; }
    const std::string& GetTitle() const { return title_; }

    // Called for every key-down message; does nothing here.
    virtual void OnKeyDown(uint32_t virtualKey);

    bool IsRecreating() const { return recreating_; }
    void Recreate();

    void SetX(int32_t x) { x_ = x; }
    int32_t GetX() const { return x_; }
    void SetY(int32_t y) { y_ = y; }
    int32_t GetY() const { return y_; }

    bool IsFullScreen() const { return fullScreen_; }
    void SetFullScreenFlag(bool fullScreen) { fullScreen_ = fullScreen; }
    // Switches the mode, makes window and display anew and tells the
    // listeners with GW_MODE_SWITCHED.
    void SetFullScreen(bool fullScreen);
    void ToggleFullScreen() { SetFullScreen(!IsFullScreen()); }
    bool IsModeSwitchAllowed() const { return modeSwitchAllowed_; }

    bool GetWaitForVerticalBlank() const { return waitForVerticalBlank_; }
    void SetWaitForVerticalBlank(bool wait) { waitForVerticalBlank_ = wait; }

    void Minimize();
    bool IsInactive() const { return inactive_; }
    void SetInactive(bool inactive) { inactive_ = inactive; }
    bool IsFocused() const { return focused_; }

    int32_t GetPixelBytes() const { return pixelBytes_; }
    void SetPreferredPixelBytes(int32_t bytes) { preferredPixelBytes_ = bytes; }

    void SetSize(int32_t width, int32_t height) { SetWidth(width), SetHeight(height); }
    void SetWidth(int32_t width) { width_ = width; }
    int32_t GetWidth() const { return width_; }
    void SetHeight(int32_t height) { height_ = height; }
    int32_t GetHeight() const { return height_; }

    ListenerList* GetListeners() const { return listeners_.Get(); }
    virtual void OnMove();

    void SetIconId(int32_t id) { iconId_ = id; }
    int32_t GetIconId() const { return iconId_; }

    // 0 none (hides the pointer), 1 busy-arrow, 2 arrow, 3 hand, 4 help,
    // 5 wait, 6 text beam; any other value the arrow.
    void SetCursorShape(int32_t shape);
    platform::CursorHandle GetLoadedCursor() const { return loadedCursor_; }
    void ApplyCursor();

    static void SetCloseRequestTarget(CloseRequestTarget* target);

protected:
    virtual platform::WindowHandle CreateWindowForMode();
    virtual platform::WindowHandle CreateWindowedWindow();
    virtual platform::WindowHandle CreateFullScreenWindow();
    virtual platform::DisplayResult CreateWindowedSurfaces();
    virtual platform::DisplayResult CreateFullScreenSurfaces();
    virtual platform::DisplayResult InitDirectDraw();
    virtual platform::DisplayResult InitWindowedDisplay();
    virtual platform::DisplayResult InitFullScreenDisplay();
    virtual Ref<Surface> WrapSurface(const std::shared_ptr<platform::DisplaySurface>& surface);
    void SetHwnd(platform::WindowHandle window) { window_ = window; }
    void CreateListenerList();
    void CreateCanvas();

private:
    int32_t HandleMessage(uint32_t message, uint32_t wParam, uint32_t lParam);
    void DispatchToListeners(uint32_t message, uint32_t wParam, uint32_t lParam);
    platform::DisplayResult CreatePrimarySurface(const uint32_t* capsLadder, int rungs);
    platform::DisplayResult CreateBackSurface();

    int32_t pixelBytes_ = 0;
    int32_t preferredPixelBytes_ = 0;
    platform::WindowHandle window_ = 0;
    Ref<ListenerList> listeners_;
    std::unique_ptr<platform::DisplayDevice> device_;
    std::shared_ptr<platform::DisplaySurface> primaryDisplay_;
    std::shared_ptr<platform::DisplaySurface> backDisplay_;
    Ref<Surface> primary_;
    Ref<Surface> back_;
    Ref<Canvas> canvas_;
    std::string title_ = "Quelt";
    bool fullScreen_ = false;
    bool modeSwitchAllowed_ = true;
    bool focused_ = true;
    bool recreating_ = false;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t width_ = 640;
    int32_t height_ = 480;
    int32_t iconId_ = 0;
    std::optional<platform::Point> windowedPosition_;   // where the window stood before full screen
    platform::CursorHandle loadedCursor_ = 0;
    platform::CursorHandle currentCursor_ = 0;
    bool inactive_ = false;
    bool waitForVerticalBlank_ = false;
};
