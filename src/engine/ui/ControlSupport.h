#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"

class Property;
class Sprite;

// What the controls share: sounds, pictures named by definitions, the pixel
// hit test and safe conversion of positions to whole pixels.

// Plays the named sound of the section once at full volume and centre pan;
// nothing for an empty name, a missing resource or while sound is off.
void PlayControlSound(const std::string& name, const std::string& section);

// The image resource named by the definition's key, looked up in its
// "section"; null (with a log line) when it is named but missing.
Ref<Surface> FindDefinitionImage(Property* definition, const char* key);

// The hit test of a clickable sprite at a scene point: inside its frame
// rectangle, then a mask pixel whose low byte exceeds 128, or with a
// threshold below 0 anywhere, or else an image pixel whose alpha exceeds
// the threshold.
bool HitTestControl(const Sprite& sprite, const Surface* mask, int32_t threshold, int32_t x, int32_t y);

// Truncated toward zero and held within the 32-bit range (NaN gives 0), so
// that values from data never convert out of range.
int32_t TruncateToInt(double value);
