#pragma once

#include "engine/foundation/Settings.h"

// The game's settings: the engine's six plus "highquality".
class GameSettings : public Settings {
public:
    // The defaults: windowed, warn before full screen, hardware, hints, full
    // volumes, high quality.
    GameSettings();

    void Save(Property* node) const override;
    void Load(const Property* node) override;
    // Copies high quality too when the other settings are the game's.
    void Assign(const Settings& other) override;

    virtual bool GetHighQuality() const { return highQuality_; }
    virtual void SetHighQuality(bool value) { highQuality_ = value; }

private:
    bool highQuality_ = true;
};
