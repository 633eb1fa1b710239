#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"

// A font description from anywhere: read it, then measure and draw every
// character with a small picture onto a small target.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<PropertyFile> description(new PropertyFile);
    description->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz");
    const Ref<BitmapFont> font(new BitmapFont);
    font->ReadFormat(*description);

    std::wstring text;
    for (wchar_t c = 0; c < 0x200; ++c) {
        text.push_back(c);
    }
    font->GetTextWidth(text, 0, static_cast<int32_t>(text.size()), true);
    font->GetTextWidth(text, 3, 1000, false);

    const Ref<MemorySurface> picture = CreateMemorySurface(8, 8);
    const Ref<MemorySurface> target = CreateMemorySurface(16, 8);
    const Ref<Canvas> canvas = target->CreateCanvas();
    for (const bool onlyMask : {false, true}) {
        const Ref<BitmapFont> drawing(new BitmapFont);
        drawing->UsePicture(onlyMask, 0xFFFFFF, *picture);
        drawing->ReadFormat(*description);
        drawing->DrawText(*canvas, text, -3, 2);
    }
    return 0;
}
