#include "platform/sdl/SdlAudioDevice.h"

#include <SDL.h>

namespace platform {

int SdlAudioDevice::CountDevices() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 0;
    }
    const int count = SDL_GetNumAudioDevices(0);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return count < 0 ? 1 : count;
}

std::unique_ptr<SdlAudioDevice> SdlAudioDevice::Open(int rate, Fill fill) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    std::unique_ptr<SdlAudioDevice> device(new SdlAudioDevice(std::move(fill)));
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &SdlAudioDevice::Callback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained{};
    device->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device->device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(device->device_, 0);
    return device;
}

SdlAudioDevice::~SdlAudioDevice() {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioDevice::Callback(void* self, uint8_t* stream, int length) {
    static_cast<SdlAudioDevice*>(self)->fill_(reinterpret_cast<int16_t*>(stream),
                                              static_cast<size_t>(length) / (2 * sizeof(int16_t)));
}

}  // namespace platform
