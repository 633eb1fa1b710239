#pragma once

#include <vector>

#include "engine/foundation/Object.h"
#include "engine/media/InputListener.h"

// The input listeners of one scene or dialog, in delivery order. Listeners
// are not counted: a node leaves its list before it goes. While the list is
// not open to all, only its owner gets events (a dialog being dragged); a
// blocking list keeps events from the lists after it (a modal dialog).
class InputListenerList : public Object {
    ENGINE_CLASS(InputListenerList, Object)

public:
    InputListener* GetOwner() const { return owner_; }
    // The owner is also an ordinary member, at the back; a new owner replaces
    // the old one in the list too.
    void SetOwner(InputListener* owner);
    // Null is ignored; a listener already in the list moves to the given end.
    void AddListener(InputListener* listener, bool atFront);
    // Removes the first occurrence.
    void RemoveListener(InputListener* listener);

    bool IsBlocking() const { return blocking_; }
    void SetBlocking(bool blocking) { blocking_ = blocking; }
    bool IsOpenToAll() const { return openToAll_; }
    void SetOpenToAll(bool open) { openToAll_ = open; }

    const std::vector<InputListener*>& Listeners() const { return listeners_; }

private:
    InputListener* owner_ = nullptr;
    std::vector<InputListener*> listeners_;
    bool blocking_ = false;
    bool openToAll_ = true;
};
