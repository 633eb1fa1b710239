#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Resource.h"
#include "engine/media/Surface.h"

// A picture resource (PNG or JPEG), optionally with a mask picture whose red
// channel becomes its alpha, or made from a mask alone: then every pixel has
// the colour "color" and the mask's red channel as alpha.
class Image : public Resource {
    ENGINE_CLASS(Image, Resource)

public:
    // Keys "color", "usealphachannel", "nrofframes" and "mask".
    explicit Image(Property* definition);
    // An image made in code, outside any section.
    static Ref<Image> ConstructFromFile(const std::string& fileName, const std::string& maskFileName);

    void Load() override;
    // The decoded surface, or null.
    Object* GetData() override { return surface_.Get(); }
    void Unload() override;
    bool IsFile(const Resource& other) const override;
    std::string Dump() const override;

protected:
    // Decodes the picture and applies its mask; false (with the error flag
    // set and a log line) when there is no picture.
    bool LoadPicture();

    Ref<Surface> surface_;
    int32_t color_ = 0;
    bool onlyMask_ = false;
    bool useAlphaChannel_ = true;
    int32_t frameCount_ = 1;
    std::string maskFileName_;

private:
    Image(const std::string& fileName, const std::string& maskFileName);

    void ApplyMaskFile();
};
