#include "engine/foundation/ListenerList.h"

#include <algorithm>

namespace {

bool Holds(const std::vector<MessageListener*>& list, const MessageListener* listener) {
    return std::find(list.begin(), list.end(), listener) != list.end();
}

}  // namespace

void ListenerList::AddListener(MessageListener* listener) {
    if (listener == nullptr || Contains(listener)) {
        return;
    }
    (dispatchDepth_ > 0 ? added_ : listeners_).push_back(listener);
}

void ListenerList::RemoveListener(MessageListener* listener) {
    added_.erase(std::remove(added_.begin(), added_.end(), listener), added_.end());
    if (dispatchDepth_ > 0) {
        std::replace(listeners_.begin(), listeners_.end(), listener, static_cast<MessageListener*>(nullptr));
    } else {
        listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
    }
}

void ListenerList::Dispatch(uint32_t message, uint32_t firstParameter, uint32_t secondParameter) {
    ++dispatchDepth_;
    // The list only grows after the outermost dispatch, so the count is fixed here.
    for (size_t i = 0; i < listeners_.size(); ++i) {
        if (MessageListener* listener = listeners_[i]) {
            listener->OnMessage(message, firstParameter, secondParameter);
        }
    }
    if (--dispatchDepth_ == 0) {
        ApplyDeferredChanges();
    }
}

bool ListenerList::Contains(const MessageListener* listener) const {
    return listener != nullptr && (Holds(listeners_, listener) || Holds(added_, listener));
}

int ListenerList::Count() const {
    return static_cast<int>(listeners_.size() - std::count(listeners_.begin(), listeners_.end(), nullptr) +
                            added_.size());
}

void ListenerList::ApplyDeferredChanges() {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), nullptr), listeners_.end());
    listeners_.insert(listeners_.end(), added_.begin(), added_.end());
    added_.clear();
}
