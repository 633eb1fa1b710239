#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// The sound output the mixer plays into. As with the display, two sides stand
// behind one interface: the sound card through SDL, and the null output of
// headless runs and tests, which never asks for frames (the mix is run by hand).
namespace platform {

// Where the mix goes: the sound card, the null output, or no output at all
// (sound set-up fails and the game runs silent).
enum class AudioOutput { Device, Null, Off };

class AudioDevice {
public:
    // Fills frameCount interleaved 16-bit stereo frames, on the device's own thread.
    using Fill = std::function<void(int16_t* frames, size_t frameCount)>;

    virtual ~AudioDevice() = default;
};

// The open output, playing at once; destroying it waits for a fill in
// progress. Null for Off, or when the sound card cannot be opened.
std::unique_ptr<AudioDevice> OpenAudioDevice(AudioOutput output, int rate, AudioDevice::Fill fill);

// Output devices of that kind: what SDL reports (at least 1 when it cannot
// tell), 1 for the null output, 0 for Off.
int CountAudioDevices(AudioOutput output);

}  // namespace platform
