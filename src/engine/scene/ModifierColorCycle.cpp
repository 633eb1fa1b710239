#include "engine/scene/ModifierColorCycle.h"

#include <algorithm>

#include "engine/foundation/Logger.h"
#include "engine/media/Surface.h"
#include "engine/scene/Sprite.h"

ModifierColorCycle::ModifierColorCycle(Surface* table, int32_t periodMs, int32_t repeats)
    : table_(table), period_(periodMs), repeats_(repeats) {
    // A period below 1 ms would divide by zero.
    if (period_ < 1) {
        ENGINE_LOG(1, "colour cycle period %d ms is too short, using 1 ms", period_);
        period_ = 1;
    }
}

ModifierColorCycle::~ModifierColorCycle() = default;

void ModifierColorCycle::WriteColour(int32_t index) const {
    Sprite* sprite = ObjectCast<Sprite>(GetTarget());
    if (sprite == nullptr) {
        return;
    }
    const int32_t width = table_->GetWidth();
    ScopedSurfaceLock lock(*table_);
    if (table_->GetPixels() == nullptr || table_->GetPixelFormat().bytesPerPixel != 4) {
        return;
    }
    const uint32_t pixel = table_->Pixels32()[table_->PixelIndex(index % width, index / width)];
    sprite->SetColor(static_cast<int32_t>(pixel & 0xFFFFFF));
}

void ModifierColorCycle::Update(int32_t elapsedMs) {
    const int64_t count = table_ ? int64_t{table_->GetWidth()} * table_->GetHeight() : 0;
    if (count <= 0) {
        ENGINE_LOG(1, "colour cycle without a colour table");
        SetFinished();
        return;
    }
    if (atEnd_) {
        SetFinished();
    } else {
        int64_t index = count - 1;
        if (repeats_ < 1 || periodsDone_ < repeats_) {
            index = std::min(int64_t{elapsed_} * count / period_, count - 1);
        } else {
            atEnd_ = true;
        }
        WriteColour(static_cast<int32_t>(index));
    }
    // Whole periods at once: the same as taking them off one by one.
    int64_t total = int64_t{elapsed_} + std::max(elapsedMs, 0);
    if (total > period_) {
        const int64_t periods = (total - 1) / period_;
        total -= periods * period_;
        periodsDone_ = static_cast<int32_t>(std::min<int64_t>(periodsDone_ + periods, INT32_MAX));
    }
    elapsed_ = static_cast<int32_t>(total);
}
