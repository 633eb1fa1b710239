#include "engine/media/Image.h"

#include <algorithm>
#include <cstdio>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/Property.h"
#include "engine/media/Canvas.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"

namespace {

const ClassRegistration registration("Image", CreateFromProperty<Image>);

constexpr int32_t kRedChannel = 1;
constexpr int32_t kAlphaChannel = 0;

Ref<MemorySurface> ReadPicture(const std::string& fileName, LoadMode loadMode) {
    if (GetMediaArchive() == nullptr || GetGlobalLoadMode() == LoadMode::File) {
        return LoadPictureFile(fileName);
    }
    DataBuffer buffer;
    if (LoadFile(fileName, buffer, loadMode)) {
        return nullptr;
    }
    return DecodePicture(buffer.Bytes(), buffer.Count(), fileName);
}

}  // namespace

Image::Image(Property* definition) : Resource(definition) {
    if (const Property* color = Property::Child(definition, "color")) {
        color_ = Property::AsInt(color);
    }
    if (const Property* useAlpha = Property::Child(definition, "usealphachannel")) {
        useAlphaChannel_ = Property::AsBool(useAlpha);
    }
    if (const Property* frames = Property::Child(definition, "nrofframes")) {
        frameCount_ = Property::AsInt(frames);
    }
    if (const Property* mask = Property::Child(definition, "mask")) {
        maskFileName_ = Property::AsString(mask);
    }
    if (!maskFileName_.empty() && FileName().empty()) {
        SetFileName(NormalizeMediaPath(maskFileName_));
        maskFileName_.clear();
        onlyMask_ = true;
    }
}

Image::Image(const std::string& fileName, const std::string& maskFileName)
    : Resource(fileName), maskFileName_(maskFileName) {}

Ref<Image> Image::ConstructFromFile(const std::string& fileName, const std::string& maskFileName) {
    return Ref<Image>(new Image(fileName, maskFileName));
}

bool Image::LoadPicture() {
    Ref<MemorySurface> picture;
    if (!FileName().empty()) {
        picture = ReadPicture(FileName(), GetLoadMode());
    }
    if (!picture) {
        SetHasError(true);
        ENGINE_LOG(1, "image \"%s\" is missing or not a PNG or JPEG picture", FileName().c_str());
        return false;
    }
    picture->SetUseAlphaChannel(useAlphaChannel_);
    // The frame count divides the picture for sprites, so it is at least 1.
    picture->SetFrameCount(static_cast<uint32_t>(std::max(frameCount_, 1)));
    surface_ = picture.Get();
    if (onlyMask_) {
        const Ref<ChannelMap> mask = ExtractChannelMap(*surface_, kRedChannel);
        const Ref<Canvas> canvas = surface_->CreateCanvas();
        canvas->SetColor(Color(static_cast<uint32_t>(color_)));
        canvas->Clear();
        canvas->WriteChannelFromMap(*mask, kAlphaChannel, 0, 0);
    } else if (!maskFileName_.empty()) {
        ApplyMaskFile();
    }
    // Marked last: building the alpha above drew on the picture.
    surface_->SetKnownOpaque(AllPixelsOpaque(*surface_));
    surface_->SetDirty(true);
    return true;
}

void Image::ApplyMaskFile() {
    const Ref<Image> maskImage = ConstructFromFile(maskFileName_, "");
    maskImage->Load();
    if (maskImage->HasError() || HasError()) {
        return;
    }
    const Ref<ChannelMap> mask = ExtractChannelMap(*maskImage->surface_, kRedChannel);
    const Ref<Canvas> canvas = surface_->CreateCanvas();
    canvas->WriteChannelFromMap(*mask, kAlphaChannel, 0, 0);
}

void Image::Load() {
    LoadPicture();
    SetLoaded();
}

void Image::Unload() {
    surface_.Reset();
    Resource::Unload();
}

bool Image::IsFile(const Resource& other) const {
    const auto* image = ObjectCast<Image>(&other);
    return image != nullptr && image->maskFileName_ == maskFileName_ && image->color_ == color_ &&
           Resource::IsFile(other);
}

std::string Image::Dump() const {
    char line[512];
    std::snprintf(line, sizeof line, "Object: %s; Color: %d; Only Mask: %s; Mask File Name: %s; ",
                  surface_ ? "not 0" : "NULL", color_, onlyMask_ ? "true" : "false", maskFileName_.c_str());
    return line + Resource::Dump();
}
