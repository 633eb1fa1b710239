#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "mediagen/Drawing.h"

namespace {

bool HasInk(const Picture& picture) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.Pixel(x, y)[3] > 0) {
                return true;
            }
        }
    }
    return false;
}

TEST(DrawingCaption, DrawsOnlyTextEveryGlyphOfWhichTheFaceHas) {
    struct Case {
        const char* face;
        std::string text;
        const char* refusal;  // part of the error, or null when the caption draws
    };
    const Case cases[] = {
        {"DejaVuSerif-Bold.ttf", "Aa", nullptr},
        {"DejaVuSerif-Bold.ttf", "\u00A2", nullptr},
        {"DejaVuSans-Bold.ttf", "\u2605", nullptr},
        {"DejaVuSerif-Bold.ttf", "\u2605", "U+2605"},
        {"DejaVuSerif-Bold.ttf", "ok \u2713", "U+2713"},
        {"DejaVuSans-Bold.ttf", "\xE2\x98", "not UTF-8"},
    };
    FontFaces faces(WORDRAIL_FONT_FOLDER);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " " + c.text);
        Drawing drawing(64, 32);
        if (c.refusal == nullptr) {
            drawing.Caption(faces, c.face, 20, c.text, 32, 24, Rgba::FromHex(0x2B2118));
            EXPECT_TRUE(HasInk(drawing.ToPicture()));
        } else {
            try {
                drawing.Caption(faces, c.face, 20, c.text, 32, 24, Rgba::FromHex(0x2B2118));
                ADD_FAILURE() << "drawn";
            } catch (const std::runtime_error& error) {
                EXPECT_NE(std::string(error.what()).find(c.refusal), std::string::npos) << error.what();
            }
        }
    }
}

}  // namespace
