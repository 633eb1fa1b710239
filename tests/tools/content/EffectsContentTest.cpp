#include <gtest/gtest.h>

#include <string>

#include "engine/media/BitmapFont.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Label.h"
#include "engine/ui/SpriteLabel.h"
#include "support/TempUserFolders.h"
#include "GeneratedMediaSession.h"

namespace {

// The effects' named objects, built from the shipped dialog definitions
// with the sections "default" and "gamescene" loaded.
class EffectObjects : public testing::Test {
protected:
    EffectObjects() {
        table_ = new DialogTable("media/properties/dialogs.xml");
    }

    TempUserFolders userFolders_;
    GeneratedMediaSession media_{{"default", "gamescene"}};
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
