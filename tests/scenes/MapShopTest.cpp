#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScenesTestSupport.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierWait.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "game/world/SectionList.h"
#include "game/world/ModifierBuildTrack.h"
#include "game/world/TicketSprite.h"
#include "game/world/TrackInfoSprite.h"
#include "scenes/MapOfferPanel.h"
#include "scenes/MapRouteDots.h"
#include "scenes/MapShopHost.h"
#include "scenes/MapTrackShop.h"

namespace {

std::string Int(const char* id, int value) {
    return std::string("<Integer id=\"") + id + "\" value=\"" + std::to_string(value) + "\"/>";
}

std::string City(int x, int y) {
    return "<CityInfo>" + Int("x", x) + Int("y", y) + Int("circleX", x) + Int("circleY", y) + Int("circleRadius", 13) +
           Int("ticketX", x) + Int("ticketY", y - 20) + "</CityInfo>";
}

std::string Line(int x0, int y0, int x1, int y1) {
    const auto point = [](int x, int y) { return "<Node>" + Int("x", x) + Int("y", y) + "</Node>"; };
    return "<TrackPart><Vector id=\"points\">" + point(x0, y0) + point(x1, y1) + "</Vector>" + Int("steps", 1) +
           "</TrackPart>";
}

std::string Track(int city0, int city1, int section, int curve) {
    return "<TrackInfo>" + Int("city0", city0) + Int("city1", city1) + Int("section", section) +
           "<Vector id=\"curveIDs\"><Integer value=\"" + std::to_string(curve) + "\"/></Vector></TrackInfo>";
}

// A section of three cities: 0 at (100, 100) joined to 1 at (300, 100) by
// track 0, and to 2 at (100, 300) by track 1, whose curve is drawn from
// city 2's end.
std::string SectionXml(int index) {
    return "<Node><Vector id=\"cities\">" + City(100, 100) + City(300, 100) + City(100, 300) + "</Vector>" +
           "<Vector id=\"trackParts\">" + Line(100, 100, 300, 100) + Line(100, 300, 100, 100) + "</Vector>" +
           "<Vector id=\"tracks\">" + Track(0, 1, index, 0) + Track(2, 0, index, 1) + "</Vector>" + Int("enter", 0) +
           Int("leave", 1) + "</Node>";
}

Ref<PropertyFile> Parse(const std::string& body) {
    const std::string xml = "<root>" + body + "</root>";
    Ref<PropertyFile> file(new PropertyFile);
    file->LoadFromMemory(xml.data(), xml.size(), "map shop test");
    return file;
}

const std::string kDialogs = R"(
    <Scene id="SCENE_MAP"/><Scene id="SCENE_GAME"/>
    <FadeBlackTransition id="TRANSITION_SPECIAL" time="20"/>
    <YesNoDialog id="DIALOG_YESNO" width="40" height="30" minheight="20"><Vector id="components">
        <Label name="MESSAGE" font="FONT_TEXT" section="default"/>
        <Button name="BUTTON_YES" y="20" width="4" height="4"/>
        <Button name="BUTTON_NO" y="20" width="4" height="4"/>
    </Vector></YesNoDialog>
    <TicketDialog id="DIALOG_TICKET" width="60" height="40"><Vector id="components">
        <Button name="BUTTON_PLAY" y="20" width="4" height="4"/>
        <Button name="BUTTON_CANCEL" y="20" width="4" height="4"/>
    </Vector></TicketDialog>)";
const std::string kObjects = R"(<TicketSprite id="SPRITE_TICKET"/><TrackInfoSprite id="SPRITE_BUY" width="8" height="8"/>)";

// The map scene's side, kept in plain members the tests look at.
class FakeMap : public MapShopHost {
public:
    FakeMap() {
        const Ref<Object> built(DialogTable::Instance()->CreateDialog("SCENE_MAP"));
        scene = ObjectCast<Scene>(built.Get());
        dots.Build(FilledSurface(4, 8, 0xFFFFFFFF).Get());
        overlay->SetImage(FilledSurface(400, 400, 0xFF336699).Get());
    }

    Scene& HostScene() override { return *scene; }
    GameNode& SequenceNode() override { return *sequence; }
    KR2Player* Player() const override { return player.Get(); }
    CityRef CurrentCity() const override { return city; }
    int32_t ShownSection() const override { return city.section; }
    int32_t State() const override { return state; }
    void SetState(int32_t value) override { state = value; }
    Sprite* Overlay() const override { return overlay.Get(); }
    LabelTicker* CoinsLabel() const override { return nullptr; }
    Button* MenuButton() const override { return nullptr; }
    GameNode* HighlightNode() const override { return highlight.Get(); }
    GameNode* AssetsNode(int32_t) const override { return assets.Get(); }
    MapRouteDots& RouteDots() override { return dots; }
    void ShowSection(bool composite) override { log.push_back(composite ? "composite" : "uncomposited"); }
    void OnSectionCleared() override { log.push_back("cleared"); }
    void ShowNextSection() override { log.push_back("next"); }
    void ShowPreviousSection() override { log.push_back("previous"); }

    Ref<::Scene> scene;
    Ref<GameNode> sequence{new GameNode()};
    Ref<KR2Player> player{new KR2Player("Ada")};
    CityRef city{0, 0};
    int32_t state = MapShopHost::kIdle;
    Ref<Sprite> overlay{new Sprite()};
    Ref<GameNode> highlight{new GameNode()};
    Ref<GameNode> assets{new GameNode()};
    MapRouteDots dots;
    std::vector<std::string> log;
};

class MapShopTest : public ScenesTest {
protected:
    MapShopTest() {
        UseDialogs(kDialogs + "</Node>" + kObjects + "<Node id=\"rest\">");
        std::string sections = "<Vector id=\"sections\">" + SectionXml(0);
        for (int i = 1; i < SectionList::kSectionCount - 1; ++i) {
            sections += "<Node/>";
        }
        sections += SectionXml(9) + "</Vector>";
        SectionList::Create();
        SectionList::Instance()->Build(Property::Child(Parse(sections).Get(), "sections"));
        const Ref<PropertyFile> constants = Parse(
            "<Vector id=\"COST_TRACK\"><Integer value=\"50\"/><Integer value=\"55\"/><Integer value=\"60\"/>"
            "<Integer value=\"65\"/><Integer value=\"70\"/><Integer value=\"75\"/><Integer value=\"80\"/>"
            "<Integer value=\"85\"/><Integer value=\"90\"/><Integer value=\"95\"/></Vector>");
        ClassFactory::Instance().CreateNamedObjects(*constants);
        auto* stamps = new Section("mapscene", false);
        stamps->AddResource("TRACKBUYCIRCLE", new HeldResource(FilledSurface(6, 6, 0x00000000).Get()));
        stamps->AddResource("TRACKPLAYCIRCLE", new HeldResource(FilledSurface(130, 130, 0x00000000).Get()));
        Load(stamps);
        BUYTRACK_DURATION = 1000;
        BUYTRACK_FIRST_DELAY = 100;
        BUYTRACK_SECOND_DELAY = 100;
        map_ = std::make_unique<FakeMap>();
        panel_ = std::make_unique<MapOfferPanel>(*map_);
    }

    ~MapShopTest() override {
        panel_.reset();
        map_.reset();
        SectionList::ReleaseInstance();
    }

    static SectionList& Map() { return *SectionList::Instance(); }

    static Ref<TicketInfo> TicketOn(int32_t track, int32_t section, int32_t city = 0) {
        Ref<TicketInfo> ticket(new TicketInfo());
        ticket->GameType = 0;
        ticket->Track = track;
        ticket->Section = section;
        ticket->City = city;
        return ticket;
    }

    // The kinds of the modifiers queued on the scene's sequence, in order.
    std::vector<std::string> Sequence() const {
        std::vector<std::string> kinds;
        for (const Ref<Modifier>& modifier : map_->sequence->GetModifiers()) {
            if (ObjectCast<ModifierBuildTrack>(modifier.Get()) != nullptr) {
                kinds.push_back("build");
            } else if (ObjectCast<ModifierSound>(modifier.Get()) != nullptr) {
                kinds.push_back("sound");
            } else if (ObjectCast<ModifierWait>(modifier.Get()) != nullptr) {
                kinds.push_back("wait");
            } else if (ObjectCast<ModifierCallback>(modifier.Get()) != nullptr) {
                kinds.push_back("callback");
            }
        }
        return kinds;
    }

    std::unique_ptr<FakeMap> map_;
    std::unique_ptr<MapOfferPanel> panel_;
};

TEST_F(MapShopTest, TrackPricesComeFromTheListBySection) {
    for (const auto& [section, price] : std::vector<std::pair<int32_t, int32_t>>{{0, 50}, {9, 95}, {10, 0}, {-1, 0}}) {
        EXPECT_EQ(MapTrackShop::GetTrackCost(section), price) << "section " << section;
    }
}

TEST(MapTrackShopText, ThePriceFillsOnlyItsOwnPlaceholder) {
    struct Case {
        const wchar_t* format;
        const wchar_t* text;
    };
    for (const Case& c : {Case{L"Costs %i coins.", L"Costs 60 coins."}, Case{L"%d!", L"60!"},
                          Case{L"100%% for %i", L"100% for 60"}, Case{L"%s %i %i", L"%s 60 %i"},
                          Case{L"no price", L"no price"}, Case{L"ends in %", L"ends in %"}}) {
        EXPECT_EQ(MapTrackShop::FormatPrice(c.format, 60), c.text) << c.format;
    }
}

TEST(MapOfferPanelRoutes, DotsLieEveryThirtyPixelsUpToNineteenFromTheEnd) {
    for (const auto& [length, dots] :
         std::vector<std::pair<double, int32_t>>{{18.0, 0}, {19.0, 1}, {48.9, 1}, {49.0, 2}, {1519.0, 51}}) {
        EXPECT_EQ(MapOfferPanel::DotCount(length), dots) << "length " << length;
    }
}

TEST_F(MapShopTest, RoutesStartAtTheTrainsCityAndStopAtTheEndOfTheDotPool) {
    const Path& drawnFromFarEnd = Map().FindTrack(TrackRef{1, 0})->GetPath();
    const Ref<Path> fromTrain = MapOfferPanel::CurveFromCity(drawnFromFarEnd, Map().FindCity(CityRef{0, 0}));
    EXPECT_EQ(fromTrain->Point(0).y, 100.0f);
    const Ref<Path> kept = MapOfferPanel::CurveFromCity(drawnFromFarEnd, Map().FindCity(CityRef{2, 0}));
    EXPECT_EQ(kept->Point(0).y, 300.0f);

    // Track 0 is 200 px long: 7 dots. Six routes at one city overrun the
    // five pool rows; the sixth gets no dots and no route.
    for (int i = 0; i < MapRouteDots::kMaxRoutes + 1; ++i) {
        panel_->ShowRoute(TrackRef{0, 0});
    }
    ASSERT_EQ(map_->dots.Routes().size(), static_cast<size_t>(MapRouteDots::kMaxRoutes));
    EXPECT_EQ(panel_->RouteTracks().size(), static_cast<size_t>(MapRouteDots::kMaxRoutes));
    EXPECT_EQ(map_->dots.Routes()[0].size(), 7u);
    panel_->ClearRoutes();
    EXPECT_TRUE(map_->dots.Routes().empty());
    EXPECT_EQ(map_->highlight->GetFirstChild(), nullptr);
}

TEST_F(MapShopTest, ThePanelOffersTicketsOnBoughtTracksAndSignsOnlyAfterAGame) {
    Map().FindTrack(TrackRef{0, 0})->bought = true;
    struct Case {
        const char* what;
        int32_t section;
        bool played;
        bool withTicket;
        bool finished;
        std::vector<bool> offersAreTickets;
        bool next;
        bool previous;
    };
    for (const Case& c : {Case{"never played", 0, false, true, false, {true}, false, false},
                          Case{"played", 0, true, true, false, {true, false}, false, false},
                          Case{"bought track without its ticket", 0, true, false, false, {false}, false, false},
                          Case{"finished first section", 0, true, true, true, {true, false}, true, false},
                          Case{"finished last section", 9, true, false, true, {false, false}, false, true}}) {
        KR2Player player("p");
        player.stats.playcount[3] = c.played ? 1 : 0;
        if (c.withTicket) {
            player.tickets.push_back(TicketOn(1, 0));  // another track's ticket comes first
            player.tickets.push_back(TicketOn(0, 0));
        }
        Map().Section(c.section).finished = c.finished;
        const MapOfferPanel::Plan plan = MapOfferPanel::PlanAt(Map(), player, CityRef{0, c.section});
        std::vector<bool> kinds;
        for (const MapOfferPanel::Offer& offer : plan.offers) {
            kinds.push_back(offer.ticket != nullptr);
            if (offer.ticket) {
                EXPECT_EQ(offer.ticket->Track, offer.track.track) << c.what;
            }
        }
        EXPECT_EQ(kinds, c.offersAreTickets) << c.what;
        EXPECT_EQ(plan.nextArrow, c.next) << c.what;
        EXPECT_EQ(plan.previousArrow, c.previous) << c.what;
    }
}

TEST_F(MapShopTest, TooFewCoinsAskNothingAndEnoughCoinsAskTheQuestion) {
    TrackInfoSprite sign(panel_.get());
    sign.SetTrack(TrackRef{0, 0}, map_->city, Map());
    MapTrackShop& shop = panel_->Shop();

    map_->player->coins = 49;
    shop.AskBuyTrack(sign);
    EXPECT_EQ(shop.CurrentDialog(), nullptr);
    EXPECT_EQ(map_->state, MapShopHost::kIdle);

    map_->player->coins = 50;
    shop.AskBuyTrack(sign);
    ASSERT_NE(shop.CurrentDialog(), nullptr);
    EXPECT_EQ(map_->state, MapShopHost::kBuyQuestion);
    EXPECT_TRUE(map_->scene->IsDialogShown("DIALOG_YESNO"));
    YesNoDialog* first = shop.CurrentDialog();
    shop.AskBuyTrack(sign);  // a second click while the question is open
    EXPECT_EQ(shop.CurrentDialog(), first);

    shop.OnBuyTrackNo();
    EXPECT_EQ(shop.CurrentDialog(), nullptr);
    EXPECT_EQ(map_->state, MapShopHost::kIdle);
    EXPECT_FALSE(Map().FindTrack(TrackRef{0, 0})->bought);
    EXPECT_EQ(map_->player->coins, 50);

    // The answered question still fades out: a click now asks nothing and
    // leaves the map idle rather than waiting for an answer.
    ASSERT_TRUE(map_->scene->IsDialogShown("DIALOG_YESNO"));
    shop.AskBuyTrack(sign);
    EXPECT_EQ(shop.CurrentDialog(), nullptr);
    EXPECT_EQ(map_->state, MapShopHost::kIdle);
}

TEST_F(MapShopTest, APurchasePaysAndQueuesTheStepsForHowMuchItFinishes) {
    struct Case {
        const char* what;
        int32_t section;
        bool otherTrackBought;
        std::vector<std::string> steps;
        bool finished;
    };
    for (const Case& c :
         {Case{"section goes on", 0, false, {"build", "sound", "callback"}, false},
          Case{"section finished", 0, true, {"build", "sound", "wait", "callback"}, true},
          Case{"last section finished", 9, true, {"build", "sound", "callback"}, true}}) {
        map_->sequence->ClearModifiers();
        map_->log.clear();
        map_->city = CityRef{0, c.section};
        Map().ResetProgress();
        Map().FindTrack(TrackRef{1, c.section})->bought = c.otherTrackBought;
        map_->player->coins = 200;
        map_->player->stats = PlayerStats();
        map_->player->trophies = {};
        TrackInfoSprite sign(panel_.get());
        sign.SetTrack(TrackRef{0, c.section}, map_->city, Map());
        MapTrackShop& shop = panel_->Shop();
        shop.AskBuyTrack(sign);
        ASSERT_NE(shop.CurrentDialog(), nullptr) << c.what;
        shop.OnBuyTrackYes();

        const int32_t price = MapTrackShop::GetTrackCost(c.section);
        EXPECT_EQ(map_->player->coins, 200 - price) << c.what;
        EXPECT_EQ(map_->player->stats.moneySpent, price) << c.what;
        EXPECT_EQ(map_->player->stats.tracksBought, 1) << c.what;
        EXPECT_TRUE(Map().FindTrack(TrackRef{0, c.section})->bought) << c.what;
        EXPECT_EQ(Sequence(), c.steps) << c.what;
        EXPECT_EQ(map_->log, std::vector<std::string>{"uncomposited"}) << c.what;
        EXPECT_EQ(Map().Section(c.section).finished, c.finished) << c.what;
        EXPECT_EQ(map_->player->trophies[static_cast<size_t>(c.section)],
                  c.finished ? KR2Player::kTrophyPending : KR2Player::kTrophyNotWon)
            << c.what;
        if (c.finished && c.section < 9) {
            EXPECT_TRUE(Map().FindCity(CityRef{Map().Section(c.section).leave, c.section})->bought) << c.what;
            EXPECT_TRUE(Map().FindCity(CityRef{Map().Section(c.section + 1).enter, c.section + 1}) == nullptr ||
                        Map().FindCity(CityRef{Map().Section(c.section + 1).enter, c.section + 1})->bought)
                << c.what;
        }
        map_->sequence->ClearModifiers();
        // The answered question fades out over the next frames; end it now.
        map_->scene->CloseDialog(map_->scene->GetDialogMap().at("DIALOG_YESNO").Get());
    }
}

TEST_F(MapShopTest, AfterAPurchaseThePanelReturnsUnclickableThenOpensTheNewTicket) {
    Map().FindTrack(TrackRef{0, 0})->bought = true;
    map_->player->tickets.push_back(TicketOn(0, 0));
    map_->player->stats.playcount[0] = 1;
    map_->player->curcity = 0;
    map_->player->cursection = 0;
    TrackInfoSprite sign(panel_.get());
    sign.SetTrack(TrackRef{0, 0}, map_->city, Map());
    map_->player->coins = 100;
    MapTrackShop& shop = panel_->Shop();
    shop.AskBuyTrack(sign);
    shop.OnBuyTrackYes();
    map_->sequence->ClearModifiers();

    shop.ReopenTicketPanel();
    ASSERT_EQ(panel_->TicketSprites().size(), 1u);
    EXPECT_FALSE(panel_->TicketSprites()[0]->IsInputEnabled());
    EXPECT_EQ(Sequence(), (std::vector<std::string>{"wait", "callback"}));

    shop.EnableTicketPanel();
    EXPECT_TRUE(panel_->TicketSprites()[0]->IsInputEnabled());
    EXPECT_EQ(map_->state, MapShopHost::kTicketDialog) << "the new track's ticket opened";
    EXPECT_EQ(map_->player->currentTicket.Get(), panel_->TicketSprites()[0]->GetTicket());
    EXPECT_EQ(map_->log.back(), "composite");
}

TEST_F(MapShopTest, RebuildingStampsBoughtTracksWithoutPaymentAndEachCityOnce) {
    auto* cityOne = Map().FindCity(CityRef{1, 0});
    const Ref<Sprite> station(new Sprite());
    station->SetVisible(false);
    station->SetFrame(0);
    cityOne->mapNodes.emplace_back(station.Get());
    map_->player->coins = 7;

    panel_->DrawBoughtTrack(TrackRef{0, 0});
    Surface& overlay = *map_->overlay->GetImage();
    EXPECT_EQ(PixelAt(overlay, 200, 100) >> 24, 0u) << "the track is stamped";
    EXPECT_EQ(PixelAt(overlay, 200, 200) >> 24, 0xFFu) << "away from the track nothing is";
    EXPECT_EQ(PixelAt(overlay, 300, 110) >> 24, 0u) << "the reached city's ring";
    EXPECT_TRUE(station->IsVisible());
    EXPECT_EQ(map_->player->coins, 7);
    EXPECT_TRUE(map_->sequence->GetModifiers().empty());

    // The city shows already: a second track to it leaves its ring alone.
    map_->overlay->SetImage(FilledSurface(400, 400, 0xFF336699).Get());
    panel_->Shop().StampReachedCity(CityRef{1, 0});
    EXPECT_EQ(PixelAt(*map_->overlay->GetImage(), 300, 110) >> 24, 0xFFu);
}

TEST_F(MapShopTest, PlayingATicketLeavesForTheGame) {
    const Ref<Object> game(DialogTable::Instance()->CreateDialog("SCENE_GAME"));
    manager_->AddScene("SCENE_GAME", ObjectCast<::Scene>(game.Get()));
    Map().FindTrack(TrackRef{0, 0})->bought = true;
    map_->player->tickets.push_back(TicketOn(0, 0));
    map_->player->fakepass = true;
    panel_->Show(false);
    ASSERT_EQ(panel_->TicketSprites().size(), 1u);
    TicketInfo* ticket = panel_->TicketSprites()[0]->GetTicket();
    ticket->Finished = true;
    panel_->OpenTicketDialog(*ticket);
    EXPECT_EQ(map_->state, MapShopHost::kTicketDialog);
    EXPECT_FALSE(map_->player->fakepass) << "opening the ticket ends the fixed rating, played or not";

    map_->player->fakepass = true;
    panel_->PlayTicket();
    EXPECT_TRUE(panel_->TicketSprites().empty());
    EXPECT_FALSE(ticket->Finished);
    EXPECT_FALSE(map_->player->fakepass);
    ASSERT_NE(manager_->GetNextScene(), nullptr);
    EXPECT_EQ(manager_->GetNextScene()->GetName(), "SCENE_GAME");
    EXPECT_NE(manager_->GetPendingTransition(), nullptr);
}

}  // namespace
