#include "engine/foundation/Defines.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"

namespace {

Ref<Defines>& Holder() {
    static Ref<Defines> holder;
    return holder;
}

template <typename Map>
typename Map::mapped_type Lookup(const Map& table, const std::string& name) {
    auto found = table.find(name);
    return found == table.end() ? typename Map::mapped_type{} : found->second;
}

// The held object itself, without touching its reference count.
template <typename T>
T* LookupObject(const std::unordered_map<std::string, Ref<T>>& table, const std::string& name) {
    auto found = table.find(name);
    return found == table.end() ? nullptr : found->second.Get();
}

// The type words store a constant and build no object.
template <auto store>
Object* StoreIn(Property* property) {
    if (Defines* defines = Defines::Instance()) {
        (defines->*store)(property);
    }
    return nullptr;
}

const ClassRegistration kInteger("Integer", StoreIn<&Defines::StoreInteger>);
const ClassRegistration kDouble("Double", StoreIn<&Defines::StoreDouble>);
const ClassRegistration kFloat("Float", StoreIn<&Defines::StoreFloat>);
const ClassRegistration kBoolean("Boolean", StoreIn<&Defines::StoreBoolean>);
const ClassRegistration kString("String", StoreIn<&Defines::StoreString>);
const ClassRegistration kText("Text", StoreIn<&Defines::StoreText>);
const ClassRegistration kNode("Node", StoreIn<&Defines::StoreNode>);
const ClassRegistration kVector("Vector", StoreIn<&Defines::StoreVector>);

struct GameConstantsCache {
    std::string id;
    std::string name;
};

GameConstantsCache& KeptGameConstants() {
    static GameConstantsCache cache;
    return cache;
}

// The cached copy is kept once it is not empty, even after the store is gone.
std::string CachedString(std::string& cache, const char* name) {
    if (cache.empty() && Defines::Instance() != nullptr) {
        cache = Defines::Instance()->GetString(name);
    }
    return cache;
}

}  // namespace

Defines& Defines::Create() {
    Holder() = new Defines();
    return *Holder();
}

Defines* Defines::Instance() {
    return Holder().Get();
}

void Defines::ReleaseInstance() {
    Holder().Reset();
}

void Defines::StoreInteger(const Property* property) {
    integers_[property->Name()] = Property::AsInt(property);
}

void Defines::StoreDouble(const Property* property) {
    doubles_[property->Name()] = Property::AsDouble(property);
}

void Defines::StoreFloat(const Property* property) {
    floats_[property->Name()] = Property::AsFloat(property);
}

void Defines::StoreBoolean(const Property* property) {
    booleans_[property->Name()] = Property::AsBool(property);
}

void Defines::StoreString(const Property* property) {
    strings_[property->Name()] = Property::AsString(property);
}

void Defines::StoreText(const Property* property) {
    texts_[property->Name()] = Property::AsText(property);
}

void Defines::StoreNode(Property* property) {
    nodes_[property->Name()] = &Property::NodeOf(property);
}

void Defines::StoreVector(Property* property) {
    PropertyVector* vector = &Property::DummyVector();
    if (property->GetKind() == Property::kVector) {
        vector = static_cast<PropertyVector*>(property);
    }
    vectors_[property->Name()] = vector;
}

int Defines::GetInt(const std::string& name) const {
    return Lookup(integers_, name);
}

double Defines::GetDouble(const std::string& name) const {
    return Lookup(doubles_, name);
}

float Defines::GetFloat(const std::string& name) const {
    return Lookup(floats_, name);
}

bool Defines::GetBool(const std::string& name) const {
    return Lookup(booleans_, name);
}

std::string Defines::GetString(const std::string& name) const {
    return Lookup(strings_, name);
}

std::wstring Defines::GetText(const std::string& name) const {
    return Lookup(texts_, name);
}

PropertyNode* Defines::GetNode(const std::string& name) const {
    PropertyNode* node = LookupObject(nodes_, name);
    return node != nullptr ? node : &Property::DummyNode();
}

PropertyVector* Defines::GetVector(const std::string& name) const {
    PropertyVector* vector = LookupObject(vectors_, name);
    return vector != nullptr ? vector : &Property::DummyVector();
}

std::string GetGameId() {
    return CachedString(KeptGameConstants().id, "GAME_ID");
}

std::string GetGameName() {
    return CachedString(KeptGameConstants().name, "GAME_NAME");
}

void ForgetGameConstantsForTesting() {
    KeptGameConstants() = GameConstantsCache{};
}
