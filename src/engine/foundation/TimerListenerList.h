#pragma once

#include <cstdint>
#include <list>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"

// The per-frame services, updated in list order. A service whose removal is
// requested leaves at its turn and its successor joins at the end, in time
// to run in the same frame. Services may add or remove services while a
// dispatch runs: a removed one is not updated again.
class TimerListenerList : public Object {
    ENGINE_CLASS(TimerListenerList, Object)

public:
    TimerListenerList() = default;
    TimerListenerList(const TimerListenerList&) = delete;
    TimerListenerList& operator=(const TimerListenerList&) = delete;
    // Removes every service as RemoveListener does.
    ~TimerListenerList() override;

    // Takes a reference, appends the service and marks it registered.
    void AddListener(Service* service);
    // Clears the registered flag, runs the stop hook and drops every entry
    // of the service.
    void RemoveListener(Service* service);
    void Dispatch(uint32_t elapsedMs);

    int Count() const;

private:
    int dispatchDepth_ = 0;
    // Entries removed during a dispatch are emptied and dropped when it ends.
    std::list<Ref<Service>> services_;
};
