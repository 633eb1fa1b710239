#include "platform/Display.h"

#include <cstring>

#include "HeadlessFixture.h"
#include "platform/FrameCapture.h"

using namespace platform;

namespace {

class DisplayTest : public HeadlessFixture {
protected:
    void SetUp() override {
        HeadlessFixture::SetUp();
        ASSERT_EQ(DisplayDevice::Create(device_), DisplayResult::Ok);
    }
    std::shared_ptr<DisplaySurface> MakeSurface(uint32_t caps, int width, int height) {
        std::shared_ptr<DisplaySurface> surface;
        EXPECT_EQ(device_->CreateSurface(caps, width, height, surface), DisplayResult::Ok);
        return surface;
    }

    std::unique_ptr<DisplayDevice> device_;
};

TEST_F(DisplayTest, SurfacesAreTightlyPackedInTheChosenDepth) {
    for (int bits : {16, 32}) {
        device_->SetCooperativeLevel(1, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
        ASSERT_EQ(device_->SetDisplayMode(800, 600, bits), DisplayResult::Ok);
        auto back = MakeSurface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 7, 3);
        DisplaySurfaceDesc desc;
        back->GetDesc(desc);
        EXPECT_EQ(desc.width, 7);
        EXPECT_EQ(desc.height, 3);
        EXPECT_EQ(desc.pitch, 7 * bits / 8);
        EXPECT_EQ(desc.format.bytesPerPixel, bits / 8);
        EXPECT_EQ(desc.format.redMask, bits == 16 ? 0xF800u : 0xFF0000u);
        void* pixels = nullptr;
        int pitch = 0;
        EXPECT_EQ(back->Lock(&pixels, &pitch), DisplayResult::Ok);
        EXPECT_NE(pixels, nullptr);
        EXPECT_EQ(pitch, desc.pitch);
        EXPECT_EQ(back->Unlock(), DisplayResult::Ok);
        EXPECT_EQ(back->Unlock(), DisplayResult::Generic);
    }
}

TEST_F(DisplayTest, DesktopDepthDecidesWindowedSurfaces) {
    DisplaySurfaceDesc desktop;
    device_->GetDisplayMode(desktop);
    EXPECT_EQ(desktop.width, 1024);
    EXPECT_EQ(desktop.format.bytesPerPixel, 4);
    device_->SetCooperativeLevel(1, DDSCL_NORMAL);
    device_->SetDisplayMode(800, 600, 16);   // only full screen takes the mode's depth
    EXPECT_EQ(device_->SurfaceBytesPerPixel(), 4);
}

TEST_F(DisplayTest, BlitOntoThePrimaryPresentsTheFrame) {
    device_->SetCooperativeLevel(1, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    device_->SetDisplayMode(2, 1, 16);
    auto primary = MakeSurface(DDSCAPS_PRIMARYSURFACE, 0, 0);
    auto back = MakeSurface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 2, 1);
    void* pixels = nullptr;
    back->Lock(&pixels, nullptr);
    const uint16_t picture[2] = {0xF800, 0x07FF};   // red, cyan
    std::memcpy(pixels, picture, sizeof picture);
    back->Unlock();

    device_->WaitForVerticalBlank();
    EXPECT_EQ(primary->Blt(nullptr, *back, nullptr, DDBLT_WAIT), DisplayResult::Ok);
    int width = 0, height = 0;
    const std::vector<uint32_t> frame = Backend().Frames().LastFrame(width, height);
    ASSERT_EQ(width, 2);
    ASSERT_EQ(height, 1);
    EXPECT_EQ(frame[0], 0xFF0000u);
    EXPECT_EQ(frame[1], 0x00FFFFu);
    EXPECT_EQ(Backend().Frames().PresentedFrames(), 1u);
}

TEST_F(DisplayTest, LostPrimaryIsRestoredOrStaysLost) {
    auto primary = MakeSurface(DDSCAPS_PRIMARYSURFACE, 0, 0);
    auto back = MakeSurface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 4, 4);
    for (bool restoreFails : {false, true}) {
        Backend().LoseRenderer(restoreFails);
        EXPECT_EQ(primary->Blt(nullptr, *back, nullptr, 0), DisplayResult::SurfaceLost);
        EXPECT_TRUE(primary->IsLost());
        EXPECT_EQ(primary->Restore(),
                  restoreFails ? DisplayResult::Generic : DisplayResult::Ok);
        EXPECT_EQ(primary->IsLost(), restoreFails);
    }
}

TEST_F(DisplayTest, OffscreenBlitIsClippedToBothSurfaces) {
    auto from = MakeSurface(DDSCAPS_OFFSCREENPLAIN, 3, 3);
    auto to = MakeSurface(DDSCAPS_OFFSCREENPLAIN, 3, 3);
    uint32_t* in = nullptr;
    from->Lock(reinterpret_cast<void**>(&in), nullptr);
    for (uint32_t i = 0; i < 9; ++i) in[i] = i + 1;
    const Rect destination{1, 1, 4, 4};   // half outside
    EXPECT_EQ(to->Blt(&destination, *from, nullptr, 0), DisplayResult::Ok);
    uint32_t* out = nullptr;
    to->Lock(reinterpret_cast<void**>(&out), nullptr);
    const uint32_t expected[9] = {0, 0, 0, 0, 1, 2, 0, 4, 5};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(out[i], expected[i]) << i;
}

TEST(Rgb565, WidensByRepeatingTheTopBits) {
    EXPECT_EQ(Rgb565ToXrgb(0xFFFF), 0xFFFFFFu);
    EXPECT_EQ(Rgb565ToXrgb(0x0000), 0x000000u);
    EXPECT_EQ(Rgb565ToXrgb(0x8410), 0x848284u);
}

}  // namespace
