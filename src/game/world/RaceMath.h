#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Arithmetic shared by the race strip's objects.
namespace race_math {

// Pi in single precision, as the wheel and rod angles use it.
constexpr float kPi = 3.14159265358979f;
// Width of the game screen.
constexpr int32_t kScreenWidth = 800;

// Truncates toward zero; values beyond the int range (or not a number, from a
// missing constant) give 0 instead of undefined behaviour.
inline int32_t Truncate(float value) {
    if (!(std::fabs(value) < 2147483520.0f)) {
        return 0;
    }
    return static_cast<int32_t>(value);
}

// a / b, or 0 when b is 0 (a missing constant).
inline float Ratio(float a, float b) { return b != 0.0f ? a / b : 0.0f; }

}  // namespace race_math
