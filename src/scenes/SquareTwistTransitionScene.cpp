#include "scenes/SquareTwistTransitionScene.h"

#include <algorithm>
#include <cstdio>
#include <numbers>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierRotateScale.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/Label.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/KR2Dialog.h"
#include "platform/Time.h"

namespace {

const ClassRegistration registration("SquareTwistTransitionScene", CreateFromProperty<SquareTwistTransitionScene>);

constexpr uint32_t kWaitSleepMs = 100;
constexpr int32_t kLabelColor = 0xB20B0B;

// Tiles narrower than this would be thousands of sprites, each turned every frame.
constexpr int32_t kSmallestTile = 10;

void ReadHeld(Property* definition, const char* key, int32_t low, int32_t high, int32_t& value) {
    if (Property* child = Property::Child(definition, key)) {
        value = media_numbers::Held(child, low, high);
    }
}

}  // namespace

SquareTwistTransitionScene::SquareTwistTransitionScene(Property* definition) : SceneTransition(definition) {
    // The base's source picture only receives the capture the tiles are cut from.
    GetSourceSprite()->SetVisible(false);
    const int32_t width = ScreenWidth();
    const int32_t height = ScreenHeight();
    ReadHeld(definition, "spacingx", kSmallestTile, std::max(width, kSmallestTile), spacingX_);
    ReadHeld(definition, "spacingy", kSmallestTile, std::max(height, kSmallestTile), spacingY_);
    ReadHeld(definition, "time", 0, media_numbers::kLongestTimeMs, time_);
    ReadHeld(definition, "delay", 0, media_numbers::kLongestTimeMs, delay_);
    if (Property* circle = Property::Child(definition, "circle")) {
        float turns = 0.0f;
        if (std::sscanf(Property::AsString(circle).c_str(), "%f", &turns) == 1) {
            circle_ = turns;
        }
    }
    columns_ = width / spacingX_;
    rows_ = height / spacingY_;
    tiles_.reserve(static_cast<size_t>(columns_) * rows_);
    for (int32_t r = 0; r < rows_; ++r) {
        for (int32_t c = 0; c < columns_; ++c) {
            // The tile's picture is cut from the screen when the twist runs.
            Ref<Sprite> tile(new Sprite(spacingX_ * c + spacingX_ / 2, spacingY_ * r + spacingY_ / 2, nullptr));
            tile->SetAnchorKind(Sprite::kCenter);
            GetRootNode()->AddChild(tile.Get());
            tiles_.push_back(std::move(tile));
        }
    }
}

SquareTwistTransitionScene::~SquareTwistTransitionScene() = default;

void SquareTwistTransitionScene::Activate() {
    SceneTransition::Activate();
    DrawSourceScene();
    Surface* capture = GetSourceSprite()->GetImage();
    for (int32_t r = 0; r < rows_; ++r) {
        for (int32_t c = 0; c < columns_; ++c) {
            Sprite& tile = *tiles_[static_cast<size_t>(r) * columns_ + c];
            const Ref<MemorySurface> picture = CreateMemorySurface(spacingX_, spacingY_);
            picture->SetUseAlphaChannel(false);
            picture->CreateCanvas()->Blit(*capture, 0, 0, c * spacingX_, r * spacingY_, spacingX_, spacingY_);
            tile.SetImage(picture.Get());
        }
    }
}

void SquareTwistTransitionScene::Deactivate() {
    SceneTransition::Deactivate();
    for (const Ref<Sprite>& tile : tiles_) tile->SetImage(nullptr);
}

void SquareTwistTransitionScene::Update(int32_t elapsedMs) {
    elapsed_ += elapsedMs;
    if (phase_ == kTwisting) {
        return;
    }
    if (!dialogOpened_ && elapsed_ > kDialogDelayMs) {
        OpenLoadingDialog();
    }
    if (loadingLabel_) {
        cadence_.Advance(*loadingLabel_, elapsed_, loadingDialog_->GetWidth());
    }
    if ((!dialogOpened_ || elapsed_ > kDialogMinimumMs) && QueuedSectionsLoaded()) {
        phase_ = kTwisting;
        if (loadingDialog_) {
            // A game dialog closing during a transition leaves the scene
            // entered; this one stands in the transition itself.
            loadingDialog_->SetAfterClose([this](KR2Dialog* dialog) { CloseDialog(dialog); });
            loadingDialog_->Close();
            loadingDialog_ = nullptr;
            loadingLabel_ = nullptr;
        }
        StartTwist();
    }
    if (phase_ == kWaiting) {
        platform::SleepMs(kWaitSleepMs);
    }
}

void SquareTwistTransitionScene::OpenLoadingDialog() {
    // Tried once: a missing definition is reported once, not every frame.
    dialogOpened_ = true;
    loadingDialog_ = ObjectCast<KR2Dialog>(GetDialog("DIALOG_LOADING", true, ""));
    if (!loadingDialog_) {
        ENGINE_LOG(1, "SquareTwistTransitionScene: \"DIALOG_LOADING\" is no game dialog");
        return;
    }
    ShowDialog(loadingDialog_.Get());
    KR2Dialog::FadeIn(loadingDialog_.Get(), DIALOG_FADE_TIME);
    const Ref<Object> font = FindResourceData("FONT_TEXT", "default");
    loadingLabel_ = Label::LabelFromValues(0, loadingDialog_->GetHeight() / 2, 0, 0,
                                           ObjectCast<BitmapFont>(font.Get()), Label::kNoWrap);
    loadingLabel_->SetAnchorKind(Sprite::kLeft);
    loadingLabel_->SetColor(kLabelColor);
    loadingLabel_->AddModifier(MakeLoadingPulse().Get());
    loadingDialog_->AddChild(loadingLabel_.Get());
    cadence_.Start(elapsed_);
}

void SquareTwistTransitionScene::StartTwist() {
    const float turn = circle_ * 2.0f * std::numbers::pi_v<float>;
    for (int32_t r = 0; r < rows_; ++r) {
        for (int32_t c = 0; c < columns_; ++c) {
            Sprite& tile = *tiles_[static_cast<size_t>(r) * columns_ + c];
            tile.SetSmoothRotateScale(false);
            const Ref<Modifier> wait(new ModifierWait((r + c) * delay_));
            wait->SetOptions(Modifier::kBlockFollowing);
            tile.AddModifier(wait.Get());
            const Ref<Modifier> twist(new ModifierRotateScale(0.0f, turn, 1.0f, 0.0f, time_));
            tile.AddModifier(twist.Get());
        }
    }
    Sprite& screen = *GetTargetSprite();
    if (!tiles_.empty()) {
        const Ref<Modifier> lastTile(new ModifierWait(static_cast<GameNode*>(tiles_.back().Get())));
        screen.AddModifier(lastTile.Get());
    }
    screen.AddModifier(MakeEndCallback().Get());
    PrepareTarget();
    FullScreenHandler::HideDuringTransition(GetTargetScene());
    DrawTargetScene();
}
