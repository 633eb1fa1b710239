#include "engine/ui/KeyStates.h"

namespace {
const KeyStates*& Source() {
    static const KeyStates* source = nullptr;
    return source;
}
}  // namespace

void KeyStates::SetSource(const KeyStates* source) {
    Source() = source;
}

bool KeyStates::IsDown(uint32_t virtualKey) {
    const KeyStates* source = Source();
    return source != nullptr && source->IsKeyDown(virtualKey);
}
