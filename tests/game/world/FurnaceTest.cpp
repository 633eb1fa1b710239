#include <gtest/gtest.h>

#include <algorithm>

#include "HudFixture.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierWait.h"
#include "game/words/LetterData.h"
#include "game/words/LetterSprite.h"
#include "game/world/Furnace.h"
#include "game/world/PlayerTrain.h"

namespace {

using Sounds = std::vector<std::string>;

constexpr uint32_t kIconRowColour = 0xFF00FF00;

Ref<MemorySurface> Filled(int32_t width, int32_t height, uint32_t colour) {
    Ref<MemorySurface> picture = CreateMemorySurface(width, height);
    std::fill(picture->Pixels32(), picture->Pixels32() + width * height, colour);
    return picture;
}

// Pictures that stay the same objects from one lookup to the next.
class PictureRace : public RecordingRace {
public:
    Ref<Surface> FindImage(const std::string& name, const std::string&) const override {
        const auto found = pictures.find(name);
        return found != pictures.end() ? found->second : Ref<Surface>();
    }

    std::map<std::string, Ref<Surface>> pictures;
};

Ref<Sprite> Part(int32_t y, int32_t width, int32_t height, int32_t frames) {
    Ref<Sprite> part(new Sprite(0, y, width, height));
    part->SetFrameCount(frames, false);
    return part;
}

// A furnace whose coil (the moving lid) rests at y 100 and is 60 px high,
// under a light of 100 x 40 pictures and a 3 x 7 icon grid of 10 px icons,
// each row filled with kIconRowColour plus its row number.
class FurnaceTest : public testing::Test {
protected:
    FurnaceTest() {
        for (int type = 1; type <= 7; ++type) {
            race_.pictures["FURNACE_LIGHT_" + std::to_string(type)] = Filled(100, 40, 0xFF000000U | type);
        }
        Ref<MemorySurface> icons = CreateMemorySurface(30, 70);
        for (int row = 0; row < 7; ++row) {
            std::fill(icons->Pixels32() + row * 300, icons->Pixels32() + (row + 1) * 300,
                      kIconRowColour + static_cast<uint32_t>(row));
        }
        race_.pictures["LID_ICONS"] = icons;
        race_.pictures["LID_SPECK"] = Filled(4, 4, 0xFFFFFFFF);
        scene_.nodes = {{"FURNACE_FIRE", Part(0, 40, 160, 4)},  {"FURNACE_OPEN", Part(0, 50, 250, 5)},
                        {"FURNACE_WHEEL", Part(0, 30, 180, 7)}, {"FURNACE_LIGHT", Part(0, 0, 0, 1)},
                        {"LID_LID", Part(0, 120, 10, 1)},       {"LID_SPIRAL1", Part(100, 120, 60, 1)},
                        {"LID_SPIRAL2", Part(0, 120, 60, 1)},   {"LID_NAILS", Part(0, 120, 40, 4)}};
        for (const auto& [name, node] : scene_.nodes) {
            screen_->AddChild(node.Get());
        }
        RandomGenerator::SetGlobal(new RandomGenerator(7, 11));
    }
    ~FurnaceTest() override { RandomGenerator::SetGlobal(nullptr); }

    // A new furnace; the one before leaves the screen.
    Ref<Furnace> MakeFurnace() {
        if (furnace_) {
            furnace_->SetRemoved(true);
        }
        PropertyNode definition("FURNACE", "Furnace");
        definition.Add(PropertyValue::FromInteger("firex", 30, false));
        definition.Add(PropertyValue::FromInteger("firey", 40, false));
        Ref<Furnace> furnace(new Furnace(&definition));
        screen_->AddChild(furnace.Get());
        furnace_ = furnace;
        race_.TakeSounds();
        return furnace;
    }

    // Coals of those kinds, still in flight until Land.
    std::vector<LetterSprite*> Word(std::initializer_list<int> types) {
        std::vector<LetterSprite*> word;
        for (const int type : types) {
            Ref<LetterData> letter(new LetterData());
            letter->SetType(type);
            Ref<LetterSprite> coal(new LetterSprite(letter.Get(), false));
            coal->AddModifier(new ModifierWait(1000000));
            coals_.push_back(coal);
            word.push_back(coal.Get());
        }
        return word;
    }

    static void Land(const std::vector<LetterSprite*>& word) {
        for (LetterSprite* coal : word) {
            coal->ClearModifiers();
        }
    }

    // A player train with that many turbo turns; when `usesTurn`, the word
    // it takes uses one.
    void SeatTrain(int turboTurns, bool usesTurn = false) {
        PropertyNode saved("pt", "PlayerTrain");
        saved.Add(PropertyValue::FromInteger("turbo", turboTurns + (usesTurn ? 1 : 0), false));
        train_ = new PlayerTrain(&saved);
        if (usesTurn) {
            train_->AddWord(RaceWord{"abc", 3, 1, false});
        }
        scene_.train = train_.Get();
        race_.TakeSounds();
    }

    HudConstants constants_;
    PictureRace race_;
    RecordingScene scene_;
    // The game screen: the scene's parts, then the furnace.
    Ref<GameNode> screen_ = new GameNode();
    Ref<Furnace> furnace_;
    Ref<PlayerTrain> train_;
    std::vector<Ref<LetterSprite>> coals_;
};

TEST_F(FurnaceTest, ConstructionTakesOverTheSceneParts) {
    const Ref<Furnace> furnace = MakeFurnace();
    std::vector<GameNode*> children;
    for (GameNode* child = furnace->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        children.push_back(child);
    }
    EXPECT_EQ(children, (std::vector<GameNode*>{scene_.nodes["FURNACE_FIRE"].Get(), scene_.nodes["FURNACE_OPEN"].Get(),
                                                scene_.nodes["FURNACE_WHEEL"].Get(), furnace->CoalTarget()}));
    EXPECT_EQ(furnace->GetCoil()->GetParent(), screen_.Get());
    EXPECT_EQ(scene_.nodes["LID_SPIRAL2"]->GetParent(), furnace->GetCoil());
    EXPECT_EQ(furnace->CoalTarget()->GetX(), 30);
    EXPECT_EQ(furnace->CoalTarget()->GetY(), 40);
    EXPECT_EQ(furnace->CoalTarget()->GetParent(), furnace.Get());

    Sprite* coil = furnace->GetCoil();
    EXPECT_EQ(coil->GetFirstChild(), furnace->GetIconLayer());
    EXPECT_EQ(furnace->GetIconLayer()->GetNextSibling(), furnace->GetLight());
    EXPECT_FALSE(furnace->GetIconLayer()->IsVisible());
    EXPECT_EQ(furnace->GetLight()->GetAlpha(), 0);
    EXPECT_EQ(furnace->GetLight()->GetX(), 60);
    EXPECT_FALSE(furnace->IsLightLit());
    // At rest the lid covers nothing of the coil.
    EXPECT_EQ(furnace->GetLidRestY(), 100);
    EXPECT_EQ(furnace->GetLidHeight(), 60);
    EXPECT_EQ(furnace->GetLid()->GetY(), 100);
    EXPECT_EQ(coil->GetY(), (60 + 100 + 100) / 2);
    EXPECT_EQ(coil->GetClipRect()->h, 0);
}

TEST_F(FurnaceTest, MissingPartsAreStoodInForAndTheFurnaceStillRuns) {
    scene_.nodes.clear();
    const Ref<Furnace> furnace = MakeFurnace();
    furnace->FeedWord(Word({LetterData::kDouble}));
    RecordingScene::Run(*screen_, 3000);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpen);
}

TEST_F(FurnaceTest, AWordWithoutBonusOpensAndClosesTheDoorWithItsSounds) {
    const Ref<Furnace> furnace = MakeFurnace();
    const auto word = Word({0, 0, 0});
    furnace->FeedWord(word);
    EXPECT_EQ(race_.TakeSounds(), Sounds{"SOUND_FURNACE_WHEEL_TURNS 255 128"});
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpening);

    // The wheel turns first, the door then opens.
    RecordingScene::Run(*screen_, 300);
    EXPECT_EQ(furnace->GetDoorTimer(), 300);
    EXPECT_TRUE(scene_.nodes["FURNACE_WHEEL"]->IsVisible());
    EXPECT_EQ(static_cast<Sprite&>(*scene_.nodes["FURNACE_WHEEL"]).GetCurrentFrame(), 6 * 300 / 600);
    RecordingScene::Run(*screen_, 400);
    EXPECT_EQ(race_.TakeSounds(), Sounds{"SOUND_FURNACE_OPEN 255 128"});
    EXPECT_FALSE(scene_.nodes["FURNACE_WHEEL"]->IsVisible());
    EXPECT_TRUE(scene_.nodes["FURNACE_FIRE"]->IsVisible());
    EXPECT_EQ(static_cast<Sprite&>(*scene_.nodes["FURNACE_OPEN"]).GetCurrentFrame(), (700 - 600) * 4 / 250);
    RecordingScene::Run(*screen_, 500);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpen);
    EXPECT_EQ(furnace->GetDoorTimer(), 850);

    // It stays open while coals fly.
    RecordingScene::Run(*screen_, 1000);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpen);
    EXPECT_TRUE(race_.TakeSounds().empty());

    Land(word);
    RecordingScene::Run(*screen_, 10);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kClosing);
    EXPECT_EQ(furnace->TrackedCoalCount(), 0U);
    RecordingScene::Run(*screen_, 1000);
    EXPECT_EQ(race_.TakeSounds(), (Sounds{"SOUND_FURNACE_CLOSE 255 128", "SOUND_FURNACE_WHEEL_TURNS 255 128"}));
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kClosed);
    EXPECT_EQ(furnace->GetDoorTimer(), 0);
    EXPECT_EQ(furnace->GetPendingLight(), 0);
    EXPECT_EQ(furnace->GetLightDelay(), 0);
    EXPECT_FALSE(furnace->IsLightLit());
}

TEST_F(FurnaceTest, AWordFedWhileTheDoorClosesReopensItFromItsTimer) {
    struct Case {
        int closingMs;
        int timerAtFeed;
        bool wheelSound;
    };
    for (const Case c : {Case{100, 750, false}, Case{500, 350, true}}) {
        SCOPED_TRACE(c.closingMs);
        const Ref<Furnace> furnace = MakeFurnace();
        const auto first = Word({0});
        furnace->FeedWord(first);
        RecordingScene::Run(*screen_, 900);
        Land(first);
        RecordingScene::Run(*screen_, 10);
        RecordingScene::Run(*screen_, c.closingMs);
        ASSERT_EQ(furnace->GetDoorState(), Furnace::kClosing);
        ASSERT_EQ(furnace->GetDoorTimer(), c.timerAtFeed);
        race_.TakeSounds();

        furnace->FeedWord(Word({0}));
        EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpening);
        EXPECT_EQ(furnace->GetDoorTimer(), c.timerAtFeed);
        EXPECT_EQ(race_.Count("SOUND_FURNACE_WHEEL_TURNS"), c.wheelSound ? 1 : 0);
    }
}

TEST_F(FurnaceTest, TheDoorWaitsForTheLastCoalOfEveryWordFedWhileOpen) {
    const Ref<Furnace> furnace = MakeFurnace();
    const auto first = Word({0, 0});
    furnace->FeedWord(first);
    RecordingScene::Run(*screen_, 900);
    race_.TakeSounds();
    const auto second = Word({0, 0, 0});
    furnace->FeedWord(second);
    EXPECT_TRUE(race_.TakeSounds().empty());
    EXPECT_EQ(furnace->TrackedCoalCount(), 5U);

    Land(first);
    RecordingScene::Run(*screen_, 100);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpen);
    EXPECT_EQ(furnace->TrackedCoalCount(), 3U);
    Land({second[0], second[1]});
    RecordingScene::Run(*screen_, 100);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpen);
    Land({second[2]});
    RecordingScene::Run(*screen_, 10);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kClosing);
}

// A shown coal ends its flight by leaving the scene, with an endless
// modifier still in its list; the door shuts once every such coal is gone.
TEST_F(FurnaceTest, ACoalThatLeftTheSceneHasArrived) {
    const Ref<Furnace> furnace = MakeFurnace();
    const auto word = Word({0, 0});
    for (LetterSprite* coal : word) {
        screen_->AddChild(coal);
    }
    furnace->FeedWord(word);
    RecordingScene::Run(*screen_, 900);
    ASSERT_EQ(furnace->GetDoorState(), Furnace::kOpen);
    word[0]->RemoveFromParent();
    RecordingScene::Run(*screen_, 10);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kOpen);
    word[1]->RemoveFromParent();
    RecordingScene::Run(*screen_, 10);
    EXPECT_EQ(furnace->GetDoorState(), Furnace::kClosing);
    EXPECT_TRUE(word[0]->HasModifiers());
}

TEST_F(FurnaceTest, TheLightFollowsTheLastCountingBonusCoal) {
    using T = LetterData::Type;
    struct Case {
        const char* what;
        int turboTurns;
        std::vector<int> coals;
        int light;
        int delay;
    };
    // Delay: (coals after it) x 60 + 600.
    const Case cases[] = {
        {"no bonus", 0, {T::kNormal, T::kNormal}, 0, 0},
        {"turns left hide a bonus", 2, {T::kDouble, T::kCoin}, 0, 0},
        {"a turbo coal always counts", 2, {T::kDouble, T::kTurbo, T::kNormal}, T::kTurbo, 660},
        {"first bonus without turns", 0, {T::kNormal, T::kTriple, T::kCoin}, T::kTriple, 660},
        {"a later turbo coal wins", 0, {T::kReveal, T::kNormal, T::kTurbo}, T::kTurbo, 600},
        {"two turbo coals, the later wins", 1, {T::kTurbo, T::kTurbo, T::kNormal}, T::kTurbo, 660},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeatTrain(c.turboTurns);
        const Ref<Furnace> furnace = MakeFurnace();
        std::vector<LetterSprite*> word;
        for (const int type : c.coals) {
            word.push_back(Word({type}).front());
        }
        furnace->FeedWord(word);
        EXPECT_EQ(furnace->GetPendingLight(), c.light);
        EXPECT_EQ(furnace->GetLightDelay(), c.delay);
    }
}

TEST_F(FurnaceTest, ALightChangeLightsAPrivateCopyAndRaisesTheLidForABonusGlow) {
    const Ref<Furnace> furnace = MakeFurnace();
    furnace->FeedWord(Word({LetterData::kDouble}));
    RecordingScene::Run(*screen_, 590);
    EXPECT_FALSE(furnace->IsLightLit());
    RecordingScene::Run(*screen_, 20);
    EXPECT_EQ(race_.Count("SOUND_BONUS_USED"), 1);
    EXPECT_TRUE(furnace->IsLightLit());
    EXPECT_EQ(furnace->GetCurrentLight(), LetterData::kDouble);
    Surface* shown = furnace->GetLight()->GetImage();
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, race_.pictures["FURNACE_LIGHT_2"].Get());
    EXPECT_EQ(shown->Pixels32()[0], 0xFF000002U);

    // A non-turbo bonus raises the lid to 40 % of its height for a while.
    EXPECT_FLOAT_EQ(furnace->GetLidTarget(), 100.0f - 0.4f * 60.0f);
    RecordingScene::Run(*screen_, 1000);
    EXPECT_LT(furnace->GetLidPosition(), 100.0f);
    EXPECT_EQ(furnace->GetCoil()->GetClipRect()->h, 100 - furnace->GetLid()->GetY());

    // Back at rest the light goes out once: full strength, then a fade over 1000 ms.
    RecordingScene::Run(*screen_, 3000);
    EXPECT_FLOAT_EQ(furnace->GetLidTarget(), 100.0f);
    EXPECT_FALSE(furnace->IsLightLit());
    RecordingScene::Run(*screen_, 1500);
    EXPECT_EQ(furnace->GetLight()->GetAlpha(), 0);
    EXPECT_EQ(race_.Count("SOUND_BONUS_USED"), 1);
}

TEST_F(FurnaceTest, TheLidRisesWithTheTurboTurnsAndATurboLightHasNoGlow) {
    SeatTrain(2);
    const Ref<Furnace> furnace = MakeFurnace();
    furnace->FeedWord(Word({LetterData::kTurbo}));
    // The lid waits for the turbo coal to arrive.
    RecordingScene::Run(*screen_, 300);
    EXPECT_FLOAT_EQ(furnace->GetLidTarget(), 100.0f);
    RecordingScene::Run(*screen_, 400);
    EXPECT_EQ(furnace->GetCurrentLight(), LetterData::kTurbo);
    EXPECT_FLOAT_EQ(furnace->GetLidTarget(), 100.0f - 60.0f * 2.0f / 3.0f);
    RecordingScene::Run(*screen_, 3000);
    EXPECT_NEAR(furnace->GetLidPosition(), 60.0f, 1.0f);
    EXPECT_TRUE(furnace->IsLightLit());
}

TEST_F(FurnaceTest, IconsRiseThroughTheLightInTheRowOfItsCoal) {
    const Ref<Furnace> furnace = MakeFurnace();
    furnace->FeedWord(Word({LetterData::kStop}));
    RecordingScene::Run(*screen_, 1600);
    const GameNode* inside = nullptr;
    for (GameNode* icon = furnace->GetIconLayer()->GetFirstChild(); icon != nullptr; icon = icon->GetNextSibling()) {
        if (!icon->IsRemoved() && icon->GetY() >= 0 && icon->GetY() < 25) {
            inside = icon;
        }
    }
    ASSERT_NE(inside, nullptr);
    // Inside the icon as it was painted (it has risen a pixel or two since).
    const int32_t x = inside->GetX() + 3;
    const int32_t y = inside->GetY() + 4;
    const Surface& light = *furnace->GetLight()->GetImage();
    // Row 4 (the stop coal's) of the grid, painted over the stop light's copy.
    EXPECT_EQ(light.Pixels32()[light.PixelIndex(x, y)], kIconRowColour + 4U);
    EXPECT_EQ(light.Pixels32()[light.PixelIndex(99, 39)], 0xFF000005U);
    EXPECT_EQ(race_.pictures["FURNACE_LIGHT_5"]->Pixels32()[light.PixelIndex(x, y)], 0xFF000005U);
}

TEST_F(FurnaceTest, ALightNoWiderThanAnIconOrTheSpeckMarginsStillGetsIconsAndSpecks) {
    // Light widths at and below one icon (10 px) and the speck margins (80 px).
    struct Case {
        int32_t width;
        bool iconAtLeft;
    };
    for (const Case c : {Case{10, true}, Case{6, true}, Case{80, false}}) {
        const int32_t width = c.width;
        SCOPED_TRACE(width);
        for (int type = 1; type <= 7; ++type) {
            race_.pictures["FURNACE_LIGHT_" + std::to_string(type)] = Filled(width, 40, 0xFF000000U);
        }
        const Ref<Furnace> furnace = MakeFurnace();
        furnace->FeedWord(Word({LetterData::kJoker}));
        RecordingScene::Run(*screen_, 1000);
        ASSERT_NE(furnace->GetIconLayer()->GetFirstChild(), nullptr);
        if (c.iconAtLeft) {
            EXPECT_EQ(furnace->GetIconLayer()->GetFirstChild()->GetX(), 0);
        }
        // The coil's first child is the newest speck, at the margin.
        EXPECT_EQ(furnace->GetCoil()->GetFirstChild()->GetX(), 40);
    }
}

TEST_F(FurnaceTest, LowQualityMakesNoIconsSpecksOrLidStars) {
    for (const bool highQuality : {true, false}) {
        SCOPED_TRACE(highQuality);
        scene_.highQuality = highQuality;
        scene_.effects = new GameNode();
        SeatTrain(1, true);
        const Ref<Furnace> furnace = MakeFurnace();
        furnace->FeedWord(Word({LetterData::kTurbo}));
        // 20 stars from the lid, each a glow carrying a star of the speck picture.
        ASSERT_EQ(RecordingScene::Children(*scene_.effects), highQuality ? 20 : 0);
        if (highQuality) {
            const auto* star = ObjectCast<Sprite>(scene_.effects->GetFirstChild()->GetFirstChild());
            ASSERT_NE(star, nullptr);
            EXPECT_EQ(star->GetImage(), race_.pictures["LID_SPECK"].Get());
            EXPECT_EQ(scene_.effects->GetFirstChild()->GetY(), 100);
        }
        RecordingScene::Run(*screen_, 2000);
        EXPECT_EQ(furnace->GetIconLayer()->GetFirstChild() != nullptr, highQuality);
    }
}

}  // namespace
