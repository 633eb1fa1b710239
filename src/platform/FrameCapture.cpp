#include "platform/FrameCapture.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "platform/PngWriter.h"
#include "platform/RunOptions.h"

namespace platform {

namespace {

std::atomic<bool> screenshotFailed{false};

}  // namespace

bool ScreenshotWriteFailed() { return screenshotFailed; }

uint32_t Rgb565ToXrgb(uint16_t pixel) {
    const uint32_t r = (pixel >> 11) & 0x1F;
    const uint32_t g = (pixel >> 5) & 0x3F;
    const uint32_t b = pixel & 0x1F;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

void FrameCapture::OnPresent(const uint8_t* pixels, int width, int height, int bytesPerPixel) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++presented_;
    if (!keepFrames_ && pending_.empty()) return;
    raw_.assign(pixels, pixels + static_cast<size_t>(width) * height * bytesPerPixel);
    width_ = width;
    height_ = height;
    bytesPerPixel_ = bytesPerPixel;
    for (const std::string& name : pending_) SaveLocked(name);
    pending_.clear();
    // A frame kept past its present would later pass for the one on show.
    if (!keepFrames_) ForgetFrameLocked();
}

void FrameCapture::ForgetFrameLocked() {
    raw_.clear();
    width_ = height_ = 0;
}

std::vector<uint32_t> FrameCapture::ConvertedLocked() const {
    if (raw_.empty()) return {};
    const size_t count = static_cast<size_t>(width_) * height_;
    std::vector<uint32_t> frame(count);
    if (bytesPerPixel_ == 2) {
        for (size_t i = 0; i < count; ++i) {
            uint16_t pixel;
            std::memcpy(&pixel, raw_.data() + i * 2, 2);
            frame[i] = Rgb565ToXrgb(pixel);
        }
    } else {
        std::memcpy(frame.data(), raw_.data(), count * 4);
        for (uint32_t& pixel : frame) pixel &= 0x00FFFFFF;
    }
    return frame;
}

void FrameCapture::SetKeepFrames(bool keep) {
    std::lock_guard<std::mutex> lock(mutex_);
    keepFrames_ = keep;
    if (!keep) ForgetFrameLocked();
}

void FrameCapture::RequestScreenshot(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (raw_.empty()) pending_.push_back(name);
    else SaveLocked(name);
}

bool FrameCapture::SaveLastFrame(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    return SaveLocked(name);
}

bool FrameCapture::SaveLocked(const std::string& name) {
    if (raw_.empty()) return false;
    const std::string path = CurrentRunOptions().screenshotFolder + "/" + name + ".png";
    if (!WritePng(path, ConvertedLocked().data(), width_, height_)) {
        std::fprintf(stderr, "screenshot %s could not be written\n", path.c_str());
        screenshotFailed = true;
        return false;
    }
    return true;
}

uint64_t FrameCapture::PresentedFrames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return presented_;
}

std::vector<uint32_t> FrameCapture::LastFrame(int& width, int& height) const {
    std::lock_guard<std::mutex> lock(mutex_);
    width = width_;
    height = height_;
    return ConvertedLocked();
}

}  // namespace platform
