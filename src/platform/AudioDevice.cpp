#include "platform/AudioDevice.h"

#include "platform/headless/NullAudioDevice.h"
#include "platform/sdl/SdlAudioDevice.h"

namespace platform {

std::unique_ptr<AudioDevice> OpenAudioDevice(AudioOutput output, int rate, AudioDevice::Fill fill) {
    switch (output) {
        case AudioOutput::Device:
            return SdlAudioDevice::Open(rate, std::move(fill));
        case AudioOutput::Null:
            return std::make_unique<NullAudioDevice>();
        case AudioOutput::Off:
            break;
    }
    return nullptr;
}

int CountAudioDevices(AudioOutput output) {
    switch (output) {
        case AudioOutput::Device:
            return SdlAudioDevice::CountDevices();
        case AudioOutput::Null:
            return 1;
        case AudioOutput::Off:
            break;
    }
    return 0;
}

}  // namespace platform
