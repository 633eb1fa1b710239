// Any bytes given to the PNG decoder yield a picture or null, never a crash or leak.
#include <cstddef>
#include <cstdint>

#include "engine/media/ImageDecoding.h"
#include "engine/media/MemorySurface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<MemorySurface> picture = DecodePngFromMemory(data, size, "fuzz");
    if (picture) {
        // Touch every pixel so a short buffer would show.
        volatile uint32_t sum = 0;
        for (int32_t i = 0; i < picture->GetWidth() * picture->GetHeight(); ++i) {
            sum = sum + picture->Pixels32()[i];
        }
    }
    return 0;
}
