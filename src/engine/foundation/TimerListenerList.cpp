#include "engine/foundation/TimerListenerList.h"

TimerListenerList::~TimerListenerList() {
    while (!services_.empty()) {
        if (Ref<Service> service = services_.front()) {
            RemoveListener(service.Get());
        } else {
            services_.pop_front();
        }
    }
}

void TimerListenerList::AddListener(Service* service) {
    if (service == nullptr) {
        return;
    }
    services_.emplace_back(service);
    service->SetRegistered(true);
}

void TimerListenerList::RemoveListener(Service* service) {
    if (service == nullptr) {
        return;
    }
    Ref<Service> keep(service);
    service->SetRegistered(false);
    service->OnStop();
    for (Ref<Service>& entry : services_) {
        if (entry == service) {
            entry.Reset();
        }
    }
    if (dispatchDepth_ == 0) {
        services_.remove(Ref<Service>());
    }
}

void TimerListenerList::Dispatch(uint32_t elapsedMs) {
    ++dispatchDepth_;
    // Entries appended during the walk are reached by it; removed ones are
    // only emptied, so the walk never loses its place.
    for (auto entry = services_.begin(); entry != services_.end(); ++entry) {
        Ref<Service> service = *entry;
        if (!service) {
            continue;
        }
        if (service->IsRemovalRequested()) {
            if (auto* successor = ObjectCast<Service>(service->GetSuccessor())) {
                AddListener(successor);
            }
            service->SetSuccessor(nullptr);
            RemoveListener(service.Get());
        } else if (service->IsActive()) {
            if (!service->IsStarted()) {
                service->OnStart();
                service->SetStarted(true);
            }
            service->Update(elapsedMs);
        }
    }
    if (--dispatchDepth_ == 0) {
        services_.remove(Ref<Service>());
    }
}

int TimerListenerList::Count() const {
    int count = 0;
    for (const Ref<Service>& entry : services_) {
        count += entry ? 1 : 0;
    }
    return count;
}
