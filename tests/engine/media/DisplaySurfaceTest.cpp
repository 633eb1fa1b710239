#include <gtest/gtest.h>

#include <memory>

#include "engine/foundation/Color.h"
#include "engine/media/Canvas.h"
#include "engine/media/DDrawSurface16.h"
#include "engine/media/DDrawSurface32.h"
#include "engine/media/ImageTools.h"
#include "engine/media/SurfaceLock.h"
#include "platform/Backend.h"
#include "platform/Display.h"
#include "platform/headless/HeadlessBackend.h"

namespace {
// Display surfaces of a headless display, 32-bit or (in a 16-bit full-screen mode) 16-bit.
struct DisplayFixture : ::testing::Test {
    std::unique_ptr<platform::DisplayDevice> device;

    void SetUp() override {
        platform::SetActiveBackend(std::make_unique<platform::HeadlessBackend>());
        platform::DisplayDevice::Create(device);
    }
    void TearDown() override {
        device.reset();
        platform::SetActiveBackend(nullptr);
    }
    std::shared_ptr<platform::DisplaySurface> OffScreen(int width, int height) {
        std::shared_ptr<platform::DisplaySurface> surface;
        device->CreateSurface(platform::DDSCAPS_OFFSCREENPLAIN | platform::DDSCAPS_SYSTEMMEMORY, width, height,
                              surface);
        return surface;
    }
};
}  // namespace

TEST_F(DisplayFixture, ThirtyTwoBitSurfaceDrawsIntoTheDisplayMemory) {
    const std::shared_ptr<platform::DisplaySurface> display = OffScreen(8, 4);
    const Ref<DDrawSurface32> surface = WrapDirectDrawSurface32(display);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->GetWidth(), 8);
    EXPECT_EQ(surface->GetPitch(), 32);
    EXPECT_EQ(surface->GetPixels(), nullptr);  // only while locked
    const Ref<Canvas> canvas = surface->CreateCanvas();
    canvas->SetColor(Color(0x123456));
    canvas->FillRect(1, 1, 2, 2);
    ASSERT_TRUE(surface->Lock());
    EXPECT_EQ(surface->Pixels32()[surface->PixelIndex(2, 2)] & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(surface->Pixels32()[surface->PixelIndex(3, 2)] & 0xFFFFFF, 0u);
    EXPECT_TRUE(surface->Unlock());
    EXPECT_TRUE(surface->CreateLock(kAlpha));
    EXPECT_FALSE(WrapDirectDrawSurface32(nullptr));
}

TEST_F(DisplayFixture, SixteenBitSurfaceHasNoAlphaBuffer) {
    device->SetCooperativeLevel(0, platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE);
    device->SetDisplayMode(800, 600, 16);
    const Ref<DDrawSurface16> surface = WrapDirectDrawSurface16(OffScreen(4, 2));
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->GetPitch(), 8);
    EXPECT_EQ(surface->GetAlphaBuffer(), nullptr);
    EXPECT_FALSE(surface->CreateLock(kAlpha));
    const Ref<Canvas> canvas = surface->CreateCanvas();
    canvas->SetColor(Color(0xFFFFFF));
    canvas->FillRect(0, 0, 4, 2);
    canvas->FillChannelRect(kAlpha, 0x00);  // no alpha buffer: nothing happens
    canvas->FillChannelRect(kBlue, 0x00, 0, 0, 1, 1);
    ASSERT_TRUE(surface->Lock());
    EXPECT_EQ(surface->Pixels16()[0], 0xFFE0);
    EXPECT_EQ(surface->Pixels16()[1], 0xFFFF);
    surface->Unlock();
}
