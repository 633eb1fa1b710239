#include "game/words/ModifierWordArrival.h"

#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"

namespace {

GameNode* Grandparent(const GameNode* node) {
    GameNode* parent = node != nullptr ? node->GetParent() : nullptr;
    return parent != nullptr ? parent->GetParent() : nullptr;
}

}  // namespace

void ModifierWordArrival::Update(int32_t elapsedMs) {
    // Slot -> word content -> word, and word -> queue content -> queue.
    auto* word = ObjectCast<WordSprite>(Grandparent(GetTarget()));
    auto* queue = ObjectCast<WordQueue>(Grandparent(word));
    remainingMs_ -= elapsedMs;
    if (remainingMs_ <= 0 || (queue != nullptr && queue->IsWordInView(*word))) {
        SetFinished();
    }
}
