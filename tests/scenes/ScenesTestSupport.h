#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/scene/HeadlessWindow.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/SceneTestSupport.h"
#include "engine/ui/UiTestSupport.h"

// A resource the loader cannot finish until the test opens its gate, so a
// test decides when "loading" ends.
class GatedResource : public Resource {
    ENGINE_CLASS(GatedResource, Resource)

public:
    explicit GatedResource(std::shared_ptr<std::atomic<bool>> gate) : Resource(std::string("gated")), gate_(std::move(gate)) {}
    void Load() override {
        while (!gate_->load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        SetLoaded();
    }
    Object* GetData() override { return nullptr; }

private:
    std::shared_ptr<std::atomic<bool>> gate_;
};

// Scenes on an 800 x 600 headless window, with a section "default" holding
// the tiny font as "FONT_TEXT" and the text "TEXT_LOADING" = "load".
class ScenesTest : public SceneTest {
protected:
    ScenesTest() {
        Defines::Create();
        const Ref<PropertyValue> loading(PropertyValue::FromText("TEXT_LOADING", L"load", false));
        Defines::Instance()->StoreText(loading.Get());
        auto* section = new Section("default", false);
        section->AddResource("FONT_TEXT", new HeldResource(font_.Get()));
        section->AddResource("SOUND_BUTTON", new HeldResource(SampleNamed("CLICK").Get()));
        Load(section);
    }
    ~ScenesTest() override {
        gate_->store(true);
        Defines::ReleaseInstance();
    }

    // Enters the section and waits until the loader has it.
    static void Load(Section* section) {
        SectionManager* manager = SectionManager::Instance();
        manager->AddSection(section);
        manager->SetDeclared();
        while (manager->RequestSection(section->Name())) {
            std::this_thread::yield();
        }
    }

    // Queues a section that stays unloaded until OpenGate.
    void QueueGated(const std::string& name) {
        auto* section = new Section(name, false);
        section->AddResource("GATED", new GatedResource(gate_));
        SectionManager* manager = SectionManager::Instance();
        manager->AddSection(section);
        manager->SetDeclared();
        manager->RequestSection(name);
        gatedName_ = name;
    }

    // Lets the gated section load and waits until it has.
    void OpenGate() {
        gate_->store(true);
        SectionManager* manager = SectionManager::Instance();
        while (!gatedName_.empty() && manager->GetLoadProgress() < 1.0) {
            manager->ResumeLoader();
            std::this_thread::yield();
        }
    }

    // Runs the manager's frames of `stepMs` until `done` holds or `limitMs`
    // have passed; `each` sees the time after every frame. The time taken.
    int32_t RunFrames(int32_t stepMs, int32_t limitMs, const std::function<bool()>& done,
                      const std::function<void(int32_t)>& each = nullptr) {
        int32_t now = 0;
        while (now < limitMs && !done()) {
            manager_->Update(static_cast<uint32_t>(stepMs));
            now += stepMs;
            if (each) {
                each(now);
            }
        }
        return now;
    }

    // A sound of the controls' section "ui".
    static Ref<SoundSample> SampleNamed(const std::string& name) {
        const Ref<Object> data = FindResourceData(name, "ui");
        return Ref<SoundSample>(ObjectCast<SoundSample>(data.Get()));
    }

    HeadlessWindow window_;
    Ref<BitmapFont> font_ = MakeTinyFont();
    std::shared_ptr<std::atomic<bool>> gate_ = std::make_shared<std::atomic<bool>>(false);
    std::string gatedName_;
};
