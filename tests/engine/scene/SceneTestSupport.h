#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/Modifier.h"

// What the scene tests' modifiers did, in order.
struct StepLog {
    std::vector<std::string> steps;
    std::vector<std::string> destroyed;

    std::vector<std::string> Take() { return std::exchange(steps, {}); }
};

// A modifier that logs each step under its name and finishes after `steps`
// steps (never when `steps` is below 1).
class StepModifier : public Modifier {
    ENGINE_CLASS(StepModifier, Modifier)

public:
    StepModifier(std::shared_ptr<StepLog> log, std::string name, int steps, uint32_t options = 0)
        : log_(std::move(log)), steps_(steps) {
        SetName(std::move(name));
        SetOptions(options);
    }
    ~StepModifier() override { log_->destroyed.push_back(GetName()); }

    void Update(int32_t) override {
        log_->steps.push_back(GetName());
        if (++taken_ == steps_) {
            SetFinished();
        }
    }
    void SetTarget(GameNode* node) override {
        ++targetCalls_;
        Modifier::SetTarget(node);
    }

    int Taken() const { return taken_; }
    int TargetCalls() const { return targetCalls_; }

private:
    std::shared_ptr<StepLog> log_;
    int steps_;
    int taken_ = 0;
    int targetCalls_ = 0;
};

// A property tree read from XML held in memory.
inline Ref<PropertyFile> ParseDefinitions(const std::string& xml) {
    Ref<PropertyFile> file(new PropertyFile);
    file->LoadFromMemory(xml.data(), xml.size(), "test");
    return file;
}
