#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Logger.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/Sprite.h"
#include "game/world/EffectsContext.h"

// Small pieces the one-shot effects are built from.
namespace effects {

inline constexpr const char* kGameSection = "gamescene";
inline constexpr const char* kDefaultSection = "default";

inline Ref<Surface> FindImage(const std::string& name, const std::string& section) {
    const Ref<Object> data = EffectsContext::Current().FindResource(name, section);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

// A new object of the dialog table's definition, or null (logged) when the
// table lacks it or it builds something else.
template <class T>
Ref<T> CreateNamed(const std::string& name) {
    const DialogTable* table = DialogTable::Instance();
    const Ref<Object> created(table != nullptr ? table->CreateObject(name) : nullptr);
    Ref<T> object(ObjectCast<T>(created.Get()));
    if (!object) {
        ENGINE_LOG(1, "effects: the dialog table has no \"%s\" of the expected kind", name.c_str());
    }
    return object;
}

// Sets the picture when there is one, so a missing picture keeps the size.
inline void ShowImage(Sprite& sprite, const std::string& name, const std::string& section) {
    if (const Ref<Surface> image = FindImage(name, section)) {
        sprite.SetImage(image.Get());
    }
}

}  // namespace effects
