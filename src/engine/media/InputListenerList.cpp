#include "engine/media/InputListenerList.h"

#include <algorithm>

void InputListenerList::SetOwner(InputListener* owner) {
    if (owner == owner_) return;
    RemoveListener(owner_);
    owner_ = owner;
    // Appended once: a listener that is already a member would otherwise
    // get every event twice.
    if (owner) AddListener(owner, false);
}

void InputListenerList::AddListener(InputListener* listener, bool atFront) {
    if (!listener) return;
    RemoveListener(listener);
    if (atFront) listeners_.insert(listeners_.begin(), listener);
    else listeners_.push_back(listener);
}

void InputListenerList::RemoveListener(InputListener* listener) {
    auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it != listeners_.end()) listeners_.erase(it);
}
