#pragma once

#include <cstdlib>
#include <memory>

#include "engine/media/GameWindow.h"
#include "platform/Backend.h"
#include "platform/RunOptions.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessBackend.h"

// The game window, 800 x 600, on a headless desktop, for the object's life.
class HeadlessWindow {
public:
    HeadlessWindow() {
        setenv("WORDRAIL_DESKTOP", "1024x768x32", 1);
        platform::ReloadRunOptionsForTesting();
        platform::SetActiveBackend(std::make_unique<platform::HeadlessBackend>());
        window_ = GameWindow::Create("Scene", 800, 600, false, 0, 102);
    }
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;
    ~HeadlessWindow() {
        GameWindow::DestroyInstance();
        platform::ResetWindowsForTesting();
        platform::SetActiveBackend(nullptr);
        unsetenv("WORDRAIL_DESKTOP");
        platform::ReloadRunOptionsForTesting();
    }

    GameWindow* operator->() const { return window_; }

private:
    GameWindow* window_ = nullptr;
};
