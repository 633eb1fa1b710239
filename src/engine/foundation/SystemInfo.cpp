#include "engine/foundation/SystemInfo.h"

#include <cstdio>

#include "platform/Backend.h"
#include "platform/MachineFacts.h"

SystemInfo::SystemInfo() {
    cpuType = platform::CpuType();
    numberOfCpus = platform::CpuCount();
    cpuSpeed = MeasureCpuSpeed();
    osName = GetOsName(buildNumber);
    computerName = platform::ComputerName();
    directXVersion = GetDirectXVersion();
    const platform::DesktopMode desktop = platform::ActiveBackend().Desktop();
    bitDepth = static_cast<uint32_t>(desktop.bitsPerPixel);
    screenWidth = static_cast<uint32_t>(desktop.width);
    screenHeight = static_cast<uint32_t>(desktop.height);
}

uint32_t MemoryInReportUnits(uint64_t bytes) {
    return static_cast<uint32_t>(bytes / 1024000u);
}

uint32_t GetSystemMemory() {
    return MemoryInReportUnits(platform::TotalPhysicalMemory());
}

uint32_t MeasureCpuSpeed() {
    return platform::CpuSpeedMHz();
}

std::string GetOsName(uint32_t& buildNumber) {
    // Linux has no build number in the sense the reports carry.
    buildNumber = 0;
    return platform::OsName();
}

uint32_t GetDirectXVersion() {
    // Everything the reports asked about is available through the platform
    // layer, which is what the highest code stands for.
    return 0x900;
}

std::string FormatDirectXVersion(uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "#%04x", code);
    return text;
}
