#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "platform/RegistryStore.h"

namespace {

const char* const kGameKey = "Software\\Quelt\\Games\\Bench";

// A store file of `values` values under the game key, as a large settings
// file would be.
std::string StoreFile(int64_t values) {
    std::string content = "; registry store v1\n[Software\\Quelt\\Games\\Bench]\n";
    for (int64_t i = 0; i < values; ++i) {
        content += "\"value" + std::to_string(i) + "\"=dword:00000001\n";
    }
    return content;
}

// What one start-up and shutdown do with the settings: list the game key,
// read a dozen values and write a few, against a store file read afresh.
void StartUpAndShutDown(benchmark::State& state) {
    const std::filesystem::path config = std::filesystem::temp_directory_path() / "registry-bench";
    std::filesystem::create_directories(config / "Quelt");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string content = StoreFile(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        platform::WriteFileAtomically(platform::RegistryFilePath(), content.data(), content.size());
        state.ResumeTiming();
        std::vector<platform::RegistryValue> values;
        platform::RegistryListValues(kGameKey, values);
        platform::RegistryValue value;
        for (int i = 0; i < 11; ++i) {
            platform::RegistryRead(kGameKey, "value" + std::to_string(i * 97), value);
        }
        for (int i = 0; i < 7; ++i) {
            value.name = "setting" + std::to_string(i);
            value.type = platform::RegistryType::Dword;
            value.dword = static_cast<uint32_t>(i);
            platform::RegistryWrite(kGameKey, value);
        }
    }
    std::filesystem::remove_all(config);
}
BENCHMARK(StartUpAndShutDown)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
