#pragma once

#include <bitset>
#include <cstdint>
#include <deque>
#include <vector>

#include "engine/foundation/ListenerList.h"
#include "engine/foundation/Service.h"
#include "engine/media/InputListener.h"
#include "engine/media/InputListenerList.h"

// A scene's input: as a listener of the window's messages it queues key,
// character and mouse messages; once a frame it hands them, oldest first, to
// its listener lists (the list added last first). It does no hit testing:
// each listener decides from the coordinates whether an event concerns it.
class InputDispatcher : public Service, public MessageListener {
    ENGINE_CLASS(InputDispatcher, Service)

public:
    struct Event {
        uint32_t message;
        uint32_t wParam;
        uint32_t lParam;
    };

    // Queues 0x100..0x105 and 0x200..0x209 while active; ignores the rest.
    void QueueMessage(uint32_t message, uint32_t wParam, uint32_t lParam);
    void OnMessage(uint32_t message, uint32_t wParam, uint32_t lParam) override {
        QueueMessage(message, wParam, lParam);
    }

    // Inserts the list at the front: it is served first.
    void AddList(InputListenerList* list);
    // Removes the listener from every list that holds it.
    void RemoveListener(InputListener* listener);
    void RemoveList(InputListenerList* list);

    // Each delivers one event to the lists.
    bool OnKeyDown(int32_t virtualKey);
    bool OnKeyUp(int32_t virtualKey);
    bool OnChar(int32_t character);
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags);
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick);
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags);
    bool OnMButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick);
    bool OnMButtonUp(int32_t x, int32_t y, uint32_t flags);
    bool OnRButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick);
    bool OnRButtonUp(int32_t x, int32_t y, uint32_t flags);

    void Update(uint32_t elapsedMs) override;
    // Turning the dispatcher off drops what is queued.
    void SetActive(bool active) override;

    // Counts the frame time down on every list's key hold.
    void PassTime(uint32_t ms);
    // Delivers the queued events; when nothing is queued and the window has
    // the focus, a pointer outside the client area is reported as a move.
    void DispatchFrame();
    void ClearEvents() { queue_.clear(); }
    // Whether the key is held, as the key events delivered so far tell.
    bool IsKeyDown(uint32_t virtualKey) const { return virtualKey < keysDown_.size() && keysDown_[virtualKey]; }
    const std::deque<Event>& QueuedEvents() const { return queue_; }

private:
    enum class KeyEvent { kNone, kPress, kCharacter };
    template <typename Handler>
    bool Deliver(Handler handler, KeyEvent key = KeyEvent::kNone);
    template <typename Handler>
    bool DeliverToList(const InputListenerList& list, Handler& handler);
    void DeliverEvent(const Event& event);
    bool HasList(const InputListenerList* list) const;

    std::vector<InputListenerList*> lists_;
    std::deque<Event> queue_;
    std::bitset<256> keysDown_;
};
