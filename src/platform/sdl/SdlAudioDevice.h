#pragma once

#include <memory>

#include "platform/AudioDevice.h"

namespace platform {

// The sound card as SDL offers it: 16-bit stereo at the asked rate, filled
// by a callback on SDL's audio thread. Closing waits for the callback.
class SdlAudioDevice : public AudioDevice {
public:
    // Null when SDL has no audio device to open.
    static std::unique_ptr<SdlAudioDevice> Open(int rate, Fill fill);

    // Output devices SDL reports; at least 1 when it cannot tell.
    static int CountDevices();

    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;
    ~SdlAudioDevice() override;

private:
    explicit SdlAudioDevice(Fill fill) : fill_(std::move(fill)) {}
    static void Callback(void* self, uint8_t* stream, int length);

    Fill fill_;
    uint32_t device_ = 0;
};

}  // namespace platform
