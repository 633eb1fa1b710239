#include "mediagen/ButtonPlate.h"

#include <vector>

PlateFace DrawPlate(Drawing& drawing, uint32_t plate, ButtonState state, double radius) {
    Rgba color = Rgba::FromHex(plate);
    double lift = 0;
    switch (state) {
        case ButtonState::kNormal: break;
        case ButtonState::kOver: color = color.Shaded(0.2); break;
        case ButtonState::kPressed: color = color.Shaded(-0.2); lift = 1; break;
        case ButtonState::kDisabled: color = color.Greyed(); break;
    }
    const double inset = 2;
    const double w = drawing.Width() - 2 * inset;
    const double h = drawing.Height() - 2 * inset - 1;
    const double r = radius > 0 ? radius : h / 2.6;
    // Drop shadow, plate with a soft top light, rim.
    drawing.RoundedRectangle(inset, inset + 1.5, w, h, r);
    drawing.Fill(Rgba{0, 0, 0, 0.35});
    drawing.RoundedRectangle(inset, inset + lift, w, h, r);
    drawing.FillVertical(inset + lift, inset + lift + h, color.Shaded(0.35), color.Shaded(-0.25));
    drawing.RoundedRectangle(inset + 0.5, inset + lift + 0.5, w - 1, h - 1, r);
    drawing.Stroke(color.Shaded(-0.55), 1.2);
    drawing.RoundedRectangle(inset + 4, inset + lift + 2, w - 8, h * 0.42, radius > 0 ? r * 0.6 : h / 4);
    drawing.Fill(Rgba{1, 1, 1, 0.18});
    return {inset, inset + lift, w, h, color};
}

Rgba MarkColor(ButtonState state) {
    return state == ButtonState::kDisabled ? Rgba{0.85, 0.85, 0.85, 0.8} : Rgba{1, 1, 1, 1};
}

void AddFourFrameImage(Manifest& manifest, const std::string& section, const std::string& id,
                       const std::string& file, std::function<Picture(ButtonState)> frame) {
    auto make = [file, frame](MediaTree& tree) {
        std::vector<Picture> frames;
        for (ButtonState state : kButtonStates) {
            frames.push_back(frame(state));
        }
        tree.Add(file, EncodePng(StackFrames(frames)));
    };
    manifest.Add({section, id, "Image", file, {{"nrofframes", "4"}}, make});
}

void AddButton(Manifest& manifest, FontFaces& faces, const std::string& section, const std::string& id,
               const std::string& file, const ButtonLook& look) {
    AddFourFrameImage(manifest, section, id, file, [&faces, look](ButtonState state) {
        Drawing drawing(look.width, look.height);
        const PlateFace face = DrawPlate(drawing, look.plate, state);
        const double size = face.h * 0.55;
        const double baseline = face.y + face.h / 2 + size * 0.36;
        drawing.Caption(faces, "DejaVuSans-Bold.ttf", size, look.caption, look.width / 2.0, baseline + 1,
                        Rgba{0, 0, 0, 0.45});
        drawing.Caption(faces, "DejaVuSans-Bold.ttf", size, look.caption, look.width / 2.0, baseline,
                        MarkColor(state));
        return drawing.ToPicture();
    });
}
