#include "engine/media/Font.h"

#include <cstdio>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/Property.h"

namespace {
const ClassRegistration registration("Font", CreateFromProperty<Font>);
}

Font::Font(Property* definition) : Image(definition) {
    if (const Property* format = Property::Child(definition, "format")) {
        formatFile_ = Property::AsString(format);
        return;
    }
    size_ = Property::AsInt(Property::Child(definition, "size"));
    attachedFile_ = Property::AsString(Property::Child(definition, "attached"));
}

void Font::Load() {
    if (formatFile_.empty()) {
        ENGINE_LOG(1, "font \"%s\" names no glyph description", FileName().c_str());
        SetHasError(true);
        SetLoaded();
        return;
    }
    if (LoadPicture()) {
        const Ref<BitmapFont> font(new BitmapFont);
        // The font's own load mode, or the global one when it has none.
        if (font->Load(NormalizeMediaPath(formatFile_), onlyMask_, static_cast<uint32_t>(color_), *surface_,
                       GetLoadMode())) {
            font_ = font;
        }
    }
    if (!font_) {
        SetHasError(true);
    }
    SetLoaded();
}

void Font::Unload() {
    font_.Reset();
    Image::Unload();
}

bool Font::IsFile(const Resource& other) const {
    const auto* font = ObjectCast<Font>(&other);
    return font != nullptr && font->attachedFile_ == attachedFile_ && font->formatFile_ == formatFile_ &&
           other.FileName() == FileName();
}

std::string Font::Dump() const {
    char line[1024];
    std::snprintf(line, sizeof line, "Object: %s; Font Size: %d; Attached File: %s; Format File: %s; ",
                  font_ ? "not 0" : "NULL", size_, attachedFile_.c_str(), formatFile_.c_str());
    return line + Image::Dump();
}
