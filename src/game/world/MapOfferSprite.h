#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Button.h"

class MapSpriteHost;

// A button on the map that offers something at a city: it stands on its
// bottom centre, wobbles now and then while the map is idle, and lights up
// together with a highlight node (the city's sprite), which takes clicks
// like the button itself.
class MapOfferSprite : public Button {
    ENGINE_CLASS(MapOfferSprite, Button)

public:
    // Highlight frames.
    static constexpr int32_t kHighlightOff = 0;
    static constexpr int32_t kHighlightOver = 1;
    static constexpr int32_t kHighlightPressed = 2;

    explicit MapOfferSprite(MapSpriteHost* host);
    // From an object definition; the scene sets the host afterwards.
    explicit MapOfferSprite(Property* definition);

    void SetHost(MapSpriteHost* host) { host_ = host; }

    void SetHighlight(Sprite* highlight) { highlight_ = highlight; }
    Sprite* GetHighlight() const { return highlight_.Get(); }

    void Update(int32_t elapsedMs) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;

protected:
    // A completed click: `byButton` when the button took the release itself,
    // `onHighlight` when it ended on the pressed highlight. True when handled.
    virtual bool Activate(bool byButton, bool onHighlight) = 0;

    MapSpriteHost* Host() const { return host_; }

private:
    void StandOnBottomCentre();
    bool OverHighlight(int32_t x, int32_t y) const;

    MapSpriteHost* host_ = nullptr;
    Ref<Sprite> highlight_;
    int32_t attentionTimer_;
};
