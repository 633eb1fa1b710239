#include "engine/ui/ToolTip.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Panel.h"
#include "engine/ui/ToolTipCover.h"

namespace {

const ClassRegistration registration("ToolTip", CreateFromProperty<ToolTip>);

// Below the pointer, clear of the cursor picture.
constexpr int32_t kDropBelowPointer = 24;
// Beside the pointer when the tip cannot go below it.
constexpr int32_t kShiftBesidePointer = 16;
// The frame reaches past the label.
constexpr int32_t kFrameMargin = 3;

}  // namespace

ToolTip::ToolTip(Property* definition) {
    Property* node = &Property::NodeOf(definition);
    if (Property* renderer = Property::Child(node, "renderer")) {
        const Ref<Object> built(ClassFactory::Instance().Create(renderer));
        renderer_ = ObjectCast<ToolTipLabel>(built.Get());
        if (!renderer_) {
            ENGINE_LOG(1, "ToolTip: the renderer is not a ToolTipLabel; no tips are shown");
        }
    }
    if (Property* showDelay = Property::Child(node, "showdelay")) {
        showDelay_ = Property::AsInt(showDelay);
    }
    if (Property* removeDelay = Property::Child(node, "removedelay")) {
        removeDelay_ = Property::AsInt(removeDelay);
    }
}

ToolTip::ToolTip(ToolTipLabel* renderer, int32_t showDelayMs, int32_t removeDelayMs)
    : renderer_(renderer), showDelay_(showDelayMs), removeDelay_(removeDelayMs) {}

ToolTip* ToolTip::ToolTipFromValues(ToolTipLabel* renderer, int32_t showDelayMs, int32_t removeDelayMs) {
    return new ToolTip(renderer, showDelayMs, removeDelayMs);
}

bool ToolTip::OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
    static_cast<void>(flags);
    mouseX_ = x;
    mouseY_ = y;
    return false;
}

void ToolTip::Search(GameNode* node) {
    if (node->IsRemoved() || !node->IsVisible()) {
        return;
    }
    if (auto* sprite = ObjectCast<Sprite>(node)) {
        if (dynamic_cast<const ToolTipCover*>(sprite) != nullptr) {
            found_ = nullptr;
        }
        if (sprite->HitTest(mouseX_, mouseY_)) {
            if (ObjectCast<Panel>(sprite) != nullptr) {
                found_ = nullptr;
            }
            if (sprite->GetToolTip()) {
                found_ = sprite;
            }
        }
    }
    for (GameNode* child = node->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        Search(child);
    }
}

void ToolTip::Update(uint32_t elapsedMs) {
    GameWindow* window = GameWindow::Instance();
    if (!root_ || !renderer_ || window == nullptr) {
        current_ = nullptr;
        return;
    }
    found_ = nullptr;
    Search(root_.Get());
    if (found_ == nullptr) {
        current_ = nullptr;
        return;
    }
    const auto dt = static_cast<int32_t>(elapsedMs);
    if (found_ != current_) {
        Arm(found_);
        // Without a show delay the tip is due at once; it must not show
        // where the last one stood.
        if (showCountdown_ <= 0) {
            Place(window->GetWidth(), window->GetHeight());
        }
    } else if (showCountdown_ > 0) {
        showCountdown_ -= dt;
        if (showCountdown_ <= 0) {
            Place(window->GetWidth(), window->GetHeight());
        }
    }
    if (showCountdown_ <= 0 && removeCountdown_ > 0) {
        removeCountdown_ -= dt;
        if (Canvas* canvas = window->GetCanvas()) {
            DrawTip(*canvas);
        }
    }
}

void ToolTip::Arm(Sprite* sprite) {
    current_ = sprite;
    showCountdown_ = showDelay_;
    removeCountdown_ = removeDelay_;
    renderer_->SetToolTip(*sprite->GetToolTip());
}

void ToolTip::Place(int32_t screenWidth, int32_t screenHeight) {
    tipX_ = mouseX_;
    tipY_ = mouseY_ + kDropBelowPointer;
    const int32_t width = renderer_->GetWidth() + kFrameMargin;
    const int32_t height = renderer_->GetHeight() + kFrameMargin;
    bool moved = false;
    if (tipY_ + height > screenHeight) {
        tipX_ += kShiftBesidePointer;
        tipY_ = mouseY_;
        if (tipY_ + height > screenHeight) {
            tipY_ = screenHeight - height;
        }
        moved = true;
    }
    if (tipX_ + width > screenWidth) {
        tipX_ = moved ? mouseX_ - width - 2 : screenWidth - width;
    }
}

void ToolTip::DrawTip(Canvas& canvas) {
    canvas.MoveOrigin(tipX_, tipY_);
    renderer_->Draw(canvas);
    canvas.MoveOrigin(-tipX_, -tipY_);
}
