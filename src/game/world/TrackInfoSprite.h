#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Label.h"
#include "game/world/CityInfo.h"
#include "game/world/MapOfferSprite.h"
#include "game/world/MapRefs.h"

class SectionList;

// The price panel of a track the player can buy, standing at the far end of
// the track with the price drawn into its button frames. A click fires the
// button's action.
class TrackInfoSprite : public MapOfferSprite {
    ENGINE_CLASS(TrackInfoSprite, MapOfferSprite)

public:
    explicit TrackInfoSprite(MapSpriteHost* host);
    explicit TrackInfoSprite(Property* definition);
    ~TrackInfoSprite() override;

    // Stands at end 1 when the player is at end 0, else at end 0.
    void SetTrack(TrackRef track, CityRef playerCity, const SectionList& map);
    // Writes the price into each button frame of a copy of the image.
    void SetCost(int32_t coins);

    TrackRef GetTrack() const { return track_; }
    CityInfo* GetCity() const { return city_.Get(); }
    const Label& PriceLabel() const { return *priceLabel_; }

protected:
    bool Activate(bool byButton, bool onHighlight) override;

private:
    void MakePriceLabel();

    TrackRef track_;
    Ref<CityInfo> city_;
    Ref<Label> priceLabel_;
};
