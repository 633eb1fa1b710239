#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Resource.h"
#include "engine/foundation/Section.h"
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"
#include "engine/scene/Modifier.h"
#include "support/TempUserFolders.h"

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

// A picture's pixels as rows of letters: a pixel within a few steps of a
// colour in `letters` (per channel, alpha ignored) becomes its letter, every
// other pixel '.'. Blending at full weight stops one step short of the source.
inline std::vector<std::string> PictureRows(const Surface& surface,
                                            const std::vector<std::pair<uint32_t, char>>& letters) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < surface.GetHeight(); ++y) {
        std::string row;
        for (int32_t x = 0; x < surface.GetWidth(); ++x) {
            const uint32_t pixel = surface.Pixels32()[surface.PixelIndex(x, y)];
            char letter = '.';
            for (const auto& [value, name] : letters) {
                bool near = true;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int a = static_cast<int>((pixel >> shift) & 0xFF);
                    const int b = static_cast<int>((value >> shift) & 0xFF);
                    near = near && (a > b ? a - b : b - a) <= 4;
                }
                if (near) {
                    letter = name;
                }
            }
            row += letter;
        }
        rows.push_back(row);
    }
    return rows;
}

// A resource kind that hands out an object made by the test.
class HeldResource : public Resource {
    ENGINE_CLASS(HeldResource, Resource)

public:
    explicit HeldResource(Object* data) : Resource(std::string("held")), data_(data) {}
    void Load() override { SetLoaded(); }
    Object* GetData() override { return data_.Get(); }

private:
    Ref<Object> data_;
};

// A section manager running for the object's life, in temporary user folders.
class RunningSectionManager {
public:
    RunningSectionManager() { SectionManager::Start(); }
    RunningSectionManager(const RunningSectionManager&) = delete;
    RunningSectionManager& operator=(const RunningSectionManager&) = delete;
    ~RunningSectionManager() { SectionManager::Stop(); }

    // Enters the section and waits until the loader has loaded it.
    void Load(Section* section) const {
        SectionManager* manager = SectionManager::Instance();
        manager->AddSection(section);
        manager->SetDeclared();
        while (manager->RequestSection(section->Name())) {
            std::this_thread::yield();
        }
    }

private:
    TempUserFolders folders_;
};
