#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/InputListener.h"
#include "engine/media/InputListenerList.h"
#include "engine/ui/ControlCallback.h"
#include "engine/ui/Panel.h"
#include "engine/ui/ToolTipCover.h"

class Canvas;
class MemorySurface;
class Painter;
class Surface;

// The window-like panel: a background picture, or a painter that paints the
// frame into a buffer of the dialog's size; it may draw its components into
// its own picture, can be dragged, and owns the input listeners through
// which its scene reaches it and its bound controls.
class Dialog : public Panel, public InputListener, public ToolTipCover {
    ENGINE_CLASS(Dialog, Panel)

public:
    enum DragState : int32_t { kIdle = 0, kPressed = 1, kDragging = 2, kDraggingBuffered = 3 };
    // How long a newly shown dialog or board takes no keys: a key pressed
    // for what was there before does not press it (a click acts at once).
    static constexpr uint32_t kNewKeyHoldMs = 500;

    // The Panel keys, then "movable", "resizable", "usebuffer",
    // "autoenlarge", the painter ("painter", else the named definition
    // "painterid", sized by "minwidth" and "minheight"), "background"
    // from "section", and "escapebutton": the button that Escape presses
    // when no button of its own takes that key.
    explicit Dialog(Property* definition);
    ~Dialog() override;

    void Draw(Canvas& canvas) override;
    // Through the painter's fitting when auto-enlarge is on and there is one.
    void SetWidth(int32_t width) override;
    void SetHeight(int32_t height) override;
    void AddChild(GameNode* node) override;
    void RemoveChild(GameNode* node) override;

    virtual void OnShow();
    virtual void OnHide();
    // Binds the component of that name (nested panels included); a missing
    // name binds nothing.
    virtual void BindControlByName(const std::string& name, ControlCallback::Function function, void* context);
    // Buttons, switches, input labels and sliders get the handler and put
    // their input in front of the list: later bindings are served first,
    // all before the dialog itself. Other kinds are left alone.
    void BindControl(GameNode* control, ControlCallback::Function function, void* context);
    // Hides the dialog in the current scene and forgets it there; null is
    // ignored.
    static void CloseDialog(Dialog* dialog);

    void SetPainter(Painter* painter);
    void SetBackground(Surface* background);
    Painter* GetPainter() const { return painter_.Get(); }
    Surface* GetBackground() const { return background_.Get(); }

    InputListenerList* GetListenerList() const { return listeners_.Get(); }
    bool IsActive() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    bool IsMovable() const { return movable_; }
    void SetMovable(bool movable) { movable_ = movable; }
    bool IsResizable() const { return resizable_; }
    // The flag a scene stores in a dialog it creates; the engine's dialogs
    // leave it alone, a game dialog may give it a meaning.
    bool IsModal() const { return modal_; }
    void SetModal(bool modal) { modal_ = modal; }
    bool UsesBuffer() const { return useBuffer_; }
    void SetUseBuffer(bool useBuffer);
    // Lets go of the pictures the dialog made for itself (the copy it shows
    // and a painted backdrop) while it is hidden; the next draw makes them
    // again. Its size and place stay.
    void ReleaseBuffers();
    // Brings the picture up to date as the next draw would, for a dialog
    // kept out of sight that is to appear without building it then.
    void PrepareBuffer();
    // The same, building a picture the dialog has none of yet over the one
    // given, made ahead, when its size fits.
    void PrepareBuffer(const Ref<MemorySurface>& madeAhead);
    bool IsLayoutDirty() const { return layoutDirty_; }
    void SetLayoutDirty() { layoutDirty_ = true; }
    int32_t GetDragState() const { return dragState_; }

    bool OnKeyDown(int32_t virtualKey) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;
    void SetInputEnabled(bool enabled) override { inputEnabled_ = enabled; }
    bool IsInputEnabled() const override { return inputEnabled_; }

private:
    // Carries a control handler to an input label, whose own callback passes
    // a number instead of the control.
    struct InputLabelBinding {
        ControlCallback::Function function;
        void* context;
        GameNode* label;
        static int32_t Forward(void* binding, int32_t) {
            const auto* self = static_cast<const InputLabelBinding*>(binding);
            return self->function != nullptr ? self->function(self->context, self->label) : 0;
        }
    };

    void ReadPainter(Property* definition);
    void UpdateBuffer();
    void DrawChildrenInto(Canvas& canvas, GameNode& node);
    bool IsAnyChildDirty(GameNode& node) const;

    // The copy of the background the dialog shows, its components drawn on
    // it when it draws through its buffer.
    Ref<MemorySurface> picture_;
    Ref<Canvas> canvas_;
    Ref<Surface> background_;
    bool useBuffer_ = false;
    int32_t lastX_ = 0;
    int32_t lastY_ = 0;
    int32_t pressX_ = 0;
    int32_t pressY_ = 0;
    bool movable_ = false;
    bool resizable_ = false;
    int32_t dragState_ = kIdle;
    Ref<Painter> painter_;
    int32_t requestedWidth_ = -1;
    int32_t requestedHeight_ = -1;
    bool layoutDirty_ = false;
    bool autoEnlarge_ = true;
    Ref<InputListenerList> listeners_;
    bool active_ = false;
    bool modal_ = false;
    bool inputEnabled_ = true;
    std::string escapeButton_;
    std::vector<std::unique_ptr<InputLabelBinding>> inputLabelBindings_;
};
