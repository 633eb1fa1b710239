#pragma once

// The hottest raster rows are built twice: for the x86-64 baseline and for
// AVX2. The widest one the processor runs is used unless another is chosen
// (tests run both; the canvas benchmark compares them).
enum class RowVariant { kBaseline, kAvx2 };

// Whether this processor and build can run the variant.
bool RowVariantAvailable(RowVariant variant);
// The variant the rows use now.
RowVariant ActiveRowVariant();
// Makes the rows use `variant`; false, and nothing changed, when it is not available.
bool SetRowVariant(RowVariant variant);
