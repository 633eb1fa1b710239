#include "engine/foundation/RegistrySettings.h"

#include <algorithm>
#include <vector>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/RegistryValues.h"
#include "platform/RegistryStore.h"

namespace {

Ref<RegistrySettings>& GlobalStore() {
    static Ref<RegistrySettings> store;
    return store;
}

// The name of the node that carries the settings; the spelling is the one
// the stored data has always used.
constexpr const char* kNodeName = "GameSettngs";

bool FlagFromText(const Property* node, const char* key, bool current) {
    const Property* value = Property::Child(node, key);
    return value != nullptr ? Property::AsBool(value) : current;
}

}  // namespace

RegistrySettings* RegistrySettings::Create(std::unique_ptr<Settings> settings) {
    RegistrySettings* store = new RegistrySettings(std::move(settings));
    GlobalStore() = store;
    store->Load();
    return store;
}

RegistrySettings* RegistrySettings::Instance() {
    return GlobalStore().Get();
}

void RegistrySettings::Free() {
    GlobalStore().Reset();
}

RegistrySettings::RegistrySettings(std::unique_ptr<Settings> settings)
    : settings_(std::move(settings)), keyPath_(MakeGameRegistryPath()) {
    std::replace(keyPath_.begin(), keyPath_.end(), '/', '\\');
}

void RegistrySettings::Load() {
    Ref<PropertyNode> node = new PropertyNode(kNodeName, "");
    std::vector<platform::RegistryValue> values;
    platform::RegistryListValues(keyPath_, values);
    for (const platform::RegistryValue& value : values) {
        if (value.type == platform::RegistryType::String) {
            node->Add(PropertyValue::FromString(value.name, value.text, true));
        } else {
            node->Add(PropertyValue::FromInteger(value.name, static_cast<int32_t>(value.dword), true));
        }
    }
    LoadFlags(node.Get());
    if (shutdownCorrect_) {
        shutdownCorrect_ = false;
    } else {
        settings_->SetFullScreen(false);
    }
}

void RegistrySettings::Save() {
    Ref<PropertyNode> node = new PropertyNode(kNodeName, "");
    settings_->Save(node.Get());
    for (const Ref<Property>& child : node->Items()) {
        const std::string path = keyPath_ + "\\" + child->Name();
        if (child->TypeName() == "String") {
            RegistryString stored(path, false, "");
            const std::string text = Property::AsString(child.Get());
            if (stored.Read() != text || !stored.IsPresent()) {
                stored.SetValue(text);
                stored.Write();
            }
            continue;
        }
        const uint32_t number = child->TypeName() == "Boolean" ? (Property::AsBool(child.Get()) ? 1u : 0u)
                                                               : static_cast<uint32_t>(Property::AsInt(child.Get()));
        RegistryDword stored(path, false, 0);
        if (stored.Read() != number || !stored.IsPresent()) {
            stored.SetValue(number);
            stored.Write();
        }
    }
}

void RegistrySettings::SaveFlags(Property* node) const {
    settings_->Save(node);
    PropertyNode& target = Property::NodeOf(node);
    target.SetBool("dontuseregistry", dontUseRegistry_, true);
    target.SetBool("shutdowncorrect", shutdownCorrect_, true);
    target.SetBool("fatalerror", fatalError_, true);
}

void RegistrySettings::LoadFlags(const Property* node) {
    settings_->Load(node);
    dontUseRegistry_ = FlagFromText(node, "dontuseregistry", dontUseRegistry_);
    shutdownCorrect_ = FlagFromText(node, "shutdowncorrect", shutdownCorrect_);
    fatalError_ = FlagFromText(node, "fatalerror", fatalError_);
}
