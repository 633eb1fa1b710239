#include "platform/sdl/SdlAudioDevice.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/StderrCapture.h"

namespace platform {

namespace {

// What the sound libraries said while SDL looked for an output: passed on
// when one opened; on a machine without one, the many lines of their
// failed attempts give way to one of ours.
void EndLibraryOutput(StderrCapture& capture, bool opened) {
    const std::string error = SDL_GetError();
    if (!opened) {
        // The libraries' last words come as the subsystem closes.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    const std::string said = capture.Finish();
    if (opened) {
        std::fputs(said.c_str(), stderr);
    } else {
        std::fprintf(stderr, "no sound output (%s): the game plays silent\n", error.c_str());
    }
}

}  // namespace

int SdlAudioDevice::CountDevices() {
    StderrCapture capture;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        // Opening the device fails the same way and says so.
        return 0;
    }
    const int count = SDL_GetNumAudioDevices(0);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::fputs(capture.Finish().c_str(), stderr);
    return count < 0 ? 1 : count;
}

std::unique_ptr<SdlAudioDevice> SdlAudioDevice::Open(int rate, Fill fill) {
    StderrCapture capture;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        EndLibraryOutput(capture, false);
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
        EndLibraryOutput(capture, false);
        return nullptr;
    }
    EndLibraryOutput(capture, true);
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
