#include "game/world/TrackInfoSprite.h"

#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/DisabledSpriteImageVector.h"
#include "engine/scene/SceneResources.h"
#include "game/world/SectionList.h"

namespace {

constexpr int32_t kButtonFrames = 3;
constexpr int32_t kPriceOffsetX = 4;

const ClassRegistration registration("TrackInfoSprite", CreateFromProperty<TrackInfoSprite>);

}  // namespace

TrackInfoSprite::TrackInfoSprite(MapSpriteHost* host) : MapOfferSprite(host) {
    MakePriceLabel();
}

TrackInfoSprite::TrackInfoSprite(Property* definition) : MapOfferSprite(definition) {
    MakePriceLabel();
}

void TrackInfoSprite::MakePriceLabel() {
    const Ref<Object> fontData = FindResourceData("FONT_DIALOG_HEADER", "default");
    priceLabel_ = Label::LabelFromValues(0, 0, 0, 0, ObjectCast<BitmapFont>(fontData.Get()), 0);
    priceLabel_->SetAutoSize(true);
}

TrackInfoSprite::~TrackInfoSprite() {
    Sprite* highlight = GetHighlight();
    if (highlight != nullptr && ObjectCast<DisabledSpriteImageVector>(highlight) == nullptr) {
        highlight->SetRemoved(true);
    }
}

void TrackInfoSprite::SetTrack(TrackRef track, CityRef playerCity, const SectionList& map) {
    track_ = track;
    const TrackInfo* info = map.FindTrack(track);
    if (info == nullptr) {
        return;
    }
    city_ = map.FindCity(info->ends[info->ends[0] == playerCity ? 1 : 0]);
    if (city_) {
        SetPosition(city_->ticketX, city_->ticketY);
    }
}

void TrackInfoSprite::SetCost(int32_t coins) {
    priceLabel_->SetText(std::to_wstring(coins));
    if (GetImage() == nullptr) {
        return;
    }
    const Ref<MemorySurface> copy = CloneSurface(*GetImage());
    Ref<Canvas> canvas = copy->CreateCanvas();
    const int32_t width = GetWidth();
    const int32_t height = GetHeight();
    for (int32_t frame = 0; frame < kButtonFrames; ++frame) {
        priceLabel_->SetPosition(width / 2 - priceLabel_->GetWidth() / 2 + kPriceOffsetX,
                                 height * frame - priceLabel_->GetHeight() / 2 - 1 + height / 2);
        priceLabel_->Draw(*canvas);
    }
    copy->SetDirty(true);
    SetImage(copy.Get());
}

bool TrackInfoSprite::Activate(bool byButton, bool onHighlight) {
    if (byButton) {
        return true;  // the button fired its action itself
    }
    if (onHighlight) {
        Invoke(this);
        return true;
    }
    return false;
}
