#include "game/dialogs/HintDialog.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Surface.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/Painter.h"
#include "engine/ui/Scene.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/progress/KR2Player.h"

namespace {

const ClassRegistration registration("HintDialog", CreateFromProperty<HintDialog>);

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
// The OK button sits this far above the bubble's bottom.
constexpr int32_t kOkButtonFromBottom = 80;
// Only pixels more opaque than this take clicks.
constexpr uint32_t kOpaquePixel = 0xAA000000U;
// The painter's image places of the four corners and of their masks.
constexpr int32_t kMaskOffset = 9;
constexpr int32_t kGlowFadeMs = 100;
constexpr int32_t kGlowPeak = 128;
constexpr int32_t kGlowRampMs = 60;
constexpr int32_t kGlowPulses = 4;

// The single open bubble; it holds a reference while open.
Ref<HintDialog>& OpenBubble() {
    static Ref<HintDialog> open;
    return open;
}

int32_t CornerIndex(const std::string& corner) {
    if (corner == "TOP_LEFT") {
        return 0;
    }
    if (corner == "TOP_RIGHT") {
        return 2;
    }
    return corner == "BOTTOM_LEFT" ? 6 : 8;
}

}  // namespace

HintPlacement PlaceBesideTarget(const HintRect& target, int32_t width, int32_t height) {
    HintPlacement placement;
    const bool top = target.y + 25 <= kScreenHeight - (target.y + target.height);
    const bool left = target.x - 15 <= kScreenWidth - (target.x + target.width - 15);
    placement.y = top ? target.y + target.height : target.y + 10 - height;
    placement.x = left ? target.x + target.width - 15 : target.x + 6 - width;
    placement.corner = std::string(top ? "TOP_" : "BOTTOM_") + (left ? "LEFT" : "RIGHT");
    // The left and top edges first, so a bubble wider than the screen ends flush right.
    placement.x = std::max(placement.x, 0);
    placement.y = std::max(placement.y, 0);
    if (placement.x + width > kScreenWidth) {
        placement.x = kScreenWidth - width;
    }
    if (placement.y + height > kScreenHeight) {
        placement.y = kScreenHeight - height;
    }
    return placement;
}

HintDialog::HintDialog(Property* definition) : KR2Dialog(definition), extraNode_(new GameNode) {
    okButton_ = ObjectCast<Button>(FindChild("BUTTON_OK"));
    BindControl(okButton_, &HintDialog::OnOkPressed, static_cast<Object*>(this));
    textLabel_ = ObjectCast<Label>(FindChild("LABEL_TEXT"));
    if (okButton_ == nullptr || textLabel_ == nullptr) {
        ENGINE_LOG(1, "HintDialog: the definition lacks BUTTON_OK or LABEL_TEXT");
    }
    definedLabelY_ = textLabel_ != nullptr ? textLabel_->GetY() : 0;
    definedOkKey_ = okButton_ != nullptr ? okButton_->GetFireKeyCode() : Button::kNoFireKey;
    middleHeight_ = Property::AsInt(Property::Child(GetDefinition(), "TUT_MIDDLE_HEIGHT"));
    if (GetPainter() != nullptr) {
        definedImageNames_ = GetPainter()->GetImageNames();
    }
    GetComponentNode()->AddChild(extraNode_.Get());
    // The bubble decides itself whether it pauses the game.
    SetNotifyGameScene(false);
}

HintDialog::~HintDialog() = default;

HintDialog* HintDialog::Create(Scene* scene, int32_t hintId) {
    if (scene == nullptr) {
        scene = CurrentDialogScene();
    }
    if (scene == nullptr) {
        return nullptr;
    }
    auto* dialog = ObjectCast<HintDialog>(scene->GetDialog("DIALOG_HINT", true));
    if (dialog == nullptr) {
        ENGINE_LOG(1, "HintDialog: the scene builds no \"DIALOG_HINT\" bubble");
        return nullptr;
    }
    OpenBubble() = dialog;
    dialog->StartHint(hintId);
    return dialog;
}

HintDialog* HintDialog::Open() { return OpenBubble().Get(); }

void HintDialog::ReleaseOpen() { OpenBubble() = nullptr; }

void HintDialog::CloseOpenIn(Scene& scene) {
    const Ref<HintDialog> open = OpenBubble();
    const auto& dialogs = scene.GetDialogMap();
    if (open && std::any_of(dialogs.begin(), dialogs.end(),
                            [&open](const auto& entry) { return entry.second.Get() == open.Get(); })) {
        scene.CloseDialog(open.Get());
        // A bubble that was no longer shown had no hide to forget it.
        if (OpenBubble() == open) {
            ReleaseOpen();
        }
    }
}

void HintDialog::StartHint(int32_t hintId) {
    ResetForReuse();
    hintId_ = hintId;
    pageIndex_ = 0;
    openTime_ = 0;
    SetModal(true);
    onFinished_ = nullptr;
    targets_.clear();
    ClearExtras();
    if (textLabel_ != nullptr) {
        textLabel_->SetY(definedLabelY_);
    }
    if (Painter* painter = GetPainter()) {
        for (size_t i = 0; i < definedImageNames_.size(); ++i) {
            if (painter->GetImageNames()[i] != definedImageNames_[i]) {
                painter->SetImageName(static_cast<int32_t>(i), definedImageNames_[i]);
            }
        }
    }
    pages_ = &Property::VectorOf(Property::At(Property::Child(GetDefinition(), "descs"), hintId));
    pageCount_ = Property::VectorOf(pages_.Get()).Count();
}

void HintDialog::AddTarget(GameNode* target) { targets_.push_back(target); }

Property* HintDialog::PageNode(int32_t page) const {
    return &Property::NodeOf(Property::At(pages_.Get(), page));
}

void HintDialog::SetPageText(int32_t page) {
    if (textLabel_ == nullptr) {
        return;
    }
    const std::string textId = Property::AsString(Property::Child(PageNode(page), "textid"));
    const Defines* defines = Defines::Instance();
    textLabel_->SetText(defines != nullptr && !textId.empty() ? defines->GetText(textId) : std::wstring());
}

void HintDialog::ClearExtras() {
    extraNode_->RemoveChildren();
}

void HintDialog::ShowPage() {
    SetPageText(pageIndex_);
    ClearExtras();
    for (const Ref<Property>& entry : Property::VectorOf(Property::Child(PageNode(pageIndex_), "extra")).Items()) {
        const Ref<Object> made(ClassFactory::Instance().Create(entry.Get()));
        if (auto* node = ObjectCast<GameNode>(made.Get())) {
            extraNode_->AddChild(node);
        } else {
            ENGINE_LOG(1, "HintDialog: hint %d has an extra \"%s\" that builds no node", hintId_,
                       entry->TypeName().c_str());
        }
    }
    SetLayoutDirty();
}

void HintDialog::Layout() {
    if (IsAutoCenter()) {
        SetPosition((kScreenWidth - GetWidth()) / 2, (kScreenHeight - GetHeight()) / 2);
    }
    int32_t tallest = 0;
    for (int32_t page = 0; page < pageCount_; ++page) {
        SetPageText(page);
        tallest = std::max(tallest, textLabel_ != nullptr ? textLabel_->GetHeight() : 0);
    }
    const int32_t grow = std::max(tallest - middleHeight_, 0);
    SetHeight(Property::AsInt(Property::Child(GetDefinition(), "minheight")) + grow);
    if (textLabel_ != nullptr) {
        textLabel_->SetY(textLabel_->GetY() + (middleHeight_ + grow) / 2);
    }
    if (okButton_ != nullptr) {
        okButton_->SetY(GetHeight() - kOkButtonFromBottom);
    }
    ShowPage();
}

void HintDialog::SetArrowCorner(const std::string& corner) {
    Painter* painter = GetPainter();
    if (painter == nullptr) {
        return;
    }
    const int32_t index = CornerIndex(corner);
    painter->SetImageName(index, "HINT_ARROW_" + corner);
    painter->SetImageName(index + kMaskOffset, "HINT_ARROW_" + corner + "_MASK");
    SetLayoutDirty();
}

void HintDialog::PlaceArrow(const HintRect* target) {
    if (target == nullptr) {
        SetAutoCenter(true);
        SetPosition(kScreenWidth / 2 - GetWidth() / 2, kScreenHeight / 2 - GetHeight() / 2);
        return;
    }
    const HintPlacement placement = PlaceBesideTarget(*target, GetWidth(), GetHeight());
    SetAutoCenter(false);
    SetArrowCorner(placement.corner);
    SetPosition(placement.x, placement.y);
}

void HintDialog::PlaceAtTarget(GameNode* target) {
    if (target == nullptr) {
        PlaceArrow(nullptr);
        return;
    }
    HintRect rect{target->GetAbsoluteX(), target->GetAbsoluteY(), 0, 0};
    if (const auto* sprite = ObjectCast<Sprite>(target)) {
        rect.x -= static_cast<int32_t>(std::lround(sprite->GetAnchorX()));
        rect.y -= static_cast<int32_t>(std::lround(sprite->GetAnchorY()));
        rect.width = sprite->GetWidth();
        rect.height = sprite->GetHeight();
    }
    PlaceArrow(&rect);
}

void HintDialog::Advance() {
    if (pageIndex_ < pageCount_ - 1) {
        ++pageIndex_;
        openTime_ = 0;
        ShowPage();
        return;
    }
    if (onFinished_) {
        const std::function<void()> finished = std::move(onFinished_);
        onFinished_ = nullptr;
        finished();
    }
    Close();
}

int32_t HintDialog::OnOkPressed(void* dialog, GameNode*) {
    auto* self = static_cast<HintDialog*>(static_cast<Object*>(dialog));
    if (self->openTime_ >= HINT_ENTER_FROM_OPEN) {
        self->Advance();
    }
    return 0;
}

bool HintDialog::OnGameInput(int32_t inputId, int32_t wordBarMoveState) {
    const Ref<HintDialog> open = OpenBubble();
    if (!open) {
        return true;
    }
    if (open->hintId_ == inputId) {
        // The word bar hint waits for a coal actually heading for a free slot.
        if (inputId == kWordBarHint && wordBarMoveState != 0 && wordBarMoveState != 4) {
            return false;
        }
        open->Advance();
        return true;
    }
    if (open->openTime_ >= HINT_AUTO_CLOSE_TIME * 1000) {
        open->Advance();
    }
    return true;
}

void HintDialog::Update(int32_t elapsedMs) {
    KR2Dialog::Update(elapsedMs);
    openTime_ += elapsedMs;
}

bool HintDialog::HitTest(int32_t x, int32_t y) const {
    if (!KR2Dialog::HitTest(x, y)) {
        return false;
    }
    Surface* image = GetImage();
    if (image == nullptr) {
        return true;
    }
    const int32_t px = x - (GetAbsoluteX() - static_cast<int32_t>(GetAnchorX()));
    const int32_t py = y - (GetAbsoluteY() - static_cast<int32_t>(GetAnchorY()));
    // The sprite's bounds may differ from its picture's (a picture not yet
    // resized after a layout change): never read outside the picture.
    if (px < 0 || py < 0 || px >= image->GetWidth() || py >= image->GetHeight() ||
        image->GetPixelFormat().bytesPerPixel != 4) {
        return false;
    }
    ScopedSurfaceLock lock(*image);
    const uint32_t* pixels = image->Pixels32();
    return pixels != nullptr && pixels[image->PixelIndex(px, py)] > kOpaquePixel;
}

void HintDialog::OnShow() {
    KR2Dialog::OnShow();
    if (KR2Player* player = CurrentHintPlayer(); player != nullptr && hintId_ >= 0 && hintId_ < KR2Player::kHintCount) {
        player->hints[static_cast<size_t>(hintId_)] = false;
    }
    if (hintId_ >= kFirstNonModalHint && hintId_ <= kLastNonModalHint) {
        // The game goes on under these: they answer the very inputs they teach.
        SetModal(false);
    } else if (GameSceneHooks* hooks = GameSceneHooks::Installed()) {
        Scene* scene = CurrentDialogScene();
        if (scene != nullptr && hooks->IsGameScene(scene)) {
            hooks->OnDialogOpened(scene, this);
        }
    }
    // Over a running race the keys belong to the word being typed.
    GetListenerList()->SetKeepsKeys(IsModal());
    if (okButton_ != nullptr) {
        okButton_->SetFireKeyCode(IsModal() ? definedOkKey_ : Button::kNoFireKey);
    }
    FadeIn(this, DIALOG_FADE_TIME);
}

void HintDialog::OnHide() {
    const Ref<HintDialog> keep(this);
    KR2Dialog::OnHide();
    if (OpenBubble().Get() == this) {
        ReleaseOpen();
    }
}

bool HintDialog::OnChar(int32_t) {
    if (IsModal()) {
        GlowOkButton();
    }
    return false;
}

bool HintDialog::TakesClicks() const { return pageIndex_ > 0 || openTime_ >= HINT_ENTER_FROM_OPEN; }

bool HintDialog::OnMouseMove(int32_t x, int32_t y, uint32_t) { return TakesClicks() && HitTest(x, y); }

bool HintDialog::OnLButtonDown(int32_t x, int32_t y, uint32_t, bool) { return TakesClicks() && HitTest(x, y); }

bool HintDialog::OnLButtonUp(int32_t x, int32_t y, uint32_t) {
    if (!TakesClicks()) {
        return false;
    }
    bool hit = HitTest(x, y);
    if (hintId_ == kFirstMapHint && !targets_.empty()) {
        const auto* target = ObjectCast<Sprite>(targets_.front());
        if (target != nullptr && target->HitTest(x, y)) {
            Advance();
            hit = true;
        }
    }
    if (IsModal() && !hit) {
        GlowOkButton();
    }
    return hit;
}

void HintDialog::GlowOkButton() {
    if (okButton_ == nullptr || okButton_->GetParent() == nullptr) {
        return;
    }
    if (!glow_) {
        const Ref<Object> image = FindResourceData("BUTTON_GLOW", "default");
        glow_ = new AdditiveSprite(okButton_->GetX(), okButton_->GetY() + okButton_->GetHeight() / 2,
                                   ObjectCast<Surface>(image.Get()));
        glow_->SetAnchorKind(Sprite::kCenter);
        glow_->SetAlpha(0);
    }
    glow_->ClearModifiers();
    glow_->InsertBefore(okButton_);
    if (glow_->GetAlpha() != 0) {
        const Ref<Modifier> fade(new ModifierValue(glow_->GetAlpha(), 0, kGlowFadeMs));
        fade->SetOptions(Modifier::kBlockFollowing);
        glow_->AddModifier(fade.Get());
    }
    const Ref<Modifier> pulse(
        new ModifierPulse(0, kGlowPeak, ModifierPulse::Timing{kGlowRampMs, kGlowRampMs, 0, 0}, kGlowPulses));
    glow_->AddModifier(pulse.Get());
}

KR2Player* CurrentHintPlayer() {
    const Players* players = Players::Instance();
    return ObjectCast<KR2Player>(players != nullptr ? players->GetCurrent() : nullptr);
}

HintDialog* OpenHint(int32_t hintId, GameNode* target, const HintRect* rect) {
    HintDialog* dialog = HintDialog::Create(nullptr, hintId);
    if (dialog == nullptr) {
        return nullptr;
    }
    dialog->AddTarget(target);
    dialog->Layout();
    if (rect != nullptr) {
        dialog->PlaceArrow(rect);
    } else {
        dialog->PlaceAtTarget(target);
    }
    if (Scene* scene = CurrentDialogScene()) {
        scene->ShowDialog(dialog);
    }
    return dialog;
}

HintDialog* ShowHint(int32_t hintId, GameNode* target, const HintRect* rect) {
    KR2Player* player = CurrentHintPlayer();
    if (player == nullptr || !player->showhints) {
        return nullptr;
    }
    if (hintId >= 0 && hintId < KR2Player::kHintCount) {
        player->hints[static_cast<size_t>(hintId)] = false;
    }
    return OpenHint(hintId, target, rect);
}
