#include "engine/ui/ScrollPanel.h"

#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Slider.h"

namespace {

const ClassRegistration registration("ScrollPanel", CreateFromProperty<ScrollPanel>);

int32_t WidthOf(const Sprite* sprite) { return sprite != nullptr ? sprite->GetWidth() : 0; }
int32_t HeightOf(const Sprite* sprite) { return sprite != nullptr ? sprite->GetHeight() : 0; }

// How far the content moves for a fraction of its overhang.
int32_t ScrollOffset(int32_t range, float fraction) {
    return range <= 0 ? 0 : TruncateToInt(static_cast<double>(range) * fraction);
}

}  // namespace

ScrollPanel::ScrollPanel(Property* definition) : Panel(definition), content_(new Panel) {
    for (const Ref<GameNode>& element : BuildElements(definition, "panelcomponents")) {
        AddChild(element.Get());
    }
    Panel::AddChild(content_.Get());
    horizontal_ = CreateBar(definition, "scrollbar_horizontal");
    vertical_ = CreateBar(definition, "scrollbar_vertical");
    SetSize(GetWidth(), GetHeight());
    for (Slider* bar : {vertical_.Get(), horizontal_.Get()}) {
        if (bar != nullptr) {
            bar->ResetTrack();
        }
    }
    UpdateClipping();
}

ScrollPanel::~ScrollPanel() = default;

Ref<Slider> ScrollPanel::CreateBar(Property* definition, const char* key) {
    Property* node = Property::Child(definition, key);
    if (node == nullptr) {
        return {};
    }
    const Ref<Object> created(ClassFactory::Instance().Create(&Property::NodeOf(node)));
    Ref<Slider> bar(ObjectCast<Slider>(created.Get()));
    if (bar) {
        Panel::AddChild(bar.Get());
    } else {
        ENGINE_LOG(1, "ScrollPanel \"%s\": \"%s\" builds no slider", GetName().c_str(), key);
    }
    return bar;
}

int32_t ScrollPanel::HorizontalBarHeight() const { return HeightOf(horizontal_.Get()); }

int32_t ScrollPanel::VerticalBarWidth() const { return WidthOf(vertical_.Get()); }

void ScrollPanel::SetWidth(int32_t width) {
    if (horizontal_) {
        const Button* decrease = horizontal_->GetDecreaseButton();
        if (decrease != nullptr) {
            horizontal_->SetX(decrease->GetWidth());
        }
        width = horizontal_->GetWidth() + WidthOf(decrease) + WidthOf(horizontal_->GetIncreaseButton());
    }
    if (vertical_) {
        vertical_->SetX(width);
        Sprite::SetWidth(vertical_->GetWidth() + width);
    } else {
        Sprite::SetWidth(width);
        if (content_ && content_->GetWidth() < GetWidth()) {
            content_->SetWidth(GetWidth());
        }
    }
    UpdateClipping();
}

void ScrollPanel::SetHeight(int32_t height) {
    if (vertical_) {
        const Button* decrease = vertical_->GetDecreaseButton();
        if (decrease != nullptr) {
            vertical_->SetY(decrease->GetHeight());
        }
        height = vertical_->GetHeight() + HeightOf(decrease) + HeightOf(vertical_->GetIncreaseButton());
    }
    if (horizontal_) {
        horizontal_->SetY(height);
        Sprite::SetHeight(horizontal_->GetHeight() + height);
    } else {
        Sprite::SetHeight(height);
        if (content_ && content_->GetHeight() < GetHeight()) {
            content_->SetHeight(GetHeight());
        }
    }
    UpdateClipping();
}

void ScrollPanel::AddChild(GameNode* node) {
    content_->AddChild(node);
    const Sprite* sprite = ObjectCast<Sprite>(node);
    if (sprite == nullptr) {
        return;
    }
    const int32_t right = sprite->GetX() + sprite->GetWidth() - TruncateToInt(std::round(sprite->GetAnchorX()));
    const int32_t bottom = sprite->GetY() + sprite->GetHeight() - TruncateToInt(std::round(sprite->GetAnchorY()));
    if (!horizontal_ && right > GetWidth() - VerticalBarWidth()) {
        SetWidth(right);
    }
    if (content_->GetWidth() < right) {
        content_->SetWidth(right);
    }
    if (!vertical_ && bottom > GetHeight() - HorizontalBarHeight()) {
        SetHeight(bottom);
    }
    if (content_->GetHeight() < bottom) {
        content_->SetHeight(bottom);
    }
}

void ScrollPanel::UpdateClipping() {
    if (!content_) {
        return;
    }
    content_->SetClipRect(0, 0, GetWidth() - VerticalBarWidth(), GetHeight() - HorizontalBarHeight());
    content_->SetClipChildren(true);
}

void ScrollPanel::ScrollHorizontally(float fraction) {
    const int32_t range = content_->GetWidth() + VerticalBarWidth() - GetWidth();
    content_->SetX(-ScrollOffset(range, fraction));
    if (horizontal_) {
        horizontal_->SetValue(fraction);
        horizontal_->PlaceKnob();
    }
    UpdateClipping();
}

void ScrollPanel::ScrollVertically(float fraction) {
    const int32_t range = content_->GetHeight() + HorizontalBarHeight() - GetHeight();
    content_->SetY(-ScrollOffset(range, fraction));
    if (vertical_) {
        vertical_->SetValue(fraction);
        vertical_->PlaceKnob();
    }
    UpdateClipping();
}

int32_t ScrollPanel::OnHorizontalScroll(void* context, GameNode* sender) {
    if (const Slider* bar = ObjectCast<Slider>(sender)) {
        static_cast<ScrollPanel*>(context)->ScrollHorizontally(bar->GetValue());
    }
    return 0;
}

int32_t ScrollPanel::OnVerticalScroll(void* context, GameNode* sender) {
    if (const Slider* bar = ObjectCast<Slider>(sender)) {
        static_cast<ScrollPanel*>(context)->ScrollVertically(bar->GetValue());
    }
    return 0;
}
