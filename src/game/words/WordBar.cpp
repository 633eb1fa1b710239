#include "game/words/WordBar.h"

#include <climits>
#include <cmath>
#include <numbers>
#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/BezierCurve.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFollowPath.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierProximityShrink.h"
#include "engine/scene/ModifierRotateScale.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/MotionForce.h"
#include "engine/scene/Path.h"
#include "engine/scene/SceneResources.h"
#include "game/constants/GameConstants.h"
#include "game/words/FurnacePosition.h"
#include "game/words/GlobalDraw.h"
#include "game/words/WordList.h"
#include "game/words/WordSprite.h"

namespace {

constexpr int32_t kPopStepMs = 200;
constexpr int32_t kDealFirstMs = 200;
constexpr int32_t kDealStepMs = 100;
constexpr int32_t kGrowMs = 300;
constexpr int32_t kRiseMsPerPixel = 4;
constexpr int32_t kDropMsPerPixel = 5;
constexpr int32_t kHideFadeMs = 400;
constexpr int kShuffleTries = 100;
constexpr int32_t kSlotsStartRaise = 20;
constexpr int32_t kLayerDriftMs = 40000;
constexpr int32_t kBezierSteps = 10;
constexpr float kShrinkRadius = 150.0f;
constexpr float kShrinkScale = 0.4f;
constexpr int32_t kCoalFadeMs = 100;
constexpr int kCoalSparkBursts = 4;
constexpr int32_t kLetterGatherMs = 400;
constexpr int32_t kWhiteAlpha = 200;
constexpr int32_t kWhiteZoomMs = 600;
constexpr int32_t kWhiteHoldMs = 300;
constexpr int32_t kWhiteFadeMs = 300;
constexpr int32_t kFlightBand = 600;
constexpr float kArrivalShrinkRadius = 25.0f;
constexpr float kArrivalShrinkScale = 0.35f;
constexpr int32_t kLetterFadeMs = 100;
constexpr int32_t kArrivalFadeInMs = 400;
constexpr int kSlotsGameType = 4;
constexpr double kPi = std::numbers::pi;

WordBarHooks& SharedHooks() {
    static WordBarHooks hooks;
    return hooks;
}

PointF AbsoluteOf(const GameNode& node) {
    return {static_cast<float>(node.GetAbsoluteX()), static_cast<float>(node.GetAbsoluteY())};
}

// The glyph the letter shows: what a joker stands for, else its own letter.
uint8_t ShownCharacter(const LetterData& letter) {
    return letter.GetType() == LetterData::kJoker ? letter.Joker() : letter.Char();
}

// The same picture in white, keeping its alpha.
Ref<Sprite> WhiteCopy(const Sprite& glyph) {
    const Surface* picture = glyph.GetImage();
    if (picture == nullptr) {
        return nullptr;
    }
    Ref<MemorySurface> white = new MemorySurface(picture->GetWidth(), picture->GetHeight());
    white->SetUseAlphaChannel(true);
    for (int32_t y = 0; y < picture->GetHeight(); ++y) {
        for (int32_t x = 0; x < picture->GetWidth(); ++x) {
            const uint32_t pixel = picture->Pixels32()[picture->PixelIndex(x, y)];
            white->Pixels32()[white->PixelIndex(x, y)] = (pixel & 0xFF000000u) | 0xFFFFFFu;
        }
    }
    Ref<Sprite> sprite = new Sprite(0, 0, white.Get());
    sprite->SetAnchorKind(Sprite::kCenter);
    return sprite;
}

// The control points (fraction of the line, sideways offset, tangent angle
// in half turns, tangent length factor) of a coal's flight by word length.
struct FlightPoint {
    float t;
    float offset;
    float angle;
    float length;
};

std::vector<FlightPoint> FlightPoints(int count, int sideways) {
    switch (count) {
        case 3:
            return {{0.0f, 0.0f, -0.1f, 0.4f}, {1.0f, 0.0f, 0.4f, 0.4f}};
        case 4:
            return {{0.0f, 0.0f, -0.3f, 0.5f}, {1.0f, 0.0f, 0.4f, 0.4f}};
        case 5:
            return {{0.0f, 0.0f, -0.4f, 0.3f}, {0.5f, -30.0f, -0.3f, 0.3f}, {1.0f, 0.0f, 0.4f, 0.3f}};
        case 6:
        case 7:
            return {{0.0f, 0.0f, -0.5f, 0.4f},
                    {0.5f, static_cast<float>(20 - sideways), -0.3f, 0.3f},
                    {1.0f, 0.0f, 0.4f, 0.3f}};
        default:
            return {};
    }
}

}  // namespace

void WordBarScene::PlaySound(const std::string& id, const std::string& section) {
    if (const auto sample = ObjectCast<SoundSample>(FindResourceData(id, section).Get())) {
        sample->PlaySample(255, 128, false);
    }
}

void WordBar::SetHooks(const WordBarHooks& hooks) { SharedHooks() = hooks; }

const WordBarHooks& WordBar::Hooks() { return SharedHooks(); }

std::array<int, 2> WordBar::RackSizesFor(int gameType) {
    switch (gameType) {
        case 1:
        case 2:
            return {7, 7};
        case kSlotsGameType:
            return {6, 26};
        default:
            return {6, 6};
    }
}

WordBar::WordBar(Property* node) : Sprite(node), coalLayer_(new GameNode) {
    AddChild(coalLayer_.Get());
    SetPosition(WORDBAR_CENTER_X, kBarY);
    const Property* stored = node != nullptr ? Property::Child(node, "racks") : nullptr;
    const WordBarScene* scene = Hooks().scene;
    const std::array<int, 2> sizes = RackSizesFor(scene != nullptr ? scene->GameType() : 0);
    for (int r = 0; r < 2; ++r) {
        if (stored != nullptr) {
            Property* entry = Property::At(stored, r);
            racks_[r] = CreateObjectOf<LetterRack>(entry != nullptr ? entry : &Property::DummyNode());
        }
        if (!racks_[r]) {
            if (stored != nullptr) {
                ENGINE_LOG(2, "saved word bar rack %d is missing or no rack; an empty one stands in", r);
            }
            racks_[r] = new LetterRack;
            racks_[r]->SetSize(sizes[r]);
            racks_[r]->SetRackSize(sizes[r]);
        }
    }
    if (stored == nullptr) {
        return;
    }
    for (int r = 0; r < 2; ++r) {
        for (int s = 0; s < LetterRack::kSlotCount; ++s) {
            if (racks_[r]->GetLetter(s) != nullptr) {
                ShowLetter({r, s}, true, 0, false);
            }
        }
    }
}

WordBar::~WordBar() {
    // The base's own clean-up; a subclass has already run its own.
    WordBar::RemoveAllLetters();
    if (submitLayer_) {
        submitLayer_->SetRemoved(true);
    }
}

void WordBar::Save(PropertyNode& node) const {
    auto* racks = new PropertyVector("racks");
    node.Add(racks);
    for (const Ref<LetterRack>& rack : racks_) {
        auto* entry = new PropertyNode("", "LetterRack");
        racks->Add(entry);
        rack->Save(*entry);
    }
}

void WordBar::SaveAs(PropertyNode& node, const char* typeName) const {
    node.SetTypeName(typeName);
    WordBar::Save(node);
}

LetterSprite* WordBar::GetLetter(SlotRef ref) const {
    return ref.IsValid() ? racks_[ref.rack]->GetLetter(ref.slot) : nullptr;
}

PointF WordBar::AbsolutePosition() const { return AbsoluteOf(*this); }

std::optional<Rect> WordBar::CoalClip() const {
    const WordBarScene* scene = Hooks().scene;
    if (scene == nullptr) {
        return std::nullopt;
    }
    const Rect area = scene->CoalArea();
    // The coals' parent, the coal layer, stands at the bar's origin.
    return Rect{area.x - GetAbsoluteX(), area.y - GetAbsoluteY(), area.w, area.h};
}

void WordBar::PlayGameSound(const char* id, const char* section) {
    if (WordBarScene* scene = Hooks().scene) {
        scene->PlaySound(id, section);
    }
}

PointF WordBar::GetSlotPosition(SlotRef ref) const {
    if (!ref.IsValid()) {
        return {};
    }
    const LetterRack& rack = *racks_[ref.rack];
    const float x = static_cast<float>(rack.GetSlotX(ref.slot));
    if (rack.HasSmallCoals()) {
        return {x, static_cast<float>((ref.slot / LetterRack::kSmallCoalsPerRow) * SLOTS_COAL_Y_SPACING +
                                      SLOTS_COAL_Y_OFFSET)};
    }
    return {x, static_cast<float>(ref.rack * WORDBAR_RACK_SPACING)};
}

SlotRef WordBar::FindLetterAt(int32_t x, int32_t y) const {
    const int64_t px = int64_t{x} - GetAbsoluteX();
    const int64_t py = int64_t{y} - GetAbsoluteY();
    for (int r = 0; r < 2; ++r) {
        const int used = std::clamp(racks_[r]->GetRackSize(), 0, LetterRack::kSlotCount);
        for (int s = 0; s < used; ++s) {
            const LetterSprite* coal = racks_[r]->GetLetter(s);
            if (coal == nullptr) {
                continue;
            }
            const PointF slot = GetSlotPosition({r, s});
            const int64_t dx = px - RoundToInt(slot.x);
            const int64_t dy = py - RoundToInt(slot.y);
            const int64_t radius = coal->Letter().IsSmall() ? SLOTS_LETTER_RADIUS : WORDBAR_LETTER_RADIUS;
            if (dx * dx + dy * dy < radius * radius) {
                return {r, s};
            }
        }
    }
    return {};
}

void WordBar::TypeLetter(uint8_t folded) {
    lastAction_ = kTypedNotFound;
    target_ = {kWordRack, racks_[kWordRack]->FindFreeSlot(INT_MIN)};
    if (target_.slot < 0) {
        return;
    }
    source_ = {kSupplyRack, -1};
    int joker = -1;
    const LetterRack& supply = *racks_[kSupplyRack];
    const int used = std::clamp(supply.GetRackSize(), 0, LetterRack::kSlotCount);
    for (int s = 0; s < used; ++s) {
        const LetterSprite* coal = supply.GetLetter(s);
        if (coal == nullptr) {
            continue;
        }
        const LetterData& letter = coal->Letter();
        if (letter.GetType() == LetterData::kJoker) {
            if (joker < 0) {
                joker = s;
            }
            continue;
        }
        if (WordList::FoldLetter(letter.Char()) != folded) {
            continue;
        }
        if (source_.slot < 0 || letter.GetType() != LetterData::kNormal) {
            source_.slot = s;
            lastAction_ = kTypedFound;
            if (letter.GetType() != LetterData::kNormal) {
                break;
            }
        }
    }
    if (source_.slot < 0 && joker >= 0) {
        source_.slot = joker;
        supply.GetLetter(joker)->Letter().SetJoker(folded);
        lastAction_ = kTypedFound;
    }
}

void WordBar::PlayLetterSound() {
    switch (lastAction_) {
        case kCanMove:
        case kTypedFound:
            DropLetter(source_, target_, lastAction_ == kCanMove);
            PlayGameSound("SOUND_LETTER_CLICK_CORRECT");
            break;
        case kTakenAway:
            PlayGameSound("SOUND_LETTER_CLICK_BACK");
            break;
        case kTypedNotFound:
            if (WordBarScene* scene = Hooks().scene) {
                scene->SetWrongCharTime(WORDBAR_WRONG_CHAR_TIME);
            }
            PlayGameSound("SOUND_LETTER_TYPED_WRONG");
            break;
        default:
            break;
    }
}

void WordBar::MoveLetter(SlotRef source, SlotRef target, bool movedByMouse) {
    const Ref<LetterSprite> coal = GetLetter(source);
    // Moving nothing, or nowhere, must not empty a slot that holds a coal.
    if (!coal || !target.IsValid()) {
        return;
    }
    if (target.rack == kSupplyRack) {
        coal->Letter().SetJoker('?');
    }
    if (!(source == target)) {
        racks_[target.rack]->SetLetter(target.slot, coal.Get());
        racks_[source.rack]->SetLetter(source.slot, nullptr);
    }
    coal->SetMovedByMouse(movedByMouse);
}

void WordBar::AddLetter(SlotRef ref, LetterData* letter, bool animate, bool isNew, int32_t delayMs) {
    if (!ref.IsValid()) {
        return;
    }
    const Ref<LetterSprite> coal = new LetterSprite(letter, isNew);
    const bool small = racks_[ref.rack]->HasSmallCoals();
    if (coal->Letter().IsSmall() != small) {
        coal->Letter().SetSmall(small);
    }
    if (LetterSprite* previous = racks_[ref.rack]->GetLetter(ref.slot)) {
        previous->SetRemoved(true);
    }
    racks_[ref.rack]->SetLetter(ref.slot, coal.Get());
    ShowLetter(ref, animate, delayMs, true);
}

void WordBar::ShowLetter(SlotRef ref, bool animate, int32_t delayMs, bool spark) {
    LetterSprite* coal = GetLetter(ref);
    if (coal == nullptr) {
        return;
    }
    coalLayer_->AddChild(coal);
    coal->UpdateImage();
    const PointF slot = GetSlotPosition(ref);
    const int32_t x = RoundToInt(slot.x);
    const int32_t y = RoundToInt(slot.y);
    coal->SetPosition(x, y);
    coal->SetHome(static_cast<float>(x), static_cast<float>(y));
    const std::optional<Rect> clip = CoalClip();
    if (clip) {
        coal->SetClipRect(clip->x, clip->y, clip->w, clip->h);
    }
    if (!animate) {
        return;
    }
    coal->AddModifier(Blocking(new ModifierWait(delayMs)));
    int32_t appearMs = kGrowMs;
    if (!coal->IsNew()) {
        coal->SetScale(0.0f);
        coal->AddModifier(Blocking(new ModifierRotateScale(0.0f, 0.0f, 0.0f, 1.0f, kGrowMs)));
    } else {
        // A new coal rises from below the coal area.
        const int32_t startY = clip ? clip->y + clip->h + coal->GetHeight() / 2 : y;
        appearMs = std::max(startY - y, 0) * kRiseMsPerPixel;
        coal->SetY(startY);
        coal->AddModifier(new ModifierEaseMove(static_cast<float>(x), static_cast<float>(startY), x, y, appearMs,
                                               true, true, Smoothstep));
    }
    WordBarScene* scene = Hooks().scene;
    if (spark && scene != nullptr && coal->Letter().GetType() != LetterData::kNormal) {
        scene->SpawnBonusSpark(this, x, y - 10, delayMs + appearMs);
    }
}

void WordBar::ArrangeLetters(bool force) {
    for (int r = 0; r < 2; ++r) {
        const int used = std::clamp(racks_[r]->GetRackSize(), 0, LetterRack::kSlotCount);
        for (int s = 0; s < used; ++s) {
            LetterSprite* coal = racks_[r]->GetLetter(s);
            if (coal == nullptr) {
                continue;
            }
            const PointF slot = GetSlotPosition({r, s});
            const int32_t x = RoundToInt(slot.x);
            const int32_t y = RoundToInt(slot.y);
            if (!force && coal->HomeX() == static_cast<float>(x) && coal->HomeY() == static_cast<float>(y)) {
                continue;
            }
            coal->RestoreLook(false);
            coal->AddModifier(new ModifierEaseMove(static_cast<float>(coal->GetX()), static_cast<float>(coal->GetY()),
                                                   x, y, COAL_MOVE_TIME, true, true, Smoothstep));
            coal->SetHome(static_cast<float>(x), static_cast<float>(y));
        }
    }
    // Later coals go in front, so the word's first coal ends up drawn last.
    for (const Ref<LetterRack>& rack : racks_) {
        for (int s = 0; s < LetterRack::kSlotCount; ++s) {
            if (LetterSprite* coal = rack->GetLetter(s)) {
                coalLayer_->AddChildFront(coal);
            }
        }
    }
}

void WordBar::RemoveAllLetters() {
    for (const Ref<LetterRack>& rack : racks_) {
        for (int s = 0; s < LetterRack::kSlotCount; ++s) {
            if (LetterSprite* coal = rack->GetLetter(s)) {
                coal->SetRemoved(true);
                rack->SetLetter(s, nullptr);
            }
        }
    }
    inHand_ = nullptr;
}

void WordBar::PopLetters() {
    int32_t delay = 0;
    for (const Ref<LetterRack>& rack : racks_) {
        for (int s = 0; s < LetterRack::kSlotCount; ++s) {
            if (LetterSprite* coal = rack->GetLetter(s)) {
                coal->Pop(delay);
                delay += kPopStepMs;
            }
        }
    }
}

void WordBar::DealLetters(WordSprite* word, int, bool isNew) {
    if (word == nullptr) {
        return;
    }
    int32_t delay = isNew ? kDealFirstMs : 0;
    size_t next = 0;
    LetterRack& supply = *racks_[kSupplyRack];
    const int used = std::clamp(supply.GetRackSize(), 0, LetterRack::kSlotCount);
    for (int s = 0; s < used && next < word->Slots().size(); ++s) {
        if (supply.GetLetter(s) != nullptr) {
            continue;
        }
        AddLetter({kSupplyRack, s}, &word->Slots()[next++]->Letter(), true, isNew, delay);
        delay += kDealStepMs;
    }
}

void WordBar::ShuffleSupply() {
    LetterRack& supply = *racks_[kSupplyRack];
    std::string before;
    supply.GetWord(before, true);
    const WordBarScene* scene = Hooks().scene;
    const WordList* words = scene != nullptr ? scene->Words() : nullptr;
    for (int attempt = 0; attempt < kShuffleTries; ++attempt) {
        supply.Shuffle();
        std::string after;
        supply.GetWord(after, true);
        if (after != before && (words == nullptr || words->Contains(after) == nullptr)) {
            break;
        }
    }
    ArrangeLetters(false);
}

void WordBar::CloseSupplyGaps() {
    int next = 0;
    for (int s = 0; s < LetterRack::kSlotCount; ++s) {
        if (racks_[kSupplyRack]->GetLetter(s) != nullptr) {
            MoveLetter({kSupplyRack, s}, {kSupplyRack, next++}, false);
        }
    }
    ArrangeLetters(false);
}

void WordBar::DropSupply() {
    LetterRack& supply = *racks_[kSupplyRack];
    for (int s = 0; s < LetterRack::kSlotCount; ++s) {
        LetterSprite* coal = supply.GetLetter(s);
        if (coal == nullptr) {
            continue;
        }
        coal->RestoreLook(false);
        const std::optional<Rect>& clip = coal->GetClipRect();
        const int32_t endY = clip ? clip->y + clip->h + coal->GetHeight() : coal->GetY() + coal->GetHeight();
        const int32_t duration = std::max(endY - coal->GetY(), 0) * kDropMsPerPixel;
        coal->AddModifier(RemovingNodeAtEnd(new ModifierEaseMove(static_cast<float>(coal->GetX()),
                                                                 static_cast<float>(coal->GetY()), coal->GetX(), endY,
                                                                 duration, true, true, Smoothstep)));
        supply.SetLetter(s, nullptr);
    }
}

void WordBar::ClearNewFlags() {
    for (int s = 0; s < LetterRack::kSlotCount; ++s) {
        LetterSprite* coal = racks_[kSupplyRack]->GetLetter(s);
        if (coal != nullptr && coal->Letter().GetType() != LetterData::kJoker) {
            coal->ClearNewFlag();
        }
    }
}

void WordBar::TransferLetterKinds(WordSprite* word) {
    if (word == nullptr) {
        return;
    }
    const auto& slots = word->Slots();
    for (size_t i = 0; i < slots.size() && i < LetterRack::kSlotCount; ++i) {
        LetterSprite* coal = racks_[kWordRack]->GetLetter(static_cast<int>(i));
        if (coal == nullptr) {
            continue;
        }
        LetterData& wordLetter = slots[i]->Letter();
        coal->Letter().SetJoker(WordList::FoldLetter(wordLetter.Char()));
        if (wordLetter.GetType() != coal->Letter().GetType()) {
            wordLetter.SetType(coal->Letter().GetType());
        }
    }
}

void WordBar::HideLetters(bool hide) {
    if (!hide) {
        ArrangeLetters(true);
        return;
    }
    for (const Ref<LetterRack>& rack : racks_) {
        for (int s = 0; s < LetterRack::kSlotCount; ++s) {
            if (LetterSprite* coal = rack->GetLetter(s)) {
                coal->ClearModifiers();
                coal->AddModifier(new ModifierValue(coal->GetAlpha(), 0, kHideFadeMs));
            }
        }
    }
}

std::vector<int> WordBar::WordSlotsToTakeBack(bool lastOnly) const {
    const LetterRack& word = *racks_[kWordRack];
    const int used = std::clamp(word.GetRackSize(), 0, LetterRack::kSlotCount);
    std::vector<int> slots;
    for (int k = 0; k < used; ++k) {
        const int s = lastOnly ? used - 1 - k : k;
        if (word.GetLetter(s) != nullptr) {
            slots.push_back(s);
            if (lastOnly) {
                break;
            }
        }
    }
    return slots;
}

void WordBar::PlaySubmitAnimation(WordSprite* word) {
    if (word == nullptr) {
        return;
    }
    const int count = word->SlotCount();
    WordBarScene* scene = Hooks().scene;
    GameNode* effectLayer = scene != nullptr ? scene->EffectLayer() : nullptr;
    GameNode& layerParent = effectLayer != nullptr ? *effectLayer : static_cast<GameNode&>(*this);

    submitLayer_ = new GameNode;
    const int32_t layerX = GetAbsoluteX() - (count * SUBMIT_ANIM_SPACING) / 2;
    const int32_t layerY =
        SUBMIT_ANIM_START_Y - (scene != nullptr && scene->GameType() == kSlotsGameType ? kSlotsStartRaise : 0);
    submitLayer_->SetPosition(layerX, layerY);
    submitLayer_->AddModifier(RemovingNodeAtEnd(new ModifierEaseMove(static_cast<float>(layerX),
                                                                     static_cast<float>(layerY), layerX, 0,
                                                                     kLayerDriftMs, false, true)));
    layerParent.AddChild(submitLayer_.Get());

    const FurnacePosition* furnace = Hooks().furnace;
    thrownCoals_.clear();
    GameNode* targetNode = furnace != nullptr ? furnace->CoalTarget() : nullptr;
    for (int i = 0; i < count && i < LetterRack::kSlotCount; ++i) {
        if (LetterSprite* coal = racks_[kWordRack]->GetLetter(i)) {
            const PointF target = targetNode != nullptr
                                      ? PointF{AbsoluteOf(*targetNode).x - coalLayer_->GetAbsoluteX(),
                                               AbsoluteOf(*targetNode).y - coalLayer_->GetAbsoluteY()}
                                      : PointF{static_cast<float>(coal->GetX()), static_cast<float>(coal->GetY())};
            BuildFlyingLetter(*word, *coal, i, count, *submitLayer_);
            BuildCoalSequence(*coal, i, count, target, targetNode);
            thrownCoals_.emplace_back(coal);
        }
    }
    // Sweeping the flying letters' last fades; the word's own end follows them.
    if (count > 0) {
        LetterSlot& first = *word->Slots()[0];
        for (const Ref<LetterSlot>& slot : word->Slots()) {
            slot->SetSelected(true);
        }
        word->Content().SetVisible(true);
        word->SetImage(nullptr);
        first.AddModifier(new ModifierCallback(
            [](uint32_t, GameNode* target) {
                for (GameNode* node = target; node != nullptr; node = node->GetParent()) {
                    if (auto* owner = ObjectCast<WordSprite>(node)) {
                        owner->EndSubmission();
                        return;
                    }
                }
            },
            0));
    }
    for (int s = 0; s < LetterRack::kSlotCount; ++s) {
        racks_[kWordRack]->SetLetter(s, nullptr);
    }
}

void WordBar::BuildCoalSequence(LetterSprite& coal, int index, int count, PointF target, GameNode* targetNode) {
    const int32_t delay = (count - 1 - index) * SUBMIT_ANIM_INIT_DELAY;
    coal.SetPopped(true);
    coal.UpdateImage();
    coal.ClearClipRect();

    // The draws keep their order: the sideways bend of a long word, then the end point's scatter.
    const int sideways = count == 6 || count == 7 ? static_cast<int>(DrawGlobal() % 140u) : 0;
    const uint32_t spread = static_cast<uint32_t>(80 * count / 7);
    const int dx = spread > 0 ? static_cast<int>(DrawGlobal() % spread) - static_cast<int>(spread / 2) : 0;
    const int dy = static_cast<int>(DrawGlobal() % 10u) - 5;
    const PointF start{static_cast<float>(coal.GetX()), static_cast<float>(coal.GetY())};
    const PointF end{target.x + static_cast<float>(dx), target.y + static_cast<float>(dy)};

    BezierCurve curve;
    curve.SetSteps(kBezierSteps);
    for (const FlightPoint& point : FlightPoints(count, sideways)) {
        curve.AddPointAlongLine(start, end, point.t, point.offset, point.angle * static_cast<float>(kPi),
                                point.length, true);
    }
    Ref<Path> path = new Path;
    if (curve.PointCount() > 0) {
        curve.SampleToPath(*path);
    } else {
        path->Append(start);
        path->Append(end);
    }

    coal.RestoreLook(false);
    coal.AddModifier(Blocking(new ModifierWait(delay)));
    Modifier* flight = coal.AddModifier(new ModifierFollowPath(path.Get(), 0, SUBMIT_ANIM_COAL_TIME));
    if (targetNode != nullptr) {
        coal.AddModifier(new ModifierProximityShrink(targetNode, kShrinkRadius, kShrinkScale, PointF{}));
    }
    coal.AddModifier(Blocking(new ModifierWait(SUBMIT_ANIM_COAL_TIME)));
    coal.AddModifier(Blocking(new ModifierValue(255, 0, kCoalFadeMs)));
    Modifier* enter = coal.AddModifier(new ModifierCallback(
        [](uint32_t, GameNode* node) {
            WordBarScene* scene = Hooks().scene;
            const FurnacePosition* furnace = Hooks().furnace;
            GameNode* targetNode = furnace != nullptr ? furnace->CoalTarget() : nullptr;
            if (scene != nullptr) {
                scene->PlaySound("SOUND_COALS_ENTER_FURNACE", "gamescene");
                GameNode* layer = scene->EffectLayer();
                if (layer != nullptr && targetNode != nullptr) {
                    const int32_t x = targetNode->GetAbsoluteX() - layer->GetAbsoluteX();
                    const int32_t y = targetNode->GetAbsoluteY() - layer->GetAbsoluteY();
                    for (int k = 0; k < kCoalSparkBursts; ++k) {
                        scene->SpawnCoalSparks(layer, x, y);
                    }
                }
            }
            node->SetRemoved(true);
        },
        0));

    WordBarScene* scene = Hooks().scene;
    if (scene == nullptr) {
        return;
    }
    const int type = coal.Letter().GetType();
    if (type == LetterData::kStop) {
        scene->ShowTimer(flight, SUBMIT_ANIM_COAL_TIME + delay);
    } else if (type == LetterData::kCoin && targetNode != nullptr) {
        const GameNode* layer = scene->EffectLayer();
        const int32_t layerX = layer != nullptr ? layer->GetAbsoluteX() : 0;
        const int32_t layerY = layer != nullptr ? layer->GetAbsoluteY() : 0;
        scene->SpawnCoin(enter, targetNode->GetAbsoluteX() - layerX, targetNode->GetAbsoluteY() - layerY,
                         COAL_COIN_NUM_COINS, true);
    }
}

void WordBar::BuildFlyingLetter(WordSprite& word, LetterSprite& coal, int index, int count, GameNode& layer) {
    if (static_cast<size_t>(index) >= word.Slots().size()) {
        return;
    }
    LetterSlot* slot = word.Slots()[index].Get();
    const Ref<Sprite> letter =
        LetterSprite::GlyphSprite(LetterSprite::SharedLooks().fonts[LetterSprite::kFontNormal].Get(),
                                  ShownCharacter(coal.Letter()));
    if (!letter) {
        return;
    }
    // The coal's place in the layer's coordinates.
    const int32_t startX = coal.GetAbsoluteX() - layer.GetAbsoluteX();
    const int32_t startY = coal.GetAbsoluteY() - layer.GetAbsoluteY();
    const int32_t rowX = index * SUBMIT_ANIM_SPACING + SUBMIT_ANIM_SPACING / 2;
    letter->SetPosition(startX, startY);
    letter->SetColor(index);
    layer.AddChild(letter.Get());
    letter->AddModifier(Blocking(new ModifierEaseMove(static_cast<float>(startX), static_cast<float>(startY), rowX,
                                                      0, kLetterGatherMs, true, true, Smoothstep)));

    const int32_t glowWait = kLetterGatherMs + (count >= 5 ? 20 * (count - 1) * index : 0);
    if (const Ref<Sprite> white = WhiteCopy(*letter)) {
        white->SetPosition(rowX, 0);
        white->SetAlpha(0);
        layer.AddChild(white.Get());
        white->InsertBefore(letter.Get());
        white->AddModifier(Blocking(new ModifierWait(glowWait)));
        white->AddModifier(Blocking(new ModifierValue(kWhiteAlpha, kWhiteAlpha, 0)));
        if (index == count - 1) {
            white->AddModifier(new ModifierCallback(
                [](uint32_t, GameNode* node) {
                    if (WordBarScene* scene = Hooks().scene) {
                        scene->ShowFloatingScore(node);
                    }
                },
                0));
        }
        white->AddModifier(Blocking(new ModifierZoom(kWhiteZoomMs, 1.0f, 3.0f)));
        white->AddModifier(Blocking(new ModifierWait(kWhiteHoldMs)));
        white->AddModifier(RemovingNodeAtEnd(new ModifierValue(kWhiteAlpha, 0, kWhiteFadeMs)));
    }

    letter->AddModifier(Blocking(new ModifierWait(index * SLOT_INIT_DELAY)));
    const float fraction = count > 1 ? static_cast<float>(index) / static_cast<float>(count - 1) : 0.0f;
    const float angle = SLOT_INIT_ANGLE_FRAC * static_cast<float>(kPi * fraction - kPi / 2);
    letter->AddModifier(new ModifierCallback(
        [index, count](uint32_t, GameNode* node) {
            WordBarScene* scene = Hooks().scene;
            GameNode* effects = scene != nullptr ? scene->EffectLayer() : nullptr;
            if (scene != nullptr && count > 5) {
                scene->ThrowCoalScoreStars(node);
                if (index == 0) {
                    scene->PlaySound("SOUND_THROWSTARS", "default");
                }
            }
            if (effects == nullptr) {
                return;
            }
            const int32_t x = node->GetAbsoluteX() - effects->GetAbsoluteX();
            const int32_t y = node->GetAbsoluteY() - effects->GetAbsoluteY();
            effects->AddChild(node);
            node->SetPosition(x, y);
            if (auto* sprite = ObjectCast<Sprite>(node)) {
                sprite->SetClipRect(INT32_MIN / 4, 0, INT32_MAX / 2, kFlightBand);
            }
        },
        0));
    auto* mover = new ModifierMover;
    auto* push = new ForceAcceleration(std::sin(angle) * SLOT_INIT_SPEED_X, -std::cos(angle) * SLOT_INIT_SPEED_Y);
    push->SetRemainingTime(SLOT_INIT_TIME);
    mover->AddForce(push);
    mover->AddForce(new ForceFriction(SLOT_PULL_RESISTANCE));
    const PointF slotCentre{static_cast<float>(LetterSlot::SlotWidth()) / 2,
                            static_cast<float>(LetterSlot::SlotHeight()) / 2};
    // A negative reach pulls from any distance.
    mover->AddForce(new ForceSeekNode(slot, slotCentre, -1.0f, SLOT_PULL_SPEED, ForceSeek::kAttract, true));
    letter->AddModifier(new ModifierProximityShrink(slot, kArrivalShrinkRadius, kArrivalShrinkScale, slotCentre));
    letter->AddModifier(Blocking(mover));
    letter->AddModifier(new ModifierCallback(
        [slot = Ref<LetterSlot>(slot)](uint32_t, GameNode*) {
            slot->StartEffect(LetterSlot::kArrival, {0, kArrivalFadeInMs, 0, 0});
        },
        0));
    Modifier* fade = letter->AddModifier(RemovingNodeAtEnd(Blocking(new ModifierValue(255, 0, kLetterFadeMs))));
    word.Slots()[0]->AddModifier(Blocking(new ModifierWait(fade)));
}
