#include "platform/Display.h"

#include <algorithm>
#include <cstring>

#include "platform/Backend.h"

namespace platform {

// What a device and its surfaces share: the present state of the display.
struct DisplayState {
    bool waitForVerticalBlank = false;
    bool lost = false;
};

namespace {

DisplayResult Present(DisplayState& state, const DisplaySurfaceDesc& desc,
                      const std::vector<uint8_t>& pixels) {
    const bool wait = state.waitForVerticalBlank;
    state.waitForVerticalBlank = false;
    if (state.lost) return DisplayResult::SurfaceLost;
    if (!ActiveBackend().Present(pixels.data(), desc.width, desc.height,
                                 desc.format.bytesPerPixel, wait)) {
        state.lost = true;
        return DisplayResult::SurfaceLost;
    }
    return DisplayResult::Ok;
}

}  // namespace

DisplayPixelFormat DisplayFormatForBytes(int bytesPerPixel) {
    DisplayPixelFormat format;
    format.bytesPerPixel = bytesPerPixel;
    if (bytesPerPixel == 2) {
        format.redMask = 0xF800;
        format.greenMask = 0x07E0;
        format.blueMask = 0x001F;
    } else {
        format.redMask = 0xFF0000;
        format.greenMask = 0x00FF00;
        format.blueMask = 0x0000FF;
    }
    return format;
}

DisplaySurface::DisplaySurface(std::shared_ptr<DisplayState> state, bool primary, int width,
                               int height, int bytesPerPixel)
    : state_(std::move(state)), primary_(primary) {
    desc_.width = width;
    desc_.height = height;
    desc_.pitch = width * bytesPerPixel;
    desc_.format = DisplayFormatForBytes(bytesPerPixel);
    if (!primary_) pixels_.assign(static_cast<size_t>(desc_.pitch) * height, 0);
}

DisplaySurface::~DisplaySurface() = default;

DisplayResult DisplaySurface::GetDesc(DisplaySurfaceDesc& desc) const {
    desc = desc_;
    return DisplayResult::Ok;
}

DisplayResult DisplaySurface::Lock(void** pixels, int* pitch) {
    if (primary_) {
        // Nothing draws on the primary surface; it gets a buffer of its own
        // only when someone locks it.
        if (pixels_.empty()) pixels_.assign(static_cast<size_t>(desc_.pitch) * desc_.height, 0);
    }
    *pixels = pixels_.data();
    if (pitch) *pitch = desc_.pitch;
    ++lockCount_;
    return DisplayResult::Ok;
}

DisplayResult DisplaySurface::Unlock() {
    if (lockCount_ == 0) return DisplayResult::Generic;
    --lockCount_;
    return DisplayResult::Ok;
}

namespace {

Rect WholeRect(const DisplaySurfaceDesc& desc) { return Rect{0, 0, desc.width, desc.height}; }

}  // namespace

DisplayResult DisplaySurface::Blt(const Rect* destination, DisplaySurface& source,
                                  const Rect* sourceRect, uint32_t /*flags*/) {
    if (source.desc_.format.bytesPerPixel != desc_.format.bytesPerPixel || source.primary_)
        return DisplayResult::Generic;
    if (primary_) return Present(*state_, source.desc_, source.pixels_);

    // A copy without scaling between off-screen surfaces, clipped to both.
    const Rect from = sourceRect ? *sourceRect : WholeRect(source.desc_);
    const Rect to = destination ? *destination : WholeRect(desc_);
    int x0 = std::max({0, from.left, 0 - (to.left - from.left)});
    int y0 = std::max({0, from.top, 0 - (to.top - from.top)});
    int x1 = std::min({source.desc_.width, from.right, desc_.width - (to.left - from.left),
                       from.left + (to.right - to.left)});
    int y1 = std::min({source.desc_.height, from.bottom, desc_.height - (to.top - from.top),
                       from.top + (to.bottom - to.top)});
    if (x1 <= x0 || y1 <= y0) return DisplayResult::Ok;
    const int bytes = desc_.format.bytesPerPixel;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* in = source.pixels_.data() + y * source.desc_.pitch + x0 * bytes;
        uint8_t* out = pixels_.data() + (y + to.top - from.top) * desc_.pitch +
                       (x0 + to.left - from.left) * bytes;
        std::memmove(out, in, static_cast<size_t>(x1 - x0) * bytes);
    }
    return DisplayResult::Ok;
}

DisplayResult DisplaySurface::Restore() {
    if (!primary_ || !state_->lost) return DisplayResult::Ok;
    if (!ActiveBackend().ResetRenderer()) return DisplayResult::Generic;
    state_->lost = false;
    return DisplayResult::Ok;
}

bool DisplaySurface::IsLost() const { return primary_ && state_->lost; }

DisplayDevice::DisplayDevice() : state_(std::make_shared<DisplayState>()) {}

DisplayResult DisplayDevice::Create(std::unique_ptr<DisplayDevice>& device) {
    device.reset(new DisplayDevice());
    return DisplayResult::Ok;
}

DisplayDevice::~DisplayDevice() = default;

DisplayResult DisplayDevice::GetDisplayMode(DisplaySurfaceDesc& desc) const {
    const DesktopMode mode = ActiveBackend().Desktop();
    desc = DisplaySurfaceDesc{};
    desc.width = mode.width;
    desc.height = mode.height;
    // A 24-bit desktop keeps its pixels in four bytes.
    const int bytes = mode.bitsPerPixel == 24 ? 4 : mode.bitsPerPixel / 8;
    desc.pitch = mode.width * bytes;
    desc.format = DisplayFormatForBytes(bytes);
    return DisplayResult::Ok;
}

DisplayResult DisplayDevice::SetCooperativeLevel(WindowHandle window, uint32_t flags) {
    window_ = window;
    cooperativeFlags_ = flags;
    return DisplayResult::Ok;
}

DisplayResult DisplayDevice::SetDisplayMode(int /*width*/, int /*height*/, int bitsPerPixel) {
    // The desktop keeps its mode; the window is scaled to it instead. Only the
    // depth of the surfaces follows the request.
    if (bitsPerPixel != 16 && bitsPerPixel != 32) return DisplayResult::Generic;
    modeBitsPerPixel_ = bitsPerPixel;
    return DisplayResult::Ok;
}

int DisplayDevice::SurfaceBytesPerPixel() const {
    if (IsFullScreen() && modeBitsPerPixel_ != 0) return modeBitsPerPixel_ / 8;
    DisplaySurfaceDesc desktop;
    GetDisplayMode(desktop);
    return desktop.format.bytesPerPixel == 2 ? 2 : 4;
}

DisplayResult DisplayDevice::CreateSurface(uint32_t caps, int width, int height,
                                           std::shared_ptr<DisplaySurface>& surface) {
    const bool primary = (caps & DDSCAPS_PRIMARYSURFACE) != 0;
    if (primary) {
        DisplaySurfaceDesc desktop;
        GetDisplayMode(desktop);
        width = desktop.width;
        height = desktop.height;
    }
    if (width <= 0 || height <= 0) return DisplayResult::Generic;
    surface.reset(new DisplaySurface(state_, primary, width, height, SurfaceBytesPerPixel()));
    return DisplayResult::Ok;
}

DisplayResult DisplayDevice::WaitForVerticalBlank() {
    state_->waitForVerticalBlank = true;
    return DisplayResult::Ok;
}

DisplayResult DisplayDevice::AttachClipper(WindowHandle window) {
    window_ = window;
    return DisplayResult::Ok;
}

}  // namespace platform
