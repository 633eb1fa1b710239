#include "game/world/ModifierSectionReveal.h"

#include <cmath>

#include "engine/scene/ModifierImageSweep.h"
#include "game/world/MapOverlays.h"
#include "game/world/SectionInfo.h"
#include "game/world/TrackInfo.h"

ModifierSectionReveal::ModifierSectionReveal(SectionInfo& section, const TrackInfo& track, GameNode* train,
                                             Sprite* brush, Surface* destination)
    : train_(train),
      trainParent_(train != nullptr ? train->GetParent() : nullptr),
      brush_(brush),
      destination_(destination) {
    size_t points = 0;
    for (const int32_t id : track.curveIds) {
        if (id < 0 || id >= static_cast<int32_t>(section.trackParts.size())) {
            continue;
        }
        TrackPart* part = section.trackParts[static_cast<size_t>(id)].Get();
        if (!part->revealed) {
            parts_.emplace_back(part);
            points += part->circlePoints.size();
        }
    }
    done_.assign(points, false);
}

void ModifierSectionReveal::Update(int32_t elapsedMs) {
    const bool allDone = UncoverPointsInReach();
    if (!allDone && elapsed_ < kTimeCapMs) {
        elapsed_ += elapsedMs;
        return;
    }
    SetFinished();
    for (const Ref<TrackPart>& part : parts_) {
        part->revealed = true;
    }
    elapsed_ += elapsedMs;
}

bool ModifierSectionReveal::UncoverPointsInReach() {
    if (!train_) {
        return false;
    }
    int32_t x = train_->GetX();
    const int32_t y = train_->GetY();
    if (train_->GetParent() != trainParent_ && brush_) {
        x += brush_->GetX();
    }
    bool allDone = true;
    size_t flag = 0;
    for (const Ref<TrackPart>& part : parts_) {
        for (size_t i = 0; i < part->circlePoints.size(); ++i, ++flag) {
            if (done_[flag]) {
                continue;
            }
            const TrackPart::CirclePoint& point = part->circlePoints[i];
            const auto distance = static_cast<int32_t>(std::hypot(static_cast<double>(x - point.x),
                                                                  static_cast<double>(y - point.y)));
            if (distance < point.radius) {
                done_[flag] = true;
                Uncover(*part, static_cast<int32_t>(i));
            } else {
                allDone = false;
            }
        }
    }
    return allDone;
}

void ModifierSectionReveal::Uncover(TrackPart& part, int32_t point) {
    const TrackPart::CirclePoint& circle = part.circlePoints[static_cast<size_t>(point)];
    Surface* brushImage = brush_ ? brush_->GetImage() : nullptr;
    Ref<ModifierImageSweep> sweep =
        new ModifierImageSweep(static_cast<float>(circle.radius) * kSweepScalePerRadius, kSweepMs,
                               destination_.Get(), brushImage, circle.x, circle.y);
    if (GameNode* target = GetTarget()) {
        target->AddModifier(sweep.Get());
    }
    ShowSectionAssets(part, point, true, sweep.Get());
}
