#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyValue.h"

namespace {

// A profile that reads a summary value and a progress value, so that entries
// of the list become players.
class FuzzProfile : public PlayerProfile {
    ENGINE_CLASS(FuzzProfile, PlayerProfile)

public:
    explicit FuzzProfile(Property* node)
        : PlayerProfile(Property::AsString(Property::Child(node, "name"))),
          level_(Property::AsInt(Property::Child(node, "level"))) {}

    void Write(Property* node) const override {
        PlayerProfile::Write(node);
        Property::NodeOf(node).SetTypeName("FuzzProfile");
        Property::NodeOf(node).Add(PropertyValue::FromInteger("level", level_, true));
    }
    void WriteProgress(Property* node) const override {
        Property::NodeOf(node).Add(PropertyValue::FromInteger("coins", coins_, true));
    }
    void ReadProgress(const Property* node) override { coins_ = Property::AsInt(Property::Child(node, "coins")); }

private:
    int level_;
    int coins_ = 0;
};

const ClassRegistration registration("FuzzProfile", CreateFromProperty<FuzzProfile>);

}  // namespace

// Removing players of another list version writes files: keep them in a
// folder of the fuzzer's own.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char folder[] = "/tmp/playerlistfuzz.XXXXXX";
    if (mkdtemp(folder) != nullptr) {
        setenv("XDG_DATA_HOME", folder, 1);
        setenv("XDG_CONFIG_HOME", folder, 1);
        std::atexit([] { DeleteFolderTree(folder); });
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    Players& players = *Players::Create("1", false);
    players.ReadXml(Property::Child(file.Get(), "players"));
    for (const Ref<PlayerProfile>& player : players.GetPlayers()) {
        player->ReadProgress(Property::Child(file.Get(), "player"));
        players.HasName(player->GetName());
    }
    Ref<PropertyNode> written = new PropertyNode("players", "Players");
    players.WriteXml(written.Get());
    Players::Free();
    return 0;
}
