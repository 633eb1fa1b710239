#pragma once

#include <cstdint>

#include "engine/foundation/Object.h"

// A shared colour value 0xRRGGBB.
class Color : public Object {
    ENGINE_CLASS(Color, Object)

public:
    explicit Color(uint32_t value) : value_(value) {}

    uint32_t Value() const { return value_; }
    uint8_t Red() const { return static_cast<uint8_t>(value_ >> 16); }
    uint8_t Green() const { return static_cast<uint8_t>(value_ >> 8); }
    uint8_t Blue() const { return static_cast<uint8_t>(value_); }

private:
    uint32_t value_;
};
