#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/WindowTypes.h"

// The display: a device that owns the display mode and makes surfaces, a
// primary surface standing for the window's picture and off-screen surfaces
// in system memory that the canvas draws into. Presenting is a blit of an
// off-screen surface onto the primary one.
namespace platform {

enum class DisplayResult : int32_t {
    Ok = 0,
    Generic,
    SurfaceLost,
    NoExclusiveMode,   // another program holds the display
    NoDirectDrawHw,
    OutOfVideoMemory,
    NoFlipHw,
    HwndAlreadySet,
};

// Cooperative levels.
constexpr uint32_t DDSCL_FULLSCREEN = 0x1;
constexpr uint32_t DDSCL_NORMAL = 0x8;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;

// Surface capabilities, combined as the window asks for them (0x4200, 0x0A00,
// 0x0A02, 0x0840).
constexpr uint32_t DDSCAPS_FLIP_HINT = 0x2;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;

constexpr uint32_t DDBLT_WAIT = 0x1000000;

struct DisplayPixelFormat {
    int bytesPerPixel = 0;
    uint32_t alphaMask = 0;
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
};

// 0x00RRGGBB words (the top byte is free for the canvas's alpha) or RGB565.
DisplayPixelFormat DisplayFormatForBytes(int bytesPerPixel);

struct DisplaySurfaceDesc {
    int width = 0;
    int height = 0;
    int pitch = 0;   // bytes from one row to the next
    DisplayPixelFormat format;
};

class DisplayDevice;
struct DisplayState;

class DisplaySurface {
public:
    DisplaySurface(const DisplaySurface&) = delete;
    DisplaySurface& operator=(const DisplaySurface&) = delete;
    ~DisplaySurface();

    DisplayResult GetDesc(DisplaySurfaceDesc& desc) const;

    // Surfaces are tightly packed (pitch = width x bytes) and never fail to
    // lock.
    DisplayResult Lock(void** pixels, int* pitch);
    DisplayResult Unlock();

    // On the primary surface this presents `source` in the window; between
    // off-screen surfaces it copies the clipped rectangle.
    DisplayResult Blt(const Rect* destination, DisplaySurface& source, const Rect* sourceRect,
                      uint32_t flags);

    // A lost primary surface (the renderer was reset) is made usable again.
    DisplayResult Restore();
    bool IsLost() const;
    bool IsPrimary() const { return primary_; }

private:
    friend class DisplayDevice;
    DisplaySurface(std::shared_ptr<DisplayState> state, bool primary, int width, int height,
                   int bytesPerPixel);

    std::shared_ptr<DisplayState> state_;   // shared with the device, which may go first
    bool primary_;
    DisplaySurfaceDesc desc_;
    std::vector<uint8_t> pixels_;
    int lockCount_ = 0;
};

// One display object; it stands for the window's renderer.
class DisplayDevice {
public:
    static DisplayResult Create(std::unique_ptr<DisplayDevice>& device);
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;
    ~DisplayDevice();

    // The desktop's mode; its pixel bytes are 2 or 4 (a 24-bit desktop is
    // reported as 4, since its pixels take four bytes).
    DisplayResult GetDisplayMode(DisplaySurfaceDesc& desc) const;
    DisplayResult SetCooperativeLevel(WindowHandle window, uint32_t flags);
    DisplayResult SetDisplayMode(int width, int height, int bitsPerPixel);
    DisplayResult CreateSurface(uint32_t caps, int width, int height,
                                std::shared_ptr<DisplaySurface>& surface);
    // Makes the next present wait for the vertical blank.
    DisplayResult WaitForVerticalBlank();
    // Keeps blits inside the window's client area; presents always do.
    DisplayResult AttachClipper(WindowHandle window);

    // Pixel bytes of the surfaces this device makes: the display mode's
    // depth in full screen, the desktop's otherwise.
    int SurfaceBytesPerPixel() const;
    bool IsFullScreen() const { return (cooperativeFlags_ & DDSCL_FULLSCREEN) != 0; }

private:
    DisplayDevice();

    WindowHandle window_ = 0;
    uint32_t cooperativeFlags_ = DDSCL_NORMAL;
    int modeBitsPerPixel_ = 0;
    std::shared_ptr<DisplayState> state_;
};

}  // namespace platform
