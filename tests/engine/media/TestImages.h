#pragma once

#include <cstdint>
#include <vector>

// Small PNG and JPEG files made in memory for the decoder tests and the fuzz seeds.

struct PngPicture {
    int width = 0;
    int height = 0;
    int colourType = 0;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    std::vector<uint8_t> samples;  // rows of packed samples as the colour type and depth lay them out
    std::vector<uint8_t> palette;  // R, G, B triples for palette pictures
    std::vector<uint8_t> transparency;  // tRNS entries for palette pictures
};

std::vector<uint8_t> EncodePng(const PngPicture& picture);

// An RGB (components 3) or grey (components 1) baseline JPEG.
std::vector<uint8_t> EncodeJpeg(int width, int height, int components, const std::vector<uint8_t>& samples,
                                int quality);
