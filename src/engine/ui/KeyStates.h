#pragma once

#include <cstdint>

// Which keys are held, as the input dispatcher saw them with the events it
// delivered. The dispatcher's owner registers it here; without one no key
// counts as held.
class KeyStates {
public:
    virtual bool IsKeyDown(uint32_t virtualKey) const = 0;

    static void SetSource(const KeyStates* source);
    // Whether the key is held according to the registered source.
    static bool IsDown(uint32_t virtualKey);

protected:
    ~KeyStates() = default;
};
