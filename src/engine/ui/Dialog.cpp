#include "engine/ui/Dialog.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/InputLabel.h"
#include "engine/ui/Painter.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/Slider.h"
#include "engine/ui/Switch.h"
#include "engine/ui/ToolTip.h"
#include "platform/KeyCodes.h"

namespace {

const ClassRegistration registration("Dialog", CreateFromProperty<Dialog>);

// A move must exceed this many pixels before a press becomes a drag.
constexpr int32_t kDragThreshold = 3;

bool ReadBool(Property* definition, const char* key, bool fallback) {
    Property* value = Property::Child(definition, key);
    return value != nullptr ? Property::AsBool(value) : fallback;
}

}  // namespace

Dialog::Dialog(Property* definition) : Panel(definition), listeners_(new InputListenerList) {
    listeners_->SetOwner(this);
    listeners_->SetKeepsKeys(true);
    escapeButton_ = Property::AsString(Property::Child(definition, "escapebutton"));
    // A dialog made after the tooltip service was installed shows tips too.
    if (const SceneManager* manager = SceneManager::Instance()) {
        listeners_->AddListener(manager->GetToolTip(), true);
    }
    active_ = false;
    movable_ = ReadBool(definition, "movable", movable_);
    resizable_ = ReadBool(definition, "resizable", resizable_);
    SetUseBuffer(ReadBool(definition, "usebuffer", useBuffer_));
    autoEnlarge_ = ReadBool(definition, "autoenlarge", autoEnlarge_);
    ReadPainter(definition);
    if (const Ref<Surface> background = FindDefinitionImage(definition, "background")) {
        SetBackground(background.Get());
        SetWidth(background->GetWidth());
        SetHeight(background->GetHeight());
    }
}

Dialog::~Dialog() {
    canvas_ = nullptr;
    picture_ = nullptr;
    painter_ = nullptr;
    background_ = nullptr;
    listeners_->SetOwner(nullptr);
    while (!listeners_->Listeners().empty()) {
        listeners_->RemoveListener(listeners_->Listeners().front());
    }
}

void Dialog::ReadPainter(Property* definition) {
    Ref<Object> created;
    if (Property* inline_ = Property::Child(definition, "painter")) {
        created = ClassFactory::Instance().Create(inline_);
    } else if (Property* id = Property::Child(definition, "painterid")) {
        if (DialogTable* table = DialogTable::Instance()) {
            created = table->CreateObject(Property::AsString(id));
        }
    }
    Painter* painter = ObjectCast<Painter>(created.Get());
    if (painter == nullptr) {
        requestedWidth_ = GetWidth();
        requestedHeight_ = GetHeight();
        return;
    }
    if (autoEnlarge_) {
        SetWidth(media_numbers::PictureSide(Property::Child(definition, "minwidth")));
        SetHeight(media_numbers::PictureSide(Property::Child(definition, "minheight")));
    }
    SetPainter(painter);
}

void Dialog::SetUseBuffer(bool useBuffer) {
    if (useBuffer == useBuffer_) {
        return;
    }
    useBuffer_ = useBuffer;
    // Components drawn into the buffer must not be drawn again by the pass.
    GetComponentNode()->SetVisible(!useBuffer);
    layoutDirty_ = true;
}

void Dialog::SetPainter(Painter* painter) {
    if (painter == painter_.Get()) {
        return;
    }
    if (painter == nullptr) {
        painter_ = nullptr;
        layoutDirty_ = true;
    } else {
        painter_ = painter;
        painter_->SetNeedsRepaint(true);
    }
    SetSize(requestedWidth_, requestedHeight_);
    SetDirty(true);
}

void Dialog::SetBackground(Surface* background) {
    if (background == background_.Get()) {
        return;
    }
    background_ = background;
    layoutDirty_ = true;
}

void Dialog::SetWidth(int32_t width) {
    requestedWidth_ = width;
    Sprite::SetWidth(autoEnlarge_ && painter_ ? painter_->FitWidth(width) : width);
    layoutDirty_ = true;
}

void Dialog::SetHeight(int32_t height) {
    requestedHeight_ = height;
    Sprite::SetHeight(autoEnlarge_ && painter_ ? painter_->FitHeight(height) : height);
    layoutDirty_ = true;
}

void Dialog::AddChild(GameNode* node) {
    Panel::AddChild(node);
    layoutDirty_ = true;
}

void Dialog::RemoveChild(GameNode* node) {
    if (node != nullptr) {
        node->SetRemoved(true);
    }
    SetDirty(true);
    layoutDirty_ = true;
}

void Dialog::OnShow() {
    active_ = true;
    layoutDirty_ = true;
}

void Dialog::OnHide() { active_ = false; }

void Dialog::BindControlByName(const std::string& name, ControlCallback::Function function, void* context) {
    BindControl(FindChild(name), function, context);
}

void Dialog::BindControl(GameNode* control, ControlCallback::Function function, void* context) {
    if (auto* button = ObjectCast<Button>(control)) {
        button->SetCallback(context, function);
        listeners_->AddListener(button, true);
    } else if (auto* toggle = ObjectCast<Switch>(control)) {
        toggle->SetCallback(context, function);
        listeners_->AddListener(toggle, true);
    } else if (auto* input = ObjectCast<InputLabel>(control)) {
        // An input label calls back with a number; the handler is given the label instead.
        auto binding = std::make_unique<InputLabelBinding>(InputLabelBinding{function, context, input});
        input->Bind(binding.get(), &InputLabelBinding::Forward);
        inputLabelBindings_.push_back(std::move(binding));
        listeners_->AddListener(input, true);
    } else if (auto* slider = ObjectCast<Slider>(control)) {
        slider->SetCallback(context, function);
        listeners_->AddListener(slider, true);
        listeners_->AddListener(slider->GetIncreaseButton(), true);
        listeners_->AddListener(slider->GetDecreaseButton(), true);
    }
}

void Dialog::CloseDialog(Dialog* dialog) {
    SceneManager* manager = SceneManager::Instance();
    if (dialog == nullptr || manager == nullptr || manager->GetCurrentScene() == nullptr) {
        return;
    }
    manager->GetCurrentScene()->CloseDialog(dialog);
}

void Dialog::Draw(Canvas& canvas) {
    PrepareBuffer();
    Sprite::Draw(canvas);
}

void Dialog::PrepareBuffer(const Ref<MemorySurface>& madeAhead) {
    if (!picture_) {
        picture_ = madeAhead;
        canvas_ = madeAhead ? madeAhead->CreateCanvas() : nullptr;
    }
    PrepareBuffer();
}

void Dialog::PrepareBuffer() {
    if (useBuffer_ && IsAnyChildDirty(*GetComponentNode())) {
        layoutDirty_ = true;
    }
    if (layoutDirty_ || (painter_ && painter_->NeedsRepaint())) {
        UpdateBuffer();
    }
}

void Dialog::UpdateBuffer() {
    if (painter_) {
        if (!background_ || background_->GetWidth() != GetWidth() || background_->GetHeight() != GetHeight()) {
            background_ = CreateMemorySurface(GetWidth(), GetHeight());
            painter_->SetNeedsRepaint(true);
        }
        if (painter_->NeedsRepaint()) {
            painter_->Paint(*background_);
            painter_->SetNeedsRepaint(false);
            layoutDirty_ = true;
        }
    }
    if (!background_ || !layoutDirty_) {
        return;
    }
    const int32_t offsetX = GetFrameOffsetX();
    const int32_t offsetY = GetFrameOffsetY();
    if (Ref<MemorySurface> picture = CopySurfaceOver(*background_, picture_); picture != picture_) {
        picture_ = picture;
        canvas_ = picture_->CreateCanvas();
    }
    SetImage(picture_.Get());
    SetFrameOffset(offsetX, offsetY);
    if (useBuffer_ || dragState_ == kDraggingBuffered) {
        DrawChildrenInto(*canvas_, *GetComponentNode());
    }
    SetDirty(true);
    layoutDirty_ = false;
}

void Dialog::ReleaseBuffers() {
    if (!picture_) {
        return;
    }
    const int32_t width = GetWidth();
    const int32_t height = GetHeight();
    const int32_t offsetX = GetFrameOffsetX();
    const int32_t offsetY = GetFrameOffsetY();
    canvas_ = nullptr;
    picture_ = nullptr;
    // The sprite's own setters: the dialog's would fit the size anew.
    Sprite::SetImage(nullptr);
    Sprite::SetWidth(width);
    Sprite::SetHeight(height);
    SetFrameOffset(offsetX, offsetY);
    if (painter_) {
        background_ = nullptr;
    }
    layoutDirty_ = true;
}

void Dialog::DrawChildrenInto(Canvas& canvas, GameNode& node) {
    GameNode* const componentNode = GetComponentNode();
    for (GameNode* current = &node; current != nullptr; current = current->GetNextSibling()) {
        if ((!current->IsVisible() && current != componentNode) || current->IsRemoved()) {
            if (current == componentNode) return;
            continue;
        }
        const Rect savedClip = canvas.GetClipRect();
        if (auto* sprite = ObjectCast<Sprite>(current)) {
            if (sprite->GetClipChildren() && sprite->GetClipRect()) {
                Rect clip = *sprite->GetClipRect();
                clip.x += canvas.GetOriginX();
                clip.y += canvas.GetOriginY();
                canvas.SetClipRect(clip);
            }
            sprite->Draw(canvas);
        }
        if (GameNode* child = current->GetFirstChild()) {
            // The dialog's anchor shifts the whole picture once, not again at every level.
            const bool top = current == componentNode;
            const int32_t dx = current->GetX() + (top ? static_cast<int32_t>(std::lround(GetAnchorX())) : 0);
            const int32_t dy = current->GetY() + (top ? static_cast<int32_t>(std::lround(GetAnchorY())) : 0);
            canvas.MoveOrigin(dx, dy);
            DrawChildrenInto(canvas, *child);
            canvas.MoveOrigin(-dx, -dy);
        }
        canvas.SetClipRect(savedClip);
        if (current == componentNode) {
            return;
        }
    }
}

bool Dialog::IsAnyChildDirty(GameNode& node) const {
    const GameNode* const componentNode = GetComponentNode();
    for (GameNode* current = &node; current != nullptr; current = current->GetNextSibling()) {
        if ((current->IsVisible() || current == componentNode) && !current->IsRemoved()) {
            if (const auto* sprite = ObjectCast<Sprite>(current); sprite != nullptr && sprite->IsDirty()) {
                return true;
            }
            if (ObjectCast<Dialog>(current) == nullptr && current->GetFirstChild() != nullptr &&
                IsAnyChildDirty(*current->GetFirstChild())) {
                return true;
            }
        }
        if (current == componentNode) {
            return false;
        }
    }
    return false;
}

bool Dialog::OnLButtonDown(int32_t x, int32_t y, uint32_t, bool) {
    const bool hit = HitTest(x, y);
    if (hit && movable_) {
        pressX_ = lastX_ = x;
        pressY_ = lastY_ = y;
        dragState_ = kPressed;
    }
    return hit;
}

bool Dialog::OnKeyDown(int32_t virtualKey) {
    if (virtualKey != static_cast<int32_t>(platform::VK_ESCAPE) || escapeButton_.empty()) {
        return false;
    }
    auto* button = ObjectCast<Button>(FindChild(escapeButton_));
    if (button == nullptr || !button->IsEnabled()) {
        return false;
    }
    button->Fire();
    return true;
}

bool Dialog::OnMouseMove(int32_t x, int32_t y, uint32_t) {
    if (dragState_ == kPressed &&
        (std::abs(x - pressX_) > kDragThreshold || std::abs(y - pressY_) > kDragThreshold)) {
        active_ = false;
        dragState_ = kDragging;
    }
    if (dragState_ == kDragging) {
        SetPosition(GetX() + x - lastX_, GetY() + y - lastY_);
        lastX_ = x;
        lastY_ = y;
    }
    return false;
}

bool Dialog::OnLButtonUp(int32_t x, int32_t y, uint32_t) {
    switch (dragState_) {
    case kPressed:
        dragState_ = kIdle;
        return HitTest(x, y);
    case kDragging:
    case kDraggingBuffered:
        active_ = true;
        dragState_ = kIdle;
        return true;
    default:
        return false;
    }
}
