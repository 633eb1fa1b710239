#pragma once

#include <string>
#include <unordered_map>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

class Property;
class PropertyNode;
class PropertyVector;

// The named constants, in eight typed tables filled from the top-level typed
// elements of the constant files by the registered type words. One name may
// live in several tables. A missing name reads as 0, false, empty text or an
// empty shared default.
class Defines : public Object {
    ENGINE_CLASS(Defines, Object)

public:
    // Builds the store and keeps it with one reference until ReleaseInstance.
    static Defines& Create();
    // The store, or null before Create and after ReleaseInstance.
    static Defines* Instance();
    static void ReleaseInstance();

    // What the type words store: each takes a top-level property.
    void StoreInteger(const Property* property);
    void StoreDouble(const Property* property);
    void StoreFloat(const Property* property);
    void StoreBoolean(const Property* property);
    void StoreString(const Property* property);
    void StoreText(const Property* property);
    void StoreNode(Property* property);
    void StoreVector(Property* property);

    int GetInt(const std::string& name) const;
    double GetDouble(const std::string& name) const;
    float GetFloat(const std::string& name) const;
    bool GetBool(const std::string& name) const;
    std::string GetString(const std::string& name) const;
    std::wstring GetText(const std::string& name) const;
    // Never null: "DUMMY_NODE" / "DUMMY_VECTOR" when missing.
    PropertyNode* GetNode(const std::string& name) const;
    PropertyVector* GetVector(const std::string& name) const;

private:
    std::unordered_map<std::string, int> integers_;
    std::unordered_map<std::string, double> doubles_;
    std::unordered_map<std::string, float> floats_;
    std::unordered_map<std::string, bool> booleans_;
    std::unordered_map<std::string, std::string> strings_;
    std::unordered_map<std::string, std::wstring> texts_;
    std::unordered_map<std::string, Ref<PropertyNode>> nodes_;
    std::unordered_map<std::string, Ref<PropertyVector>> vectors_;
};

// The constants "GAME_ID" and "GAME_NAME". Each keeps its own copy once it
// has read a non-empty value, and answers from it after the store is gone.
std::string GetGameId();
std::string GetGameName();

// Drops the kept copies, so that a test can start from an unnamed game.
void ForgetGameConstantsForTesting();
