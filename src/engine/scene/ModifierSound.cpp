#include "engine/scene/ModifierSound.h"

#include "engine/foundation/ScopedLock.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/SoundNode.h"

ModifierSound::ModifierSound(const std::string& resourceName, const std::string& sectionName, bool noWait)
    : noWait_(noWait) {
    if (SectionManager* manager = SectionManager::Instance()) {
        ScopedLock data(manager->DataLock());
        sample_ = ObjectCast<SoundSample>(manager->GetResource(resourceName, sectionName));
    }
}

ModifierSound::~ModifierSound() = default;

int64_t ModifierSound::Start() {
    constexpr int kFullVolume = 255;
    constexpr int kCentre = 128;
    if (sample_) {
        sample_->PlaySample(kFullVolume, kCentre, false);
        return sample_->GetSampleLengthMs();
    }
    if (auto* node = ObjectCast<SoundNode>(GetTarget())) {
        node->StartSound(node->GetVolume(), node->GetPan(), false, false);
        return node->GetSample() != nullptr ? node->GetSample()->GetSampleLengthMs() : 0;
    }
    return 0;
}

void ModifierSound::Update(int32_t elapsedMs) {
    if (!started_) {
        started_ = true;
        remaining_ = Start();
    }
    if (!noWait_) {
        remaining_ -= elapsedMs;
        if (remaining_ > 0) {
            return;
        }
    }
    SetFinished();
}
