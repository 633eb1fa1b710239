#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/media/SoundManager.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/SceneTestSupport.h"
#include "platform/SoundMixer.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

// The controls' resources in a loaded section "ui", sounds on the silent
// output:
// - "STRIP": four 4 x 4 frames stacked; in frame 0 column x has alpha
//   {0, 1, 128, 255}[x];
// - "MASK": 4 x 4, low byte 0x80 in columns 0 and 1, 0x81 in columns 2 and 3;
// - "EIGHT": eight opaque 4 x 4 frames;
// - "KNOB": four 2 x 2 frames, opaque;
// - the sounds "CLICK", "DISABLED", "OVER", "ON" and "OFF".
class UiTest : public testing::Test {
protected:
    static constexpr uint32_t kAlphas[4] = {0x00, 0x01, 0x80, 0xFF};

    UiTest() {
        auto* section = new Section("ui", false);
        section->AddResource("STRIP", new HeldResource(Strip().Get()));
        section->AddResource("MASK", new HeldResource(Mask().Get()));
        section->AddResource("EIGHT", new HeldResource(FilledSurface(4, 32, 0xFF808080).Get()));
        section->AddResource("KNOB", new HeldResource(FilledSurface(2, 8, 0xFF405060).Get()));
        for (const char* name : {"CLICK", "DISABLED", "OVER", "ON", "OFF"}) {
            const std::string path = folder_.Path() + "/" + name + ".wav";
            WriteBytes(path, MakeWav(1, 22050, 16, ConstantSamples(220, 1, 1000)));
            Ref<SoundSample> sample(new SoundSample);
            sample->LoadSample(path, SoundSample::kModeFlags, LoadMode::File);
            sampleNames_[sample->Handle()] = name;
            section->AddResource(name, new HeldResource(sample.Get()));
        }
        sections_.Load(section);
        platform::SoundMixer::Instance().TakeJournal();
    }

    static Ref<MemorySurface> Strip() {
        Ref<MemorySurface> strip = FilledSurface(4, 16, 0xFF808080);
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                strip->Pixels32()[strip->PixelIndex(x, y)] = (kAlphas[x] << 24) | 0x808080u;
            }
        }
        return strip;
    }

    static Ref<MemorySurface> Mask() {
        Ref<MemorySurface> mask = FilledSurface(4, 4, 0xFFFFFF80);
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 2; x < 4; ++x) {
                mask->Pixels32()[mask->PixelIndex(x, y)] = 0xFFFFFF81;
            }
        }
        return mask;
    }

    // The names of the sounds played since the last call, in order.
    std::vector<std::string> Played() {
        std::vector<std::string> played;
        for (const std::string& line : platform::SoundMixer::Instance().TakeJournal()) {
            if (line.rfind("PlaySound sample=", 0) == 0) {
                played.push_back(sampleNames_[static_cast<uint32_t>(std::stoul(line.substr(17)))]);
            }
        }
        return played;
    }

    // Builds the object of the element with id "it" in `xml` (the body of a
    // root element) by its class name.
    template <typename T>
    Ref<T> Build(const std::string& xml) {
        file_ = ParseDefinitions("<root>" + xml + "</root>");
        const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file_.Get(), "it")));
        return Ref<T>(ObjectCast<T>(built.Get()));
    }

    // The sound manager outlives the section manager, whose samples it frees.
    struct SilentSound {
        SilentSound() { SoundManager::Create(44100, 0, 32, platform::AudioOutput::Null); }
        ~SilentSound() { SoundManager::Shutdown(); }
    };

    SilentSound sound_;
    TempFolder folder_;
    RunningSectionManager sections_;
    std::map<uint32_t, std::string> sampleNames_;
    Ref<PropertyFile> file_;
};

// Counts a control's handler calls and remembers the last sender.
struct HandlerLog {
    int calls = 0;
    GameNode* sender = nullptr;

    static int32_t Record(void* context, GameNode* sender) {
        auto* log = static_cast<HandlerLog*>(context);
        ++log->calls;
        log->sender = sender;
        return 0;
    }
};
