#include "engine/foundation/Settings.h"

#include <cwctype>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

namespace {

// The child of that name when it is a value whose text starts with a number
// (decimal, or hexadecimal after "#"), else null: a stored text that holds
// no number leaves the setting as it is instead of reading as 0.
const Property* NumberChild(const Property* node, const char* key) {
    const Property* child = Property::Child(node, key);
    if (child == nullptr || child->GetKind() != Property::kValue) {
        return nullptr;
    }
    const std::wstring& text = Property::AsText(child);
    if (!text.empty() && text[0] == L'#') {
        return text.size() > 1 && std::iswxdigit(static_cast<wint_t>(text[1])) ? child : nullptr;
    }
    size_t position = text.find_first_not_of(L" \t\r\n");
    if (position != std::wstring::npos && (text[position] == L'+' || text[position] == L'-')) {
        ++position;
    }
    return position < text.size() && text[position] >= L'0' && text[position] <= L'9' ? child : nullptr;
}

}  // namespace

Settings::Settings(bool fullScreen, bool fullScreenWarning, bool useHardware, bool useHints, int32_t soundVolume,
                   int32_t musicVolume)
    : fullScreen_(fullScreen),
      fullScreenWarning_(fullScreenWarning),
      useHardware_(useHardware),
      useHints_(useHints),
      soundVolume_(soundVolume),
      musicVolume_(musicVolume) {}

void Settings::Save(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    target.SetBool("fullscreen", GetFullScreen(), false);
    target.SetBool("fullscreenwarning", GetFullScreenWarning(), false);
    target.SetBool("usehardware", GetUseHardware(), false);
    target.SetBool("usehints", GetUseHints(), false);
    target.Add(PropertyValue::FromInteger("soundvolume", GetSoundVolume(), false));
    target.Add(PropertyValue::FromInteger("musicvolume", GetMusicVolume(), false));
}

void Settings::Load(const Property* node) {
    if (const Property* value = NumberChild(node, "fullscreen")) {
        SetFullScreen(Property::AsInt(value) != 0);
    }
    if (const Property* value = NumberChild(node, "fullscreenwarning")) {
        SetFullScreenWarning(Property::AsInt(value) != 0);
    }
    if (const Property* value = NumberChild(node, "usehardware")) {
        SetUseHardware(Property::AsInt(value) != 0);
    }
    if (const Property* value = NumberChild(node, "usehints")) {
        SetUseHints(Property::AsInt(value) != 0);
    }
    if (const Property* value = NumberChild(node, "soundvolume")) {
        SetSoundVolume(Property::AsInt(value));
    }
    if (const Property* value = NumberChild(node, "musicvolume")) {
        SetMusicVolume(Property::AsInt(value));
    }
}

void Settings::Assign(const Settings& other) {
    SetFullScreen(other.GetFullScreen());
    SetFullScreenWarning(other.GetFullScreenWarning());
    SetUseHardware(other.GetUseHardware());
    SetUseHints(other.GetUseHints());
    SetSoundVolume(other.GetSoundVolume());
    SetMusicVolume(other.GetMusicVolume());
}
