#include "platform/MachineFacts.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace platform {
namespace {

// The highest clock any processor line of /proc/cpuinfo gives.
uint32_t ReadCpuInfoMHz() {
    std::ifstream cpuInfo("/proc/cpuinfo");
    std::string line;
    double best = 0.0;
    while (std::getline(cpuInfo, line)) {
        if (line.compare(0, 7, "cpu MHz") != 0) {
            continue;
        }
        const size_t colon = line.find(':');
        if (colon != std::string::npos) {
            const double mhz = std::strtod(line.c_str() + colon + 1, nullptr);
            best = mhz > best ? mhz : best;
        }
    }
    return best > 0.0 && best < 1e6 ? static_cast<uint32_t>(best) : 0;
}

// The highest clock in kHz the frequency driver allows, where there is one.
uint32_t ReadCpuFreqMHz() {
    std::ifstream maximum("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    uint64_t kHz = 0;
    if (maximum >> kHz) {
        return static_cast<uint32_t>(kHz / 1000);
    }
    return 0;
}

}  // namespace

std::string ComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

std::string OsName() {
    utsname system{};
    if (::uname(&system) != 0) {
        return "Unknown";
    }
    return std::string("Linux ") + system.release;
}

uint32_t CpuType() {
    utsname system{};
    if (::uname(&system) != 0) {
        return 0;
    }
    if (std::strcmp(system.machine, "x86_64") == 0) {
        return 8664;
    }
    const bool x86 = system.machine[0] == 'i' && std::strcmp(system.machine + 2, "86") == 0;
    return x86 ? 586 : 0;
}

uint32_t CpuCount() {
    const long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<uint32_t>(count) : 1;
}

uint32_t CpuSpeedMHz() {
    static const uint32_t speed = [] {
        const uint32_t fromDriver = ReadCpuFreqMHz();
        return fromDriver != 0 ? fromDriver : ReadCpuInfoMHz();
    }();
    return speed;
}

uint64_t TotalPhysicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) : 0;
}

}  // namespace platform
