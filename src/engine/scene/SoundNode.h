#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/GameNode.h"

// A scene node that stands for one sound effect: it plays its sample with
// its own volume and pan, limits how many overlapping uses start the sound
// anew and how soon it may start again, counts the play time down each frame
// and can pan by its position on the screen.
class SoundNode : public GameNode {
    ENGINE_CLASS(SoundNode, GameNode)

public:
    // The GameNode keys, then "sound" with "section", "looped", "volume",
    // "panning", "screenpospanning", "panminx", "panmaxx", "panminvalue",
    // "panmaxvalue", "forcedrestart", "forcedstop", "maxusers" and
    // "minstartinterval", each read only when present.
    explicit SoundNode(Property* definition);
    // A node for the sample, at the sample's own volume.
    static SoundNode* ConstructFromSample(SoundSample* sample);
    ~SoundNode() override;

    // Counts one more use and plays the sound unless the use limit holds it
    // back (a looping sound already playing, or a start too soon after the
    // last one); the channel, or -1 while sound is off. `forcedRestart` and
    // `looped` add to the node's own flags.
    int32_t StartSound(int volume, int pan, bool forcedRestart, bool looped);
    // Ends one use; the channel stops when the last use ends or the stop is
    // forced. True when it was stopped now.
    bool StopSound(bool forcedStop);
    // Pans the channel, held within the node's pan bounds.
    void SetPan(int pan);
    // The pan for the node's place on the screen: 0 at the left edge, 255 at
    // the right, held there beyond the edges.
    int GetScreenPan() const;
    // Counts the play time down; an ended play ends a use.
    void Update(int32_t elapsedMs) override;

    SoundSample* GetSample() const { return sample_.Get(); }
    int32_t GetChannel() const { return channel_; }
    int32_t GetUsers() const { return users_; }
    bool IsLooped() const { return looped_; }
    uint8_t GetVolume() const { return volume_; }
    uint8_t GetPan() const { return pan_; }
    int64_t GetRemaining() const { return remaining_; }

private:
    SoundNode() = default;

    int64_t SampleLengthMs() const;

    Ref<SoundSample> sample_;
    int32_t channel_ = -1;
    bool looped_ = false;
    int32_t users_ = 0;
    uint8_t volume_ = 255;
    uint8_t pan_ = 128;
    bool screenPositionPanning_ = false;
    // Read from the definition; no operation uses them.
    int32_t panMinX_ = -1;
    int32_t panMaxX_ = -1;
    int32_t panMinimum_ = 0;
    int32_t panMaximum_ = 255;
    bool forcedRestart_ = false;
    bool forcedStop_ = false;
    int32_t maxUsers_ = 1;
    // 64 bits: it keeps counting down while nothing plays.
    int64_t remaining_ = 0;
    uint32_t minStartInterval_ = 200;
};
