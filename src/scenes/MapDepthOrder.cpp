#include "scenes/MapDepthOrder.h"

#include <vector>

#include "engine/scene/GameNode.h"

void SortTrainDepth(GameNode& train) {
    GameNode* parent = train.GetParent();
    if (parent == nullptr) return;
    std::vector<GameNode*> siblings;
    size_t self = 0;
    for (GameNode* node = parent->GetFirstChild(); node != nullptr; node = node->GetNextSibling()) {
        if (node == &train) self = siblings.size();
        siblings.push_back(node);
    }
    const int32_t y = train.GetY();

    size_t back = self;
    while (back > 0 && siblings[back - 1]->GetY() > y) --back;
    if (back < self && back > 0) {
        // siblings[back - 1] is the first one back with y <= ours.
        train.InsertBefore(siblings[back]);
        train.SetRemoved(false);
        return;
    }
    for (size_t next = self + 1; next < siblings.size(); ++next) {
        if (siblings[next]->GetY() > y) {
            train.InsertBefore(siblings[next]);
            return;
        }
    }
}
