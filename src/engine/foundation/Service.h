#pragma once

#include <cstdint>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

// A per-frame service driven by a timer list. The list keeps the registered
// and started flags; whoever wants the service gone requests its removal,
// and the list then puts the attached successor (if any) in its place.
class Service : public Object {
    ENGINE_CLASS(Service, Object)

public:
    // Runs once, before the first Update.
    virtual void OnStart() {}
    virtual void Update(uint32_t elapsedMs) { static_cast<void>(elapsedMs); }
    // Runs when the service leaves its timer list.
    virtual void OnStop() {}
    virtual void SetActive(bool active) { active_ = active; }

    bool IsActive() const { return active_; }
    bool IsRemovalRequested() const { return removalRequested_; }
    void SetRemovalRequested(bool requested) { removalRequested_ = requested; }
    bool IsRegistered() const { return registered_; }
    void SetRegistered(bool registered) { registered_ = registered; }
    bool IsStarted() const { return started_; }
    void SetStarted(bool started) { started_ = started; }

    Object* GetSuccessor() const { return successor_.Get(); }
    void SetSuccessor(Object* successor) { successor_ = successor; }

private:
    bool active_ = true;
    bool removalRequested_ = false;
    bool registered_ = false;
    bool started_ = false;
    Ref<Object> successor_;
};
