#include "EffectsFixture.h"

#include "engine/media/MemorySurface.h"
#include "engine/scene/DeletePass.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/UpdatePass.h"
#include "platform/Files.h"

namespace {

constexpr const char* kDefinitions =
    "<root>"
    "<Label id=\"FLOATER_SCORE\" width=\"60\" height=\"20\"/>"
    "<Sprite id=\"COIN\" width=\"20\" height=\"20\" framecount=\"6\"/>"
    "<SpriteLabel id=\"FLOATER_SMOKE\" font=\"TINY\" section=\"fonts\"/>"
    "<Sprite id=\"SPRITE_TRAIN_SMOKE\" width=\"12\" height=\"12\" framecount=\"5\" visible=\"false\"/>"
    "<Sprite id=\"SPRITE_STAR\" width=\"16\" height=\"16\" framecount=\"6\"/>"
    "<Sprite id=\"SPRITE_STAR_SILVER\" width=\"12\" height=\"12\" framecount=\"6\"/>"
    "</root>";

}  // namespace

EffectsFixture::EffectsFixture()
    : root(new GameNode()),
      layer(new GameNode()),
      counter(new Sprite(700, 10, 40, 30)),
      queue(new Sprite(400, 300, 300, 60)),
      tree(new AnimationTree()) {
    root->AddChild(layer.Get());
    root->AddChild(counter.Get());
    root->AddChild(queue.Get());
    layer->SetPosition(10, 20);
    const std::string path = folder_.Path() + "/dialogs.xml";
    platform::WriteFileAtomically(path, kDefinitions, std::char_traits<char>::length(kDefinitions));
    DialogTable::Create(path);
    RandomGenerator::SetGlobal(new RandomGenerator(kSeed, 0));
    Install(this);
}

EffectsFixture::~EffectsFixture() {
    Install(nullptr);
    RandomGenerator::SetGlobal(nullptr);
    DialogTable::ReleaseInstance();
}

Ref<Object> EffectsFixture::FindResource(const std::string& name, const std::string& section) const {
    const auto found = images.find(name);
    if (found == images.end()) {
        return EffectsContext::FindResource(name, section);
    }
    return Ref<Object>(new MemorySurface(found->second.first, found->second.second));
}

void EffectsFixture::Run(int32_t totalMs, int32_t frameMs) {
    UpdatePass update(root.Get(), tree.Get());
    DeletePass sweep(root.Get(), tree.Get());
    for (int32_t done = 0; done < totalMs; done += frameMs) {
        update.Update(static_cast<uint32_t>(frameMs));
        sweep.Update(static_cast<uint32_t>(frameMs));
    }
}

int EffectsFixture::CountChildren(const GameNode& node) {
    int count = 0;
    for (const GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        ++count;
    }
    return count;
}
