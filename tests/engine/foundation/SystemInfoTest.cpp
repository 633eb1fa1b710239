#include <gtest/gtest.h>

#include <memory>

#include "engine/foundation/SystemInfo.h"
#include "platform/Backend.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

TEST(SystemInfoTest, MemoryCountsInUnitsOf1024000Bytes) {
    EXPECT_EQ(MemoryInReportUnits(2147483648ULL), 2097u);
    EXPECT_EQ(MemoryInReportUnits(1023999), 0u);
    EXPECT_GT(GetSystemMemory(), 0u);
}

TEST(SystemInfoTest, FactsAreFilled) {
    // The facts of the headless desktop, so no display is needed.
    platform::SetActiveBackend(std::make_unique<platform::HeadlessBackend>());
    const SystemInfo info;
    EXPECT_EQ(info.osName.rfind("Linux ", 0), 0u) << info.osName;
    EXPECT_EQ(info.buildNumber, 0u);
    EXPECT_GE(info.numberOfCpus, 1u);
    EXPECT_EQ(info.directXVersion, 0x900u);
    EXPECT_EQ(FormatDirectXVersion(info.directXVersion), "#0900");
    EXPECT_EQ(FormatDirectXVersion(0x0E0), "#00e0");
    const platform::DesktopMode desktop = platform::ActiveBackend().Desktop();
    EXPECT_EQ(info.screenWidth, static_cast<uint32_t>(desktop.width));
    EXPECT_EQ(info.screenHeight, static_cast<uint32_t>(desktop.height));
    EXPECT_EQ(info.bitDepth, static_cast<uint32_t>(desktop.bitsPerPixel));
    EXPECT_GT(info.screenWidth, 0u);
    platform::SetActiveBackend(nullptr);
}

}  // namespace
