#include "engine/ui/InputLabel.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/TextConversions.h"
#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/KeyStates.h"
#include "platform/KeyCodes.h"

namespace {

const ClassRegistration registration("InputLabel", CreateFromProperty<InputLabel>);

constexpr int32_t kBackspace = 8;

bool ShiftHeld() {
    return KeyStates::IsDown(platform::VK_SHIFT);
}

bool CtrlHeld() {
    return KeyStates::IsDown(platform::VK_CONTROL);
}

int32_t Length(const std::wstring& text) {
    return static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX));
}

std::wstring WithoutLeadingSpaces(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

}  // namespace

InputLabel::InputLabel(Property* definition) : Sprite(definition) {
    ReadDefinition(&Property::NodeOf(definition));
}

void InputLabel::ReadDefinition(Property* definition) {
    if (Property* width = Property::Child(definition, "width")) {
        SetWidth(media_numbers::PictureSide(width));
    }
    if (Property* height = Property::Child(definition, "height")) {
        SetHeight(media_numbers::PictureSide(height));
    }
    if (Property* maxLength = Property::Child(definition, "maxlength")) {
        maxLength_ = Property::AsInt(maxLength);
    }
    if (Property* text = Property::Child(definition, "text")) {
        text_ = Property::AsText(text);
    }
    if (Property* cursorX = Property::Child(definition, "cursorx")) {
        cursorX_ = Property::AsInt(cursorX);
    }
    if (Property* cursorY = Property::Child(definition, "cursory")) {
        cursorY_ = Property::AsInt(cursorY);
    }
    if (Property* strip = Property::Child(definition, "stripspaces")) {
        const std::string value = Property::AsString(strip);
        stripSpaces_ = !value.empty() && value != "false";
    }
    if (Property* maxWidth = Property::Child(definition, "maxwidth")) {
        maxWidth_ = Property::AsInt(maxWidth);
    }
    if (Property* labelDefinition = Property::Child(definition, "label")) {
        const Ref<Object> created(ClassFactory::Instance().Create(labelDefinition));
        label_ = ObjectCast<Label>(created.Get());
        if (label_) {
            label_->SetText(text_);
            AddChild(label_.Get());
        } else {
            ENGINE_LOG(1, "InputLabel: \"label\" builds no label");
        }
    }
    if (Property* cursorImage = Property::Child(definition, "cursorimage")) {
        const std::string name = Property::AsString(cursorImage);
        const std::string section = Property::AsString(Property::Child(definition, "section"));
        const Ref<Object> data = FindResourceData(name, section);
        Surface* image = ObjectCast<Surface>(data.Get());
        if (image == nullptr) {
            ENGINE_LOG(1, "InputLabel: no cursor image \"%s\" in section \"%s\"", name.c_str(), section.c_str());
        }
        SetCursorImage(image);
    }
    if (Property* on = Property::Child(definition, "durationon")) {
        const int32_t onMs = Property::AsInt(on);
        Property* off = Property::Child(definition, "durationoff");
        SetBlinkDurations(onMs, off != nullptr ? Property::AsInt(off) : onMs);
    }
}

BitmapFont* InputLabel::Font() const {
    return label_ ? label_->GetFont() : nullptr;
}

int32_t InputLabel::AdvanceWidth(int32_t count) const {
    const BitmapFont* font = Font();
    return font != nullptr ? font->GetTextWidth(text_, 0, count, false) : 0;
}

void InputLabel::DropCursor() {
    if (cursor_) {
        cursor_->ClearModifiers();
        // A replaced cursor must not stay behind as a child.
        cursor_->SetRemoved(true);
    }
    blink_.Reset();
    cursor_.Reset();
}

void InputLabel::SetCursorImage(Surface* image) {
    DropCursor();
    if (image == nullptr) {
        return;
    }
    cursor_ = new Sprite(0, 0, image);
    AddChild(cursor_.Get());
    RestartBlink();
}

void InputLabel::RestartBlink() {
    if (!cursor_) {
        return;
    }
    cursor_->ClearModifiers();
    ModifierPulse::Timing timing;
    timing.holdFirstMs = durationOn_;
    timing.holdSecondMs = durationOff_;
    blink_ = new ModifierPulse(255, 0, timing, -1);
    cursor_->AddModifier(blink_.Get(), false);
    SetFocus(focus_);
}

void InputLabel::SetBlinkDurations(int32_t onMs, int32_t offMs) {
    durationOn_ = onMs;
    durationOff_ = offMs;
    if (blink_) {
        blink_->SetHoldTimes(onMs, offMs);
    }
}

void InputLabel::SetFocus(bool focus) {
    focus_ = focus;
    if (!cursor_) {
        return;
    }
    cursor_->SetSuspended(!focus);
    cursor_->SetVisible(focus);
    if (!focus) {
        caret_ = Length(text_);
        CollapseSelection();
    }
}

std::wstring InputLabel::GetSelectedText() const {
    return text_.substr(static_cast<size_t>(selectionStart_), static_cast<size_t>(selectionEnd_ - selectionStart_));
}

bool InputLabel::IsAllowedChar(wchar_t character) const {
    const BitmapFont* font = Font();
    if (character != L' ' && (font == nullptr || !font->HasGlyph(character))) {
        return false;
    }
    return allowed_.empty() || allowed_.find(character) != std::wstring::npos;
}

bool InputLabel::AcceptsText(const std::wstring& text) const {
    const std::wstring tested = stripSpaces_ ? WithoutLeadingSpaces(text) : text;
    if (maxLength_ > 0 && Length(tested) > maxLength_) {
        return false;
    }
    const BitmapFont* font = Font();
    return !(maxWidth_ > 0 && font != nullptr && font->GetTextWidth(tested, 0, Length(tested), true) > maxWidth_);
}

void InputLabel::ApplyText(const std::wstring& text, bool caretToEnd) {
    text_ = text;
    if (stripSpaces_) {
        while (!text_.empty() && text_[0] == L' ') {
            text_.erase(0, 1);
            caret_ = std::max(caret_ - 1, 0);
        }
    }
    if (const BitmapFont* font = Font(); maxWidth_ > 0 && font != nullptr) {
        while (!text_.empty() && font->GetTextWidth(text_, 0, Length(text_), true) > maxWidth_) {
            text_.pop_back();
            caret_ = std::max(caret_ - 1, 0);
        }
    }
    if (label_) {
        label_->SetText(text_);
    }
    Invoke(0);
    if (caretToEnd) {
        caret_ = Length(text_);
        CollapseSelection();
    } else {
        caret_ = std::clamp(caret_, 0, Length(text_));
        selectionStart_ = std::min(selectionStart_, Length(text_));
        selectionEnd_ = std::min(selectionEnd_, Length(text_));
    }
}

std::wstring InputLabel::TextWith(const std::wstring& inserted) const {
    std::wstring edited = text_;
    int32_t caret = caret_;
    if (HasSelection()) {
        edited.erase(static_cast<size_t>(selectionStart_), static_cast<size_t>(selectionEnd_ - selectionStart_));
        caret = std::clamp(selectionStart_, 0, Length(edited));
    }
    const size_t at = caret >= Length(edited) ? edited.size() : caret < 1 ? 0 : static_cast<size_t>(caret);
    edited.insert(at, inserted);
    return edited;
}

void InputLabel::InsertText(const std::wstring& text) {
    const std::wstring edited = TextWith(text);
    if (HasSelection()) {
        caret_ = std::clamp(selectionStart_, 0, Length(text_) - (selectionEnd_ - selectionStart_));
        CollapseSelection();
    }
    if (AcceptsText(edited)) {
        ApplyText(edited, false);
        caret_ = std::min(caret_ + Length(text), Length(text_));
    }
    CollapseSelection();
}

void InputLabel::MoveCaret(int32_t position, bool extend, bool collapse) {
    const int32_t old = caret_;
    caret_ = std::clamp(position, 0, Length(text_));
    if (!extend) {
        if (collapse) {
            CollapseSelection();
        }
        return;
    }
    if (old == selectionStart_ && caret_ < old) {
        selectionStart_ = caret_;
    } else if (old == selectionEnd_ && caret_ > old) {
        selectionEnd_ = caret_;
    } else if (old == selectionStart_) {
        selectionStart_ = caret_;
    } else {
        selectionEnd_ = caret_;
    }
    if (selectionStart_ > selectionEnd_) {
        std::swap(selectionStart_, selectionEnd_);
    }
    UpdateSelectionPixels();
}

void InputLabel::UpdateSelectionPixels() {
    selectionStartPixel_ = CaretPixelX(selectionStart_);
    selectionEndPixel_ = CaretPixelX(selectionEnd_);
}

void InputLabel::DeleteForward() {
    std::wstring edited = text_;
    if (HasSelection()) {
        edited.erase(static_cast<size_t>(selectionStart_), static_cast<size_t>(selectionEnd_ - selectionStart_));
        caret_ = selectionStart_;
    } else if (!edited.empty() && caret_ < Length(edited)) {
        edited.erase(static_cast<size_t>(caret_), 1);
    }
    ApplyText(edited, false);
    CollapseSelection();
}

int32_t InputLabel::CaretPixelX(int32_t index) const {
    const BitmapFont* font = Font();
    const int32_t labelX = label_ ? label_->GetX() : 0;
    return labelX + AdvanceWidth(index) - (font != nullptr ? font->GetSidePad() : 0);
}

int32_t InputLabel::CharIndexAtX(int32_t x) const {
    const int32_t screenX = GetAbsoluteX();
    if (text_.empty() || x < screenX) {
        return 0;
    }
    const int32_t sidePad = Font() != nullptr ? Font()->GetSidePad() : 0;
    const int32_t offset = x - screenX - (label_ ? label_->GetX() : 0);
    const int32_t length = Length(text_);
    for (int32_t i = 1; i <= length; ++i) {
        if (offset < AdvanceWidth(i) - sidePad) {
            return i - 1;
        }
    }
    return length;
}

void InputLabel::Draw(Canvas& canvas) {
    Sprite::Draw(canvas);
    const BitmapFont* font = Font();
    if (!label_ || font == nullptr) {
        return;
    }
    if (HasSelection()) {
        const int32_t x = GetX() + cursorX_ + std::min(selectionStartPixel_, selectionEndPixel_);
        const int32_t y = cursorY_ - font->GetTopPad() + label_->GetY() + GetY();
        const int32_t width = std::abs(selectionEndPixel_ - selectionStartPixel_);
        const int32_t height = label_->GetHeight() - font->GetTopPad();
        const Ref<Color> savedColor = canvas.GetColor();
        const int32_t savedAlpha = canvas.GetAlpha();
        canvas.SetColor(Color(selectionFill_));
        canvas.SetAlpha(selectionFillAlpha_);
        canvas.FillRect(x, y, width, height);
        canvas.SetColor(Color(selectionFrame_));
        canvas.SetAlpha(selectionFrameAlpha_);
        canvas.DrawRect(x - 1, y - 1, width + 2, height + 2);
        canvas.SetAlpha(savedAlpha);
        canvas.SetColor(*savedColor);
    }
    if (cursor_ && focus_) {
        const float x = static_cast<float>(cursorX_ + label_->GetX() + AdvanceWidth(caret_) - 1 - font->GetSidePad()) -
                        label_->GetAnchorX();
        cursor_->SetPosition(static_cast<int32_t>(std::trunc(x)), label_->GetY() + font->GetTopPad() + cursorY_);
    }
}

void InputLabel::CopySelection() const {
    GameWindow::SetClipboardText(WideToNarrow(HasSelection() ? GetSelectedText() : text_));
}

void InputLabel::Paste() {
    // The clipboard arrives as Windows-1252 text; it passes the same filter
    // as typed characters, so no control character or glyphless byte gets in.
    const std::wstring pasted = NarrowToWide(GameWindow::GetClipboardText());
    std::wstring accepted;
    for (const wchar_t character : pasted) {
        if (IsAllowedChar(character)) {
            accepted += character;
        }
    }
    // As much of it as the limits leave room for, as typing would take.
    while (!accepted.empty() && !AcceptsText(TextWith(accepted))) {
        accepted.pop_back();
    }
    InsertText(accepted);
}

void InputLabel::StepHeldKeys() {
    if (leftHeld_) {
        MoveCaret(caret_ - 1, ShiftHeld(), true);
    } else if (rightHeld_) {
        MoveCaret(caret_ + 1, ShiftHeld(), true);
    } else if (deleteHeld_) {
        DeleteForward();
    }
}

bool InputLabel::OnKeyDown(int32_t virtualKey) {
    if (!focus_) {
        StepHeldKeys();
        return false;
    }
    const bool clipboard = CtrlHeld() && GameWindow::Instance() != nullptr;
    switch (static_cast<uint32_t>(virtualKey)) {
        case platform::VK_LEFT:
            leftHeld_ = true;
            break;
        case platform::VK_RIGHT:
            rightHeld_ = true;
            break;
        case platform::VK_DELETE:
            deleteHeld_ = true;
            break;
        case 'C':
            if (clipboard) {
                CopySelection();
            }
            break;
        case 'V':
            if (clipboard) {
                Paste();
            }
            break;
        case 'X':
            if (clipboard) {
                if (!HasSelection()) {
                    selectionStart_ = 0;
                    selectionEnd_ = Length(text_);
                }
                CopySelection();
                InsertText(L"");
            }
            break;
        default:
            break;
    }
    StepHeldKeys();
    return true;
}

bool InputLabel::OnKeyUp(int32_t virtualKey) {
    if (!focus_) {
        return false;
    }
    switch (static_cast<uint32_t>(virtualKey)) {
        case platform::VK_TAB:
        case platform::VK_RETURN:
        case platform::VK_ESCAPE: {
            SetFocus(false);
            const KeyHandler& handler = virtualKey == static_cast<int32_t>(platform::VK_TAB)      ? tabHandler_
                                        : virtualKey == static_cast<int32_t>(platform::VK_RETURN) ? enterHandler_
                                                                                                   : escapeHandler_;
            if (handler) {
                handler(*this);
            }
            return true;
        }
        case platform::VK_HOME:
            MoveCaret(0, ShiftHeld(), true);
            return true;
        case platform::VK_END:
            MoveCaret(Length(text_), ShiftHeld(), true);
            return true;
        case platform::VK_LEFT:
            leftHeld_ = false;
            return true;
        case platform::VK_RIGHT:
            rightHeld_ = false;
            return true;
        case platform::VK_DELETE:
            deleteHeld_ = false;
            return true;
        default:
            return false;
    }
}

bool InputLabel::OnChar(int32_t character) {
    if (!focus_) {
        return false;
    }
    if (character == kBackspace) {
        if (!text_.empty() && (caret_ > 0 || HasSelection())) {
            if (!HasSelection()) {
                selectionStart_ = caret_ - 1;
                selectionEnd_ = caret_;
            }
            std::wstring edited = text_;
            edited.erase(static_cast<size_t>(selectionStart_), static_cast<size_t>(selectionEnd_ - selectionStart_));
            caret_ = selectionStart_;
            CollapseSelection();
            ApplyText(edited, false);
        }
        return true;
    }
    // Characters arrive as Windows-1252 bytes.
    const std::wstring typed = NarrowToWide(std::string(1, static_cast<char>(character & 0xFF)));
    if (IsAllowedChar(typed[0])) {
        InsertText(typed);
    }
    return true;
}

void InputLabel::SelectWordAt(int32_t index) {
    const int32_t length = Length(text_);
    int32_t start = 0;
    for (int32_t i = std::min(index, length - 1); i >= 0; --i) {
        if (text_[static_cast<size_t>(i)] == L' ') {
            start = i + 1;
            break;
        }
    }
    int32_t end = length;
    for (int32_t i = std::max(index, 0); i < length; ++i) {
        const wchar_t c = text_[static_cast<size_t>(i)];
        if (c == L' ' || c == L'.' || c == L',') {
            end = c == L' ' ? i + 1 : i;
            break;
        }
    }
    selectionStart_ = start;
    selectionEnd_ = std::min(end, length);
    UpdateSelectionPixels();
    caret_ = selectionEnd_;
    wordSelected_ = true;
}

bool InputLabel::OnLButtonDown(int32_t x, int32_t y, uint32_t /*flags*/, bool doubleClick) {
    if (!HitTest(x, y)) {
        SetFocus(false);
        return false;
    }
    SetFocus(true);
    if (doubleClick) {
        SelectWordAt(CharIndexAtX(x));
    } else {
        dragging_ = true;
        MoveCaret(CharIndexAtX(x), ShiftHeld(), true);
    }
    return false;
}

bool InputLabel::OnMouseMove(int32_t x, int32_t /*y*/, uint32_t /*flags*/) {
    if (focus_ && dragging_) {
        MoveCaret(CharIndexAtX(x), true, false);
    }
    return false;
}

bool InputLabel::OnLButtonUp(int32_t x, int32_t y, uint32_t /*flags*/) {
    if (focus_ && !dragging_) {
        if (!wordSelected_) {
            MoveCaret(CharIndexAtX(x), true, false);
        }
        if (!HitTest(x, y)) {
            SetFocus(false);
        }
    }
    dragging_ = false;
    return false;
}
