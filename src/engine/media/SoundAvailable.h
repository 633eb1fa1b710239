#pragma once

// Whether sound output was set up. Every sound operation tests it first and
// does nothing while it is clear, so the game runs silent without a sound
// device. Set by the sound manager; read from the loader thread too.
bool IsSoundAvailable();
void SetSoundAvailable(bool available);
