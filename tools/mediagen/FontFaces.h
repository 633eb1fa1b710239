#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <string>

// The FreeType library and the faces opened from one font folder, kept for
// the whole run and closed together.
class FontFaces {
public:
    explicit FontFaces(std::string folder);
    FontFaces(const FontFaces&) = delete;
    FontFaces& operator=(const FontFaces&) = delete;
    ~FontFaces();

    // The face of a file in the folder, e.g. "DejaVuSans-Bold.ttf"; throws
    // when it cannot be opened.
    FT_Face Face(const std::string& fileName);

private:
    std::string folder_;
    FT_Library library_ = nullptr;
    std::map<std::string, FT_Face> faces_;
};
