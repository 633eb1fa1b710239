#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/media/InputListener.h"

// The input listeners of one scene or dialog, in delivery order. Listeners
// are not counted: a node leaves its list before it goes. While the list is
// not open to all, only its owner gets events (a dialog being dragged); a
// blocking list keeps events from the lists after it (a modal dialog); one
// that keeps its keys lets no key, character or key release past it (a
// dialog's keys act on that dialog only), and one that holds its keys gives
// no key press or release to its own listeners for a while (a board just
// shown is not pressed by a key meant for what was there before).
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
    bool KeepsKeys() const { return keepsKeys_; }
    void SetKeepsKeys(bool keeps) { keepsKeys_ = keeps; }
    // For the next `ms` milliseconds of frame time (see PassTime).
    void HoldKeys(uint32_t ms) { keysHeldMs_ = ms; }
    bool HoldsKeys() const { return keysHeldMs_ > 0; }
    void PassTime(uint32_t ms) { keysHeldMs_ -= std::min(keysHeldMs_, ms); }
    bool IsOpenToAll() const { return openToAll_; }
    void SetOpenToAll(bool open) { openToAll_ = open; }

    const std::vector<InputListener*>& Listeners() const { return listeners_; }

private:
    InputListener* owner_ = nullptr;
    std::vector<InputListener*> listeners_;
    bool blocking_ = false;
    bool keepsKeys_ = false;
    uint32_t keysHeldMs_ = 0;
    bool openToAll_ = true;
};
