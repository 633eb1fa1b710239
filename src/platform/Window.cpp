#include "platform/Window.h"

#include <deque>
#include <map>
#include <vector>

#include "platform/Backend.h"
#include "platform/CodePage.h"
#include "platform/EventTranslator.h"
#include "platform/KeyCodes.h"

namespace platform {

namespace {

struct WindowClass {
    WindowProcedure procedure = nullptr;
    uint32_t style = 0;
    int iconId = 0;
};

struct WindowRecord {
    std::string className;
    std::string title;
    WindowProcedure procedure = nullptr;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
    bool needsPaint = true;
};

struct WindowSystem {
    std::map<std::string, WindowClass> classes;
    std::map<WindowHandle, WindowRecord> windows;
    WindowHandle nextHandle = 1;
    std::deque<Message> queue;
    bool quitPosted = false;
    int quitCode = 0;
    // The window that shows through the backend's native window. A destroyed
    // window leaves the native one open until the next collection of events,
    // so that a window made anew at once (a mode switch) takes it over.
    WindowHandle nativeOwner = 0;
    bool nativeOpen = false;
    EventTranslator translator;
    std::vector<RawEvent> rawEvents;
    std::vector<Message> translated;
};

WindowSystem& System() {
    static WindowSystem system;
    return system;
}

WindowRecord* Find(WindowHandle window) {
    auto it = System().windows.find(window);
    return it == System().windows.end() ? nullptr : &it->second;
}

bool IsFullScreenStyle(uint32_t style, uint32_t exStyle) {
    return (style & WS_POPUP) != 0 || (exStyle & WS_EX_TOPMOST) != 0;
}

void CloseAbandonedNativeWindow() {
    WindowSystem& system = System();
    if (system.nativeOpen && !Find(system.nativeOwner)) {
        ActiveBackend().CloseWindow();
        system.nativeOpen = false;
        system.nativeOwner = 0;
    }
}

void CollectBackendEvents() {
    WindowSystem& system = System();
    system.rawEvents.clear();
    ActiveBackend().PollEvents(system.rawEvents);
    for (const RawEvent& event : system.rawEvents) {
        if (event.kind == RawEvent::Kind::Quit) {
            PostQuitMessage(0);
            continue;
        }
        WindowRecord* owner = Find(system.nativeOwner);
        if (!owner) continue;
        system.translated.clear();
        system.translator.Translate(event, system.translated);
        for (Message message : system.translated) {
            if (message.message == WM_PAINT) {
                owner->needsPaint = true;
                continue;
            }
            message.window = system.nativeOwner;
            system.queue.push_back(message);
        }
    }
}

}  // namespace

bool RegisterWindowClass(const std::string& className, WindowProcedure procedure,
                         uint32_t style, int iconId) {
    if (!procedure || System().classes.count(className)) return false;
    System().classes[className] = WindowClass{procedure, style, iconId};
    return true;
}

bool UnregisterWindowClass(const std::string& className) {
    return System().classes.erase(className) > 0;
}

WindowHandle CreateWindowEx(uint32_t exStyle, const std::string& className,
                            const std::string& title, uint32_t style, int x, int y, int width,
                            int height) {
    WindowSystem& system = System();
    auto cls = system.classes.find(className);
    if (cls == system.classes.end() || width <= 0 || height <= 0) return 0;
    if (Find(system.nativeOwner)) return 0;   // one top-level window at a time
    if (!ActiveBackend().OpenWindow(Cp1252ToUtf8(title), width, height,
                                    IsFullScreenStyle(style, exStyle)))
        return 0;
    system.nativeOpen = true;
    const WindowHandle handle = system.nextHandle++;
    system.nativeOwner = handle;
    WindowRecord record;
    record.className = className;
    record.title = title;
    record.procedure = cls->second.procedure;
    record.style = style;
    record.exStyle = exStyle;
    record.width = width;
    record.height = height;
    system.windows[handle] = record;
    system.translator.SetClientSize(width, height);
    if (!IsFullScreenStyle(style, exStyle)) ActiveBackend().MoveWindow(x, y);
    SendMessage(handle, WM_CREATE, 0, 0);
    return handle;
}

bool DestroyWindow(WindowHandle window) {
    if (!Find(window)) return false;
    SendMessage(window, WM_DESTROY, 0, 0);
    WindowSystem& system = System();
    system.windows.erase(window);
    std::erase_if(system.queue, [window](const Message& m) { return m.window == window; });
    return true;
}

bool IsWindow(WindowHandle window) { return Find(window) != nullptr; }

bool ShowWindow(WindowHandle window, int command) {
    WindowRecord* record = Find(window);
    if (!record) return false;
    const bool wasVisible = record->visible;
    Backend& backend = ActiveBackend();
    if (command == SW_MINIMIZE) {
        backend.MinimizeWindow();
    } else if (command == SW_RESTORE) {
        backend.RestoreWindow();
    } else {
        backend.ShowWindow();
    }
    record->visible = true;
    if (!wasVisible && command != SW_MINIMIZE) {
        SendMessage(window, WM_SIZE, SIZE_RESTORED, PackPoint(record->width, record->height));
        const Point position = backend.WindowPosition();
        if (Find(window)) SendMessage(window, WM_MOVE, 0, PackPoint(position.x, position.y));
    }
    return wasVisible;
}

bool UpdateWindow(WindowHandle window) {
    WindowRecord* record = Find(window);
    if (!record) return false;
    if (record->needsPaint && record->visible) {
        record->needsPaint = false;
        SendMessage(window, WM_PAINT, 0, 0);
    }
    return true;
}

bool InvalidateRect(WindowHandle window, bool /*erase*/) {
    WindowRecord* record = Find(window);
    if (!record) return false;
    record->needsPaint = true;
    return true;
}

bool MoveWindow(WindowHandle window, int x, int y, int /*width*/, int /*height*/,
                bool repaint) {
    WindowRecord* record = Find(window);
    if (!record) return false;
    // The client size is fixed at creation; only the position follows.
    if (!IsFullScreenStyle(record->style, record->exStyle)) ActiveBackend().MoveWindow(x, y);
    if (repaint) record->needsPaint = true;
    return true;
}

bool AdjustWindowRectEx(Rect& /*rect*/, uint32_t /*style*/, bool /*menu*/,
                        uint32_t /*exStyle*/) {
    return true;
}

bool GetClientRect(WindowHandle window, Rect& rect) {
    const WindowRecord* record = Find(window);
    if (!record) return false;
    rect = Rect{0, 0, record->width, record->height};
    return true;
}

bool ClientToScreen(WindowHandle window, Point& point) {
    if (!Find(window)) return false;
    const Point origin = ActiveBackend().WindowPosition();
    point.x += origin.x;
    point.y += origin.y;
    return true;
}

bool ScreenToClient(WindowHandle window, Point& point) {
    if (!Find(window)) return false;
    const Point origin = ActiveBackend().WindowPosition();
    point.x -= origin.x;
    point.y -= origin.y;
    return true;
}

bool GetCursorPos(Point& point) {
    const Point client = ActiveBackend().PointerPosition();
    const Point origin = ActiveBackend().WindowPosition();
    point = Point{client.x + origin.x, client.y + origin.y};
    return true;
}

bool SetForegroundWindow(WindowHandle window) {
    if (!Find(window)) return false;
    ActiveBackend().RaiseWindow();
    return true;
}

WindowHandle FindWindowByTitle(const std::string& title) {
    for (const auto& [handle, record] : System().windows)
        if (record.title == title) return handle;
    return 0;
}

void SetCapture(WindowHandle window) {
    if (Find(window)) ActiveBackend().SetMouseCapture(true);
}

void ReleaseCapture() { ActiveBackend().SetMouseCapture(false); }

int ScreenWidth() { return ActiveBackend().Desktop().width; }

int ScreenHeight() { return ActiveBackend().Desktop().height; }

bool PeekMessage(Message& message) {
    WindowSystem& system = System();
    CloseAbandonedNativeWindow();
    CollectBackendEvents();
    if (!system.queue.empty()) {
        message = system.queue.front();
        system.queue.pop_front();
        return true;
    }
    if (WindowRecord* owner = Find(system.nativeOwner);
        owner && owner->visible && owner->needsPaint) {
        owner->needsPaint = false;
        message = Message{system.nativeOwner, WM_PAINT, 0, 0};
        return true;
    }
    if (system.quitPosted) {
        system.quitPosted = false;
        message = Message{0, WM_QUIT, static_cast<uint32_t>(system.quitCode), 0};
        return true;
    }
    return false;
}

void TranslateMessage(const Message& /*message*/) {}

int32_t DispatchMessage(const Message& message) {
    return SendMessage(message.window, message.message, message.wParam, message.lParam);
}

int32_t SendMessage(WindowHandle window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    const WindowRecord* record = Find(window);
    if (!record) return 0;
    return record->procedure(window, message, wParam, lParam);
}

bool PostMessage(WindowHandle window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    if (!Find(window)) return false;
    System().queue.push_back(Message{window, message, wParam, lParam});
    return true;
}

void PostQuitMessage(int exitCode) {
    System().quitPosted = true;
    System().quitCode = exitCode;
}

int32_t DefWindowProc(WindowHandle window, uint32_t message, uint32_t wParam,
                      uint32_t /*lParam*/) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        break;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
        case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
        case SC_MAXIMIZE: PostMessage(window, WM_SIZE, SIZE_MAXIMIZED, 0); break;
        case SC_CLOSE: PostMessage(window, WM_CLOSE, 0, 0); break;
        default: break;
        }
        break;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4) PostMessage(window, WM_CLOSE, 0, 0);
        break;
    case WM_PAINT:
        if (WindowRecord* record = Find(window)) record->needsPaint = false;
        break;
    default:
        break;
    }
    return 0;
}

void ResetWindowsForTesting() {
    WindowSystem& system = System();
    if (system.nativeOpen) ActiveBackend().CloseWindow();
    system.classes.clear();
    system.windows.clear();
    system.queue.clear();
    system.quitPosted = false;
    system.quitCode = 0;
    system.nativeOwner = 0;
    system.nativeOpen = false;
    system.translator = EventTranslator();
}

}  // namespace platform
