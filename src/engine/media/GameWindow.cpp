#include "engine/media/GameWindow.h"

#include "engine/foundation/Folders.h"
#include "engine/foundation/Defines.h"
#include "engine/media/Canvas.h"
#include "engine/media/DDrawSurface16.h"
#include "engine/media/DDrawSurface32.h"
#include "engine/media/ImageTools.h"
#include "engine/media/Surface.h"
#include "platform/Clipboard.h"
#include "platform/InstanceLock.h"
#include "platform/KeyCodes.h"
#include "platform/MessageBox.h"
#include "platform/Time.h"
#include "platform/Window.h"

using namespace platform;

namespace {

constexpr uint32_t kWindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr uint32_t kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
constexpr uint32_t kIgnoredMessage = 0x02000000;

Ref<GameWindow>& GlobalWindow() {
    static Ref<GameWindow> window;
    return window;
}

std::unique_ptr<InstanceLock>& SingleInstanceLock() {
    static std::unique_ptr<InstanceLock> lock;
    return lock;
}

CloseRequestTarget*& CloseTarget() {
    static CloseRequestTarget* target = nullptr;
    return target;
}

// Set while a failed creation is retried in the other mode; one for the
// whole process.
bool creationRetried = false;

bool IsUsableDepth(int bytes) { return bytes == 2 || bytes == 4; }

CursorShape ShapeFromNumber(int32_t shape) {
    switch (shape) {
    case 0: return CursorShape::None;
    case 1: return CursorShape::AppStarting;
    case 3: return CursorShape::Hand;
    case 4: return CursorShape::Help;
    case 5: return CursorShape::Wait;
    case 6: return CursorShape::IBeam;
    default: return CursorShape::Arrow;
    }
}

}  // namespace

GameWindow* GameWindow::Create(const std::string& title, int32_t width, int32_t height,
                               bool fullScreen, int32_t preferredPixelBytes, int32_t iconId) {
    GlobalWindow() = new GameWindow();
    GameWindow* window = GlobalWindow().Get();
    window->SetIconId(iconId);
    window->Init(title, 0, 0, width, height, fullScreen, preferredPixelBytes);
    window->CentreWindow();
    window->Show();
    return window;
}

GameWindow* GameWindow::Instance() { return GlobalWindow().Get(); }

void GameWindow::DestroyInstance() { GlobalWindow().Reset(); }

bool GameWindow::CheckSingleInstance(std::string& lockProblem) {
    InstanceLock::Attempt attempt = InstanceLock::Acquire(GetGameDataFolder());
    lockProblem = attempt.problem;
    SingleInstanceLock() = std::move(attempt.lock);
    // Another copy's window cannot be raised from here; the lock alone
    // keeps the data safe, so without it this copy may not run either. A
    // folder that cannot be written cannot be spoilt by a second copy.
    return attempt.outcome == InstanceLock::Outcome::AlreadyRunning ||
           attempt.outcome == InstanceLock::Outcome::Failed;
}

void GameWindow::ReleaseSingleInstanceForTesting() { SingleInstanceLock().reset(); }

void GameWindow::SetClipboardText(const std::string& text) { platform::SetClipboardText(text); }

std::string GameWindow::GetClipboardText() { return platform::GetClipboardText(); }

void GameWindow::SetCloseRequestTarget(CloseRequestTarget* target) { CloseTarget() = target; }

GameWindow::GameWindow() = default;

GameWindow::~GameWindow() {
    if (window_ != 0 || device_) Shutdown();
}

void GameWindow::Update(uint32_t /*elapsedMs*/) { Present(); }

void GameWindow::Init(const std::string& title, int32_t x, int32_t y, int32_t width,
                      int32_t height, bool fullScreen, int32_t preferredPixelBytes) {
    title_ = title;
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
    preferredPixelBytes_ = preferredPixelBytes;
    modeSwitchAllowed_ = true;
    // A desktop no larger than the window leaves no room for a window.
    if (ScreenWidth() <= width && ScreenHeight() <= height) {
        modeSwitchAllowed_ = false;
        fullScreen = true;
    }
    fullScreen_ = fullScreen;
    CreateDisplay();
}

void GameWindow::CreateListenerList() {
    if (!listeners_) listeners_ = new ListenerList();
}

void GameWindow::CreateDisplay() {
    CreateListenerList();
    window_ = CreateWindowForMode();
    if (InitDirectDraw() == DisplayResult::Ok) {
        CreateCanvas();
        creationRetried = false;
        SetInactive(false);
        UpdateWindow(window_);
        return;
    }
    if (creationRetried) {
        MessageBox(window_, kCreationFailedText, "Error", MB_OK | MB_ICONERROR);
        PostQuitMessage(kCreationFailedExitCode);
        SetInactive(true);
        return;
    }
    SetFullScreenFlag(!fullScreen_);
    creationRetried = true;
    SetInactive(true);
    Recreate();
    SetForegroundWindow(window_);
    UpdateWindow(window_);
}

void GameWindow::Show() {
    if (window_ != 0) ShowWindow(window_, SW_SHOWDEFAULT);
}

WindowHandle GameWindow::CreateWindowForMode() {
    if (fullScreen_) {
        if (const WindowHandle window = CreateFullScreenWindow()) return window;
    }
    fullScreen_ = false;
    return CreateWindowedWindow();
}

WindowHandle GameWindow::CreateWindowedWindow() {
    RegisterWindowClass(title_, &GameWindow::WindowProc, kClassStyle, iconId_);
    loadedCursor_ = LoadSystemCursor(CursorShape::Arrow);
    SetCursorShape(2);
    const WindowHandle window =
        CreateWindowEx(0, title_, title_, kWindowedStyle, 100, 100, width_, height_);
    if (window == 0) return 0;
    platform::Rect outer{0, 0, width_, height_};
    AdjustWindowRectEx(outer, kWindowedStyle, false, 0);
    MoveWindow(window, (ScreenWidth() - (outer.left + outer.right)) / 2,
               (ScreenHeight() - (outer.top + outer.bottom)) / 3, outer.right - outer.left,
               outer.bottom - outer.top, false);
    return window;
}

WindowHandle GameWindow::CreateFullScreenWindow() {
    RegisterWindowClass(title_, &GameWindow::WindowProc, kClassStyle, 0);
    currentCursor_ = loadedCursor_ = LoadSystemCursor(CursorShape::Arrow);
    return CreateWindowEx(WS_EX_TOPMOST, title_, title_, WS_POPUP, 0, 0, width_, height_);
}

DisplayResult GameWindow::InitDirectDraw() {
    if (window_ == 0) return DisplayResult::Generic;
    const DisplayResult created = DisplayDevice::Create(device_);
    if (created != DisplayResult::Ok) return created;
    DisplaySurfaceDesc desktop;
    device_->GetDisplayMode(desktop);
    int desktopBytes = desktop.format.bytesPerPixel;
    if (!fullScreen_) {
        if (IsUsableDepth(desktopBytes)) {
            pixelBytes_ = desktopBytes;
            return InitWindowedDisplay();
        }
        // No window on such a desktop: full screen instead.
        recreating_ = true;
        Shutdown();
        SetFullScreenFlag(true);
        window_ = CreateWindowForMode();
        recreating_ = false;
        // A full-screen window that cannot be made would bring us back here.
        if (!fullScreen_) return DisplayResult::Generic;
        return InitDirectDraw();
    }
    if (!IsUsableDepth(desktopBytes)) {
        desktopBytes = 2;
        preferredPixelBytes_ = 2;
        modeSwitchAllowed_ = false;
    }
    pixelBytes_ = (preferredPixelBytes_ == 0 || preferredPixelBytes_ == 3) ? desktopBytes
                                                                          : preferredPixelBytes_;
    return InitFullScreenDisplay();
}

DisplayResult GameWindow::InitWindowedDisplay() {
    if (device_->SetCooperativeLevel(window_, DDSCL_NORMAL) != DisplayResult::Ok)
        return DisplayResult::Generic;
    const DisplayResult result = CreateWindowedSurfaces();
    device_->AttachClipper(window_);
    return result;
}

DisplayResult GameWindow::InitFullScreenDisplay() {
    DisplayResult result = device_->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    if (result != DisplayResult::Ok && result != DisplayResult::HwndAlreadySet) return result;
    result = device_->SetDisplayMode(width_, height_, pixelBytes_ * 8);
    if (result != DisplayResult::Ok) return result;
    result = CreateFullScreenSurfaces();
    if (result != DisplayResult::Ok) result = CreateFullScreenSurfaces();
    if (result != DisplayResult::Ok) result = CreateWindowedSurfaces();
    return result;
}

DisplayResult GameWindow::CreatePrimarySurface(const uint32_t* capsLadder, int rungs) {
    DisplayResult result = DisplayResult::Generic;
    for (int rung = 0; rung < rungs; ++rung) {
        result = device_->CreateSurface(capsLadder[rung], 0, 0, primaryDisplay_);
        if (result == DisplayResult::NoExclusiveMode) {
            MessageBox(window_, kDisplayBusyText, "Warning", MB_OK | MB_ICONWARNING);
            PostQuitMessage(0);
            SetInactive(true);
        }
        if (result == DisplayResult::Ok) break;
    }
    if (result != DisplayResult::Ok) return result;
    primary_ = WrapSurface(primaryDisplay_);
    return primary_ ? DisplayResult::Ok : DisplayResult::Generic;
}

DisplayResult GameWindow::CreateBackSurface() {
    const DisplayResult result = device_->CreateSurface(
        DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, width_, height_, backDisplay_);
    if (result != DisplayResult::Ok) return result;
    back_ = WrapSurface(backDisplay_);
    return back_ ? DisplayResult::Ok : DisplayResult::Generic;
}

DisplayResult GameWindow::CreateWindowedSurfaces() {
    // Video memory first, then system memory, then whatever the display has.
    const uint32_t ladder[] = {
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY,
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY,
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY | DDSCAPS_FLIP_HINT,
        DDSCAPS_PRIMARYSURFACE,
    };
    const DisplayResult result = CreatePrimarySurface(ladder, 4);
    return result == DisplayResult::Ok ? CreateBackSurface() : result;
}

DisplayResult GameWindow::CreateFullScreenSurfaces() {
    const uint32_t ladder[] = {
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY,
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY,
    };
    const DisplayResult result = CreatePrimarySurface(ladder, 2);
    return result == DisplayResult::Ok ? CreateBackSurface() : result;
}

Ref<Surface> GameWindow::WrapSurface(const std::shared_ptr<DisplaySurface>& surface) {
    if (pixelBytes_ == 2) return WrapDirectDrawSurface16(surface);
    if (pixelBytes_ == 4) return WrapDirectDrawSurface32(surface);
    return nullptr;
}

void GameWindow::CreateCanvas() {
    if (back_) canvas_ = back_->CreateCanvas();
}

void GameWindow::CentreWindow() {
    if (window_ == 0) return;
    platform::Rect outer{0, 0, width_, height_};
    AdjustWindowRectEx(outer, fullScreen_ ? WS_POPUP : kWindowedStyle, false,
                       fullScreen_ ? WS_EX_TOPMOST : 0);
    x_ = (ScreenWidth() - width_) / 2;
    y_ = (ScreenHeight() - height_) / 2;
    MoveWindow(window_, x_, y_, outer.right - outer.left, outer.bottom - outer.top, false);
}

void GameWindow::Shutdown() {
    if (device_) device_->SetCooperativeLevel(window_, DDSCL_NORMAL);
    canvas_.Reset();
    back_.Reset();
    primary_.Reset();
    backDisplay_.reset();
    primaryDisplay_.reset();
    device_.reset();
    UnregisterWindowClass(title_);
    DestroyWindow(window_);
    window_ = 0;
}

void GameWindow::Recreate() {
    recreating_ = true;
    Shutdown();
    recreating_ = false;
    CreateDisplay();
    Show();
}

void GameWindow::Present() {
    if (!device_ || !primaryDisplay_ || !backDisplay_) return;
    const platform::Rect source{0, 0, width_, height_};
    platform::Rect destination;
    GetClientRect(window_, destination);
    Point origin;
    ClientToScreen(window_, origin);
    destination.left += origin.x;
    destination.right += origin.x;
    destination.top += origin.y;
    destination.bottom += origin.y;
    if (inactive_) {
        SleepMs(10);
        return;
    }
    if (waitForVerticalBlank_) device_->WaitForVerticalBlank();
    const DisplayResult result =
        primaryDisplay_->Blt(&destination, *backDisplay_, &source, fullScreen_ ? DDBLT_WAIT : 0);
    if (result == DisplayResult::SurfaceLost && primaryDisplay_->Restore() != DisplayResult::Ok)
        SetInactive(true);
}

void GameWindow::SetFullScreen(bool fullScreen) {
    if (fullScreen == fullScreen_) return;
    // Back in a window, the window stands where the player left it rather
    // than where a new window would.
    if (Point at; !fullScreen_ && ClientToScreen(window_, at)) windowedPosition_ = at;
    fullScreen_ = fullScreen;
    Recreate();
    if (!fullScreen_ && windowedPosition_) {
        MoveWindow(window_, windowedPosition_->x, windowedPosition_->y, width_, height_, false);
    }
    DispatchToListeners(GW_MODE_SWITCHED, fullScreen ? 1 : 0, 0);
}

void GameWindow::Minimize() { PostMessage(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void GameWindow::OnKeyDown(uint32_t /*virtualKey*/) {}

void GameWindow::OnMove() {}

void GameWindow::SetCursorShape(int32_t shape) {
    loadedCursor_ = LoadSystemCursor(ShapeFromNumber(shape));
    if (loadedCursor_ != currentCursor_) {
        currentCursor_ = loadedCursor_;
        ApplyCursor();
    }
}

void GameWindow::ApplyCursor() { SetCursor(currentCursor_); }

void GameWindow::DispatchToListeners(uint32_t message, uint32_t wParam, uint32_t lParam) {
    if (listeners_) listeners_->Dispatch(message, wParam, lParam);
}

int32_t GameWindow::WindowProc(WindowHandle window, uint32_t message, uint32_t wParam,
                               uint32_t lParam) {
    GameWindow* gameWindow = Instance();
    if (!gameWindow) return DefWindowProc(window, message, wParam, lParam);
    // Keeps the window alive while a listener or a close request lets go of it.
    Ref<GameWindow> keep(gameWindow);
    gameWindow->DispatchToListeners(message, wParam, lParam);
    return gameWindow->HandleMessage(message, wParam, lParam);
}

int32_t GameWindow::HandleMessage(uint32_t message, uint32_t wParam, uint32_t lParam) {
    const WindowHandle window = window_;
    auto byDefault = [&] { return DefWindowProc(window, message, wParam, lParam); };
    switch (message) {
    case WM_CREATE: return 0;
    case WM_DESTROY:
        if (!recreating_) PostQuitMessage(0);
        return 0;
    case WM_MOVE: OnMove(); return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            DispatchToListeners(GW_DEACTIVATED, 0, 0);
            InvalidateRect(window, true);
            SetInactive(true);
        } else if (wParam == SIZE_MAXIMIZED) {
            ToggleFullScreen();
            Show();
        } else if (wParam == SIZE_RESTORED) {
            DispatchToListeners(GW_ACTIVATED, 0, 0);
            SetInactive(false);
        }
        return 0;
    case WM_SETFOCUS:
        SetInactive(false);
        focused_ = true;
        DispatchToListeners(GW_ACTIVATED, 0, 0);
        return byDefault();
    case WM_KILLFOCUS:
        if (fullScreen_) SetInactive(true);
        DispatchToListeners(GW_DEACTIVATED, 0, 0);
        focused_ = false;
        return 0;
    case WM_PAINT: Present(); return byDefault();
    case WM_CLOSE:
        if (CloseTarget() && CloseTarget()->RequestQuitOfCurrentScene()) return 0;
        return byDefault();
    case WM_ERASEBKGND: return 0;
    case WM_ACTIVATEAPP:
        if (wParam != 0) SetInactive(false);
        return 0;
    case WM_SETCURSOR: ApplyCursor(); return 0;
    case WM_NCCALCSIZE: OnMove(); return byDefault();
    case WM_NCPAINT: SetInactive(false); return byDefault();
    case WM_KEYDOWN: OnKeyDown(wParam); return byDefault();
    case WM_SYSKEYDOWN:
        if (wParam == VK_RETURN && modeSwitchAllowed_) ToggleFullScreen();
        return byDefault();
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
        return byDefault();
    case WM_LBUTTONDOWN:
        SetCapture(window);
        ApplyCursor();
        return byDefault();
    case WM_LBUTTONUP:
        ReleaseCapture();
        return byDefault();
    case kIgnoredMessage: return 0;
    default: return byDefault();
    }
}
