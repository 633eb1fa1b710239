#include <gtest/gtest.h>

#include "CoalFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "game/words/LetterSprite.h"

namespace {

constexpr uint32_t kCoal = CoalFixture::kCoalColour;
constexpr const uint32_t* kFont = CoalFixture::kFontColours;

TEST(LetterSprite, SmallBeatsRedBeatsNewBeatsNormal) {
    CoalFixture fixture;
    struct Case {
        bool small;
        bool wrong;
        bool isNew;
        LetterSprite::CoalFont font;
    } cases[] = {
        {false, false, false, LetterSprite::kFontNormal}, {false, false, true, LetterSprite::kFontNew},
        {false, true, true, LetterSprite::kFontRed},      {true, true, true, LetterSprite::kFontSmall},
        {true, false, false, LetterSprite::kFontSmall},
    };
    for (const Case& c : cases) {
        Ref<LetterSprite> coal = CoalFixture::CoalOf('A', LetterData::kNormal, c.small, c.isNew);
        coal->SetWrong(c.wrong);
        coal->UpdateImage();
        EXPECT_EQ(coal->FontKind(), c.font) << c.small << c.wrong << c.isNew;
        EXPECT_EQ(CoalFixture::CentreColour(*coal), kFont[c.font]) << c.small << c.wrong << c.isNew;
        EXPECT_EQ(coal->GetImage()->GetWidth(), c.small ? 7 : 9);
    }
}

TEST(LetterSprite, JokerPoppedAndUnprintableCoalsShowNoLetterAndLeftOutShowsNothing) {
    CoalFixture fixture;
    struct Case {
        const char* what;
        char character;
        int type;
        bool popped;
        bool leftOut;
        bool hasImage;
        uint32_t centre;
    } cases[] = {
        {"plain", 'B', LetterData::kNormal, false, false, true, kFont[LetterSprite::kFontNormal]},
        {"joker", 'B', LetterData::kJoker, false, false, true, kCoal},
        {"popped", 'B', LetterData::kTurbo, true, false, true, kCoal},
        {"left out", 'B', LetterData::kNormal, false, true, false, 0},
        // A damaged save may hold a character below the space.
        {"char 0", '\0', LetterData::kNormal, false, false, true, kCoal},
        {"char 31", '\x1f', LetterData::kNormal, false, false, true, kCoal},
    };
    for (const Case& c : cases) {
        Ref<LetterSprite> coal = CoalFixture::CoalOf(c.character, c.type);
        coal->SetPopped(c.popped);
        coal->Letter().SetLeftOut(c.leftOut);
        coal->UpdateImage();
        EXPECT_EQ(coal->GetImage() != nullptr, c.hasImage) << c.what;
        EXPECT_EQ(CoalFixture::CentreColour(*coal), c.centre) << c.what;
    }
}

TEST(LetterSprite, DrawingTheLetterLeavesTheSharedCoalPictureAlone) {
    CoalFixture fixture;
    Ref<LetterSprite> coal = CoalFixture::CoalOf('A');
    coal->UpdateImage();
    const Surface& shared = *LetterSprite::SharedLooks().images[0];
    EXPECT_EQ(shared.Pixels32()[shared.PixelIndex(4, 4)] & 0xFFFFFFu, kCoal);
    EXPECT_NE(coal->GetImage(), &shared);
}

TEST(LetterSprite, TimedCoinCoalTurnsPlainOnceWhenItsCountdownRunsOut) {
    CoalFixture fixture;
    struct Case {
        int type;
        bool small;
        int typeAfter;
        int frameAfter;
    } cases[] = {
        {LetterData::kCoin, false, LetterData::kNormal, 0},
        {LetterData::kCoin, true, LetterData::kNormal, 10},
        {LetterData::kDouble, false, LetterData::kDouble, 4},
    };
    for (const Case& c : cases) {
        Ref<LetterSprite> coal = CoalFixture::CoalOf('A', c.type, c.small);
        coal->UpdateImage();
        coal->SetCountdown(100);
        coal->Update(60);
        EXPECT_EQ(coal->Letter().GetType(), c.type);
        coal->Update(40);
        EXPECT_EQ(coal->Letter().GetType(), c.typeAfter) << c.type;
        EXPECT_EQ(coal->Letter().Frame(), c.frameAfter) << c.type;
        const int overlays = CoalFixture::ChildCount(*coal);
        EXPECT_EQ(overlays, c.type == LetterData::kCoin ? 1 : 0);
        EXPECT_EQ(coal->GetToolTip().has_value(), c.type != LetterData::kCoin);
        coal->Letter().SetType(c.type);  // a second run-out must not act again
        coal->Update(50);
        EXPECT_EQ(coal->Letter().GetType(), c.type);
        EXPECT_EQ(CoalFixture::ChildCount(*coal), overlays);
    }
}

TEST(LetterSprite, OldLookOfATurnedCoalFadesOutAndLeaves) {
    CoalFixture fixture;
    Ref<LetterSprite> coal = CoalFixture::CoalOf('A', LetterData::kCoin);
    coal->UpdateImage();
    coal->SetCountdown(10);
    coal->Update(10);
    ASSERT_EQ(CoalFixture::ChildCount(*coal), 1);
    CoalFixture::Run(*coal, 250);
    EXPECT_EQ(CoalFixture::ChildCount(*coal), 0);
}

TEST(LetterSprite, FlashShowsOneRedOverlayThatASecondFlashRestarts) {
    CoalFixture fixture;
    Ref<LetterSprite> coal = CoalFixture::CoalOf('A');
    coal->UpdateImage();
    coal->Flash();
    Sprite* overlay = coal->FlashOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->GetAlpha(), 0);
    EXPECT_EQ(overlay->GetImage()->Pixels32()[4] & 0xFFFFFFu, kFont[LetterSprite::kFontRed]);
    CoalFixture::Run(*coal, 1200);  // into the fade out
    coal->Flash();
    EXPECT_EQ(coal->FlashOverlay(), overlay);
    EXPECT_EQ(CoalFixture::ChildCount(*coal), 1);
    CoalFixture::Run(*coal, 1200);
    EXPECT_EQ(coal->FlashOverlay(), overlay) << "the restarted flash still runs";
    CoalFixture::Run(*coal, 200);
    EXPECT_EQ(coal->FlashOverlay(), nullptr);
    EXPECT_EQ(CoalFixture::ChildCount(*coal), 0);
}

TEST(LetterSprite, FlashLeavesJokersAndPoppedCoalsAlone) {
    CoalFixture fixture;
    Ref<LetterSprite> joker = CoalFixture::CoalOf('A', LetterData::kJoker);
    Ref<LetterSprite> popped = CoalFixture::CoalOf('A');
    popped->SetPopped(true);
    for (LetterSprite* coal : {joker.Get(), popped.Get()}) {
        coal->Flash();
        EXPECT_EQ(coal->FlashOverlay(), nullptr);
        EXPECT_EQ(CoalFixture::ChildCount(*coal), 0);
    }
}

TEST(LetterSprite, ClearingTheNewFlagFadesTheNewColourIntoTheNormalOne) {
    CoalFixture fixture;
    Ref<LetterSprite> coal = CoalFixture::CoalOf('A', LetterData::kNormal, false, true);
    coal->UpdateImage();
    ASSERT_EQ(CoalFixture::CentreColour(*coal), kFont[LetterSprite::kFontNew]);
    coal->ClearNewFlag();
    EXPECT_FALSE(coal->IsNew());
    EXPECT_EQ(CoalFixture::CentreColour(*coal), kFont[LetterSprite::kFontNormal]);
    ASSERT_EQ(CoalFixture::ChildCount(*coal), 1);
    auto* fading = static_cast<Sprite*>(coal->GetFirstChild());
    EXPECT_EQ(fading->GetImage()->Pixels32()[4] & 0xFFFFFFu, kFont[LetterSprite::kFontNew]);
    CoalFixture::Run(*coal, 450);
    EXPECT_EQ(CoalFixture::ChildCount(*coal), 0);
    coal->ClearNewFlag();  // no longer new: nothing to fade
    EXPECT_EQ(CoalFixture::ChildCount(*coal), 0);
}

TEST(LetterSprite, PopWaitsThenFadesTheCoalOutOfTheScene) {
    CoalFixture fixture;
    Ref<GameNode> root = new GameNode;
    Ref<LetterSprite> coal = CoalFixture::CoalOf('A');
    root->AddChild(coal.Get());
    coal->Pop(100);
    CoalFixture::Run(*root, 100);
    EXPECT_EQ(coal->GetAlpha(), 255);
    EXPECT_EQ(coal->GetParent(), root.Get());
    CoalFixture::Run(*root, 450);
    EXPECT_EQ(coal->GetAlpha(), 0);
    EXPECT_EQ(coal->GetParent(), nullptr);
}

TEST(LetterSprite, RestoreLookGrowsAndFadesBackInOrderWhenBlocking) {
    CoalFixture fixture;
    for (const bool blocking : {true, false}) {
        Ref<LetterSprite> coal = CoalFixture::CoalOf('A');
        coal->SetScale(0.5f);
        coal->SetAlpha(100);
        coal->RestoreLook(blocking);
        CoalFixture::Run(*coal, 250);
        EXPECT_FLOAT_EQ(coal->GetScale(), 1.0f);
        EXPECT_EQ(coal->GetAlpha() == 255, !blocking) << "blocking " << blocking;
        CoalFixture::Run(*coal, 250);
        EXPECT_EQ(coal->GetAlpha(), 255);
    }
}

TEST(LetterSprite, SaveAndReadKeepFlagsAndLetterAndSetTheKindTooltip) {
    CoalFixture fixture;
    Ref<LetterSprite> coal = CoalFixture::CoalOf('Q', LetterData::kReveal);
    coal->SetWrong(true);
    coal->SetMovedByMouse(true);
    EXPECT_EQ(coal->GetToolTip().value_or(L""), L"TIP4");
    EXPECT_EQ(coal->GetAnchorKind(), Sprite::kCenter);
    Ref<PropertyNode> node = new PropertyNode("", "LetterSprite");
    coal->Save(*node);
    Ref<LetterSprite> read = ObjectCast<LetterSprite>(ClassFactory::Instance().Create(node.Get()));
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->IsWrong());
    EXPECT_TRUE(read->IsMovedByMouse());
    EXPECT_FALSE(read->IsNew());
    EXPECT_FALSE(read->IsPopped());
    EXPECT_EQ(read->Letter().Char(), 'Q');
    EXPECT_EQ(read->Letter().GetType(), LetterData::kReveal);
    EXPECT_EQ(read->GetToolTip().value_or(L""), L"TIP4");
    EXPECT_EQ(read->GetAnchorKind(), Sprite::kCenter);
    EXPECT_FALSE(CoalFixture::CoalOf('A')->GetToolTip().has_value());
}

TEST(LetterSprite, ImageNamesFollowTheFrameTable) {
    const std::pair<int, const char*> cases[] = {{0, "COAL_NORMAL1"}, {2, "COAL_NORMAL3"}, {3, "COAL1"},
                                                 {9, "COAL7"},        {10, "COAL_SMALL1"}, {12, "COAL_SMALL3"},
                                                 {13, "COAL1_SMALL"}, {19, "COAL7_SMALL"}};
    for (const auto& [frame, name] : cases) {
        EXPECT_EQ(LetterSprite::ImageName(frame), name);
    }
}

}  // namespace
