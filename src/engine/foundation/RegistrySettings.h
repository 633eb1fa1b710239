#pragma once

#include <memory>
#include <string>

#include "engine/foundation/Object.h"
#include "engine/foundation/Settings.h"

class Property;

// Keeps the one settings object: fills it from the values directly under the
// game's registry key at creation and writes it back at shutdown. Also holds
// three start-up flags.
class RegistrySettings : public Object {
    ENGINE_CLASS(RegistrySettings, Object)

public:
    // Builds the store around the settings, makes it the global one and loads
    // the stored values over the settings' defaults.
    static RegistrySettings* Create(std::unique_ptr<Settings> settings);
    // The global store, or null before Create and after Free.
    static RegistrySettings* Instance();
    // Drops the global reference, which deletes the store and its settings.
    static void Free();

    RegistrySettings(const RegistrySettings&) = delete;
    RegistrySettings& operator=(const RegistrySettings&) = delete;

    // Writes every typed setting whose stored value is missing or differs.
    virtual void Save();
    // Reads the values under the key; missing ones keep the settings' values.
    // A run that did not end correctly starts in a window.
    virtual void Load();
    virtual void SaveFlags(Property* node) const;
    virtual void LoadFlags(const Property* node);

    Settings& GetSettings() { return *settings_; }
    const Settings& GetSettings() const { return *settings_; }
    const std::string& GetKeyPath() const { return keyPath_; }

    bool DontUseRegistry() const { return dontUseRegistry_; }
    bool ShutdownCorrect() const { return shutdownCorrect_; }
    bool FatalError() const { return fatalError_; }

private:
    explicit RegistrySettings(std::unique_ptr<Settings> settings);

    std::unique_ptr<Settings> settings_;
    std::string keyPath_;
    bool dontUseRegistry_ = false;
    bool shutdownCorrect_ = true;
    bool fatalError_ = false;
};
