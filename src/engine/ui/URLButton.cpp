#include "engine/ui/URLButton.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/media/Image.h"
#include "platform/Shell.h"

namespace {

const ClassRegistration registration("URLButton", CreateFromProperty<URLButton>);

}  // namespace

URLButton::URLButton(Property* definition) : Button(definition) {
    url_ = Property::AsString(Property::Child(definition, "url"));
    Property* file = Property::Child(definition, "file");
    if (file == nullptr) {
        return;
    }
    const Ref<Image> picture = Image::ConstructFromFile(Property::AsString(file), "");
    picture->Load();
    if (Surface* surface = ObjectCast<Surface>(picture->GetData())) {
        SetImage(surface);
    } else {
        ENGINE_LOG(1, "URLButton: cannot load \"%s\"", Property::AsString(file).c_str());
    }
}

int32_t URLButton::Invoke(GameNode* sender) {
    platform::OpenUrl(url_);
    return Button::Invoke(sender);
}
