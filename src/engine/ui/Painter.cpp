#include "engine/ui/Painter.h"

#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/scene/SceneResources.h"

Painter::Painter(Property* definition) {
    if (Property* section = Property::Child(definition, "section")) {
        section_ = Property::AsString(section);
        repaint_ = true;
        imagesLoaded_ = false;
    }
    if (Property* images = Property::Child(definition, "images")) {
        for (const Ref<Property>& name : Property::VectorOf(images).Items()) {
            imageNames_.push_back(Property::AsString(name.Get()));
        }
    }
}

Painter::~Painter() = default;

void Painter::LoadImages() {
    images_.assign(imageNames_.size(), Ref<Surface>());
    for (size_t i = 0; i < imageNames_.size(); ++i) {
        if (imageNames_[i].empty()) {
            continue;
        }
        const Ref<Object> data = FindResourceData(imageNames_[i], section_);
        images_[i] = ObjectCast<Surface>(data.Get());
        if (!images_[i]) {
            ENGINE_LOG(1, "Painter: no image \"%s\" in section \"%s\"", imageNames_[i].c_str(), section_.c_str());
        }
    }
    imagesLoaded_ = true;
}

void Painter::SetImageName(int32_t index, const std::string& name) {
    if (index < 0 || static_cast<size_t>(index) >= imageNames_.size()) {
        return;
    }
    imageNames_[static_cast<size_t>(index)] = name;
    imagesLoaded_ = false;
    repaint_ = true;
}

Surface* Painter::GetImage(int32_t index) {
    if (!imagesLoaded_) {
        LoadImages();
    }
    if (index < 0 || static_cast<size_t>(index) >= images_.size()) {
        return nullptr;
    }
    return images_[static_cast<size_t>(index)].Get();
}
