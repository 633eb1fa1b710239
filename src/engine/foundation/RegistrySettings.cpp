#include "engine/foundation/RegistrySettings.h"

#include <algorithm>
#include <vector>

#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/RegistryValues.h"
#include "engine/foundation/SavedFile.h"
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

// What became of the store's file when it was read, when that needs saying.
void LogStoreState() {
    const platform::RegistryLoadReport report = platform::RegistryLoadState();
    const char* path = report.path.c_str();
    if (report.path.empty()) {
        ENGINE_LOG(1, "There is no per-user config folder: settings are not saved");
    } else if (report.state == platform::RegistryFileState::Unreadable) {
        ENGINE_LOG(1, "Settings file \"%s\" could not be read: it is left as it is, and settings are not saved "
                      "this run", path);
    } else if (report.state == platform::RegistryFileState::Damaged && report.writable) {
        ENGINE_LOG(1, "Settings file \"%s\" is damaged: %zu lines could not be read and are dropped; the file is "
                      "kept as \"%s\"", path, report.droppedLines, report.keptCopy.c_str());
    } else if (report.state == platform::RegistryFileState::Damaged) {
        ENGINE_LOG(1, "Settings file \"%s\" is damaged (%zu lines could not be read) and no copy of it could be "
                      "kept: it is left as it is, and settings are not saved this run", path, report.droppedLines);
    }
}

std::string WhySettingsAreNotSaved() {
    const platform::RegistryLoadReport report = platform::RegistryLoadState();
    if (report.path.empty()) {
        return "there is no folder for settings (neither XDG_CONFIG_HOME nor HOME is set)";
    }
    if (!report.writable) {
        return "the file could not be read at start-up, so it is left as it is and not saved over this run";
    }
    return "the file could not be written";
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
    LogStoreState();
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
    bool saved = true;
    for (const Ref<Property>& child : node->Items()) {
        const std::string path = keyPath_ + "\\" + child->Name();
        if (child->TypeName() == "String") {
            RegistryString stored(path, false, "");
            const std::string text = Property::AsString(child.Get());
            if (stored.Read() != text || !stored.IsPresent()) {
                stored.SetValue(text);
                saved = stored.Write() && saved;
            }
            continue;
        }
        const uint32_t number = child->TypeName() == "Boolean" ? (Property::AsBool(child.Get()) ? 1u : 0u)
                                                               : static_cast<uint32_t>(Property::AsInt(child.Get()));
        RegistryDword stored(path, false, 0);
        if (stored.Read() != number || !stored.IsPresent()) {
            stored.SetValue(number);
            saved = stored.Write() && saved;
        }
    }
    if (!saved) {
        const std::string path = platform::RegistryFilePath();
        ENGINE_LOG(1, "Settings could not be saved to \"%s\"", path.c_str());
        ReportSaveFailure("the settings", path.empty() ? "(none)" : path, WhySettingsAreNotSaved());
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
