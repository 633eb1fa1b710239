#include "engine/foundation/MediaNumbers.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"

namespace media_numbers {

namespace {

const char* KeyOf(const Property* value) { return value != nullptr ? value->Name().c_str() : ""; }

}  // namespace

int32_t Held(const Property* value, int32_t low, int32_t high) {
    const int32_t read = Property::AsInt(value);
    const int32_t held = std::clamp(read, low, high);
    if (held != read) {
        ENGINE_LOG(2, "\"%s\" of %d read as %d: it must lie within %d to %d", KeyOf(value), read, held, low, high);
    }
    return held;
}

float HeldFloat(const Property* value, float low, float high) {
    const float read = Property::AsFloat(value);
    const float held = std::isnan(read) ? 0.0f : std::clamp(read, low, high);
    if (held != read) {
        ENGINE_LOG(2, "\"%s\" of %g read as %g: it must lie within %g to %g", KeyOf(value), read, held, low, high);
    }
    return held;
}

}  // namespace media_numbers
