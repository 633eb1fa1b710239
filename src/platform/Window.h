#pragma once

#include <string>

#include "platform/WindowTypes.h"

// Window classes, windows and the message queue, shaped as the game window
// calls them. Main thread only; nothing here takes a lock, since a window
// procedure may call back into it (closing a window from inside a message).
//
// Messages sent inside a call (window creation, show, paint, destroy, the
// default handling of a close) reach the window procedure at once; messages
// that come from the display backend or from PostMessage wait in the queue.
// The quit message is returned only when the queue is otherwise empty.
namespace platform {

bool RegisterWindowClass(const std::string& className, WindowProcedure procedure,
                         uint32_t style, int iconId);
bool UnregisterWindowClass(const std::string& className);

// Opens the native window (full screen for WS_POPUP or WS_EX_TOPMOST) and
// sends WM_CREATE; 0 when the class is unknown or the window cannot be made.
WindowHandle CreateWindowEx(uint32_t exStyle, const std::string& className,
                            const std::string& title, uint32_t style, int x, int y, int width,
                            int height);
// Sends WM_DESTROY; false for a handle that is not a live window.
bool DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);

bool ShowWindow(WindowHandle window, int command);
// Sends WM_PAINT when the window needs painting.
bool UpdateWindow(WindowHandle window);
bool InvalidateRect(WindowHandle window, bool erase);
bool MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint);
// Windows here have no frame of their own: the rectangle stays as it is.
bool AdjustWindowRectEx(Rect& rect, uint32_t style, bool menu, uint32_t exStyle);
bool GetClientRect(WindowHandle window, Rect& rect);
bool ClientToScreen(WindowHandle window, Point& point);
bool ScreenToClient(WindowHandle window, Point& point);
bool GetCursorPos(Point& point);
bool SetForegroundWindow(WindowHandle window);
WindowHandle FindWindowByTitle(const std::string& title);
void SetCapture(WindowHandle window);
void ReleaseCapture();

// Desktop size and depth.
int ScreenWidth();
int ScreenHeight();

// Takes the next message, first collecting what the backend has; false when
// none waits.
bool PeekMessage(Message& message);
// Characters are made when events are collected, so this does nothing.
void TranslateMessage(const Message& message);
int32_t DispatchMessage(const Message& message);
int32_t SendMessage(WindowHandle window, uint32_t message, uint32_t wParam, uint32_t lParam);
bool PostMessage(WindowHandle window, uint32_t message, uint32_t wParam, uint32_t lParam);
void PostQuitMessage(int exitCode);
int32_t DefWindowProc(WindowHandle window, uint32_t message, uint32_t wParam, uint32_t lParam);

// Forgets every class, window and queued message (tests).
void ResetWindowsForTesting();

}  // namespace platform
