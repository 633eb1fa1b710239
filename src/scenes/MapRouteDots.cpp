#include "scenes/MapRouteDots.h"

#include <algorithm>
#include <cmath>

#include "engine/media/Surface.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Geometry.h"

void MapRouteDots::Build(Surface* dot) {
    for (auto& route : pool_) {
        route.clear();
        for (int32_t i = 0; i < kMaxDots; ++i) {
            const Ref<Sprite> sprite(new Sprite(0, 0, dot));
            sprite->SetFrameCount(2, false);
            sprite->SetAnchorKind(Sprite::kCenter);
            route.push_back(sprite);
        }
    }
}

bool MapRouteDots::AddRoute(Path* curve, int32_t dotCount, GameNode& parent) {
    const size_t index = curves_.size();
    if (curve == nullptr || index >= pool_.size()) return false;
    const auto count = static_cast<size_t>(std::clamp(dotCount, 0, static_cast<int32_t>(pool_[index].size())));
    curves_.emplace_back(curve);
    std::vector<Sprite*>& route = dots_.emplace_back();
    for (size_t i = 0; i < count; ++i) {
        Sprite* sprite = pool_[index][i].Get();
        parent.AddChild(sprite);
        sprite->SetRemoved(false);
        route.push_back(sprite);
    }
    PlaceDots();
    return true;
}

void MapRouteDots::Clear() {
    for (const auto& route : dots_) {
        for (Sprite* sprite : route) sprite->RemoveFromParent();
    }
    dots_.clear();
    curves_.clear();
}

void MapRouteDots::Update(int32_t elapsedMs) {
    if (curves_.empty()) return;
    phase_ = FloatModulo(phase_, kSpacing) + static_cast<float>(elapsedMs) * kSpeed;
    PlaceDots();
}

void MapRouteDots::PlaceDots() {
    const auto fade = static_cast<int32_t>(phase_ * kFadePerPixel);
    for (size_t r = 0; r < curves_.size(); ++r) {
        float distance = phase_;
        for (Sprite* sprite : dots_[r]) {
            PointF point;
            curves_[r]->GetPointAtDistance(distance, point);
            sprite->SetPosition(static_cast<int32_t>(std::lround(point.x)), static_cast<int32_t>(std::lround(point.y)));
            sprite->SetAlpha(255);
            distance += kSpacing;
        }
        if (dots_[r].empty()) continue;
        dots_[r].front()->SetAlpha(fade);
        dots_[r].back()->SetAlpha(255 - fade);
    }
}
