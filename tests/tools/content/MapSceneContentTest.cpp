#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "GameServicesSession.h"
#include "GeneratedMediaSession.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/media/InputListenerList.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/RenderPass.h"
#include "engine/ui/Button.h"
#include "engine/ui/LabelTicker.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/DialogRanking.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/progress/KR2Player.h"
#include "game/progress/Rankings.h"
#include "game/words/TicketInfo.h"
#include "game/world/SectionList.h"
#include "platform/PngWriter.h"
#include "scenes/MapScene.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/world/TicketSprite.h"
#include "game/world/TrackInfoSprite.h"
#include "game/world/TrackPart.h"
#include "scenes/MapOfferPanel.h"
#include "support/TempUserFolders.h"

// The map scene built from the shipped definition on the generated media:
// its three ways in, the ride after a won level, the slide to the next
// section and the menu.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr int32_t kFrameMs = 20;

class MapSceneContent : public testing::Test {
protected:
    MapSceneContent() {
        SectionList::Create();
        map_ = SectionList::Instance();

        player_ = new KR2Player("Tester");
        player_->stats.score = 300;
        player_->coins = 25;
        player_->cursection = 0;
        player_->curcity = map_->Section(0).enter;
        // The map's own behaviour is tested without bubbles over it.
        player_->showhints = false;
        Players::Instance()->Add(player_.Get());
        Players::Instance()->SetCurrent(player_.Get());

        Property* definition = DialogTable::Instance()->FindDialogDefinition("SCENE_MAP");
        const Ref<Object> built(ClassFactory::Instance().Create(definition));
        scene_ = ObjectCast<MapScene>(built.Get());
        EXPECT_TRUE(scene_);
        scene_->SetName("SCENE_MAP");
        SceneManager::Instance()->AddScene("SCENE_MAP", scene_.Get());
    }

    ~MapSceneContent() override {
        HintDialog::ReleaseOpen();
        if (scene_ && scene_->IsActive()) scene_->Deactivate();
        scene_ = nullptr;
        SectionList::ReleaseInstance();
    }

    void Enter() {
        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    // Enters the scene anew, as when the game scene hands back to it.
    void ReEnter() {
        scene_->Deactivate();
        scene_->Activate();
    }

    void Play(int32_t ms) {
        for (int32_t t = 0; t < ms; t += kFrameMs) SceneManager::Instance()->Update(kFrameMs);
    }

    // Plays until the condition holds; false after `limitMs`.
    template <typename Condition>
    bool PlayUntil(Condition condition, int32_t limitMs) {
        for (int32_t t = 0; t < limitMs; t += kFrameMs) {
            if (condition()) return true;
            SceneManager::Instance()->Update(kFrameMs);
        }
        return condition();
    }

    Ref<MemorySurface> Screenshot(const std::string& name) const {
        const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000);
        RenderPass::DrawNodeTree(*screen->CreateCanvas(), *scene_->GetRootNode());
        platform::WritePng(kBuild + "/" + name + ".png", screen->Pixels32(), 800, 600);
        return screen;
    }

    const CityInfo& City(CityRef city) const { return *map_->FindCity(city); }

    // Hints on, with only these not shown yet.
    void OnlyHints(std::initializer_list<int32_t> hints) {
        player_->showhints = true;
        player_->hints.fill(false);
        for (const int32_t hint : hints) player_->hints[static_cast<size_t>(hint)] = true;
    }

    // Pages through the open bubble to its end and lets it fade away.
    bool CloseOpenHint() {
        HintDialog* bubble = HintDialog::Open();
        if (bubble == nullptr) return false;
        while (bubble->GetPageIndex() < bubble->GetPageCount() - 1) bubble->Advance();
        bubble->Advance();
        return PlayUntil([] { return HintDialog::Open() == nullptr; }, 2000);
    }

    // A track of section 0 that starts at the player's city, with its far end.
    std::pair<int32_t, CityRef> TrackFromPlayerCity() const {
        const SectionInfo& section = map_->Section(0);
        for (size_t t = 0; t < section.tracks.size(); ++t) {
            const TrackInfo& track = *section.tracks[t];
            for (int end = 0; end < 2; ++end) {
                if (track.ends[end].city == player_->curcity) {
                    return {static_cast<int32_t>(t), track.ends[1 - end]};
                }
            }
        }
        return {-1, {}};
    }

    // Puts a player who has played at the far end of a track from their
    // city, where another track of that city is for sale.
    void StandBesideATrackForSale(TrackRef& forSale, size_t& cityTracks) {
        const auto [firstTrack, farCity] = TrackFromPlayerCity();
        ASSERT_GE(firstTrack, 0);
        player_->curcity = farCity.city;
        std::vector<TrackRef> tracks;
        map_->GetTracksOfCity(farCity, tracks);
        ASSERT_GE(tracks.size(), 2u);
        forSale = tracks.front().track == firstTrack ? tracks.back() : tracks.front();
        cityTracks = tracks.size();
        map_->FindTrack(forSale)->bought = false;
        player_->stats.playcount[0] = 1;
    }

    // What the game scene leaves behind after a won level on that track.
    void WinLevelOn(int32_t track, CityRef destination, int32_t games) {
        Ref<TicketInfo> ticket = new TicketInfo;
        ticket->Section = 0;
        ticket->Track = track;
        ticket->GameType = 2;
        player_->currentTicket = ticket;
        player_->lastWon = true;
        player_->lastScore = 120;
        player_->stats.score += 120;
        player_->curcity = destination.city;
        map_->Section(0).tracks[static_cast<size_t>(track)]->games = games;
        scene_->SetReturnFromGame(true);
    }

    // The siblings of the train are in ascending y with the train, standing
    // at `trainY`, after those of equal y.
    static bool DepthOrdered(const GameNode& train, int32_t trainY) {
        int32_t last = INT32_MIN;
        bool trainSeen = false;
        for (const GameNode* node = train.GetParent()->GetFirstChild(); node != nullptr; node = node->GetNextSibling()) {
            const int32_t y = node == &train ? trainY : node->GetY();
            if (y < last || (trainSeen && y == trainY)) return false;
            trainSeen = trainSeen || node == &train;
            last = y;
        }
        return true;
    }
    static bool DepthOrdered(const GameNode& train) { return DepthOrdered(train, train.GetY()); }

    TempUserFolders userFolders_;
    // Opened after the user folders are set, and closed before they go.
    GeneratedMediaSession media_{{"default", "dialogs", "mapscene", "assets", "rewards", "trophy"}};
    GameServicesSession services_;
    SectionList* map_ = nullptr;
    Ref<KR2Player> player_;
    Ref<MapScene> scene_;
};

TEST_F(MapSceneContent, FromTheMenuTheSectionShowsWithTheTrainAtItsCityUnderTheBar) {
    Enter();
    const CityRef city{player_->curcity, 0};
    EXPECT_EQ(scene_->GetState(), MapScene::kIdle);
    EXPECT_EQ(scene_->GetShownSection(), 0);
    EXPECT_TRUE(player_->mapFlag);
    EXPECT_TRUE(City(city).visited);
    EXPECT_EQ(scene_->GetCurrentCity(), city);
    Sprite* train = scene_->GetTrainSprite();
    ASSERT_NE(train, nullptr);
    EXPECT_EQ(train->GetParent(), scene_->GetAssetsNode(0));
    EXPECT_EQ(train->GetX(), City(city).x);
    EXPECT_EQ(train->GetY(), City(city).y);
    EXPECT_TRUE(DepthOrdered(*train));
    EXPECT_EQ(scene_->GetAssetsNode(0)->GetFirstChild(), scene_->GetHighlightNode());
    // The back and the overlay are drawn as one picture.
    EXPECT_TRUE(scene_->GetSceneBuffer()->IsVisible());
    EXPECT_FALSE(scene_->GetBackground()->IsVisible());
    ASSERT_NE(scene_->GetSceneBuffer()->GetImage(), nullptr);
    EXPECT_NE(scene_->GetOverlay()->GetImage(), nullptr) << "section 0 has tracks to buy";
    EXPECT_EQ(scene_->GetCoinsLabel()->GetTarget(), 25);
    EXPECT_EQ(scene_->GetScoreLabel()->GetTarget(), 300);

    Play(200);
    const Ref<MemorySurface> screen = Screenshot("map_scene_entered");
    // The bar's wood along the top, its parchment well under the coins.
    const uint32_t wood = PixelAt(*screen, 200, 30) & 0xFFFFFF;
    EXPECT_GT((wood >> 16) & 0xFF, (wood & 0xFF) + 30) << std::hex << wood;
    EXPECT_EQ(PixelAt(*screen, 400, 20) & 0xFFFFFF, 0xF3E6C8u);
    // The train stands on its city: some pixel just above the city is not the map's.
    const Ref<MemorySurface> bare = FilledSurface(800, 600, 0xFF000000);
    train->SetVisible(false);
    RenderPass::DrawNodeTree(*bare->CreateCanvas(), *scene_->GetRootNode());
    train->SetVisible(true);
    int differing = 0;
    for (int32_t dy = 2; dy < 30; dy += 2) {
        for (int32_t dx = -20; dx <= 20; dx += 2) {
            differing += PixelAt(*screen, City(city).x + dx, City(city).y - dy) !=
                         PixelAt(*bare, City(city).x + dx, City(city).y - dy);
        }
    }
    EXPECT_GT(differing, 40);
}

TEST_F(MapSceneContent, EachWayInStartsWhatItShould) {
    Enter();
    const auto [track, destination] = TrackFromPlayerCity();
    ASSERT_GE(track, 0);
    const CityRef start = scene_->GetCurrentCity();
    Sprite* train = scene_->GetTrainSprite();

    // Back from a lost level: the train stays and the defeat hint is due.
    player_->lastWon = false;
    scene_->SetReturnFromGame(true);
    train->SetPosition(11, 22);
    ReEnter();
    EXPECT_TRUE(scene_->GetShowDefeatHint());
    EXPECT_FALSE(scene_->GetReturnFromGame());
    EXPECT_EQ(scene_->GetState(), MapScene::kIdle);
    EXPECT_EQ(train->GetX(), 11);
    EXPECT_FALSE(train->HasModifiers());

    // Back from a won level: the ride starts with the menu locked, and the
    // score counts up from where it stood before the level.
    scene_->ClearDefeatHint();
    WinLevelOn(track, destination, 2);
    ReEnter();
    EXPECT_EQ(scene_->GetState(), MapScene::kTravelling);
    EXPECT_TRUE(train->HasModifiers());
    EXPECT_FALSE(scene_->GetMenuButton()->IsEnabled());
    EXPECT_FALSE(scene_->GetShowDefeatHint());
    EXPECT_TRUE(City(destination).visited);
    EXPECT_EQ(scene_->GetScoreLabel()->GetTarget(), player_->stats.score - player_->lastScore);
    EXPECT_EQ(scene_->GetCurrentCity(), start) << "the train leaves from where it stood";
}

TEST_F(MapSceneContent, TheRideEndsAtTheNextCityWithTheLevelResultThenThePanel) {
    Enter();
    const auto [track, destination] = TrackFromPlayerCity();
    ASSERT_GE(track, 0);
    for (const int32_t games : {2, 1}) {
        player_->curcity = scene_->GetCurrentCity().city;
        ReEnter();
        WinLevelOn(track, destination, games);
        ReEnter();
        // Only the first win on a track uncovers the land along it.
        EXPECT_EQ(scene_->GetSequenceNode()->HasModifiers(), games == 1) << games;
        EXPECT_EQ(scene_->GetSceneBuffer()->IsVisible(), games != 1) << games;
        Sprite* train = scene_->GetTrainSprite();
        // Each frame sorts the train at the height it had before it moved on.
        bool ordered = true;
        int32_t lastY = train->GetY();
        const bool shown = PlayUntil(
            [&] {
                ordered = ordered && (DepthOrdered(*train, lastY) || DepthOrdered(*train));
                lastY = train->GetY();
                return scene_->IsDialogShown("DIALOG_LEVEL_SUCCESS");
            },
            15000);
        ASSERT_TRUE(shown) << games;
        EXPECT_TRUE(ordered) << "the train keeps its depth among the pieces while it rides";
        EXPECT_EQ(scene_->GetCurrentCity(), destination);
        EXPECT_EQ(train->GetX(), City(destination).x);
        EXPECT_EQ(train->GetY(), City(destination).y);
        EXPECT_TRUE(scene_->GetSceneBuffer()->IsVisible());
        EXPECT_FALSE(scene_->GetMenuButton()->IsEnabled()) << "the panel only follows the OK";
        ASSERT_TRUE(player_->currentTicket);
        if (games == 1) {
            Play(600);
            Screenshot("map_scene_level_success");
        }

        auto* ok = ObjectCast<Button>(scene_->GetCurrentDialog()->FindChild("BUTTON_OK"));
        ASSERT_NE(ok, nullptr);
        ok->Invoke(ok);
        Play(800);  // the fade-in, then the fade-out
        EXPECT_FALSE(scene_->IsDialogShown("DIALOG_LEVEL_SUCCESS"));
        EXPECT_EQ(scene_->GetCurrentDialog(), nullptr);
        EXPECT_TRUE(scene_->GetMenuButton()->IsEnabled());
        EXPECT_FALSE(player_->currentTicket);
        EXPECT_EQ(scene_->GetState(), MapScene::kIdle);
    }
    // The first win left the parts of the track revealed.
    for (const int32_t part : map_->Section(0).tracks[static_cast<size_t>(track)]->curveIds) {
        EXPECT_TRUE(map_->Section(0).trackParts[static_cast<size_t>(part)]->revealed) << part;
    }
}

// A classic game adds its score to the player's total without booking a
// rank: the badge, shown anew from the menu, names the rank that total earns
// and the points still missing to the next, never a negative figure.
TEST_F(MapSceneContent, TheRankBadgeAfterAClassicGameNamesTheRankTheScoreEarns) {
    Enter();
    player_->stats.score += 100000;
    ReEnter();
    const int32_t rank = player_->ComputeRankIndex();
    ASSERT_GT(rank, player_->ranking);
    EXPECT_EQ(scene_->GetRankLabel()->GetText(), rankings::GetRankName(rank));
    EXPECT_EQ(scene_->GetRankingSprite()->GetCurrentFrame(), rank);
    const std::wstring tip = scene_->GetRankLabel()->GetToolTip().value_or(L"");
    EXPECT_EQ(tip.find(L'-'), std::wstring::npos) << std::string(tip.begin(), tip.end());
    EXPECT_NE(tip.find(std::to_wstring(player_->PointsToNextRank())), std::wstring::npos);
    EXPECT_GT(player_->PointsToNextRank(), 0);
}

TEST_F(MapSceneContent, ARiseInRankShowsTheRankDialogWhichGivesTheMapBackAndPresentsTheTopTrophy) {
    Enter();
    const auto [track, destination] = TrackFromPlayerCity();
    for (const bool topTrophyWon : {false, true}) {
        player_->curcity = scene_->GetCurrentCity().city;
        ReEnter();
        WinLevelOn(track, destination, 2);
        player_->rankChanged = true;
        player_->trophies[DialogRanking::kTopRankTrophy] =
            topTrophyWon ? KR2Player::kTrophyPending : KR2Player::kTrophyNotWon;
        ReEnter();
        ASSERT_TRUE(PlayUntil([&] { return scene_->IsDialogShown("DIALOG_LEVEL_SUCCESS"); }, 15000));
        Play(400);
        auto* ok = ObjectCast<Button>(scene_->GetCurrentDialog()->FindChild("BUTTON_OK"));
        ok->Invoke(ok);
        ASSERT_TRUE(PlayUntil([&] { return scene_->IsDialogShown("DIALOG_RANKING"); }, 2000));
        EXPECT_EQ(scene_->GetState(), MapDialogHooks::kRankDialog);
        EXPECT_FALSE(scene_->IsVisible());
        if (topTrophyWon) {
            EXPECT_EQ(player_->trophies[DialogRanking::kTopRankTrophy], KR2Player::kTrophyPending);
        }

        auto* ranking = ObjectCast<DialogRanking>(scene_->GetDialogMap().at("DIALOG_RANKING").Get());
        scene_->CloseDialog(ranking);  // not by its OK
        Play(200);
        if (!topTrophyWon) {
            EXPECT_TRUE(scene_->IsVisible()) << "the rank dialog gives the map back however it closes";
            EXPECT_TRUE(scene_->GetComponentNode()->IsVisible());
            EXPECT_EQ(scene_->GetState(), MapScene::kIdle);
            continue;
        }
        // The award freezes the map in its turn.
        EXPECT_TRUE(scene_->IsDialogShown("DIALOG_TROPHY_AWARDED"));
        EXPECT_EQ(player_->trophies[DialogRanking::kTopRankTrophy], KR2Player::kTrophyShown);
    }
}

TEST_F(MapSceneContent, TheArrowsSlideTheViewAndTheTrainDrivesInAtTheEnterOrLeaveCity) {
    Enter();
    player_->hints[40] = false;
    player_->hints[41] = true;
    MapScene::OnNextSection(scene_.Get(), nullptr);
    EXPECT_EQ(scene_->GetState(), MapScene::kScrolling);
    EXPECT_EQ(scene_->GetShownSection(), 1);
    EXPECT_EQ(player_->cursection, 1);
    EXPECT_EQ(player_->curcity, map_->Section(1).enter);
    EXPECT_FALSE(player_->hints[41]);
    EXPECT_EQ(player_->hints[40], !map_->Section(1).finished);
    // The players are saved, once, two updates after the entry and the change, not on their frames.
    const std::string list = Players::Instance()->ListFilePath();
    EXPECT_FALSE(std::filesystem::exists(list));
    Play(2 * kFrameMs);
    EXPECT_TRUE(std::filesystem::exists(list)) << "the player list was saved";
    EXPECT_FALSE(scene_->GetAssetsNode(0)->IsVisible());
    EXPECT_TRUE(scene_->GetAssetsNode(1)->IsVisible());
    EXPECT_EQ(scene_->GetTrainSprite()->GetParent(), scene_->GetAssetsNode(1));

    Play(SECTION_SCROLL_DURATION / 2);
    const Ref<MemorySurface> middle = Screenshot("map_scene_sliding");
    // Half way the in-between piece (200 wide after the old 800) is on screen.
    EXPECT_NE(scene_->GetSceneNode()->GetX(), 0);
    ASSERT_TRUE(PlayUntil([&] { return scene_->GetState() == MapScene::kIdle; }, 5000));
    const CityInfo& enter = City({map_->Section(1).enter, 1});
    EXPECT_EQ(scene_->GetSceneNode()->GetX(), 0);
    EXPECT_EQ(scene_->GetTrainSprite()->GetX(), enter.x);
    EXPECT_EQ(scene_->GetTrainSprite()->GetY(), enter.y);
    EXPECT_TRUE(scene_->GetHighlightNode()->IsVisible());
    Play(100);
    Screenshot("map_scene_section_1");

    MapScene::OnPrevSection(scene_.Get(), nullptr);
    EXPECT_EQ(player_->curcity, map_->Section(0).leave);
    ASSERT_TRUE(PlayUntil([&] { return scene_->GetState() == MapScene::kIdle; }, 5000));
    const CityInfo& leave = City({map_->Section(0).leave, 0});
    EXPECT_EQ(scene_->GetShownSection(), 0);
    EXPECT_EQ(scene_->GetTrainSprite()->GetX(), leave.x);
    EXPECT_EQ(scene_->GetTrainSprite()->GetY(), leave.y);

    // Leaving the map saves at once what was still to be saved.
    std::filesystem::remove(list);
    MapScene::OnNextSection(scene_.Get(), nullptr);
    scene_->Deactivate();
    EXPECT_TRUE(std::filesystem::exists(list));
}

TEST_F(MapSceneContent, AClearedSectionLosesItsOverlayAndShowsEveryPiece) {
    Enter();
    GameNode* section = scene_->GetAssetsNode(0);
    const auto hidden = [section] {
        int count = 0;
        for (GameNode* node = section->GetFirstChild(); node != nullptr; node = node->GetNextSibling()) {
            count += node->IsVisible() ? 0 : 1;
        }
        return count;
    };
    ASSERT_GT(hidden(), 0) << "pieces wait under the overlay";
    // Each piece draws its delay, then its sound, from the game's generator.
    const Ref<RandomGenerator> before(RandomGenerator::Global());
    RandomGenerator::SetGlobal(new RandomGenerator(7, 0));
    const Ref<RandomGenerator> twin(new RandomGenerator(7, 0));
    const int pieces = hidden();
    scene_->OnSectionCleared();
    for (int draw = 0; draw < 2 * pieces; ++draw) {
        twin->Next();
    }
    EXPECT_EQ(RandomGenerator::Global()->Next(), twin->Next());
    RandomGenerator::SetGlobal(before.Get());
    Play(1100);
    EXPECT_EQ(scene_->GetOverlay()->GetImage(), nullptr);
    Play(2000);
    EXPECT_EQ(hidden(), 0) << "every piece has popped up within three seconds";

    // A section whose tracks are all bought is shown without overlay at once.
    for (const Ref<TrackInfo>& track : map_->Section(0).tracks) track->bought = true;
    player_->mapFlag = false;
    ReEnter();
    EXPECT_EQ(scene_->GetOverlay()->GetImage(), nullptr);
    EXPECT_EQ(scene_->GetTrainSprite()->GetParent(), section);
    EXPECT_EQ(hidden(), 0);
}

// Every other track bought as well, each bought track played once: the
// land around them is uncovered, but only the bought rails may show in it.
TEST_F(MapSceneContent, AroundPlayedTracksTheBoughtRailsShowAndTheUnboughtOnesStayCovered) {
    SectionInfo& section = map_->Section(0);
    for (size_t t = 0; t < section.tracks.size(); ++t) {
        TrackInfo& track = *section.tracks[t];
        track.bought = track.bought || t % 2 == 1;
        track.games = track.bought ? 1 : 0;
    }
    ASSERT_FALSE(scene_->IsSectionComplete(0));
    Enter();
    Play(200);
    Screenshot("map_scene_played_tracks");
    const Surface& overlay = *scene_->GetOverlay()->GetImage()->GetDisplayCopy();
    const auto alphaAt = [&overlay](const PointF& point) {
        return PixelAt(overlay, static_cast<int32_t>(point.x), static_cast<int32_t>(point.y)) >> 24;
    };
    // Off their end cities, where an unbought neighbour may begin.
    constexpr float kCityClearance = 50.0f;
    for (size_t t = 0; t < section.tracks.size(); ++t) {
        const TrackInfo& track = *section.tracks[t];
        if (!track.bought) continue;
        const Path& path = track.GetPath();
        for (float d = kCityClearance; d < path.GetLength() - kCityClearance; d += 10.0f) {
            PointF point;
            path.GetPointAtDistance(d, point);
            EXPECT_LT(alphaAt(point), 100u) << "bought track " << t << " at " << point.x << ", " << point.y;
        }
    }
    int covered = 0;
    for (size_t t = 0; t < section.tracks.size(); ++t) {
        if (!section.tracks[t]->bought) continue;
        std::vector<Ref<TrackPart>> near;
        map_->FindTrackPartsNearTrack({static_cast<int32_t>(t), 0}, near, 0, 0);
        for (const Ref<TrackPart>& part : near) {
            const Path& path = part->SampledPath();
            PointF middle;
            path.GetPointAtDistance(static_cast<float>(path.GetLength() / 2), middle);
            EXPECT_EQ(alphaAt(middle), 255u) << "unbought part near track " << t;
            ++covered;
        }
    }
    EXPECT_GT(covered, 0) << "some unbought part lies near a played track";
}

int32_t Children(const GameNode& node) {
    int32_t count = 0;
    for (const GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) ++count;
    return count;
}

// How many of these pictures of the section are loaded.
int LoadedPictures(const char* section, std::initializer_list<const char*> ids) {
    int loaded = 0;
    for (const char* id : ids) loaded += SectionManager::Instance()->GetResource(id, section) != nullptr;
    return loaded;
}

TEST_F(MapSceneContent, ALeftMapLetsGoOfWhatItDoesNotShowAndIsDrawnAgainOnTheWayBack) {
    const auto levelResults = {"LEVELEND_BG_0", "LEVELEND_BG_3", "DIALOG_TICKET_0"};
    const auto scenery = {"ASSET_TREE_ROUND", "ASSET_TREE_PINE", "ASSET_TREE_POPLAR", "ASSET_BUSH",
                          "ASSET_HOUSE", "ASSET_FARM"};
    Enter();
    const GameNode* pieces = scene_->GetAssetsNode(0);
    const int32_t pieceCount = Children(*pieces);
    ASSERT_GT(pieceCount, 2);
    ASSERT_GT(LoadedPictures("assets", scenery), 0);
    // Every way onto the map asks for its sections before the map comes.
    const auto requestSections = [] {
        while (SectionManager::Instance()->RequestSection("mapscene") || MapScene::RequestMapSections()) {
            std::this_thread::yield();
        }
    };

    // For a race: the pictures of the level results and the tickets' cards go.
    scene_->Deactivate();
    EXPECT_EQ(LoadedPictures("mapscene", levelResults), 0);
    EXPECT_NE(SectionManager::Instance()->GetResource("TRAIN_LEFT", "mapscene"), nullptr) << "the train keeps it";
    EXPECT_EQ(Children(*pieces), pieceCount);
    requestSections();
    scene_->Activate();
    EXPECT_EQ(LoadedPictures("mapscene", levelResults), 3);

    // For the menu: the landscape pieces and station signs go too, and come
    // back with the map drawn as it was.
    const Ref<Scene> menu(new Scene(nullptr));
    menu->SetName("SCENE_SELECTION");
    SceneManager::Instance()->AddScene("SCENE_SELECTION", menu.Get());
    const auto toTheMenuAndBack = [&](const char* shot) {
        SceneManager::Instance()->RequestSwitch(menu.Get());
        Play(2 * kFrameMs);
        EXPECT_EQ(pieces->GetFirstChild(), nullptr);
        EXPECT_EQ(LoadedPictures("assets", scenery), 0);
        for (const Ref<CityInfo>& city : map_->Section(0).cities) EXPECT_TRUE(city->mapNodes.empty());
        requestSections();
        Enter();
        Play(200);
        EXPECT_EQ(Children(*pieces), pieceCount);
        return Screenshot(shot);
    };
    const Ref<MemorySurface> once = toTheMenuAndBack("map_scene_back_from_the_menu");
    const Ref<MemorySurface> twice = toTheMenuAndBack("map_scene_back_from_the_menu_again");
    int differing = 0;
    for (int32_t y = 0; y < 600; ++y) {
        for (int32_t x = 0; x < 800; ++x) differing += PixelAt(*once, x, y) != PixelAt(*twice, x, y);
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(MapSceneContent, TheMenuLocksTheMapOnlyWhileItIsOpen) {
    Enter();
    MapScene::OnMenuButton(scene_.Get(), nullptr);
    EXPECT_EQ(scene_->GetState(), MapScene::kMenuOpen);
    ASSERT_TRUE(scene_->IsDialogShown("DIALOG_MENU"));
    Play(400);
    EXPECT_EQ(scene_->GetState(), MapScene::kMenuOpen);
    auto* resume = ObjectCast<Button>(scene_->GetDialogMap().at("DIALOG_MENU")->FindChild("BUTTON_RESUME"));
    ASSERT_NE(resume, nullptr);
    resume->Invoke(resume);
    Play(600);
    EXPECT_EQ(scene_->GetState(), MapScene::kIdle);

    // Leaving the map takes an open menu with it.
    MapScene::OnMenuButton(scene_.Get(), nullptr);
    scene_->Deactivate();
    EXPECT_FALSE(scene_->IsDialogShown("DIALOG_MENU"));
    EXPECT_EQ(scene_->GetDialogMap().count("DIALOG_MENU"), 0u);
}

}  // namespace

TEST_F(MapSceneContent, ABoughtTrackIsBuiltWhileTheCoinsFlyThenThePanelReturns) {
    // At the far end of the first track, with another of its tracks for sale.
    TrackRef forSale;
    size_t cityTracks = 0;
    ASSERT_NO_FATAL_FAILURE(StandBesideATrackForSale(forSale, cityTracks));
    player_->coins = 500;
    RandomGenerator::SetGlobal(new RandomGenerator(7, 0));
    Enter();
    RandomGenerator::SetGlobal(nullptr);
    Play(400);
    auto* panel = dynamic_cast<MapOfferPanel*>(scene_->GetTicketPanel());
    ASSERT_NE(panel, nullptr);
    ASSERT_FALSE(panel->TrackInfoSprites().empty()) << "a player who has played sees the tracks for sale";
    ASSERT_EQ(panel->TicketSprites().size(), cityTracks - 1) << "each bought track carries a ticket";
    EXPECT_FALSE(scene_->GetRouteDots().Routes().empty());
    Screenshot("map_scene_offers");
    const Ref<TrackInfoSprite> sign = panel->TrackInfoSprites()[0];
    const TrackRef track = sign->GetTrack();
    EXPECT_EQ(track, forSale);
    MapTrackShop& shop = panel->Shop();

    shop.AskBuyTrack(*sign);
    ASSERT_NE(shop.CurrentDialog(), nullptr);
    EXPECT_EQ(scene_->GetState(), MapScene::kBuyQuestion);
    Play(300);
    Screenshot("map_scene_buy_question");
    shop.OnBuyTrackYes();
    const int32_t price = MapTrackShop::GetTrackCost(0);
    EXPECT_EQ(player_->coins, 500 - price);
    EXPECT_TRUE(map_->FindTrack(track)->bought);
    EXPECT_TRUE(panel->TrackInfoSprites().empty());
    EXPECT_FALSE(scene_->GetMenuButton()->IsEnabled());

    // The counter walks down to the coins left, never below them.
    const LabelTicker& counter = *scene_->GetCoinsLabel();
    double fewest = counter.GetCurrent();
    const auto watchCounter = [&] { fewest = std::min(fewest, counter.GetCurrent()); };
    PlayUntil([&] { watchCounter(); return false; }, BUYTRACK_DURATION / 2);
    Screenshot("map_scene_building");
    EXPECT_LT(counter.GetCurrent(), 500) << "coins leave the counter one by one";
    ASSERT_TRUE(PlayUntil([&] { watchCounter(); return scene_->GetState() != MapScene::kBuyQuestion; }, 10000));
    EXPECT_GE(fewest, player_->coins);
    EXPECT_EQ(counter.GetCurrent(), player_->coins);
    EXPECT_TRUE(scene_->GetMenuButton()->IsEnabled());
    Play(400);
    Screenshot("map_scene_track_bought");
}

TEST_F(MapSceneContent, AMapHintOpensOnceWhenItsTriggerHolds) {
    OnlyHints({26, 36});
    Enter();
    Play(kFrameMs);
    HintDialog* bubble = HintDialog::Open();
    ASSERT_NE(bubble, nullptr) << "the first map hint shows the train";
    EXPECT_EQ(bubble->GetHintId(), 26);
    EXPECT_FALSE(player_->hints[26]);
    EXPECT_TRUE(scene_->IsDialogShown(bubble->GetName()));
    ASSERT_FALSE(bubble->GetTargets().empty());
    EXPECT_EQ(bubble->GetTargets().front(), scene_->GetTrainSprite());
    Play(400);
    Screenshot("map_scene_hint_train");
    const int32_t idle = scene_->GetIdleTime();
    Play(200);
    EXPECT_EQ(scene_->GetIdleTime(), idle) << "the map is not idle under a bubble";

    ASSERT_TRUE(CloseOpenHint());
    Play(500);
    EXPECT_EQ(HintDialog::Open(), nullptr);
    ReEnter();
    Play(200);
    EXPECT_EQ(HintDialog::Open(), nullptr) << "a hint shows once";

    // Back from a lost level the defeat hint shows, once.
    player_->lastWon = false;
    scene_->SetReturnFromGame(true);
    ReEnter();
    Play(kFrameMs);
    ASSERT_NE(HintDialog::Open(), nullptr);
    EXPECT_EQ(HintDialog::Open()->GetHintId(), 36);
    EXPECT_FALSE(scene_->GetShowDefeatHint());
    ASSERT_TRUE(CloseOpenHint());
    scene_->SetReturnFromGame(true);
    ReEnter();
    Play(200);
    EXPECT_EQ(HintDialog::Open(), nullptr);
}

// A ticket still takes clicks under a hint, so the map may be left with the
// bubble up; it goes with the map, and the next scene's hints can open.
TEST_F(MapSceneContent, LeavingTheMapClosesItsOpenHint) {
    OnlyHints({26});
    Enter();
    Play(kFrameMs);
    HintDialog* bubble = HintDialog::Open();
    ASSERT_NE(bubble, nullptr);
    const std::string name = bubble->GetName();
    scene_->Deactivate();
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_FALSE(scene_->IsDialogShown(name));
}

// The offers a hint is about still take clicks through its bubble, and
// leave its listeners when they go, so the bubble never calls a gone sprite.
TEST_F(MapSceneContent, AnOfferHintLetsItsOfferTakeClicksUntilTheOfferGoes) {
    TrackRef forSale;
    size_t cityTracks = 0;
    ASSERT_NO_FATAL_FAILURE(StandBesideATrackForSale(forSale, cityTracks));
    OnlyHints({38});
    Enter();
    Play(kFrameMs);
    auto* panel = dynamic_cast<MapOfferPanel*>(scene_->GetTicketPanel());
    ASSERT_NE(panel, nullptr);
    ASSERT_FALSE(panel->TrackInfoSprites().empty());
    HintDialog* bubble = HintDialog::Open();
    ASSERT_NE(bubble, nullptr);
    EXPECT_EQ(bubble->GetHintId(), 38);
    TrackInfoSprite* sign = panel->TrackInfoSprites().front().Get();
    EXPECT_EQ(bubble->GetTargets().front(), sign);
    const std::vector<InputListener*>& listeners = bubble->GetListenerList()->Listeners();
    ASSERT_FALSE(listeners.empty());
    EXPECT_EQ(listeners.front(), static_cast<InputListener*>(sign)) << "the sign is asked before the bubble";
    Play(400);
    Screenshot("map_scene_hint_sign");

    panel->Clear(false);
    EXPECT_EQ(std::count(listeners.begin(), listeners.end(), static_cast<InputListener*>(sign)), 0);
}
