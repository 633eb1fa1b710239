#include <vector>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"

namespace {

// The four frames every button picture holds, top to bottom.
enum class ButtonState { kNormal, kOver, kPressed, kDisabled };

struct ButtonLook {
    int width;
    int height;
    uint32_t plate;
    std::string caption;
};

Picture DrawButtonFrame(FontFaces& faces, const ButtonLook& look, ButtonState state) {
    Drawing drawing(look.width, look.height);
    Rgba plate = Rgba::FromHex(look.plate);
    double lift = 0;
    switch (state) {
        case ButtonState::kNormal: break;
        case ButtonState::kOver: plate = plate.Shaded(0.2); break;
        case ButtonState::kPressed: plate = plate.Shaded(-0.2); lift = 1; break;
        case ButtonState::kDisabled: plate = plate.Greyed(); break;
    }
    const double inset = 2;
    const double w = look.width - 2 * inset;
    const double h = look.height - 2 * inset - 1;
    // Drop shadow, plate with a soft top light, rim.
    drawing.RoundedRectangle(inset, inset + 1.5, w, h, h / 2.6);
    drawing.Fill(Rgba{0, 0, 0, 0.35});
    drawing.RoundedRectangle(inset, inset + lift, w, h, h / 2.6);
    drawing.FillVertical(inset + lift, inset + lift + h, plate.Shaded(0.35), plate.Shaded(-0.25));
    drawing.RoundedRectangle(inset + 0.5, inset + lift + 0.5, w - 1, h - 1, h / 2.6);
    drawing.Stroke(plate.Shaded(-0.55), 1.2);
    drawing.RoundedRectangle(inset + 4, inset + lift + 2, w - 8, h * 0.42, h / 4);
    drawing.Fill(Rgba{1, 1, 1, 0.18});

    const double size = h * 0.55;
    const double baseline = inset + lift + h / 2 + size * 0.36;
    const Rgba text = state == ButtonState::kDisabled ? Rgba{0.85, 0.85, 0.85, 0.8} : Rgba{1, 1, 1, 1};
    drawing.Caption(faces, "DejaVuSans-Bold.ttf", size, look.caption, look.width / 2.0, baseline + 1,
                    Rgba{0, 0, 0, 0.45});
    drawing.Caption(faces, "DejaVuSans-Bold.ttf", size, look.caption, look.width / 2.0, baseline, text);
    return drawing.ToPicture();
}

void AddButton(Manifest& manifest, FontFaces& faces, const std::string& section, const std::string& id,
               const std::string& file, const ButtonLook& look) {
    auto make = [&faces, look, file](MediaTree& tree) {
        std::vector<Picture> frames;
        for (ButtonState state : {ButtonState::kNormal, ButtonState::kOver, ButtonState::kPressed, ButtonState::kDisabled}) {
            frames.push_back(DrawButtonFrame(faces, look, state));
        }
        tree.Add(file, EncodePng(StackFrames(frames)));
    };
    manifest.Add({section, id, "Image", file, {{"nrofframes", "4"}}, make});
}

}  // namespace

void AddButtonRows(Manifest& manifest, FontFaces& faces) {
    AddButton(manifest, faces, "dialogs", "BUTTON_OK", "media/gfx/dialogs/button_ok.png", {120, 40, 0x3C8D2F, "OK"});
}
