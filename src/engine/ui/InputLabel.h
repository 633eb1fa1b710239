#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/foundation/Callback.h"
#include "engine/foundation/Ref.h"
#include "engine/media/InputListener.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Label.h"

// The single-line text entry: an editable text shown through an inner label,
// a blinking cursor at the caret, a selection (drag, double click on a word,
// Shift with the arrows, Home and End), Backspace and Delete, clipboard copy,
// cut and paste, limits by length and pixel width, and handlers for Enter,
// Escape and Tab. Its callback is the change handler, invoked with 0 after
// every edit.
class InputLabel : public Sprite, public InputListener, public Callback {
    ENGINE_CLASS(InputLabel, Sprite)

public:
    using KeyHandler = std::function<void(InputLabel& label)>;

    // The sprite keys, then "width", "height", "maxlength", "text",
    // "cursorx", "cursory", "stripspaces", "maxwidth", "label" (a
    // definition), "cursorimage" with "section", "durationon", "durationoff".
    explicit InputLabel(Property* definition);

    // The sprite, the selection box and the cursor's place; the inner label
    // and the cursor are children, drawn by the render pass.
    void Draw(Canvas& canvas) override;

    bool OnKeyDown(int32_t virtualKey) override;
    bool OnKeyUp(int32_t virtualKey) override;
    bool OnChar(int32_t character) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;
    void SetInputEnabled(bool enabled) override { inputEnabled_ = enabled; }
    bool IsInputEnabled() const override { return inputEnabled_; }

    // A new cursor sprite with the image, or none.
    void SetCursorImage(Surface* image);
    void RestartBlink();
    void SetBlinkDurations(int32_t onMs, int32_t offMs);
    // Without focus the cursor hides and the caret goes to the end.
    void SetFocus(bool focus);
    bool HasFocus() const { return focus_; }

    // Typed (and pasted) characters must be a space or have a glyph, and be
    // among the allowed characters when those are given.
    bool IsAllowedChar(wchar_t character) const;
    bool AcceptsText(const std::wstring& text) const;
    void ApplyText(const std::wstring& text, bool caretToEnd);
    void InsertText(const std::wstring& text);
    // The text as inserting `inserted` at the caret would make it, over the selection.
    std::wstring TextWith(const std::wstring& inserted) const;
    void MoveCaret(int32_t position, bool extend, bool collapse);
    void DeleteForward();
    int32_t CaretPixelX(int32_t index) const;
    int32_t CharIndexAtX(int32_t x) const;

    const std::wstring& GetText() const { return text_; }
    std::wstring GetSelectedText() const;
    int32_t GetCaret() const { return caret_; }
    int32_t GetSelectionStart() const { return selectionStart_; }
    int32_t GetSelectionEnd() const { return selectionEnd_; }
    void SetAllowedChars(const std::wstring& allowed) { allowed_ = allowed; }
    void SetMaxLength(int32_t length) { maxLength_ = length; }
    void SetMaxWidth(int32_t width) { maxWidth_ = width; }
    void SetStripSpaces(bool strip) { stripSpaces_ = strip; }
    void SetEnterHandler(KeyHandler handler) { enterHandler_ = std::move(handler); }
    void SetEscapeHandler(KeyHandler handler) { escapeHandler_ = std::move(handler); }
    void SetTabHandler(KeyHandler handler) { tabHandler_ = std::move(handler); }
    Label* GetLabel() const { return label_.Get(); }
    Sprite* GetCursor() const { return cursor_.Get(); }

private:
    void ReadDefinition(Property* definition);
    BitmapFont* Font() const;
    // The font's advance over the first `count` characters, pads included.
    int32_t AdvanceWidth(int32_t count) const;
    bool HasSelection() const { return selectionStart_ != selectionEnd_; }
    void CollapseSelection() { selectionStart_ = selectionEnd_ = caret_; }
    void UpdateSelectionPixels();
    void SelectWordAt(int32_t index);
    void StepHeldKeys();
    void CopySelection() const;
    void Paste();
    void DropCursor();

    bool inputEnabled_ = true;
    std::wstring text_;
    std::wstring allowed_;
    bool focus_ = false;
    bool leftHeld_ = false;
    bool rightHeld_ = false;
    bool deleteHeld_ = false;
    bool dragging_ = false;
    bool wordSelected_ = false;
    int32_t selectionStartPixel_ = 0;
    int32_t selectionEndPixel_ = 0;
    int32_t selectionStart_ = 0;
    int32_t selectionEnd_ = 0;
    uint32_t selectionFill_ = 0xFF00FF;
    uint32_t selectionFrame_ = 0x000000;
    int32_t selectionFillAlpha_ = 128;
    int32_t selectionFrameAlpha_ = 255;
    int32_t maxLength_ = -1;
    int32_t caret_ = 0;
    Ref<Sprite> cursor_;
    int32_t cursorX_ = 0;
    int32_t cursorY_ = 0;
    int32_t durationOn_ = 500;
    int32_t durationOff_ = 500;
    bool stripSpaces_ = false;
    int32_t maxWidth_ = -1;
    KeyHandler enterHandler_;
    KeyHandler escapeHandler_;
    KeyHandler tabHandler_;
    Ref<Label> label_;
    Ref<ModifierPulse> blink_;
};
