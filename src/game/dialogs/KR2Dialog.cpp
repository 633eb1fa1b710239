#include "game/dialogs/KR2Dialog.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelFormat.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/KR2Painter.h"

namespace {

const ClassRegistration registration("KR2Dialog", CreateFromProperty<KR2Dialog>);

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

bool ReadBool(Property* definition, const char* key, bool fallback) {
    Property* value = Property::Child(definition, key);
    return value != nullptr ? Property::AsBool(value) : fallback;
}

void ReadString(Property* definition, const char* key, std::string& value) {
    if (Property* found = Property::Child(definition, key)) {
        value = Property::AsString(found);
    }
}

std::wstring TextOf(const std::string& id) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(id) : std::wstring();
}

}  // namespace

KR2Dialog::KR2Dialog(Property* definition) : Dialog(definition), definition_(&Property::NodeOf(definition)) {
    autoCenter_ = ReadBool(definition_.Get(), "autocenter", autoCenter_);
    darkenBackground_ = ReadBool(definition_.Get(), "dodarkenbackground", darkenBackground_);
    ReadString(definition_.Get(), "opensound", openSound_);
    ReadString(definition_.Get(), "closesound", closeSound_);
    ReadString(definition_.Get(), "soundsection", soundSection_);

    auto* painter = ObjectCast<KR2Painter>(GetPainter());
    if (painter == nullptr) {
        return;
    }
    std::wstring header = TextOf("HINT_NOT_AVAILABLE");
    if (Property* id = Property::Child(definition_.Get(), "headertext")) {
        header = TextOf(Property::AsString(id));
    }
    const Ref<Object> font = FindResourceData("FONT_DIALOG_HEADER", "default");
    const Ref<Label> label(Label::LabelFromValues(0, 0, 0, 0, ObjectCast<BitmapFont>(font.Get()), Label::kNoWrap));
    painter->SetHeaderLabel(label.Get());
    SetHeaderText(header);
}

KR2Dialog::~KR2Dialog() = default;

void KR2Dialog::SetHeaderText(const std::wstring& text) {
    auto* painter = ObjectCast<KR2Painter>(GetPainter());
    const Ref<Label> label = painter != nullptr ? painter->GetHeaderLabel() : Ref<Label>();
    if (!label) {
        return;
    }
    label->SetText(text);
    painter->SetNeedsRepaint(true);
    const int32_t width = label->GetWidth();
    const int32_t margin = DIALOG_MINWIDTH - DIALOG_MIN_CENTERWIDTH;
    if (width > DIALOG_MIN_CENTERWIDTH && GetWidth() - width < margin) {
        SetWidth(width + margin);
    }
    if (GetWidth() < DIALOG_MINWIDTH) {
        SetWidth(DIALOG_MINWIDTH);
    }
}

void KR2Dialog::OnShow() {
    ShowWithoutBackdrop();
    if (darkenBackground_) {
        DarkenBackground();
    }
}

void KR2Dialog::ShowWithoutBackdrop() {
    SetLayoutDirty();
    SetDirty(true);
    SetActive(true);
    GameSceneHooks* hooks = GameSceneHooks::Installed();
    Scene* scene = CurrentDialogScene();
    if (hooks != nullptr && notifyGameScene_ && scene != nullptr && hooks->IsGameScene(scene)) {
        hooks->OnDialogOpened(scene, this);
    }
    if (autoCenter_) {
        SetPosition((kScreenWidth - GetWidth()) / 2, (kScreenHeight - GetHeight()) / 2);
    }
}

void KR2Dialog::OnHide() {
    SetActive(false);
    if (GameSceneHooks* hooks = GameSceneHooks::Installed()) {
        hooks->OnDialogClosed(this);
    }
}

void KR2Dialog::ResetForReuse() {
    closing_ = false;
    ClearModifiers();
    SetAlpha(255);
    SetInputEnabled(true);
    autoCenter_ = ReadBool(definition_.Get(), "autocenter", false);
    SetUseBuffer(ReadBool(definition_.Get(), "usebuffer", false));
}

void KR2Dialog::ShowAndFadeIn() {
    KR2Dialog::OnShow();
    FadeIn(this, DIALOG_FADE_TIME);
}

void KR2Dialog::DrawThroughBuffer() {
    if (!UsesBuffer()) {
        SetUseBuffer(true);
        SetDirty(true);
    }
}

void KR2Dialog::FadeIn(KR2Dialog* dialog, int32_t ms) {
    if (dialog == nullptr) {
        return;
    }
    dialog->DrawThroughBuffer();
    dialog->SetActive(false);
    dialog->SetInputEnabled(false);
    dialog->SetAlpha(0);
    const Ref<Modifier> fade(new ModifierValue(0, 255, ms));
    fade->SetOptions(Modifier::kBlockFollowing);
    dialog->AddModifier(fade.Get());
    const Ref<Modifier> done(new ModifierCallback(
        [](uint32_t, GameNode* target) { OnFadeInDone(ObjectCast<KR2Dialog>(target)); }, 0));
    dialog->AddModifier(done.Get());
    if (dialog->playSounds_) {
        dialog->PlaySound(dialog->openSound_);
    }
}

void KR2Dialog::OnFadeInDone(KR2Dialog* dialog) {
    // A dialog closed during its fade-in stays without input.
    if (dialog == nullptr || dialog->closing_) {
        return;
    }
    if (dialog->UsesBuffer()) {
        dialog->SetUseBuffer(false);
        dialog->SetDirty(true);
    }
    dialog->SetActive(true);
    dialog->SetInputEnabled(true);
}

void KR2Dialog::Close() {
    // A second close (a double click on OK, say) would leave twice and run
    // the after-close function twice.
    if (closing_) {
        return;
    }
    closing_ = true;
    DrawThroughBuffer();
    SetActive(false);
    SetInputEnabled(false);
    const Ref<Modifier> fade(new ModifierValue(GetAlpha(), 0, DIALOG_FADE_TIME));
    fade->SetOptions(Modifier::kBlockFollowing);
    AddModifier(fade.Get());
    // Keeps the dialog alive through its own removal from the scene's map.
    const Ref<Modifier> leave(new ModifierCallback(
        [](uint32_t, GameNode* target) {
            const Ref<GameNode> keep(target);
            if (Scene* scene = CurrentDialogScene()) {
                scene->CloseDialog(ObjectCast<Dialog>(target));
            }
        },
        0));
    AddModifier(leave.Get());
    if (afterClose_) {
        const Ref<Modifier> after(new ModifierCallback(
            [](uint32_t, GameNode* target) {
                if (auto* dialog = ObjectCast<KR2Dialog>(target); dialog != nullptr && dialog->afterClose_) {
                    const AfterClose function = dialog->afterClose_;
                    function(dialog);
                }
            },
            0));
        AddModifier(after.Get());
    }
    if (playSounds_) {
        PlaySound(closeSound_);
    }
}

int32_t KR2Dialog::CloseHandler(void* dialog, GameNode*) {
    if (auto* self = ObjectCast<KR2Dialog>(static_cast<Object*>(dialog))) {
        self->Close();
    }
    return 0;
}

void KR2Dialog::PlaySound(const std::string& name) const { PlayControlSound(name, soundSection_); }

void KR2Dialog::DarkenBackground() {
    DarkenBackground(CreateMemorySurface(GetWidth(), GetHeight()), CreateMemorySurface(kScreenWidth, kScreenHeight));
}

void KR2Dialog::DarkenBackground(const Ref<MemorySurface>& clearedFrame, const Ref<MemorySurface>& clearedBackdrop) {
    Ref<Surface> frame(GetBackground());
    if (Painter* painter = GetPainter()) {
        painter->Paint(*clearedFrame);
        frame = clearedFrame;
    }
    SetMovable(false);
    frameImage_ = frame;
    SetPainter(nullptr);
    SetLayoutDirty();
    SetDirty(true);
    GetComponentNode()->SetPosition(GetX(), GetY());
    SetPosition(0, 0);
    SetBackground(clearedBackdrop.Get());
    SetLayoutDirty();
    PaintDarkenedBackground();
}

void KR2Dialog::PaintDarkenedBackground() {
    Surface* backdrop = GetBackground();
    if (backdrop == nullptr) {
        return;
    }
    const Ref<Canvas> canvas = backdrop->CreateCanvas();
    canvas->SetColor(Color(0x000000));
    canvas->Clear();
    canvas->FillChannelRect(kAlpha, static_cast<uint32_t>(std::clamp(DIALOG_BACKGROUND_ALPHA, 0, 255)));
    if (frameImage_) {
        const int32_t x = GetComponentNode()->GetX();
        const int32_t y = GetComponentNode()->GetY();
        canvas->Blit(*frameImage_, x, y);
        canvas->MaxChannel(*frameImage_, kAlpha, x, y);
    }
    SetImage(backdrop);
}
