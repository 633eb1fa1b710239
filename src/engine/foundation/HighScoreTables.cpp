#include "engine/foundation/HighScoreTables.h"

#include <utility>

#include "engine/foundation/Folders.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/SavedFile.h"

namespace {

Ref<HighScoreTables>& GlobalStore() {
    static Ref<HighScoreTables> store;
    return store;
}

constexpr const char* kRootName = "highscoretables";

}  // namespace

HighScoreTables* HighScoreTables::Create(bool scrambledFile, const std::string& version) {
    HighScoreTables* store = new HighScoreTables(scrambledFile, version);
    GlobalStore() = store;
    return store;
}

HighScoreTables* HighScoreTables::Instance() {
    return GlobalStore().Get();
}

void HighScoreTables::Free() {
    GlobalStore().Reset();
}

HighScoreTables::HighScoreTables(bool scrambledFile, std::string version)
    : version_(std::move(version)), scrambledFile_(scrambledFile) {}

std::string HighScoreTables::FilePath() {
    return GetGameDataFolder() + "/players/scores.xml";
}

void HighScoreTables::Load() {
    Ref<PropertyFile> file = new PropertyFile();
    file->SetLoadMode(FileMode());
    const SavedFileStatus status = LoadSavedFile(*file, FilePath(), kRootName);
    fileUnreadable_ = status == SavedFileStatus::kUnreadable;
    if (status == SavedFileStatus::kLoaded) {
        ReadXml(Property::Child(file.Get(), kRootName));
    }
}

void HighScoreTables::ReadXml(const Property* node) {
    const Property* version = Property::Child(node, "version");
    version_ = version != nullptr ? Property::AsString(version) : "0.0";
    const Property* items = Property::Child(node, "scoretables");
    if (items == nullptr || items->GetKind() != Property::kVector) {
        return;
    }
    for (const Ref<Property>& item : static_cast<const PropertyVector*>(items)->Items()) {
        Ref<ScoreTable> table = new ScoreTable(item.Get());
        if (!keepLastScores_) {
            table->SetLastScore(-1);
        }
        tables_[item->Name()] = table;
    }
}

void HighScoreTables::Save() const {
    if (fileUnreadable_) {
        ENGINE_LOG(2, "High scores are not saved: their file could not be read at start-up");
        ReportKeptUnreadable("the score tables", FilePath(), FileMode());
        return;
    }
    MakeDirectoryChain(GetGameDataFolder() + "/players");
    Ref<PropertyFile> file = new PropertyFile();
    file->SetLoadMode(FileMode());
    file->SetOutputFileName(FilePath());
    Ref<PropertyNode> root = new PropertyNode(kRootName, "HighScoreTables");
    root->Add(PropertyValue::FromString("version", version_, true));
    Ref<PropertyVector> items = new PropertyVector("scoretables");
    for (const auto& [name, table] : tables_) {
        Ref<PropertyNode> item = new PropertyNode(name, "ScoreTable");
        table->Write(item.Get());
        items->Add(item.Get());
    }
    root->Add(items.Get());
    file->Add(root.Get());
    SaveSavedFile(*file, "the score tables");
}
