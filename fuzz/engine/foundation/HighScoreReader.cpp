#include <cstddef>
#include <cstdint>

#include "engine/foundation/HighScoreTables.h"
#include "engine/foundation/PropertyFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    HighScoreTables& store = *HighScoreTables::Create(false, "1.0");
    store.ReadXml(Property::Child(file.Get(), "highscoretables"));
    for (const auto& [name, table] : store.GetTables()) {
        table->Insert(new HighScoreEntry("fuzz", 1000));
        Ref<PropertyNode> written = new PropertyNode(name, "ScoreTable");
        table->Write(written.Get());
    }
    HighScoreTables::Free();
    return 0;
}
