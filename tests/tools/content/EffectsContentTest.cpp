#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/BitmapFont.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Label.h"
#include "engine/ui/SpriteLabel.h"
#include "support/TempUserFolders.h"

namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;

// The effects' named objects, built from the shipped dialog definitions
// with the sections "default" and "gamescene" loaded.
class EffectObjects : public testing::Test {
protected:
    EffectObjects() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(kBuild);
        OpenMediaArchive(LoadMode::File, "");
        SectionManager::Start();
        SectionManager* manager = SectionManager::Instance();
        manager->AddDefinitionFile("media/properties/resources.xml");
        manager->LoadSections();
        manager->SetDeclared();
        for (const char* section : {"default", "gamescene"}) {
            while (manager->RequestSection(section)) {
                std::this_thread::yield();
            }
        }
        table_ = new DialogTable("media/properties/dialogs.xml");
    }
    ~EffectObjects() override {
        SectionManager::Stop();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    TempUserFolders userFolders_;
    std::filesystem::path previous_;
    Ref<DialogTable> table_;
};

TEST_F(EffectObjects, SpritesComeWithTheirFrames) {
    const struct {
        const char* id;
        int32_t frames;
        bool visible;
    } cases[] = {{"COIN", 8, true}, {"SPRITE_TRAIN_SMOKE", 6, false}, {"SPRITE_STAR", 8, true},
                 {"SPRITE_STAR_SILVER", 8, true}};
    for (const auto& c : cases) {
        const Ref<Object> built(table_->CreateObject(c.id));
        const auto* sprite = ObjectCast<Sprite>(built.Get());
        ASSERT_NE(sprite, nullptr) << c.id;
        EXPECT_NE(sprite->GetImage(), nullptr) << c.id;
        EXPECT_EQ(sprite->GetFrameCount(), c.frames) << c.id;
        EXPECT_EQ(sprite->GetAnchorKind(), Sprite::kCenter) << c.id;
        EXPECT_EQ(sprite->IsVisible(), c.visible) << c.id;
    }
    const Ref<Object> star(FindResourceData("SCORE_STAR", "default"));
    ASSERT_NE(ObjectCast<Surface>(star.Get()), nullptr);
}

TEST_F(EffectObjects, LabelsTakeTheFloaterAndSmokeFonts) {
    const Ref<Object> smokeBuilt(table_->CreateObject("FLOATER_SMOKE"));
    auto* smoke = ObjectCast<SpriteLabel>(smokeBuilt.Get());
    ASSERT_NE(smoke, nullptr);
    smoke->SetText(L"RAIL");
    smoke->BuildGlyphs();
    EXPECT_EQ(smoke->GetGlyphSprites().size(), 4u);

    const Ref<Object> scoreBuilt(table_->CreateObject("FLOATER_SCORE"));
    auto* score = ObjectCast<Label>(scoreBuilt.Get());
    ASSERT_NE(score, nullptr);
    int32_t lastHeight = 0;
    for (int letters = 3; letters <= 7; ++letters) {
        const Ref<Object> font(FindResourceData("FONT_FLOATER_" + std::to_string(letters), "gamescene"));
        ASSERT_NE(ObjectCast<BitmapFont>(font.Get()), nullptr) << letters;
        score->SetFont(ObjectCast<BitmapFont>(font.Get()));
        score->SetText(L"+" + std::to_wstring(letters * 10) + L"x2+50");
        // Longer words float up in larger figures.
        EXPECT_GT(score->GetHeight(), lastHeight) << letters;
        lastHeight = score->GetHeight();
    }
}

}  // namespace
