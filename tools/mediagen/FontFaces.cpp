#include "mediagen/FontFaces.h"

#include <cairo.h>

#include <stdexcept>

FontFaces::FontFaces(std::string folder) : folder_(std::move(folder)) {
    if (FT_Init_FreeType(&library_) != 0) {
        throw std::runtime_error("FreeType does not start");
    }
}

FontFaces::~FontFaces() {
    // Cairo may still cache fonts made over these faces; let it drop them first.
    cairo_debug_reset_static_data();
    for (auto& [name, face] : faces_) {
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library_);
}

FT_Face FontFaces::Face(const std::string& fileName) {
    auto it = faces_.find(fileName);
    if (it != faces_.end()) {
        return it->second;
    }
    FT_Face face = nullptr;
    const std::string path = folder_ + "/" + fileName;
    if (FT_New_Face(library_, path.c_str(), 0, &face) != 0) {
        throw std::runtime_error("cannot open font " + path);
    }
    faces_.emplace(fileName, face);
    return face;
}
