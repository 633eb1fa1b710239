#include "engine/scene/SoundNode.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/GameWindow.h"
#include "engine/media/SoundAvailable.h"
#include "engine/scene/SceneResources.h"
#include "platform/SoundMixer.h"

namespace {

const ClassRegistration registration("SoundNode", CreateFromProperty<SoundNode>);

uint8_t ByteOf(int64_t value) {
    return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
}

}  // namespace

SoundNode::SoundNode(Property* definition) : GameNode(definition) {
    Property* node = &Property::NodeOf(definition);
    Property* sound = Property::Child(node, "sound");
    Property* section = Property::Child(node, "section");
    if (sound != nullptr && section != nullptr) {
        const Ref<Object> data = FindResourceData(Property::AsString(sound), Property::AsString(section));
        sample_ = ObjectCast<SoundSample>(data.Get());
        if (!sample_) {
            ENGINE_LOG(1, "SoundNode: no sound \"%s\" in section \"%s\"", Property::AsString(sound).c_str(),
                       Property::AsString(section).c_str());
        }
    }
    if (Property* looped = Property::Child(node, "looped")) {
        looped_ = Property::AsText(looped) != L"false";
    }
    if (Property* volume = Property::Child(node, "volume")) {
        volume_ = ByteOf(Property::AsInt(volume));
    }
    if (Property* panning = Property::Child(node, "panning")) {
        pan_ = ByteOf(Property::AsInt(panning));
    }
    if (Property* screen = Property::Child(node, "screenpospanning")) {
        screenPositionPanning_ = Property::AsBool(screen);
    }
    if (Property* minX = Property::Child(node, "panminx")) {
        panMinX_ = Property::AsInt(minX);
    }
    if (Property* maxX = Property::Child(node, "panmaxx")) {
        panMaxX_ = Property::AsInt(maxX);
    }
    if (Property* minimum = Property::Child(node, "panminvalue")) {
        panMinimum_ = Property::AsInt(minimum);
    }
    if (Property* maximum = Property::Child(node, "panmaxvalue")) {
        panMaximum_ = Property::AsInt(maximum);
    }
    if (Property* restart = Property::Child(node, "forcedrestart")) {
        forcedRestart_ = Property::AsBool(restart);
    }
    if (Property* stop = Property::Child(node, "forcedstop")) {
        forcedStop_ = Property::AsBool(stop);
    }
    if (Property* users = Property::Child(node, "maxusers")) {
        maxUsers_ = Property::AsInt(users);
    }
    if (Property* interval = Property::Child(node, "minstartinterval")) {
        minStartInterval_ = static_cast<uint32_t>(Property::AsInt(interval));
    }
}

SoundNode* SoundNode::ConstructFromSample(SoundSample* sample) {
    auto* node = new SoundNode;
    node->sample_ = sample;
    if (sample != nullptr) {
        node->volume_ = ByteOf(std::llround(static_cast<double>(sample->VolumeMultiplier()) * 255.0));
    }
    return node;
}

SoundNode::~SoundNode() {
    if (channel_ != -1 && IsSoundAvailable()) {
        platform::SoundMixer::Instance().StopSound(channel_);
    }
}

int64_t SoundNode::SampleLengthMs() const {
    return sample_ ? static_cast<int64_t>(sample_->GetSampleLengthMs()) : 0;
}

int32_t SoundNode::StartSound(int volume, int pan, bool forcedRestart, bool looped) {
    if (!IsSoundAvailable()) {
        return -1;
    }
    const bool forced = forcedRestart || forcedRestart_;
    const bool loop = looped || looped_;
    if (!forced && users_ >= maxUsers_) {
        const bool heldBack =
            loop || SampleLengthMs() - remaining_ < static_cast<int64_t>(minStartInterval_);
        if (heldBack) {
            ++users_;
            return channel_;
        }
    }
    channel_ = sample_ ? sample_->PlaySample(volume, pan, loop) : -1;
    looped_ = loop;
    remaining_ = SampleLengthMs();
    ++users_;
    return channel_;
}

bool SoundNode::StopSound(bool forcedStop) {
    if (!IsSoundAvailable()) {
        return false;
    }
    if (!(forcedStop || forcedStop_)) {
        if (users_ < 1) {
            return false;
        }
        if (--users_ > 0) {
            return false;
        }
    }
    users_ = 0;
    const bool stopped = platform::SoundMixer::Instance().StopSound(channel_);
    channel_ = -1;
    return stopped;
}

void SoundNode::SetPan(int pan) {
    if (!IsSoundAvailable()) {
        return;
    }
    // Bounds from data may be reversed; the maximum then wins.
    const int bounded = std::min(std::max(pan, panMinimum_), panMaximum_);
    pan_ = ByteOf(bounded);
    platform::SoundMixer::Instance().SetPan(channel_, pan_);
}

int SoundNode::GetScreenPan() const {
    const GameWindow* window = GameWindow::Instance();
    const int32_t width = window != nullptr ? window->GetWidth() : 0;
    if (width <= 0) {
        return 128;
    }
    const double pan = static_cast<double>(GetAbsoluteX()) / static_cast<double>(width) * 255.0;
    return ByteOf(std::llround(pan));
}

void SoundNode::Update(int32_t elapsedMs) {
    if (!IsSoundAvailable()) {
        return;
    }
    remaining_ -= elapsedMs;
    if (remaining_ < 1 && users_ > 0 && !looped_) {
        StopSound(false);
    }
    if (screenPositionPanning_) {
        SetPan(GetScreenPan());
    }
}
