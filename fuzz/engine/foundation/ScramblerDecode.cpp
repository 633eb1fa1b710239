// Unscrambles arbitrary bytes and checks that scrambling them again gives
// back the input and never touches a top bit.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/foundation/Scrambler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    DescrambleBuffer(bytes.data(), bytes.size());
    for (size_t i = 0; i < size; ++i) {
        if ((bytes[i] ^ data[i]) & 0x80) {
            std::abort();
        }
    }
    DescrambleBuffer(bytes.data(), bytes.size());
    if (size > 0 && std::memcmp(bytes.data(), data, size) != 0) {
        std::abort();
    }
    return 0;
}
