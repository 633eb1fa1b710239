#pragma once

#include <cstdint>

// Row routines of the 16-bit canvas (red 5, green 6, blue 5 bits). They take
// pixels in groups of four from the start of the row, then the width mod 4
// pixels one by one.
namespace Kernels16 {

// Blends source pixels by their alpha bytes. At alpha 255 the weight is the
// byte itself and a group whose four bytes are all 255 is copied (a lone pixel
// at 255 likewise); below 255 the weight is (byte x alpha) >> 8 and nothing is
// copied. A group whose four weights are all 0 is left alone.
void BlendAlphaRow(const uint16_t* from, const uint8_t* alphaBytes, uint16_t* to, int32_t w, int32_t alpha);

// Every pixel blended with one weight.
void BlendConstantRow(const uint16_t* from, uint16_t* to, int32_t w, int32_t alpha);

// The colour painted through coverage bytes with weight (coverage x alpha) >> 8.
void MaskRow(const uint8_t* coverage, uint16_t colour, uint16_t* to, int32_t w, int32_t alpha);

}  // namespace Kernels16
