#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// Keeps the last presented frame and writes screenshots of it. A present only
// copies the bytes; they become 0x00RRGGBB pixels when someone looks at them,
// which is rare. Presents come from the main thread; the watchdog may save
// the last frame from its own thread.
namespace platform {

class FrameCapture {
public:
    // Takes a tightly packed frame of RGB565 or 32-bit pixels; a screenshot
    // asked for since the last frame is written from it.
    void OnPresent(const uint8_t* pixels, int width, int height, int bytesPerPixel);

    // Off: presents are only counted, since nothing will ask for the frame on
    // show; a screenshot asked for is then taken from the next frame. On by
    // default.
    void SetKeepFrames(bool keep);

    // Saves the frame on show as <screenshot folder>/<name>.png, or the
    // first one presented when none has been yet.
    void RequestScreenshot(const std::string& name);
    // Saves the last presented frame now; false when there is none.
    bool SaveLastFrame(const std::string& name);

    uint64_t PresentedFrames() const;
    // A copy of the last frame (empty before the first present).
    std::vector<uint32_t> LastFrame(int& width, int& height) const;

private:
    bool SaveLocked(const std::string& name);
    std::vector<uint32_t> ConvertedLocked() const;
    void ForgetFrameLocked();

    mutable std::mutex mutex_;
    std::vector<uint8_t> raw_;
    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
    uint64_t presented_ = 0;
    bool keepFrames_ = true;
    std::vector<std::string> pending_;
};

// True once a screenshot of this run could not be written: the run then ends
// in failure.
bool ScreenshotWriteFailed();

// RGB565 widened to 8 bits a channel by repeating the top bits.
uint32_t Rgb565ToXrgb(uint16_t pixel);

}  // namespace platform
