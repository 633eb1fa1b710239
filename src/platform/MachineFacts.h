#pragma once

#include <cstdint>
#include <string>

// Facts about the machine, for the log and the usage report.
namespace platform {

// The host name; empty when it cannot be had.
std::string ComputerName();

// "Linux <kernel release>"; "Unknown" when the kernel cannot be asked.
std::string OsName();

// A processor family number: 8664 for x86-64, 586 for 32-bit x86, 0 else.
uint32_t CpuType();

uint32_t CpuCount();

// The processor clock in MHz as the system reports it, found once per
// process; 0 when it is not reported.
uint32_t CpuSpeedMHz();

// Total physical memory in bytes.
uint64_t TotalPhysicalMemory();

}  // namespace platform
