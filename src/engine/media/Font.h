#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Image.h"

// A bitmap font resource: the font picture (with every Image key) and the
// glyph description named by "format".
class Font : public Image {
    ENGINE_CLASS(Font, Image)

public:
    // Key "format"; without it "size" and "attached" are read instead, and
    // the font cannot load.
    explicit Font(Property* definition);

    void Load() override;
    // The font, or null.
    Object* GetData() override { return font_.Get(); }
    void Unload() override;
    bool IsFile(const Resource& other) const override;
    std::string Dump() const override;

private:
    Ref<BitmapFont> font_;
    int32_t size_ = 0;
    std::string attachedFile_;
    std::string formatFile_;
};
