#include "engine/foundation/Settings.h"

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

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
    if (const Property* value = Property::Child(node, "fullscreen")) {
        SetFullScreen(Property::AsInt(value) != 0);
    }
    if (const Property* value = Property::Child(node, "fullscreenwarning")) {
        SetFullScreenWarning(Property::AsInt(value) != 0);
    }
    if (const Property* value = Property::Child(node, "usehardware")) {
        SetUseHardware(Property::AsInt(value) != 0);
    }
    if (const Property* value = Property::Child(node, "usehints")) {
        SetUseHints(Property::AsInt(value) != 0);
    }
    if (const Property* value = Property::Child(node, "soundvolume")) {
        SetSoundVolume(Property::AsInt(value));
    }
    if (const Property* value = Property::Child(node, "musicvolume")) {
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
