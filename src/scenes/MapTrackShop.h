#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/world/MapRefs.h"

class CityInfo;
class GameNode;
class MapShopHost;
class MapOfferPanel;
class SectionInfo;
class TrackInfo;
class TrackInfoSprite;
class YesNoDialog;

// Buying tracks on the map: the price, the question, the payment, the build
// animation with the coins flying off the counter, and the timed steps after
// it: the panel's return, a finished section's trophy and, after the last
// track of the map, the end message and the credits.
class MapTrackShop {
public:
    static constexpr int32_t kLastSection = 9;
    static constexpr int32_t kCoinRise = 40;
    static constexpr int32_t kCoinFrameMs = 50;
    static constexpr float kStampSpacing = 5.0f;
    static constexpr float kPlayCircleRadius = 65.0f;
    static constexpr int32_t kTrophyWaitMs = 500;
    static constexpr int32_t kSectionClearedWaitMs = 3500;

    MapTrackShop(MapShopHost& host, MapOfferPanel& panel);
    ~MapTrackShop();
    MapTrackShop(const MapTrackShop&) = delete;
    MapTrackShop& operator=(const MapTrackShop&) = delete;

    // The price of every track of the section; 0 when the list has no entry.
    static int32_t GetTrackCost(int32_t section);
    // Every track bought; a section without tracks counts as finished.
    static bool IsSectionComplete(const SectionInfo& section);
    // The end of the track away from `current`.
    static CityRef FarCity(const TrackInfo& track, CityRef current);
    // The question text: the first "%i" or "%d" of the format becomes the
    // number and "%%" a percent sign; nothing else in it is read.
    static std::wstring FormatPrice(const std::wstring& format, int32_t price);

    // A click on a price sign: asks, or explains that the coins do not do.
    void AskBuyTrack(const TrackInfoSprite& sign);
    void OnBuyTrackYes();
    void OnBuyTrackNo();
    // Marks the track bought and shows it: animated after a purchase, or
    // only stamped onto the map when the map is rebuilt.
    void BuyTrack(TrackRef track, bool animate);
    // Shows the city's hidden sprites and stamps its ring, once.
    void StampReachedCity(CityRef city);

    // The steps after a purchase, run from the scene's sequence.
    void TakeOneCoin();
    void AfterTrackBought();
    void AwardSectionTrophy();
    void AfterSectionTrophy();
    void ReopenTicketPanel();
    void EnableTicketPanel();
    void ShowGameEnd();
    void ShowFinalCredits();

    // The handler of the price signs; the context is the shop.
    static int32_t OnTrackSign(void* shop, GameNode* sender);

    YesNoDialog* CurrentDialog() const { return dialog_.Get(); }
    TrackRef AskedTrack() const { return askedTrack_; }

private:
    void StampTrack(const TrackInfo& track);
    void FlyCoins(int32_t price);
    void Then(void (MapTrackShop::*step)());

    static int32_t OnYes(void* shop, GameNode*);
    static int32_t OnNo(void* shop, GameNode*);

    MapShopHost& host_;
    MapOfferPanel& panel_;
    Ref<YesNoDialog> dialog_;
    TrackRef askedTrack_;
};
