#include "engine/media/InputDispatcher.h"

#include <algorithm>

#include "engine/media/GameWindow.h"
#include "platform/Window.h"

namespace {

// Positions left of or above the window arrive as large 16-bit values.
constexpr uint32_t kFirstNegativePosition = 60001;

int32_t ClampCoordinate(uint32_t value, int32_t limit) {
    if (value >= kFirstNegativePosition) return 0;
    return static_cast<int32_t>(std::min<uint32_t>(value, static_cast<uint32_t>(limit)));
}

}  // namespace

void InputDispatcher::QueueMessage(uint32_t message, uint32_t wParam, uint32_t lParam) {
    if (!IsActive() || message >= platform::WM_MOUSEWHEEL) return;
    const bool key = message == platform::WM_KEYDOWN || message == platform::WM_KEYUP ||
                     message == platform::WM_CHAR || message == platform::WM_SYSKEYDOWN ||
                     message == platform::WM_SYSKEYUP;
    const bool mouse = message >= platform::WM_MOUSEMOVE;
    if (key || mouse) queue_.push_back(Event{message, wParam, lParam});
}

void InputDispatcher::AddList(InputListenerList* list) { lists_.insert(lists_.begin(), list); }

void InputDispatcher::RemoveListener(InputListener* listener) {
    for (InputListenerList* list : lists_) list->RemoveListener(listener);
}

void InputDispatcher::RemoveList(InputListenerList* list) {
    auto it = std::find(lists_.begin(), lists_.end(), list);
    if (it != lists_.end()) lists_.erase(it);
}

bool InputDispatcher::HasList(const InputListenerList* list) const {
    return std::find(lists_.begin(), lists_.end(), list) != lists_.end();
}

// Handlers may show or hide dialogs, so lists and listeners can come and go
// while an event is delivered: the walk runs over copies and skips whatever
// has left in the meantime, never touching a list that is no longer held.
// A key or character goes no further than the first list that keeps keys;
// no key press or release reaches the listeners of a list that holds its
// keys (characters do: they press no button, and typed text is kept).
template <typename Handler>
bool InputDispatcher::Deliver(Handler handler, KeyEvent key) {
    const std::vector<InputListenerList*> lists = lists_;
    for (InputListenerList* list : lists) {
        if (!HasList(list)) continue;
        const bool held = key == KeyEvent::kPress && list->HoldsKeys();
        if (!held && DeliverToList(*list, handler)) return true;
        if (HasList(list) && (list->IsBlocking() || (key != KeyEvent::kNone && list->KeepsKeys()))) return false;
    }
    return false;
}

template <typename Handler>
bool InputDispatcher::DeliverToList(const InputListenerList& list, Handler& handler) {
    if (!list.IsOpenToAll()) {
        InputListener* owner = list.GetOwner();
        return owner && owner->IsInputEnabled() && handler(*owner);
    }
    const std::vector<InputListener*> members = list.Listeners();
    for (InputListener* listener : members) {
        if (!HasList(&list)) break;
        const auto& current = list.Listeners();
        if (std::find(current.begin(), current.end(), listener) == current.end()) continue;
        if (listener->IsInputEnabled() && handler(*listener)) return true;
    }
    return false;
}

bool InputDispatcher::OnKeyDown(int32_t virtualKey) {
    return Deliver([=](InputListener& l) { return l.OnKeyDown(virtualKey); }, KeyEvent::kPress);
}
bool InputDispatcher::OnKeyUp(int32_t virtualKey) {
    return Deliver([=](InputListener& l) { return l.OnKeyUp(virtualKey); }, KeyEvent::kPress);
}
bool InputDispatcher::OnChar(int32_t character) {
    return Deliver([=](InputListener& l) { return l.OnChar(character); }, KeyEvent::kCharacter);
}
bool InputDispatcher::OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
    return Deliver([=](InputListener& l) { return l.OnMouseMove(x, y, flags); });
}
bool InputDispatcher::OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
    return Deliver([=](InputListener& l) { return l.OnLButtonDown(x, y, flags, doubleClick); });
}
bool InputDispatcher::OnLButtonUp(int32_t x, int32_t y, uint32_t flags) {
    return Deliver([=](InputListener& l) { return l.OnLButtonUp(x, y, flags); });
}
bool InputDispatcher::OnMButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
    return Deliver([=](InputListener& l) { return l.OnMButtonDown(x, y, flags, doubleClick); });
}
bool InputDispatcher::OnMButtonUp(int32_t x, int32_t y, uint32_t flags) {
    return Deliver([=](InputListener& l) { return l.OnMButtonUp(x, y, flags); });
}
bool InputDispatcher::OnRButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
    return Deliver([=](InputListener& l) { return l.OnRButtonDown(x, y, flags, doubleClick); });
}
bool InputDispatcher::OnRButtonUp(int32_t x, int32_t y, uint32_t flags) {
    return Deliver([=](InputListener& l) { return l.OnRButtonUp(x, y, flags); });
}

void InputDispatcher::Update(uint32_t /*elapsedMs*/) { DispatchFrame(); }

void InputDispatcher::SetActive(bool active) {
    Service::SetActive(active);
    if (!active) ClearEvents();
}

void InputDispatcher::PassTime(uint32_t ms) {
    for (InputListenerList* list : lists_) list->PassTime(ms);
}

void InputDispatcher::DispatchFrame() {
    GameWindow* window = GameWindow::Instance();
    if (queue_.empty() && window && window->IsFocused()) {
        platform::Point pointer;
        platform::GetCursorPos(pointer);
        platform::ScreenToClient(window->GetHwnd(), pointer);
        const bool inside = pointer.x > 0 && pointer.x < window->GetWidth() && pointer.y > 0 &&
                            pointer.y < window->GetHeight();
        if (!inside)
            queue_.push_back(
                Event{platform::WM_MOUSEMOVE, 0, platform::PackPoint(pointer.x, pointer.y)});
    }
    // Events queued by a handler meanwhile are delivered in the same frame.
    while (!queue_.empty()) {
        const Event event = queue_.front();
        queue_.pop_front();
        DeliverEvent(event);
    }
}

void InputDispatcher::DeliverEvent(const Event& event) {
    using namespace platform;
    const GameWindow* window = GameWindow::Instance();
    const int32_t width = window ? window->GetWidth() : INT32_MAX;
    const int32_t height = window ? window->GetHeight() : INT32_MAX;
    const int32_t x = ClampCoordinate(event.lParam & 0xFFFF, width);
    const int32_t y = ClampCoordinate(event.lParam >> 16, height);
    const int32_t code = static_cast<int32_t>(event.wParam);
    const uint32_t flags = event.wParam;
    switch (event.message) {
    case WM_KEYDOWN:
        if (event.wParam < keysDown_.size()) keysDown_.set(event.wParam);
        OnKeyDown(code);
        break;
    case WM_KEYUP:
        if (event.wParam < keysDown_.size()) keysDown_.reset(event.wParam);
        OnKeyUp(code);
        break;
    case WM_CHAR: OnChar(code); break;
    case WM_MOUSEMOVE: OnMouseMove(x, y, flags); break;
    case WM_LBUTTONDOWN: OnLButtonDown(x, y, flags, false); break;
    case WM_LBUTTONDBLCLK: OnLButtonDown(x, y, flags, true); break;
    case WM_LBUTTONUP: OnLButtonUp(x, y, flags); break;
    case WM_RBUTTONDOWN: OnRButtonDown(x, y, flags, false); break;
    case WM_RBUTTONDBLCLK: OnRButtonDown(x, y, flags, true); break;
    case WM_RBUTTONUP: OnRButtonUp(x, y, flags); break;
    case WM_MBUTTONDOWN: OnMButtonDown(x, y, flags, false); break;
    case WM_MBUTTONDBLCLK: OnMButtonDown(x, y, flags, true); break;
    case WM_MBUTTONUP: OnMButtonUp(x, y, flags); break;
    default: break;   // system keys are taken from the queue without delivery
    }
}
