#pragma once

#include <cstdint>

class Property;

// The user's settings, carried between the registry and the program through a
// property node. The game derives its own class to add its keys; every value
// goes through the virtual getters and setters so that a subclass may keep
// them elsewhere (a dialog keeps them in its controls).
class Settings {
public:
    Settings(bool fullScreen, bool fullScreenWarning, bool useHardware, bool useHints, int32_t soundVolume,
             int32_t musicVolume);
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;
    virtual ~Settings() = default;

    // Adds the four switches as "Boolean" values and the two volumes as
    // "Integer" values to the node (to nothing when it is not a node).
    virtual void Save(Property* node) const;
    // Takes every known key the node holds, read as an integer: the registry
    // hands switches over as the numbers 0 and 1. A key whose text holds no
    // number keeps its value.
    virtual void Load(const Property* node);
    virtual void Assign(const Settings& other);

    virtual bool GetFullScreen() const { return fullScreen_; }
    virtual bool GetFullScreenWarning() const { return fullScreenWarning_; }
    virtual bool GetUseHardware() const { return useHardware_; }
    virtual bool GetUseHints() const { return useHints_; }
    virtual int32_t GetSoundVolume() const { return soundVolume_; }
    virtual int32_t GetMusicVolume() const { return musicVolume_; }

    virtual void SetFullScreen(bool value) { fullScreen_ = value; }
    virtual void SetFullScreenWarning(bool value) { fullScreenWarning_ = value; }
    virtual void SetUseHardware(bool value) { useHardware_ = value; }
    virtual void SetUseHints(bool value) { useHints_ = value; }
    virtual void SetSoundVolume(int32_t value) { soundVolume_ = value; }
    virtual void SetMusicVolume(int32_t value) { musicVolume_ = value; }

private:
    bool fullScreen_;
    bool fullScreenWarning_;
    bool useHardware_;
    bool useHints_;
    int32_t soundVolume_;
    int32_t musicVolume_;
};
