#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"

// Receives window messages from a ListenerList.
class MessageListener {
public:
    virtual void OnMessage(uint32_t message, uint32_t firstParameter, uint32_t secondParameter) = 0;

protected:
    ~MessageListener() = default;
};

// The window's message listeners, called in insertion order. Listeners are
// not counted: one must be removed before it is destroyed. A listener may
// add or remove listeners while a dispatch runs: a removed one is not called
// again, and an added one joins when the outermost dispatch ends.
class ListenerList : public Object {
    ENGINE_CLASS(ListenerList, Object)

public:
    // Appends the listener unless it is already in the list.
    void AddListener(MessageListener* listener);
    // Removes every entry of the listener; an absent one changes nothing.
    void RemoveListener(MessageListener* listener);
    void Dispatch(uint32_t message, uint32_t firstParameter, uint32_t secondParameter);

    bool Contains(const MessageListener* listener) const;
    int Count() const;

private:
    // Drops the slots emptied during a dispatch and lets the added ones in.
    void ApplyDeferredChanges();

    int dispatchDepth_ = 0;
    // Entries removed during a dispatch become null until it ends.
    std::vector<MessageListener*> listeners_;
    std::vector<MessageListener*> added_;
};
