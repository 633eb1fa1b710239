#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "GameServicesSession.h"
#include "GeneratedMediaSession.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/media/InputDispatcher.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/ui/Button.h"
#include "engine/ui/InputLabel.h"
#include "engine/ui/Label.h"
#include "engine/ui/Panel.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/Slider.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/DialogLevelSuccess.h"
#include "game/dialogs/DialogRanking.h"
#include "game/dialogs/FinalCreditsDialog.h"
#include "game/dialogs/HelpDialog.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/KR2Painter.h"
#include "game/dialogs/MapDialogHooks.h"
#include "game/dialogs/NameInputDialog.h"
#include "game/dialogs/PlayerSelectDialog.h"
#include "game/dialogs/TicketDialog.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/dialogs/TrophyButton.h"
#include "game/dialogs/TrophyDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "game/progress/LevelStats.h"
#include "game/words/TicketInfo.h"
#include "game/world/SectionList.h"
#include "game/world/TicketSprite.h"
#include "platform/PngWriter.h"
#include "support/TempUserFolders.h"

namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr uint32_t kSky = 0x8EC5E8;

// The shipped dialogs over a sky-blue test scene, with the media this build
// generated, the constants and the texts.
class GameDialogsContent : public testing::Test {
protected:
    GameDialogsContent() {
        const Ref<PropertyFile> definition = ParseDefinitions(R"(<root><Scene id="TEST"/></root>)");
        scene_ = new Scene(Property::Child(definition.Get(), "TEST"));
        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    // Runs the scene's frames for `ms` milliseconds.
    static void Run(int32_t ms) {
        for (int32_t t = 0; t < ms; t += 10) {
            SceneManager::Instance()->Update(10);
        }
    }

    // Shows the dialog, lets every fade end and writes the screen to
    // "dialog_<name>.png" in the build folder.
    Ref<MemorySurface> Screenshot(Dialog* dialog, const std::string& name) {
        if (!scene_->IsDialogShown(dialog->GetName())) {
            scene_->ShowDialog(dialog);
        }
        for (int frame = 0; frame < 80; ++frame) {
            SceneManager::Instance()->Update(10);
        }
        const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000 | kSky);
        RenderPass::DrawNodeTree(*screen->CreateCanvas(), *scene_->GetRootNode());
        platform::WritePng(kBuild + "/dialog_" + name + ".png", screen->Pixels32(), 800, 600);
        return screen;
    }

    static uint32_t Rgb(const Surface& screen, int32_t x, int32_t y) { return PixelAt(screen, x, y) & 0xFFFFFF; }

    // The sky under the backdrop of DIALOG_BACKGROUND_ALPHA black.
    static uint32_t DarkenedSky() {
        uint32_t darkened = 0;
        for (int shift : {0, 8, 16}) {
            const uint32_t channel = (kSky >> shift) & 0xFF;
            darkened |= (channel * static_cast<uint32_t>(255 - DIALOG_BACKGROUND_ALPHA) / 255) << shift;
        }
        return darkened;
    }

    static bool Near(uint32_t pixel, uint32_t colour, int tolerance) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF)) >
                tolerance) {
                return false;
            }
        }
        return true;
    }

    TempUserFolders userFolders_;
    // Opened after the user folders are set, and closed before they go.
    GeneratedMediaSession media_{{"default", "dialogs", "mapscene", "rewards", "trophy"}};
    GameServicesSession services_;
    Ref<Scene> scene_;
};

TEST_F(GameDialogsContent, TheQuestionStandsCentredWithItsHeaderMessageAndButtons) {
    YesNoDialog* question = YesNoDialog::Ask("TEXT_QUESTION_QUIT", "TEXT_QUIT_HEADER", nullptr, nullptr, nullptr,
                                             nullptr, scene_.Get());
    ASSERT_NE(question, nullptr);
    const Ref<MemorySurface> screen = Screenshot(question, "yesno");
    const int32_t left = question->GetX();
    const int32_t top = question->GetY();
    EXPECT_EQ(left, (800 - question->GetWidth()) / 2);
    EXPECT_TRUE(question->IsInputEnabled());
    EXPECT_EQ(Rgb(*screen, 5, 5), kSky);  // no backdrop
    // The parchment body between the message and the buttons, and the header on its tab.
    EXPECT_TRUE(Near(Rgb(*screen, left + 40, top + question->GetHeight() / 2), 0xF3E6C8, 40));
    const auto* painter = ObjectCast<KR2Painter>(question->GetPainter());
    ASSERT_TRUE(painter && painter->GetHeaderLabel());
    EXPECT_EQ(painter->GetHeaderLabel()->GetText(), L"Leave the station?");
    EXPECT_GT(question->GetMessageLabel()->GetLines().size(), 0u);
    // Yes left of the middle, no right of it, both inside the box.
    const Button* yes = question->GetYesButton();
    const Button* no = question->GetNoButton();
    EXPECT_LT(yes->GetAbsoluteX(), left + question->GetWidth() / 2);
    EXPECT_GT(no->GetAbsoluteX(), left + question->GetWidth() / 2 - 1);
    EXPECT_LT(yes->GetAbsoluteY() + yes->GetHeight(), top + question->GetHeight());

    // A two-line message makes a taller box; the buttons keep their gap to the bottom.
    YesNoDialog* longer = YesNoDialog::Ask("TEXT_DIALOG_FULLSCREEN", "TEXT_DIALOG_FULLSCREEN_HEADER", nullptr,
                                           nullptr, nullptr, nullptr, scene_.Get());
    Screenshot(longer, "yesno_two_lines");
    EXPECT_EQ(longer->GetMessageLabel()->GetLines().size(), 2u);
    EXPECT_GT(longer->GetHeight(), question->GetHeight());
    EXPECT_EQ(longer->GetHeight() - longer->GetYesButton()->GetY(), question->GetHeight() - yes->GetY());
}

TEST_F(GameDialogsContent, EveryGameDialogOpensInATestScene) {
    const struct {
        const char* id;
        bool darkened;
    } dialogs[] = {{"DIALOG_MENU", true},     {"DIALOG_PAUSE", true},    {"DIALOG_SETTINGS", false},
                   {"DIALOG_HELP", true},     {"DIALOG_CREDITS", false}};
    for (const auto& d : dialogs) {
        Dialog* dialog = scene_->GetDialog(d.id);
        ASSERT_NE(dialog, nullptr) << d.id;
        const Ref<MemorySurface> screen = Screenshot(dialog, d.id);
        EXPECT_TRUE(dialog->IsInputEnabled()) << d.id;
        EXPECT_EQ(dialog->GetAlpha(), 255) << d.id;
        EXPECT_TRUE(Near(Rgb(*screen, 3, 3), d.darkened ? DarkenedSky() : kSky, 3)) << d.id << std::hex << Rgb(*screen, 3, 3);
        // The middle of the screen shows the dialog, not the sky.
        EXPECT_FALSE(Near(Rgb(*screen, 400, 300), kSky, 30)) << d.id;
        scene_->CloseDialog(dialog);
    }
}

TEST_F(GameDialogsContent, EnterAndEscapePressTheButtonsAPlayerExpects) {
    constexpr int32_t kEnter = 0x0D;
    constexpr int32_t kEscape = 0x1B;
    constexpr int32_t kSpace = 0x20;
    const auto press = [this](int32_t key) {
        InputDispatcher* input = scene_->GetInputDispatcher();
        input->OnKeyDown(key);
        input->OnKeyUp(key);
        Run(400);
    };
    // The dialogs that close through their own buttons.
    const struct {
        const char* id;
        int32_t key;
    } closing[] = {{"DIALOG_MENU", kEscape},     {"DIALOG_SETTINGS", kEnter},       {"DIALOG_SETTINGS", kEscape},
                   {"DIALOG_HELP", kEnter},      {"DIALOG_HELP", kEscape},          {"DIALOG_CREDITS", kEnter},
                   {"DIALOG_CREDITS", kEscape},  {"DIALOG_TROPHY_SCREEN", kEnter}, {"DIALOG_TROPHY_SCREEN", kEscape}};
    for (const auto& c : closing) {
        SCOPED_TRACE(std::string(c.id) + " key " + std::to_string(c.key));
        Dialog* dialog = scene_->GetDialog(c.id);
        ASSERT_NE(dialog, nullptr);
        scene_->ShowDialog(dialog);
        Run(400);
        press(kSpace);  // a key no button of theirs answers leaves them open
        ASSERT_TRUE(scene_->IsDialogShown(c.id));
        press(c.key);
        EXPECT_FALSE(scene_->IsDialogShown(c.id));
    }

    // The question answers yes to Enter and no to Escape.
    static int answers[2];
    const auto yes = [](void*, GameNode*) -> int32_t { return ++answers[0], 0; };
    const auto no = [](void*, GameNode*) -> int32_t { return ++answers[1], 0; };
    for (const int32_t key : {kEnter, kEscape}) {
        answers[0] = answers[1] = 0;
        YesNoDialog* question =
            YesNoDialog::Ask("TEXT_QUESTION_QUIT", "TEXT_QUIT_HEADER", nullptr, yes, nullptr, no, scene_.Get());
        ASSERT_NE(question, nullptr);
        scene_->ShowDialog(question);
        Run(static_cast<int32_t>(Dialog::kNewKeyHoldMs));  // a dialog just shown takes no key
        press(key);
        EXPECT_EQ(answers[0], key == kEnter ? 1 : 0) << key;
        EXPECT_EQ(answers[1], key == kEscape ? 1 : 0) << key;
    }
}

TEST_F(GameDialogsContent, TheSettingsAndHelpControlsWork) {
    Dialog* settings = scene_->GetDialog("DIALOG_SETTINGS");
    Screenshot(settings, "settings_controls");
    auto* effects = ObjectCast<Slider>(settings->FindChild("SLIDER_FXVOL"));
    ASSERT_NE(effects, nullptr);
    EXPECT_EQ(effects->GetMaximum(), 255.0f);
    ASSERT_NE(effects->GetKnob(), nullptr);

    auto* help = ObjectCast<HelpDialog>(scene_->GetDialog("DIALOG_HELP"));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->GetPageCount(), 7);
    Screenshot(help, "help_page1");
    auto* next = ObjectCast<Button>(help->FindChild("BUTTON_NEXT"));
    next->Invoke(next);
    const Ref<MemorySurface> second = Screenshot(help, "help_page2");
    EXPECT_EQ(ObjectCast<Label>(help->FindChild("LABEL_INDEX"))->GetText(), L"Page 2 of 7");
    EXPECT_EQ(ObjectCast<Label>(help->FindChild("LABEL_PANELHEADER"))->GetText(), L"The race");
    EXPECT_TRUE(help->FindChild("panel1")->IsVisible());
    EXPECT_FALSE(help->FindChild("panel0")->IsVisible());
    // The last two pages tell every kind's rule under the kind's own name,
    // each page's text inside its panel.
    std::wstring kinds;
    for (int page = 5; page < 7; ++page) {
        auto* panel = ObjectCast<Panel>(help->FindChild("panel" + std::to_string(page)));
        ASSERT_NE(panel, nullptr);
        auto* text = ObjectCast<Label>(panel->FindChild("TEXT"));
        ASSERT_NE(text, nullptr);
        EXPECT_LE(text->GetTextRect().h, text->GetHeight()) << page;
        kinds += text->GetText();
    }
    for (int type = 0; type <= 8; ++type) {
        EXPECT_NE(kinds.find(LookUpText("GAME_TYPE" + std::to_string(type))), std::wstring::npos) << type;
    }
    for (int page = 2; page < 7; ++page) {
        next->Invoke(next);
        Screenshot(help, "help_page" + std::to_string(page + 1));
    }
}

// In the cabinet every trophy's name stays inside the frame, and no trophy
// stands over another.
TEST_F(GameDialogsContent, TheCabinetKeepsEveryNameInsideItsFrameAndTheTrophiesApart) {
    Players::Free();
    Ref<KR2Player> player(new KR2Player("Ann"));
    player->trophies.fill(KR2Player::kTrophyShown);
    Players::Create("1", false)->Add(player.Get());
    auto* cabinet = ObjectCast<TrophyDialog>(scene_->GetDialog("DIALOG_TROPHY_SCREEN"));
    ASSERT_NE(cabinet, nullptr);
    Screenshot(cabinet, "trophy_cabinet_full");
    constexpr int32_t kFrame = 24;  // the painter's wooden side column
    const int32_t right = cabinet->GetAbsoluteX() + cabinet->GetWidth() - kFrame;
    struct Box {
        int32_t left, top, right, bottom;
    };
    std::vector<Box> boxes;
    for (int32_t trophy = 0; trophy < TrophyDialog::kTrophyCount; ++trophy) {
        const TrophyButton* cup = cabinet->GetTrophyButton(trophy);
        ASSERT_NE(cup, nullptr);
        const int32_t left = cup->GetAbsoluteX() - static_cast<int32_t>(cup->GetAnchorX());
        const int32_t top = cup->GetAbsoluteY() - static_cast<int32_t>(cup->GetAnchorY());
        boxes.push_back({left, top, left + cup->GetWidth(), top + cup->GetHeight()});
        cabinet->OnMouseMove(cup->GetAbsoluteX(), cup->GetAbsoluteY(), 0);
        ASSERT_EQ(cabinet->GetPointedTrophy(), trophy);
        const Label* name = cabinet->GetNameLabel();
        EXPECT_LE(name->GetAbsoluteX() + name->GetTextRect().w, right) << trophy;
    }
    for (size_t a = 0; a < boxes.size(); ++a) {
        for (size_t b = a + 1; b < boxes.size(); ++b) {
            const bool overlap = boxes[a].left < boxes[b].right && boxes[b].left < boxes[a].right &&
                                 boxes[a].top < boxes[b].bottom && boxes[b].top < boxes[a].bottom;
            EXPECT_FALSE(overlap) << a << " and " << b;
        }
    }
    Players::Free();
}

TEST_F(GameDialogsContent, ThePlayerDialogsShowTheListAndTakeATypedName) {
    Players::Create("1", false);
    auto* firstName = ObjectCast<NameInputDialog>(scene_->GetDialog("DIALOG_NEWPLAYER"));
    ASSERT_TRUE(firstName && firstName->GetNameInput() && firstName->GetOkButton() && firstName->GetCancelButton());
    EXPECT_TRUE(firstName->GetCancelButton()->IsRemoved());
    Screenshot(firstName, "newplayer_empty");
    for (const char c : std::string("Ann Lee")) {
        firstName->GetNameInput()->OnChar(c);
    }
    const Ref<MemorySurface> typed = Screenshot(firstName, "newplayer_typed");
    EXPECT_TRUE(firstName->GetOkButton()->IsEnabled());
    // The name's dark ink stands in the input on the parchment.
    const InputLabel& input = *firstName->GetNameInput();
    bool ink = false;
    for (int32_t x = input.GetAbsoluteX(); x < input.GetAbsoluteX() + 60; ++x) {
        for (int32_t y = input.GetAbsoluteY(); y < input.GetAbsoluteY() + input.GetHeight(); ++y) {
            ink = ink || Near(Rgb(*typed, x, y), 0x2B2118, 40);
        }
    }
    EXPECT_TRUE(ink);
    scene_->CloseDialog(firstName);

    for (const char* name : {"Bob", "Cy"}) {
        const Ref<KR2Player> player(new KR2Player(name));
        Players::Instance()->Add(player.Get());
    }
    auto* selection = ObjectCast<PlayerSelectDialog>(scene_->GetDialog("DIALOG_PLAYERSELECT"));
    ASSERT_NE(selection, nullptr);
    const Ref<MemorySurface> screen = Screenshot(selection, "playerselect");
    EXPECT_EQ(selection->GetNameLabel(1)->GetText(), L"Cy");
    EXPECT_TRUE(selection->GetRemoveButton()->IsEnabled());
    // Every slot and its name lie inside the dialog, above the buttons.
    for (int32_t slot = 0; slot < PlayerSelectDialog::kSlotCount; ++slot) {
        const Sprite* control = selection->GetNameControl(slot);
        ASSERT_NE(control, nullptr);
        EXPECT_GT(control->GetAbsoluteX(), selection->GetX());
        EXPECT_LT(control->GetAbsoluteY() + control->GetHeight(), selection->GetRemoveButton()->GetAbsoluteY());
    }
    EXPECT_TRUE(Near(Rgb(*screen, 3, 3), DarkenedSky(), 3));
    scene_->CloseDialog(selection);
    Players::Free();
}

TEST_F(GameDialogsContent, ATrophyIsAwardedAndFliesIntoTheCabinet) {
    Players::Free();
    Ref<KR2Player> player(new KR2Player("Ann"));
    player->trophies[0] = KR2Player::kTrophyShown;
    player->trophies[12] = KR2Player::kTrophyPending;
    player->stats.numWordsInserted = 42;
    Players::Create("1", false)->Add(player.Get());

    TrophyAwardedDialog::Show(12, nullptr);
    auto* award = ObjectCast<TrophyAwardedDialog>(scene_->GetDialogMap().at("DIALOG_TROPHY_AWARDED").Get());
    ASSERT_NE(award, nullptr);
    Screenshot(award, "trophy_awarded_burst");
    const Ref<MemorySurface> awarded = Screenshot(award, "trophy_awarded");
    EXPECT_TRUE(award->IsInputEnabled());
    EXPECT_EQ(award->GetNameLabel()->GetText(), L"No Small Change");
    // The frozen, darkened picture of the empty test scene covers the sky;
    // the trophy's star shines in the middle.
    EXPECT_TRUE(Near(Rgb(*awarded, 3, 3), 0x000000, 3)) << std::hex << Rgb(*awarded, 3, 3);
    EXPECT_FALSE(Near(Rgb(*awarded, 400, 300), 0x000000, 40));

    award->GetOkButton()->Invoke(award->GetOkButton());
    auto* cabinet = ObjectCast<TrophyDialog>(scene_->GetDialogMap().at("DIALOG_TROPHY_SCREEN").Get());
    ASSERT_NE(cabinet, nullptr);
    Screenshot(cabinet, "trophy_flight");
    Screenshot(cabinet, "trophy_landed");
    EXPECT_FALSE(cabinet->IsAwardMode());
    EXPECT_EQ(cabinet->GetTrophyButton(12)->GetAlpha(), 255);
    EXPECT_EQ(cabinet->GetTrophyButton(0)->GetAlpha(), 255);
    EXPECT_EQ(cabinet->GetTrophyButton(1)->GetAlpha(), 0);
    EXPECT_EQ(cabinet->GetStatisticValue(4)->GetText(), L"42");
    EXPECT_FALSE(cabinet->GetStatisticName(12)->GetText().empty());

    // Pointing at the first cup names it.
    const TrophyButton* cup = cabinet->GetTrophyButton(0);
    cabinet->OnMouseMove(cup->GetAbsoluteX(), cup->GetAbsoluteY(), 0);
    EXPECT_EQ(cabinet->GetPointedTrophy(), 0);
    Screenshot(cabinet, "trophy_cabinet_pointed");
    EXPECT_EQ(cabinet->GetNameLabel()->GetText(), L"Section 1 Complete");
    Players::Free();
}

}  // namespace

TEST_F(GameDialogsContent, TheTicketCardOpensAboveItsTicketWithSeatsDistanceAndButtons) {
    const SectionList map;
    const Ref<TicketInfo> ticket(new TicketInfo);
    ticket->GameType = 3;
    ticket->Rating = 0.7f;
    ticket->Passengers = {0, 1, 2, 3, 4};
    const Ref<TicketSprite> sprite(new TicketSprite(static_cast<MapSpriteHost*>(nullptr)));
    sprite->SetTicket(ticket.Get(), map);
    sprite->SetPosition(300, 400);
    scene_->GetRootNode()->AddChild(sprite.Get());
    auto* card = ObjectCast<TicketDialog>(scene_->GetDialog("DIALOG_TICKET"));
    ASSERT_NE(card, nullptr);
    card->SetTicketSprite(sprite.Get());
    const Ref<MemorySurface> screen = Screenshot(card, "ticket");
    ASSERT_NE(card->GetBackground(), nullptr);
    EXPECT_EQ(card->GetWidth(), card->GetBackground()->GetWidth());
    EXPECT_EQ(card->GetAlpha(), 255);
    // Above the ticket, its left edge on the ticket's.
    EXPECT_EQ(card->GetY() + card->GetHeight() - 3, 400);
    EXPECT_NE(Rgb(*screen, card->GetX() + 20, card->GetY() + 40), kSky);
    EXPECT_NE(ObjectCast<Label>(card->FindChild("LABEL_DISTANCE_LEFT"))->GetText(), L"");
    // Both buttons lie on the card, right of its stub (which ends at x 48).
    const auto* play = ObjectCast<Sprite>(card->FindChild("BUTTON_PLAY"));
    const auto* cancel = ObjectCast<Sprite>(card->FindChild("BUTTON_CANCEL"));
    ASSERT_NE(play, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_GE(play->GetX() - play->GetWidth(), 48);
    EXPECT_LE(cancel->GetX() + cancel->GetWidth(), card->GetWidth() - 8);
    EXPECT_LE(play->GetY() + play->GetHeight(), card->GetHeight() - 8);
}

// A player who has just won a Jumbled Words level that raised the rank.
class FixedMap : public MapDialogHooks {
public:
    FixedMap() {
        player->currentTicket = new TicketInfo;
        player->currentTicket->GameType = 4;
        player->stats.score = 4200;
        player->ranking = 2;
        player->rankChanged = true;
        level = {};
        level.score = 1900;
        level.moneyEarned = 35;
        level.playtime = 3725000;
        level.numWordsFound = 7;
        level.numWordsInQueue = 9;
    }
    KR2Player* Player() const override { return player.Get(); }
    const LevelStats* LastLevel() const override { return &level; }
    void SetMapState(int32_t) override {}
    void CountScoreTo(int32_t) override {}
    void SetScore(int32_t) override {}
    void SetRankToolTip(const std::wstring&, bool) override {}
    void ShowRank(const std::wstring&, int32_t) override {}
    void PresentTrophy(int32_t) override {}

    Ref<KR2Player> player{new KR2Player("rider")};
    LevelStats level;
};

TEST_F(GameDialogsContent, TheLevelResultThenTheNewRankShowTheirPictures) {
    FixedMap map;
    MapDialogHooks::Install(&map);
    auto* result = ObjectCast<DialogLevelSuccess>(scene_->GetDialog("DIALOG_LEVEL_SUCCESS"));
    ASSERT_NE(result, nullptr);
    scene_->ShowDialog(result);
    Run(3000);
    Screenshot(result, "levelsuccess");
    ASSERT_NE(result->GetBackground(), nullptr);
    EXPECT_EQ(result->GetWidth(), result->GetBackground()->GetWidth());
    EXPECT_EQ(result->GetTimeLabel()->GetText(), L"2:05");
    EXPECT_EQ(result->GetWordsLabel()->GetText(), L"7/9 (77%)");
    EXPECT_EQ(result->GetWordsLabel()->GetAlpha(), 255);

    result->Close();
    Run(500);
    ASSERT_TRUE(scene_->IsDialogShown("DIALOG_RANKING"));
    auto* rank = ObjectCast<DialogRanking>(scene_->GetDialogMap().at("DIALOG_RANKING").Get());
    Run(3000);
    Screenshot(rank, "ranking");
    EXPECT_TRUE(rank->IsInputEnabled());
    ASSERT_NE(rank->GetStarSprite()->GetImage(), nullptr);
    EXPECT_FALSE(scene_->IsVisible());
    auto* ok = ObjectCast<Button>(rank->FindChild("BUTTON_OK"));
    ok->Invoke(ok);
    Run(500);
    EXPECT_TRUE(scene_->IsVisible());
    EXPECT_FALSE(scene_->IsDialogShown("DIALOG_RANKING"));
    MapDialogHooks::Install(nullptr);
}

TEST_F(GameDialogsContent, TheFinalCreditsScrollTheWholeMapUnderTypedNames) {
    for (const char* file : {"media/properties/assets.xml", "media/properties/names.xml"}) {
        Ref<PropertyFile> constants(new PropertyFile({file}));
        constants->Load();
        ClassFactory::Instance().CreateNamedObjects(*constants);
    }
    SectionList::Create();
    for (const char* name : {"mapscene", "assets", "mapbacks"}) {
        while (SectionManager::Instance()->RequestSection(name)) {
            std::this_thread::yield();
        }
    }
    const Ref<FinalCreditsDialog> credits(ObjectCast<FinalCreditsDialog>(scene_->GetDialog("DIALOG_FINAL_CREDITS")));
    ASSERT_TRUE(credits);
    scene_->ShowDialog(credits.Get());
    // Black, then the title, then into the first pages.
    for (int frame = 0; frame < 100 + FinalCreditsDialog::kTitleMs / 10 + 150; ++frame) {
        SceneManager::Instance()->Update(10);
    }
    EXPECT_EQ(credits->GetState(), FinalCreditsDialog::kPages);
    ASSERT_EQ(credits->GetBackSprites().size(), 10u);
    EXPECT_EQ(credits->GetStripX(), 800 - 10 * 800 - 9 * SECTION_BETWEEN_WIDTH);
    for (const Ref<Sprite>& back : credits->GetBackSprites()) {
        EXPECT_NE(back->GetImage(), nullptr);
    }
    const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000 | kSky);
    RenderPass::DrawNodeTree(*screen->CreateCanvas(), *scene_->GetRootNode());
    platform::WritePng(kBuild + "/dialog_final_credits.png", screen->Pixels32(), 800, 600);
    EXPECT_FALSE(Near(Rgb(*screen, 400, 500), kSky, 30));  // the map covers the scene
    credits->Finish();
    for (int frame = 0; frame < 200; ++frame) {
        SceneManager::Instance()->Update(10);
    }
    EXPECT_FALSE(scene_->IsDialogShown("DIALOG_FINAL_CREDITS"));
    SectionList::ReleaseInstance();
}

TEST_F(GameDialogsContent, EveryHintHasTextAndTheBubblePointsAtItsTarget) {
    for (int32_t hint = 0; hint < 45; ++hint) {
        HintDialog* bubble = HintDialog::Create(scene_.Get(), hint);
        ASSERT_NE(bubble, nullptr) << hint;
        ASSERT_GT(bubble->GetPageCount(), 0) << hint;
        bubble->Layout();
        EXPECT_FALSE(bubble->GetTextLabel()->GetText().empty()) << hint;
        EXPECT_LE(bubble->GetHeight(), 300) << hint;
    }
    HintDialog::ReleaseOpen();

    // Under and right of a target in the upper left, over and left of one in the lower right.
    const struct {
        HintRect target;
        const char* name;
    } cases[] = {{{120, 80, 60, 40}, "hint_top_left"}, {{600, 480, 60, 40}, "hint_bottom_right"}};
    for (const auto& c : cases) {
        HintDialog* bubble = OpenHint(14, nullptr, &c.target);
        ASSERT_NE(bubble, nullptr);
        const Ref<MemorySurface> screen = Screenshot(bubble, c.name);
        const bool top = c.target.y < 300;
        // The arrow's tip stands near the target's corner, the clear margin beside it shows the sky.
        const int32_t tipX = top ? bubble->GetX() + 15 : bubble->GetX() + bubble->GetWidth() - 16;
        const int32_t tipY = top ? bubble->GetY() + 3 : bubble->GetY() + bubble->GetHeight() - 4;
        EXPECT_FALSE(Near(Rgb(*screen, tipX, tipY), kSky, 20)) << c.name;
        EXPECT_EQ(Rgb(*screen, bubble->GetX() + bubble->GetWidth() / 2, tipY), kSky) << c.name;
        EXPECT_FALSE(bubble->HitTest(bubble->GetX() + bubble->GetWidth() / 2, tipY)) << c.name;
        EXPECT_TRUE(bubble->HitTest(bubble->GetX() + bubble->GetWidth() / 2, bubble->GetY() + 40)) << c.name;
        bubble->Advance();
        bubble->Advance();
        for (int frame = 0; frame < 30; ++frame) {
            SceneManager::Instance()->Update(10);
        }
        EXPECT_EQ(HintDialog::Open(), nullptr);
    }
}
