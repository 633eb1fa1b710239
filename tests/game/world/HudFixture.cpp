#include "HudFixture.h"

#include "engine/scene/DialogTable.h"
#include "game/constants/GameConstants.h"
#include "platform/Files.h"

namespace {

constexpr const char* kDialogs =
    "<root><Sprite id=\"WHEEL\" width=\"16\" height=\"16\" framecount=\"8\" anchorpoint=\"center\"/>"
    "<Carriage id=\"CARRIAGE\"><Sprite id=\"window\" x=\"2\" y=\"-20\" width=\"10\" height=\"8\"/>"
    "<Sprite id=\"front\" width=\"6\" height=\"20\"/><Sprite id=\"door\" width=\"8\" height=\"20\"/>"
    "<GameNode id=\"passengers\" x=\"4\" y=\"-22\"/><Sprite id=\"back\"/></Carriage>"
    "<Sprite id=\"CARRIAGE_WHEEL\" width=\"8\" height=\"32\"/>"
    "<Sprite id=\"COIN\" width=\"10\" height=\"40\"/></root>";

}  // namespace

HudConstants::HudConstants() {
    Define(
        "<Integer id=\"FURNACE_WHEEL_TIME\" value=\"600\"/><Integer id=\"FURNACE_DOOR_TIME\" value=\"250\"/>"
        "<Integer id=\"FURNACE_GLOW_TIME\" value=\"1500\"/><Integer id=\"FURNACE_GLOW_ICON_DELAY\" value=\"300\"/>"
        "<Integer id=\"FURNACE_BLINK_TIME\" value=\"400\"/><Integer id=\"SUBMIT_ANIM_INIT_DELAY\" value=\"60\"/>"
        "<Integer id=\"SUBMIT_ANIM_COAL_TIME\" value=\"600\"/>"
        "<Integer id=\"MINIMAP_PASSENGER_SPACING\" value=\"14\"/><Integer id=\"CARRIAGE_EXIT_OFFSET\" value=\"10\"/>"
        "<Integer id=\"COINS_PER_PASSENGER\" value=\"2\"/>"
        "<Float id=\"SLOT_PULL_SPEED\" value=\"3000\"/><Float id=\"SLOT_PULL_RESISTANCE\" value=\"600\"/>"
        "<Vector id=\"COINS_PER_PERFORMANCE\"><Integer value=\"15\"/><Integer value=\"22\"/>"
        "<Integer value=\"30\"/></Vector>"
        "<Vector id=\"BOOST_OVERLAY\"><Integer value=\"92\"/><Integer value=\"100\"/></Vector>"
        "<Vector id=\"BOOST_GLOW\"><Node x=\"24\" y=\"30\"/><Node x=\"24\" y=\"26\"/></Vector>"
        "<Vector id=\"CARRIAGE_SETUP\">"
        "<Node x=\"-40\" y=\"0\"/><Node x=\"-40\" y=\"0\"/><Node x=\"-54\" y=\"0\"/>"
        "<Node x=\"-68\" y=\"2\" wheelfrontx=\"-58\" wheelfronty=\"-6\" wheelback1x=\"-18\" wheelback1y=\"-6\" "
        "wheelback2x=\"-6\" wheelback2y=\"-7\"/></Vector>");
    const std::string path = folder_.Path() + "/dialogs.xml";
    platform::WriteFileAtomically(path, kDialogs, std::char_traits<char>::length(kDialogs));
    DialogTable::Create(path);
    // The coin effect reads its flight from the copied game constants.
    SLOT_INIT_TIME = 100;
    SLOT_PULL_SPEED = 3000.0f;
    SLOT_PULL_RESISTANCE = 600.0f;
    SLOT_PULL_MAX_SPEED = 1200.0f;
}

HudConstants::~HudConstants() {
    SLOT_INIT_TIME = 0;
    SLOT_PULL_SPEED = SLOT_PULL_RESISTANCE = SLOT_PULL_MAX_SPEED = 0.0f;
}

RecordingScene::RecordingScene()
    : effects(new GameNode()), glow(new Sprite()), coinDisplay(new Sprite(700, 10, 40, 20)) {
    GameSceneHooks::Install(this);
    EffectsContext::Install(this);
}

RecordingScene::~RecordingScene() {
    EffectsContext::Install(nullptr);
    GameSceneHooks::Install(nullptr);
}

GameNode* RecordingScene::FindSceneNode(const std::string& name) const {
    const auto found = nodes.find(name);
    return found != nodes.end() ? found->second.Get() : nullptr;
}

int RecordingScene::Children(const GameNode& node) {
    int count = 0;
    for (const GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        ++count;
    }
    return count;
}

void RecordingScene::Run(GameNode& root, int32_t ms) {
    constexpr int32_t kFrame = 10;
    auto step = [](auto& self, GameNode& node) -> void {
        if (node.IsRemoved()) {
            return;
        }
        node.UpdateModifiers(kFrame);
        for (GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            self(self, *child);
        }
    };
    for (int32_t t = 0; t < ms; t += kFrame) {
        step(step, root);
    }
}
