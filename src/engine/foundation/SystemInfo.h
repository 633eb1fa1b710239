#pragma once

#include <cstdint>
#include <string>

// The machine facts the log's first line and the usage report describe,
// gathered when the record is made. Cheap to make: nothing here waits.
struct SystemInfo {
    SystemInfo();

    std::string computerName;
    std::string osName;
    uint32_t buildNumber = 0;
    uint32_t cpuType = 0;
    uint32_t cpuSpeed = 0;  // MHz
    uint32_t numberOfCpus = 0;
    uint32_t directXVersion = 0;
    uint32_t bitDepth = 0;  // of the desktop
    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
};

// Total physical memory in units of 1,024,000 bytes, as the reports count it.
uint32_t GetSystemMemory();
uint32_t MemoryInReportUnits(uint64_t bytes);

// The processor clock in MHz.
uint32_t MeasureCpuSpeed();

// The operating system's name; `buildNumber` receives its build number.
std::string GetOsName(uint32_t& buildNumber);

// The graphics capability code the reports carry; never 0.
uint32_t GetDirectXVersion();

// The code as the reports write it, "#0900".
std::string FormatDirectXVersion(uint32_t code);
