#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Object.h"

class Property;

// A media file the game shows or plays, declared in a resource section and
// loaded once, usually by the loader thread. The flags are atomic because
// Load runs on the loader thread without the section data lock while other
// threads read them under it.
class Resource : public Object {
    ENGINE_CLASS(Resource, Object)

public:
    // Reads and decodes the file; always ends with SetLoaded, with the error
    // flag set when the file was missing or bad. Runs without the section
    // data lock, so it must not use the section manager's tables.
    virtual void Load() = 0;
    // The loaded object, or null (or an empty object) when nothing is loaded.
    virtual Object* GetData() = 0;
    // A kind releases its data first, then calls this.
    virtual void Unload();

    // Whether the other resource reads the same file; kinds with more than a
    // file name to compare add their own tests.
    virtual bool IsFile(const Resource& other) const { return fileName_ == other.fileName_; }
    void SetLoaded();
    void SetHasError(bool hasError) { hasError_ = hasError; }
    std::string Dump() const override;

    const std::string& FileName() const { return fileName_; }
    LoadMode GetLoadMode() const { return loadMode_; }
    bool IsLoaded() const { return loaded_; }
    bool HasError() const { return hasError_; }
    int32_t Weight() const { return weight_; }
    int32_t LoadedWeight() const { return loadedWeight_; }

protected:
    // From a resource element: "file" (a media path) and "archive" (the load
    // mode word).
    explicit Resource(Property* definition);
    // A resource made on demand, outside any section.
    explicit Resource(const std::string& fileName);

    // For a kind whose definition names its file under another key; only
    // while the resource is being made.
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }

private:
    std::string fileName_;
    std::atomic<bool> loaded_{false};
    std::atomic<bool> hasError_{false};
    int32_t weight_ = 1;
    std::atomic<int32_t> loadedWeight_{0};
    LoadMode loadMode_ = LoadMode::Default;
};
