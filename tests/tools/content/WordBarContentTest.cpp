#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/DeletePass.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/UpdatePass.h"
#include "game/constants/GameConstants.h"
#include "game/words/WordBarClassic.h"
#include "game/words/WordBarSlots.h"
#include "game/words/WordSprite.h"
#include "platform/PngWriter.h"
#include "support/TempUserFolders.h"
#include "GeneratedMediaSession.h"

namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr uint32_t kBackdrop = 0x3A6E2E;  // a green no coal or letter uses

// A game screen without effects: coals are drawn inside the lower band.
class PlainScene : public WordBarScene {
public:
    int GameType() const override { return gameType; }
    Rect CoalArea() const override { return {0, 380, 800, 220}; }
    GameNode* EffectLayer() const override { return nullptr; }
    const WordList* Words() const override { return nullptr; }
    WordQueue* Queue() const override { return nullptr; }
    void SetWrongCharTime(int32_t) override {}
    void ShowTimer(Modifier*, int32_t) override {}
    void SpawnBonusSpark(GameNode*, int32_t, int32_t, int32_t) override {}
    void SpawnCoalSparks(GameNode*, int32_t, int32_t) override {}
    void SpawnCoin(Modifier*, int32_t, int32_t, int32_t, bool) override {}
    void ShowFloatingScore(GameNode*) override {}
    void ThrowCoalScoreStars(GameNode*) override {}
    void PlaySound(const std::string&, const std::string&) override {}

    int gameType = 0;
};

class WordBarContent : public testing::Test {
protected:
    WordBarContent() {
        Defines::Create();
        Ref<PropertyFile> constants(new PropertyFile(
            {"media/properties/default.xml", "media/properties/assets.xml", "media/properties/dynamic.xml"}));
        constants->Load();
        ClassFactory::Instance().CreateNamedObjects(*constants);
        XML::Init();
        LetterSprite::LoadResources();
        WordBar::SetHooks({&scene_, nullptr});
    }
    ~WordBarContent() override {
        WordBar::SetHooks({});
        LetterSprite::SharedLooks() = LetterSprite::Looks{};
        Defines::ReleaseInstance();
    }

    static void Run(GameNode& root, int32_t totalMs) {
        for (int32_t done = 0; done < totalMs; done += 20) {
            UpdatePass::StepNodeTree(root, 20);
            DeletePass::SweepNodeTree(root);
        }
    }

    TempUserFolders userFolders_;
    GeneratedMediaSession media_{{"gamescene"}};
    PlainScene scene_;
};

uint32_t Rgb(const Surface& screen, int x, int y) { return screen.Pixels32()[screen.PixelIndex(x, y)] & 0xFFFFFF; }

int Brightness(uint32_t pixel) { return static_cast<int>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)); }

// Whether a box around (x, y) holds a pixel of the cream letter face.
bool HasLetterPixel(const Surface& screen, int x, int y, int half) {
    for (int dy = -half; dy <= half; ++dy) {
        for (int dx = -half; dx <= half; ++dx) {
            const uint32_t pixel = Rgb(screen, x + dx, y + dy);
            if (((pixel >> 16) & 0xFF) > 0xC0 && ((pixel >> 8) & 0xFF) > 0xA0 && (pixel & 0xFF) > 0x70 &&
                (pixel & 0xFF) < ((pixel >> 16) & 0xFF)) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(WordBarContent, DealsARackAndTypesAWordOnTheGeneratedCoals) {
    ASSERT_NE(LetterSprite::SharedLooks().images[0].Get(), nullptr);
    ASSERT_NE(LetterSprite::SharedLooks().fonts[LetterSprite::kFontNormal].Get(), nullptr);
    const Ref<GameNode> root(new GameNode);
    const Ref<WordBarClassic> bar(new WordBarClassic);
    root->AddChild(bar.Get());
    const Ref<WordSprite> letters(new WordSprite);
    letters->SetWord("trains", false);
    bar->DealLetters(letters.Get(), 0, false);
    Run(*root, 1000);
    for (const char c : std::string("rain")) {
        bar->TypeLetter(static_cast<uint8_t>(c));
        bar->PlayLetterSound();
    }
    Run(*root, 1000);

    const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000u | kBackdrop);
    RenderPass::DrawNodeTree(*screen->CreateCanvas(), *root);
    platform::WritePng(kBuild + "/word_bar.png", screen->Pixels32(), 800, 600);

    // The word "rain" centred on x 400 at y 429, four coals 62 px apart; the
    // supply below at y 499 keeps "t" in slot 0 and "s" in slot 5.
    const int spacing = Property::AsInt(Property::At(Defines::Instance()->GetVector("WORDBAR_COAL_SPACING"), 0));
    ASSERT_GT(spacing, 0);
    const int wordY = WordBar::kBarY;
    const int supplyY = WordBar::kBarY + WORDBAR_RACK_SPACING;
    for (int i = 0; i < 4; ++i) {
        const int x = WORDBAR_CENTER_X + spacing * i - (3 * spacing) / 2;
        SCOPED_TRACE("word coal " + std::to_string(i));
        EXPECT_TRUE(HasLetterPixel(*screen, x, wordY, 6));
        // Beside the letter, the dark coal.
        EXPECT_LT(Brightness(Rgb(*screen, x - 16, wordY)), 3 * 0x70) << std::hex << Rgb(*screen, x - 16, wordY);
    }
    for (const int slot : {0, 5}) {
        const int x = WORDBAR_CENTER_X + spacing * slot - (5 * spacing) / 2;
        SCOPED_TRACE("supply slot " + std::to_string(slot));
        EXPECT_TRUE(HasLetterPixel(*screen, x, supplyY, 6));
    }
    // The supply slots the word emptied, and the space between the word's coals, show the backdrop.
    for (const int slot : {1, 2, 3, 4}) {
        const int x = WORDBAR_CENTER_X + spacing * slot - (5 * spacing) / 2;
        EXPECT_EQ(Rgb(*screen, x, supplyY), kBackdrop) << "supply slot " << slot;
    }
    EXPECT_EQ(Rgb(*screen, WORDBAR_CENTER_X, wordY - 40), kBackdrop);
}

TEST_F(WordBarContent, DrawsTheSlotMachineWithItsSlotsHintsAndAlphabet) {
    scene_.gameType = 4;
    const Ref<GameNode> root(new GameNode);
    const Ref<WordBarSlots> bar(new WordBarSlots);
    root->AddChild(bar.Get());
    const Ref<WordSprite> word(new WordSprite);
    word->SetWord("ra?n", false);
    bar->DealLetters(word.Get(), 0, false);
    Run(*root, 3000);  // the alphabet grows in coal by coal, 100 ms apart
    for (const char c : std::string("ra")) {
        bar->TypeLetter(static_cast<uint8_t>(c));
        bar->PlayLetterSound();
    }
    Run(*root, 1000);

    const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000u | kBackdrop);
    RenderPass::DrawNodeTree(*screen->CreateCanvas(), *root);
    platform::WritePng(kBuild + "/word_bar_slots.png", screen->Pixels32(), 800, 600);

    const int spacing = Property::AsInt(Property::At(Defines::Instance()->GetVector("WORDBAR_COAL_SPACING"), 0));
    const auto wordX = [spacing](int slot) { return WORDBAR_CENTER_X + spacing * slot - (5 * spacing) / 2; };
    // Typed coals in slots 0 and 1; slot 3 shows its revealed coal slot with the hint "N" on it.
    EXPECT_TRUE(HasLetterPixel(*screen, wordX(0), WordBar::kBarY, 6));
    EXPECT_TRUE(HasLetterPixel(*screen, wordX(3), WordBar::kBarY, 6));
    EXPECT_NE(Rgb(*screen, wordX(3) - 18, WordBar::kBarY), kBackdrop);
    // The left-out slot 2 shows its coal slot but no letter.
    EXPECT_NE(Rgb(*screen, wordX(2) - 18, WordBar::kBarY), kBackdrop);
    EXPECT_FALSE(HasLetterPixel(*screen, wordX(2), WordBar::kBarY, 6));
    // The alphabet: "a" first in the upper row, "z" last in the lower one, both still there.
    const int left = WORDBAR_CENTER_X - 6 * SLOTS_COAL_X_SPACING + SLOTS_COAL_X_OFFSET;
    const int right = WORDBAR_CENTER_X + 6 * SLOTS_COAL_X_SPACING + SLOTS_COAL_X_OFFSET;
    EXPECT_TRUE(HasLetterPixel(*screen, left, WordBar::kBarY + SLOTS_COAL_Y_OFFSET, 4));
    EXPECT_TRUE(HasLetterPixel(*screen, right, WordBar::kBarY + SLOTS_COAL_Y_OFFSET + SLOTS_COAL_Y_SPACING, 4));
}

}  // namespace
