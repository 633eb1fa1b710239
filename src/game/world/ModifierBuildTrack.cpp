#include "game/world/ModifierBuildTrack.h"

#include <cmath>
#include <numbers>

#include "engine/foundation/RandomGenerator.h"
#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageTools.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/ModifierImageSweep.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierRotate.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/MotionForce.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/SoundNode.h"
#include "game/world/MapOverlays.h"
#include "game/world/TrackInfo.h"

namespace {

constexpr const char* kMapSection = "mapscene";
constexpr int32_t kPlayCircleMs = 700;
constexpr float kPlayCircleScalePerRadius = 0.01f;
constexpr int32_t kPieceFadeMs = 100;
constexpr int32_t kPieceSpinMs = 500;
constexpr int32_t kPieceKickMs = 50;
constexpr float kPieceKick = 1800.0f;
constexpr float kPiecePull = 300.0f;
constexpr float kPieceFriction = 100.0f;
constexpr int32_t kPieceFlightMs = 600;
constexpr int32_t kPieceShrinkMs = 200;

template <typename T>
Ref<T> FindMapResource(const char* name) {
    const Ref<Object> data = FindResourceData(name, kMapSection);
    return ObjectCast<T>(data.Get());
}

uint32_t NextRandom() {
    RandomGenerator* random = RandomGenerator::Global();
    return random != nullptr ? random->Next() : 0;
}

void Stamp(Surface& target, Surface& stamp, int32_t x, int32_t y) {
    const Ref<Canvas> canvas = DisplayCanvasFor(target);
    DrawImageCentered(*canvas, target, stamp, x, y);
}

}  // namespace

ModifierBuildTrack::ModifierBuildTrack(TrackInfo& track, CityInfo* end0, CityInfo* end1, Surface* stampPicture,
                                       Surface* mapPicture, GameNode* sceneTop, int32_t durationMs)
    : track_(&track),
      length_(track.GetPath().GetLength()),
      stampPicture_(stampPicture),
      mapPicture_(mapPicture),
      worker_(new Sprite()),
      ends_{end0, end1},
      duration_(durationMs) {
    if (const Ref<Surface> image = FindMapResource<Surface>("BUILD_TRACK")) {
        worker_->SetImage(image.Get());
    }
    worker_->SetFrameCount(kWorkerFrames, true);
    worker_->SetAnchorKind(Sprite::kCenter);
    if (const Ref<SoundSample> sound = FindMapResource<SoundSample>("SOUND_BUYTRACK")) {
        SoundNode* node = SoundNode::ConstructFromSample(sound.Get());
        worker_->AddChild(node);
        node->StartSound(node->GetVolume(), node->GetPan(), false, false);
    }
    if (sceneTop != nullptr) {
        sceneTop->AddChild(worker_.Get());
    }
}

Ref<Canvas> DisplayCanvasFor(Surface& target) {
    const GameWindow* window = GameWindow::Instance();
    Canvas* canvas = window != nullptr ? window->GetCanvas() : nullptr;
    return canvas != nullptr ? Ref<Canvas>(canvas) : target.CreateCanvas();
}

void ModifierBuildTrack::SetRoute(Path* route) {
    route_ = route;
    length_ = route != nullptr ? route->GetLength() : track_->GetPath().GetLength();
}

void ModifierBuildTrack::Update(int32_t elapsedMs) {
    elapsed_ += elapsedMs;
    flyTimer_ -= elapsedMs;
    const float t = duration_ > 0 ? std::min(1.0f, static_cast<float>(elapsed_) / static_cast<float>(duration_)) : 1.0f;
    const double distance = Smoothstep(t) * length_;
    PointF point;
    (route_ ? *route_ : track_->GetPath()).GetPointAtDistance(static_cast<float>(distance), point);
    const auto x = static_cast<int32_t>(std::lround(point.x));
    const auto y = static_cast<int32_t>(std::lround(point.y));
    if (distance >= kFirstStampDistance && stampPicture_ && mapPicture_) {
        Stamp(*mapPicture_, *stampPicture_, x, y);
    }
    const int32_t mapWidth = mapPicture_ ? mapPicture_->GetWidth() : kMapRightEdge;
    worker_->SetPosition(x - mapWidth + kMapRightEdge, y);
    // The remaining time runs negative between pieces, so keep the frame in range.
    const int32_t frame = (flyTimer_ / kWorkerFrameMs) % kWorkerFrames;
    worker_->SetFrame(frame < 0 ? frame + kWorkerFrames : frame);
    if (flyTimer_ <= 0) {
        ThrowPiece();
        flyTimer_ = 100 + static_cast<int32_t>(NextRandom() % 200);
    }
    if (elapsed_ >= duration_) {
        SetFinished();
        worker_->SetRemoved(true);
        for (const Ref<CityInfo>& city : ends_) {
            PopUpCity(city.Get());
        }
    }
}

void ModifierBuildTrack::ThrowPiece() {
    GameNode* parent = worker_->GetParent();
    if (parent == nullptr) {
        return;
    }
    const char* name = NextRandom() % 2 == 0 ? "BUILD_NAIL" : "BUILD_HAMER";
    Sprite* piece = new Sprite(worker_->GetX(), worker_->GetY(), FindMapResource<Surface>(name).Get());
    piece->SetAlpha(0);
    piece->SetAnchorKind(Sprite::kCenter);
    piece->InsertBefore(worker_.Get());

    Modifier* fade = piece->AddModifier(new ModifierValue(0, 255, kPieceFadeMs));
    fade->SetOptions(Modifier::kBlockFollowing);
    piece->AddModifier(new ModifierRotate(kPieceSpinMs, 0.0f));
    const float angle = static_cast<float>(NextRandom() % 10000) * 2.0f * std::numbers::pi_v<float> / 10000.0f;
    auto* mover = new ModifierMover();
    auto* kick = new ForceAcceleration(std::sin(angle) * kPieceKick - kPieceKick / 2,
                                       std::cos(angle) * kPieceKick - kPieceKick / 2);
    kick->SetRemainingTime(kPieceKickMs);
    mover->AddForce(kick);
    mover->AddForce(new ForceAcceleration(0.0f, kPiecePull));
    mover->AddForce(new ForceFriction(kPieceFriction));
    piece->AddModifier(mover);
    piece->AddModifier(new ModifierWait(kPieceFlightMs))->SetOptions(Modifier::kBlockFollowing);
    piece->AddModifier(new ModifierZoom(kPieceShrinkMs, 1.0f, 0.0f))->SetOptions(Modifier::kRemoveNodeAtEnd);
}

void ModifierBuildTrack::PopUpCity(CityInfo* city) {
    if (city == nullptr || city->assets.ids.empty() || city->mapNodes.empty()) {
        return;
    }
    const auto* first = ObjectCast<GameNode>(city->mapNodes.front().Get());
    if (first == nullptr || first->IsVisible()) {
        return;
    }
    if (mapPicture_ && GetTarget() != nullptr) {
        StartTrackPlayCircle(*city, *mapPicture_, *GetTarget());
    }
    for (const Ref<Object>& node : city->mapNodes) {
        if (Sprite* item = ObjectCast<Sprite>(node.Get()); item != nullptr && !item->IsVisible()) {
            ShowItemPopup(*item);
        }
    }
}

void StartTrackPlayCircle(const CityInfo& city, Surface& mapPicture, GameNode& target) {
    const Ref<Surface> circle = FindMapResource<Surface>("TRACKPLAYCIRCLE");
    target.AddModifier(new ModifierImageSweep(static_cast<float>(city.circleRadius) * kPlayCircleScalePerRadius,
                                              kPlayCircleMs, &mapPicture, circle.Get(), city.circleX, city.circleY));
}
