#include "engine/scene/ModifierImageSweep.h"

#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageTools.h"

void ModifierImageSweep::Stamp(float scale) const {
    if (!destination_ || !source_) {
        return;
    }
    // The display's canvas prepares both pictures for the display; without a
    // window the destination's own canvas stands in.
    const GameWindow* window = GameWindow::Instance();
    Ref<Canvas> own;
    Canvas* canvas = window != nullptr ? window->GetCanvas() : nullptr;
    if (canvas == nullptr) {
        own = destination_->CreateCanvas();
        canvas = own.Get();
    }
    DrawImageScaled(*canvas, *destination_, *source_, x_, y_, scale);
}

void ModifierImageSweep::Update(int32_t elapsedMs) {
    if (clock_.HasReachedEnd()) {
        Stamp(maximumScale_);
        SetFinished();
        return;
    }
    Stamp(Smoothstep(clock_.Progress()) * maximumScale_);
    clock_.Advance(elapsedMs);
}
