#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "GameDialogFixture.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/media/InputDispatcher.h"
#include "engine/ui/Button.h"
#include "engine/ui/InputLabel.h"
#include "engine/ui/Label.h"
#include "engine/ui/Switch.h"
#include "game/dialogs/NameInputDialog.h"
#include "game/dialogs/PlayerSelectDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "game/words/TicketInfo.h"
#include "game/world/SectionList.h"
#include "platform/Files.h"
#include "platform/KeyCodes.h"
#include "support/TempUserFolders.h"

namespace {

std::string ButtonXml(const char* name, int x = 0) {
    return std::string(R"(<Button name=")") + name + R"(" x=")" + std::to_string(x) +
           R"(" y="40" image="KNOB" section="ui"/>)";
}

// The global map for a test's length: one section, three tracks in a line
// between four cities, none bought at the start.
class ThreeTrackMap {
public:
    ThreeTrackMap() { Build(); }
    ~ThreeTrackMap() { SectionList::ReleaseInstance(); }
    ThreeTrackMap(const ThreeTrackMap&) = delete;
    ThreeTrackMap& operator=(const ThreeTrackMap&) = delete;

private:
    static void Build();
};

void ThreeTrackMap::Build() {
    std::string cities, parts, tracks;
    for (int i = 0; i <= 3; ++i) {
        cities += R"(<CityInfo><Integer id="x" value=")" + std::to_string(100 * i) + R"("/></CityInfo>)";
    }
    for (int i = 0; i < 3; ++i) {
        parts += R"(<TrackPart><Vector id="points"><Node/><Node/></Vector><Integer id="steps" value="1"/></TrackPart>)";
        tracks += R"(<TrackInfo><Integer id="city0" value=")" + std::to_string(i) +
                  R"("/><Integer id="city1" value=")" + std::to_string(i + 1) +
                  R"("/><Vector id="curveIDs"><Integer value=")" + std::to_string(i) + R"("/></Vector></TrackInfo>)";
    }
    const std::string xml = R"(<root><Vector id="sections"><Node><Vector id="cities">)" + cities +
                            R"(</Vector><Vector id="trackParts">)" + parts + R"(</Vector><Vector id="tracks">)" +
                            tracks + R"(</Vector></Node></Vector></root>)";
    Ref<PropertyFile> file = new PropertyFile;
    ASSERT_TRUE(file->LoadFromMemory(xml.data(), xml.size(), "three track map"));
    SectionList::Create();
    SectionList::Instance()->Build(Property::Child(file.Get(), "sections"));
}

// The tracks of the map bought, in track order.
std::vector<bool> BoughtTracks() {
    std::vector<bool> bought;
    for (const Ref<TrackInfo>& track : SectionList::Instance()->Section(0).tracks) {
        bought.push_back(track->bought);
    }
    return bought;
}

// The tracks of the offered tickets, in order.
std::vector<int32_t> OfferedTracks(const PlayerProfile* player) {
    std::vector<int32_t> offered;
    for (const Ref<TicketInfo>& ticket : ObjectCast<KR2Player>(player)->tickets) {
        offered.push_back(ticket->Track);
    }
    return offered;
}

// 100 x 80: slots from y 10 every 6 pixels, name switches centred at
// 100 / 2 + offset 2 = 52, each name 20 pixels right of its switch; the
// name input's OK on the left, cancel on the right.
const std::string kPlayerDialogs =
    R"(<PlayerSelectDialog id="DIALOG_PLAYERSELECT" width="100" height="80" spacing="6">)"
    R"(<Switch id="namebutton" y="10" image="KNOB" section="ui"/>)"
    R"(<Label id="namelabel" x="20" font="TINY" section="dlgfonts"/>)"
    R"(<Vector id="components">)" +
    ButtonXml("BUTTON_ADD") + ButtonXml("BUTTON_REMOVE") + ButtonXml("BUTTON_OK") +
    R"(</Vector></PlayerSelectDialog>)"
    R"(<NameInputDialog id="DIALOG_NEWPLAYER" width="100" height="60"><Vector id="components">)"
    R"(<InputLabel name="INPUT_NAME" x="10" y="10" width="80" height="10" maxlength="12">)"
    R"(<Label id="label" font="TINY" section="dlgfonts"/></InputLabel>)" +
    ButtonXml("BUTTON_OK", 20) + ButtonXml("BUTTON_CANCEL", 70) +
    R"(</Vector></NameInputDialog>)"
    R"(<YesNoDialog id="DIALOG_YESNO" width="100" height="50" minheight="40"><Vector id="components">)"
    R"(<Button name="BUTTON_YES" y="30" image="KNOB" section="ui"/><Button name="BUTTON_NO" y="30" image="KNOB" section="ui"/>)"
    R"(</Vector></YesNoDialog>)"
    R"(<PlayerSelectDialog id="BARE_SELECT" width="100" height="80"/>)"
    R"(<NameInputDialog id="BARE_NAME" width="100" height="60"/>)";

class PlayerDialogsTest : public GameDialogTest {
protected:
    PlayerDialogsTest() {
        ForgetFoldersForTesting();
        UseDialogs(kPlayerDialogs);
        Players::Create("1", false);
    }

    ~PlayerDialogsTest() override {
        SceneManager::ReleaseInstance();
        Players::Free();
        ForgetFoldersForTesting();
    }

    static Players& List() { return *Players::Instance(); }

    // Players of those names, saved; the first is current.
    static void MakePlayers(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            const Ref<KR2Player> player(new KR2Player(name));
            List().Add(player.Get());
        }
        List().Save();
    }

    static std::vector<std::string> Names(const Players& players) {
        std::vector<std::string> names;
        for (const auto& player : players.GetPlayers()) {
            names.push_back(player->GetName());
        }
        return names;
    }

    static std::string CurrentName() {
        const PlayerProfile* current = List().GetCurrent();
        return current != nullptr ? current->GetName() : std::string("(none)");
    }

    // The list as the next run reads it from disk.
    static Players& Reload() {
        Players::Free();
        Players* players = Players::Create("1", false);
        players->Load();
        return *players;
    }

    static void Press(GameNode* control) {
        auto* callback = dynamic_cast<ControlCallback*>(control);
        ASSERT_NE(callback, nullptr);
        callback->Invoke(control);
    }

    static void Type(InputLabel& input, const std::string& text) {
        for (const char c : text) {
            input.OnChar(static_cast<unsigned char>(c));
        }
    }

    PlayerSelectDialog* OpenSelection() {
        auto* dialog = Open<PlayerSelectDialog>("DIALOG_PLAYERSELECT");
        Run(150);
        return dialog;
    }

    NameInputDialog* ShownNameInput() {
        const auto found = GameScene()->GetDialogMap().find("DIALOG_NEWPLAYER");
        return found != GameScene()->GetDialogMap().end() && GameScene()->IsDialogShown("DIALOG_NEWPLAYER")
                   ? ObjectCast<NameInputDialog>(found->second.Get())
                   : nullptr;
    }

    TempUserFolders folders_;
};

TEST_F(PlayerDialogsTest, SlotsAndButtonsFollowTheList) {
    const struct {
        std::vector<std::string> names;
        bool addEnabled;
        bool removeEnabled;
    } cases[] = {{{"Ann"}, true, false},
                 {{"Ann", "Bob", "Cy"}, true, true},
                 {{"Ann", "Bob", "Cy", "Di", "Ed"}, false, true}};
    for (const auto& c : cases) {
        Players::Free();
        Players::Create("1", false);
        MakePlayers(c.names);
        List().SetCurrent(List().GetPlayers().back().Get());
        GameScene()->CloseDialog(GameScene()->GetDialogMap().count("DIALOG_PLAYERSELECT") != 0
                                     ? GameScene()->GetDialogMap().at("DIALOG_PLAYERSELECT").Get()
                                     : nullptr);
        PlayerSelectDialog* dialog = OpenSelection();
        const auto count = static_cast<int32_t>(c.names.size());
        for (int32_t slot = 0; slot < PlayerSelectDialog::kSlotCount; ++slot) {
            auto* control = ObjectCast<Switch>(dialog->GetNameControl(slot));
            ASSERT_TRUE(control && dialog->GetNameLabel(slot));
            EXPECT_EQ(control->GetX(), 52);
            EXPECT_EQ(control->GetY(), 10 + 6 * slot);
            EXPECT_EQ(dialog->GetNameLabel(slot)->GetParent(), control);
            EXPECT_EQ(dialog->GetNameLabel(slot)->GetText(),
                      slot < count ? std::wstring(c.names[slot].begin(), c.names[slot].end()) : L"")
                << count << " players, slot " << slot;
            EXPECT_EQ(control->IsChecked(), slot == count - 1) << count << " players, slot " << slot;
        }
        EXPECT_EQ(dialog->GetSelectedSlot(), count - 1);
        EXPECT_EQ(dialog->GetAddButton()->IsEnabled(), c.addEnabled) << count;
        EXPECT_EQ(dialog->GetRemoveButton()->IsEnabled(), c.removeEnabled) << count;
    }
}

TEST_F(PlayerDialogsTest, ANameMakesItsPlayerCurrentAfterSavingTheOldOne) {
    MakePlayers({"Ann", "Bob", "Cy"});
    ASSERT_EQ(CurrentName(), "Ann");
    ObjectCast<KR2Player>(List().GetCurrent())->curcity = 7;
    PlayerSelectDialog* dialog = OpenSelection();

    Press(dialog->GetNameControl(1));
    EXPECT_EQ(CurrentName(), "Bob");
    EXPECT_EQ(dialog->GetSelectedSlot(), 1);
    EXPECT_FALSE(ObjectCast<Switch>(dialog->GetNameControl(0))->IsChecked());
    EXPECT_TRUE(ObjectCast<Switch>(dialog->GetNameControl(1))->IsChecked());
    // A second click on the current player leaves it checked.
    Press(dialog->GetNameControl(1));
    EXPECT_TRUE(ObjectCast<Switch>(dialog->GetNameControl(1))->IsChecked());

    Players& reloaded = Reload();
    EXPECT_EQ(ObjectCast<KR2Player>(reloaded.FindByName("Ann")->Get())->curcity, 7);
}

// The name beside a slot's round button takes the click as the button does;
// the empty name of an unused slot takes none.
TEST_F(PlayerDialogsTest, AClickOnAPlayersNamePicksThatPlayer) {
    MakePlayers({"Ann", "Bob", "Cy"});
    PlayerSelectDialog* dialog = OpenSelection();
    InputDispatcher* input = GameScene()->GetInputDispatcher();
    const auto click = [input](const GameNode& node) {
        const int32_t x = node.GetAbsoluteX() + 1;
        const int32_t y = node.GetAbsoluteY() + 1;
        input->OnLButtonDown(x, y, 0, false);
        input->OnLButtonUp(x, y, 0);
    };
    ASSERT_GT(dialog->GetNameLabel(2)->GetWidth(), 1);
    click(*dialog->GetNameLabel(2));
    EXPECT_EQ(CurrentName(), "Cy");
    EXPECT_TRUE(ObjectCast<Switch>(dialog->GetNameControl(2))->IsChecked());
    EXPECT_FALSE(ObjectCast<Switch>(dialog->GetNameControl(0))->IsChecked());

    click(*dialog->GetNameLabel(4));
    EXPECT_EQ(ShownNameInput(), nullptr);
    EXPECT_EQ(CurrentName(), "Cy");
}

TEST_F(PlayerDialogsTest, OkGreetsAndCloses) {
    MakePlayers({"Ann"});
    PlayerSelectDialog* dialog = OpenSelection();
    Press(dialog->FindChild("BUTTON_OK"));
    Run(150);
    EXPECT_NE(std::find(hooks_.log.begin(), hooks_.log.end(), "welcome animated"), hooks_.log.end());
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_PLAYERSELECT"));
}

TEST_F(PlayerDialogsTest, AnEmptySlotAsksForANameAndEscapeCancelsShowingTheListAgain) {
    MakePlayers({"Ann", "Bob", "Cy"});
    PlayerSelectDialog* dialog = OpenSelection();
    Press(dialog->GetNameControl(4));
    NameInputDialog* input = ShownNameInput();
    ASSERT_NE(input, nullptr);
    EXPECT_FALSE(input->GetCancelButton()->IsRemoved());
    EXPECT_TRUE(input->GetNameInput()->HasFocus());
    // A real click checks the empty slot's switch; cancel shows the list as it is.
    ObjectCast<Switch>(dialog->GetNameControl(4))->SetChecked(true);
    Run(150);
    // Escape in the name field cancels, as the cancel button would.
    input->GetNameInput()->OnKeyUp(static_cast<int32_t>(platform::VK_ESCAPE));
    Run(150);
    EXPECT_FALSE(ObjectCast<Switch>(dialog->GetNameControl(4))->IsChecked());
    EXPECT_TRUE(ObjectCast<Switch>(dialog->GetNameControl(0))->IsChecked());
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_NEWPLAYER"));
    EXPECT_EQ(List().GetPlayers().size(), 3u);
}

TEST_F(PlayerDialogsTest, AddIsRefusedWithFivePlayers) {
    MakePlayers({"Ann", "Bob", "Cy", "Di", "Ed"});
    PlayerSelectDialog* dialog = OpenSelection();
    PlayerSelectDialog::OnAdd(static_cast<Object*>(dialog), dialog->GetAddButton());
    EXPECT_EQ(ShownNameInput(), nullptr);
}

TEST_F(PlayerDialogsTest, RemovingTheCurrentPlayerPicksTheNextOrAtTheEndThePrevious) {
    const struct {
        int current;
        std::string nextCurrent;
        std::vector<std::string> left;
    } cases[] = {{1, "Cy", {"Ann", "Cy"}}, {2, "Bob", {"Ann", "Bob"}}, {0, "Bob", {"Bob", "Cy"}}};
    for (const auto& c : cases) {
        Players::Free();
        Players::Create("1", false);
        MakePlayers({"Ann", "Bob", "Cy"});
        const std::string removed = List().GetPlayers()[c.current]->GetName();
        List().SetCurrent(List().GetPlayers()[c.current].Get());
        if (GameScene()->GetDialogMap().count("DIALOG_PLAYERSELECT") != 0) {
            GameScene()->CloseDialog(GameScene()->GetDialogMap().at("DIALOG_PLAYERSELECT").Get());
        }
        PlayerSelectDialog* dialog = OpenSelection();
        Press(dialog->GetRemoveButton());
        ASSERT_TRUE(GameScene()->IsDialogShown("TEXT_REMOVE_PLAYER"));
        auto* question = ObjectCast<YesNoDialog>(GameScene()->GetDialogMap().at("TEXT_REMOVE_PLAYER").Get());
        Run(150);
        Press(question->GetYesButton());

        EXPECT_EQ(GameScene()->GetDialogMap().count("TEXT_REMOVE_PLAYER"), 0u) << "closed at once";
        EXPECT_EQ(CurrentName(), c.nextCurrent) << removed;
        EXPECT_EQ(Names(List()), c.left) << removed;
        EXPECT_EQ(dialog->GetNameLabel(2)->GetText(), L"");
        EXPECT_FALSE(std::filesystem::exists(List().PlayerFilePath(removed))) << removed;
        EXPECT_EQ(Names(Reload()), c.left) << removed;
    }
}

TEST_F(PlayerDialogsTest, NoKeepsEveryPlayer) {
    MakePlayers({"Ann", "Bob"});
    PlayerSelectDialog* dialog = OpenSelection();
    Press(dialog->GetRemoveButton());
    auto* question = ObjectCast<YesNoDialog>(GameScene()->GetDialogMap().at("TEXT_REMOVE_PLAYER").Get());
    Run(150);
    Press(question->GetNoButton());
    Run(150);
    EXPECT_EQ(Names(List()), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(CurrentName(), "Ann");
}

TEST_F(PlayerDialogsTest, TheFirstPlayerMustGiveANameWhichIsSavedAtOnce) {
    auto* dialog = Open<NameInputDialog>("DIALOG_NEWPLAYER");
    ASSERT_TRUE(dialog && dialog->GetNameInput() && dialog->GetOkButton() && dialog->GetCancelButton());
    EXPECT_TRUE(dialog->GetCancelButton()->IsRemoved());
    EXPECT_EQ(dialog->GetOkButton()->GetX(), 52);
    EXPECT_EQ(dialog->GetOkButton()->GetAnchorKind(), Sprite::kTop);
    EXPECT_FALSE(dialog->GetOkButton()->IsEnabled());
    Run(150);
    InputLabel& input = *dialog->GetNameInput();
    ASSERT_TRUE(input.HasFocus());

    // A leading space is dropped; later spaces stay.
    Type(input, " ");
    EXPECT_EQ(input.GetText(), L"");
    EXPECT_FALSE(dialog->GetOkButton()->IsEnabled());
    // With nothing typed, Enter accepts nothing; Escape, with no cancel, keeps the caret for typing.
    input.OnKeyUp(static_cast<int32_t>(platform::VK_RETURN));
    EXPECT_TRUE(List().GetPlayers().empty());
    EXPECT_TRUE(input.HasFocus());
    input.OnKeyUp(static_cast<int32_t>(platform::VK_ESCAPE));
    EXPECT_TRUE(input.HasFocus());
    EXPECT_TRUE(GameScene()->IsDialogShown("DIALOG_NEWPLAYER"));

    Type(input, "Ann Lee");
    EXPECT_EQ(input.GetText(), L"Ann Lee");
    EXPECT_TRUE(dialog->GetOkButton()->IsEnabled());
    input.OnKeyUp(static_cast<int32_t>(platform::VK_RETURN));
    EXPECT_EQ(CurrentName(), "Ann Lee");
    EXPECT_NE(std::find(hooks_.log.begin(), hooks_.log.end(), "welcome animated"), hooks_.log.end());
    Run(150);
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_NEWPLAYER"));
    Players& reloaded = Reload();
    EXPECT_EQ(Names(reloaded), std::vector<std::string>{"Ann Lee"});
}

TEST_F(PlayerDialogsTest, AnExistingNameSelectsThatPlayerAndClosesTheListAtOnce) {
    MakePlayers({"Ann", "Bob"});
    PlayerSelectDialog* selection = OpenSelection();
    Press(selection->GetAddButton());
    NameInputDialog* dialog = ShownNameInput();
    ASSERT_NE(dialog, nullptr);
    Run(150);
    Type(*dialog->GetNameInput(), "Bob");
    Press(dialog->GetOkButton());
    EXPECT_EQ(Names(List()), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(CurrentName(), "Bob");
    EXPECT_EQ(GameScene()->GetDialogMap().count("DIALOG_PLAYERSELECT"), 0u);
}

TEST_F(PlayerDialogsTest, DialogsWithoutTheirChildrenDoNoHarm) {
    MakePlayers({"Ann", "Bob"});
    auto* selection = Open<PlayerSelectDialog>("BARE_SELECT");
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(selection->GetNameControl(0), nullptr);
    EXPECT_EQ(selection->GetAddButton(), nullptr);
    void* selectionContext = static_cast<Object*>(selection);
    for (const auto handler :
         {&PlayerSelectDialog::OnNameButton, &PlayerSelectDialog::OnAdd, &PlayerSelectDialog::OnRemove}) {
        handler(selectionContext, nullptr);
    }
    EXPECT_EQ(Names(List()), (std::vector<std::string>{"Ann", "Bob"}));

    auto* name = Open<NameInputDialog>("BARE_NAME");
    ASSERT_NE(name, nullptr);
    void* nameContext = static_cast<Object*>(name);
    for (const auto handler : {&NameInputDialog::OnKey, &NameInputDialog::OnOk, &NameInputDialog::OnCancel}) {
        handler(nameContext, nullptr);
    }
    name->OnLButtonDown(1, 1, 0, false);
    EXPECT_EQ(List().GetPlayers().size(), 2u);
    PlayerSelectDialog::OnOk(selectionContext, nullptr);
    Run(150);
}

// Each player's map progress and tickets are that player's own: a player
// added, the first one chosen again, saves of the whole list in between (as a
// purchase makes them) and a restart never give one player's map or tickets
// to another.
TEST_F(PlayerDialogsTest, EachPlayerKeepsTheirOwnMapAndTicketsWhateverTheOthersDo) {
    const ThreeTrackMap map;
    MakePlayers({"Ada"});
    auto* ada = ObjectCast<KR2Player>(List().GetCurrent());
    SectionList::Instance()->Section(0).tracks[2]->bought = true;
    Ref<TicketInfo> offer = new TicketInfo;
    offer->Track = 2;
    ada->tickets = {offer};
    ada->coins = 62;
    List().Save();

    // Bob added through the name dialog starts with a bare map and buys a track.
    PlayerSelectDialog* selection = OpenSelection();
    Press(selection->GetAddButton());
    NameInputDialog* input = ShownNameInput();
    ASSERT_NE(input, nullptr);
    Run(150);
    Type(*input->GetNameInput(), "Bob");
    Press(input->GetOkButton());
    ASSERT_EQ(CurrentName(), "Bob");
    EXPECT_EQ(BoughtTracks(), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(OfferedTracks(List().GetCurrent()).empty());
    SectionList::Instance()->Section(0).tracks[0]->bought = true;
    List().Save();

    // Ada chosen again finds her own.
    PlayerSelectDialog::SwitchCurrentPlayer("Ada");
    EXPECT_EQ(BoughtTracks(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(OfferedTracks(List().GetCurrent()), std::vector<int32_t>{2});
    EXPECT_EQ(ObjectCast<KR2Player>(List().GetCurrent())->coins, 62);
    List().Save();

    // After a restart the current player, listed first, has her map on show,
    // and Bob's file still holds his.
    Reload();
    ASSERT_EQ(CurrentName(), "Ada");
    EXPECT_EQ(BoughtTracks(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(OfferedTracks(List().GetCurrent()), std::vector<int32_t>{2});
    PlayerSelectDialog::SwitchCurrentPlayer("Bob");
    EXPECT_EQ(BoughtTracks(), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(OfferedTracks(List().GetCurrent()).empty());
}

// With the list lost (damaged, kept aside), the name typed again brings the
// player back from the file on disk instead of writing a new profile over it.
TEST_F(PlayerDialogsTest, ANameWhoseFileIsOnDiskBringsThatPlayerBack) {
    const ThreeTrackMap map;
    MakePlayers({"Ada"});
    SectionList::Instance()->Section(0).tracks[1]->bought = true;
    ObjectCast<KR2Player>(List().GetCurrent())->coins = 62;
    List().Save();
    const std::string list = List().ListFilePath();
    ASSERT_TRUE(platform::WriteFileAtomically(list, "damaged", 7));
    ASSERT_TRUE(Reload().GetPlayers().empty());
    SectionList::Instance()->ResetProgress();

    auto* dialog = Open<NameInputDialog>("DIALOG_NEWPLAYER");
    ASSERT_NE(dialog, nullptr);
    Run(150);
    Type(*dialog->GetNameInput(), "Ada");
    Press(dialog->GetOkButton());
    ASSERT_EQ(CurrentName(), "Ada");
    EXPECT_EQ(ObjectCast<KR2Player>(List().GetCurrent())->coins, 62);
    EXPECT_EQ(BoughtTracks(), (std::vector<bool>{false, true, false}));

    Players& restarted = Reload();
    ASSERT_EQ(CurrentName(), "Ada");
    EXPECT_EQ(ObjectCast<KR2Player>(restarted.GetCurrent())->coins, 62);
    EXPECT_EQ(BoughtTracks(), (std::vector<bool>{false, true, false}));
}

}  // namespace
