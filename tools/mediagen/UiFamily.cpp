#include <cmath>
#include <string>
#include <vector>

#include "mediagen/ButtonPlate.h"
#include "mediagen/Families.h"
#include "mediagen/Synth.h"

// The controls the dialogs are built from: captioned buttons, check boxes
// and radio buttons, slider and scroll-bar parts, the dialog frame's nine
// pieces with their masks, the text caret, the full-screen buttons and the
// dialog sounds. One look: brass and enamel plates on varnished wood around
// parchment.
namespace {

constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kParchment = 0xF3E6C8;
constexpr uint32_t kWood = 0x8A5A32;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr uint32_t kSignalRed = 0xC8372D;
constexpr uint32_t kEnamelGreen = 0x3C8D2F;
constexpr uint32_t kSignalGreen = 0x3C8D4E;

const std::string kDialogs = "dialogs";
const std::string kDefault = "default";

void Line(Drawing& drawing, double x1, double y1, double x2, double y2) {
    cairo_move_to(drawing.Context(), x1, y1);
    cairo_line_to(drawing.Context(), x2, y2);
}

void RoundCaps(Drawing& drawing) {
    cairo_set_line_cap(drawing.Context(), CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(drawing.Context(), CAIRO_LINE_JOIN_ROUND);
}

// A closed polygon path through the points (x, y, x, y, ...).
void Polygon(Drawing& drawing, const std::vector<double>& points) {
    cairo_t* cairo = drawing.Context();
    cairo_new_sub_path(cairo);
    for (size_t i = 0; i + 1 < points.size(); i += 2) {
        cairo_line_to(cairo, points[i], points[i + 1]);
    }
    cairo_close_path(cairo);
}

// A mark on a plate: drawn once in shadow one pixel down, then in the mark colour.
template <typename Path>
void PlateMark(Drawing& drawing, ButtonState state, Path path, double strokeWidth) {
    RoundCaps(drawing);
    for (const bool shadow : {true, false}) {
        cairo_save(drawing.Context());
        cairo_translate(drawing.Context(), 0, shadow ? 1 : 0);
        path();
        const Rgba color = shadow ? Rgba{0, 0, 0, 0.4} : MarkColor(state);
        if (strokeWidth > 0) {
            drawing.Stroke(color, strokeWidth);
        } else {
            drawing.Fill(color);
        }
        cairo_restore(drawing.Context());
    }
}

// --- Captioned dialog buttons ------------------------------------------------

struct CaptionedButton {
    const char* id;
    const char* file;
    const char* caption;
    uint32_t plate;
};

const CaptionedButton kCaptionedButtons[] = {
    {"BUTTON_YES", "button_yes", "Yes", kEnamelGreen},
    {"BUTTON_NO", "button_no", "No", kSignalRed},
    {"BUTTON_CANCEL", "button_cancel", "Cancel", kSignalRed},
    {"BUTTON_PLAY", "button_play", "Play", kEnamelGreen},
    {"BUTTON_RESUME", "button_resume", "Resume", kEnamelGreen},
    {"BUTTON_STOP", "button_stop", "Stop", kSignalRed},
    {"BUTTON_HELP", "button_help", "Help", kBrass},
    {"BUTTON_SETTINGS", "button_settings", "Settings", kBrass},
    {"BUTTON_INFO", "button_info", "Info", kBrass},
    {"BUTTON_PREV", "button_prev", "Back", kBrass},
    {"BUTTON_NEXT", "button_next", "Next", kBrass},
    {"BUTTON_ADD", "button_add", "Add", kEnamelGreen},
    {"BUTTON_REMOVE", "button_remove", "Remove", kSignalRed},
    {"BUTTON_TROPHIES", "button_trophies", "Trophies", kBrass},
};

// --- Switches: frames 0-3 unchecked, 4-7 checked ----------------------------

constexpr int kSwitchSize = 28;

void AddSwitch(Manifest& manifest, const std::string& id, const std::string& file, bool round) {
    auto frame = [round](ButtonState state, bool checked) {
        Drawing drawing(kSwitchSize, kSwitchSize);
        const double lift = state == ButtonState::kPressed ? 1 : 0;
        Rgba rim = Rgba::FromHex(kBrass);
        Rgba paper = Rgba::FromHex(kParchment);
        switch (state) {
            case ButtonState::kNormal: break;
            case ButtonState::kOver: rim = rim.Shaded(0.25); break;
            case ButtonState::kPressed: paper = paper.Shaded(-0.12); rim = rim.Shaded(-0.15); break;
            case ButtonState::kDisabled: rim = rim.Greyed(); paper = paper.Greyed().Shaded(0.3); break;
        }
        auto outline = [&drawing, round](double inset, double dy) {
            const double size = kSwitchSize - 2 * inset;
            if (round) {
                drawing.Circle(kSwitchSize / 2.0, kSwitchSize / 2.0 - 0.5 + dy, size / 2);
            } else {
                drawing.RoundedRectangle(inset, inset - 0.5 + dy, size, size, 5);
            }
        };
        outline(3, 1.5);
        drawing.Fill(Rgba{0, 0, 0, 0.35});
        outline(3, lift);
        drawing.FillVertical(3, kSwitchSize - 3, rim.Shaded(0.3), rim.Shaded(-0.25));
        outline(3.6, lift);
        drawing.Stroke(rim.Shaded(-0.55), 1.2);
        outline(6, lift);
        drawing.FillVertical(6, kSwitchSize - 6, paper.Shaded(-0.15), paper);
        if (state == ButtonState::kOver) {
            outline(6, lift);
            drawing.Stroke(Rgba{1, 1, 1, 0.5}, 1.2);
        }
        if (checked) {
            const Rgba mark =
                state == ButtonState::kDisabled ? Rgba::FromHex(kSignalGreen).Greyed() : Rgba::FromHex(kSignalGreen);
            if (round) {
                drawing.Circle(kSwitchSize / 2.0, kSwitchSize / 2.0 - 0.5 + lift, 5);
                drawing.FillRadial(kSwitchSize / 2.0 - 1.5, kSwitchSize / 2.0 - 2 + lift, 6, mark.Shaded(0.45),
                                   mark.Shaded(-0.2));
            } else {
                RoundCaps(drawing);
                cairo_move_to(drawing.Context(), 8.5, 14 + lift);
                cairo_line_to(drawing.Context(), 12.5, 18.5 + lift);
                cairo_line_to(drawing.Context(), 20, 8.5 + lift);
                drawing.Stroke(mark.Shaded(-0.3), 4.2);
                cairo_move_to(drawing.Context(), 8.5, 14 + lift);
                cairo_line_to(drawing.Context(), 12.5, 18.5 + lift);
                cairo_line_to(drawing.Context(), 20, 8.5 + lift);
                drawing.Stroke(mark, 2.6);
            }
        }
        return drawing.ToPicture();
    };
    auto make = [file, frame](MediaTree& tree) {
        std::vector<Picture> frames;
        for (const bool checked : {false, true}) {
            for (ButtonState state : kButtonStates) {
                frames.push_back(frame(state, checked));
            }
        }
        tree.Add(file, EncodePng(StackFrames(frames)));
    };
    manifest.Add({kDialogs, id, "Image", file, {{"nrofframes", "8"}}, make});
}

// --- Slider and scroll-bar parts --------------------------------------------

// A groove cut into wood: the track a knob runs along.
void AddGroove(Manifest& manifest, const std::string& id, const std::string& file, int width, int height) {
    auto make = [file, width, height](MediaTree& tree) {
        Drawing drawing(width, height);
        const double radius = std::min(width, height) / 2.0;
        drawing.RoundedRectangle(0.5, 0.5, width - 1, height - 1, radius);
        drawing.Fill(Rgba::FromHex(kWood).Shaded(-0.35));
        drawing.RoundedRectangle(2, 2, width - 4, height - 4, radius - 1.5);
        const bool across = width > height;
        if (across) {
            drawing.FillVertical(2, height - 2, Rgba::FromHex(kInk), Rgba::FromHex(kWood).Shaded(-0.1));
        } else {
            drawing.FillVertical(2, height - 2, Rgba::FromHex(kInk).Shaded(0.1), Rgba::FromHex(kInk).Shaded(0.1));
        }
        drawing.RoundedRectangle(1, 1, width - 2, height - 2, radius - 0.5);
        drawing.Stroke(Rgba{1, 1, 1, 0.25}, 1);
        tree.Add(file, EncodePng(drawing.ToPicture()));
    };
    manifest.Add({kDialogs, id, "Image", file, {}, make});
}

// A brass knob with three grip lines across its travel.
void AddKnob(Manifest& manifest, const std::string& id, const std::string& file, int width, int height,
             bool vertical) {
    AddFourFrameImage(manifest, kDialogs, id, file, [width, height, vertical](ButtonState state) {
        Drawing drawing(width, height);
        const PlateFace face = DrawPlate(drawing, kBrass, state, 5);
        const double cx = face.x + face.w / 2;
        const double cy = face.y + face.h / 2;
        PlateMark(
            drawing, state,
            [&drawing, cx, cy, vertical] {
                for (const double offset : {-4.0, 0.0, 4.0}) {
                    if (vertical) {
                        Line(drawing, cx - 4, cy + offset, cx + 4, cy + offset);
                    } else {
                        Line(drawing, cx + offset, cy - 5, cx + offset, cy + 5);
                    }
                }
            },
            1.6);
        return drawing.ToPicture();
    });
}

enum class Direction { kLeft, kRight, kUp, kDown };

// A small brass plate with a triangle pointing one way.
void AddArrow(Manifest& manifest, const std::string& id, const std::string& file, int size, Direction direction) {
    AddFourFrameImage(manifest, kDialogs, id, file, [size, direction](ButtonState state) {
        Drawing drawing(size, size);
        const PlateFace face = DrawPlate(drawing, kBrass, state, 4);
        const double cx = face.x + face.w / 2;
        const double cy = face.y + face.h / 2;
        const double r = face.w * 0.22;
        std::vector<double> points;
        switch (direction) {
            case Direction::kLeft: points = {cx - r, cy, cx + r * 0.7, cy - r, cx + r * 0.7, cy + r}; break;
            case Direction::kRight: points = {cx + r, cy, cx - r * 0.7, cy - r, cx - r * 0.7, cy + r}; break;
            case Direction::kUp: points = {cx, cy - r, cx - r, cy + r * 0.7, cx + r, cy + r * 0.7}; break;
            case Direction::kDown: points = {cx, cy + r, cx - r, cy - r * 0.7, cx + r, cy - r * 0.7}; break;
        }
        PlateMark(drawing, state, [&drawing, &points] { Polygon(drawing, points); }, 0);
        return drawing.ToPicture();
    });
}

// --- The dialog frame --------------------------------------------------------

// Pieces are cut from one drawn frame of 3 x 3 cells; every line of the frame
// keeps its distance from the edge, so the edge cells tile without seams.
constexpr int kCell = 24;
constexpr double kFrameBand = 15;  // wood from the edge to the parchment

Picture DrawDialogFrame() {
    const int size = 3 * kCell;
    Drawing drawing(size, size);
    const Rgba wood = Rgba::FromHex(kWood);
    const Rgba brass = Rgba::FromHex(kBrass);
    // Varnished wood with a lighter band near the outer edge and a dark rim.
    drawing.RoundedRectangle(0.5, 0.5, size - 1, size - 1, 9);
    drawing.Fill(wood.Shaded(-0.15));
    drawing.RoundedRectangle(2, 2, size - 4, size - 4, 8);
    drawing.Fill(wood);
    drawing.RoundedRectangle(4.5, 4.5, size - 9, size - 9, 6);
    drawing.Stroke(wood.Shaded(0.25), 2);
    drawing.RoundedRectangle(0.5, 0.5, size - 1, size - 1, 9);
    drawing.Stroke(wood.Shaded(-0.55), 1.5);
    // A thin brass inlay, then the parchment with a soft inner shade.
    drawing.RoundedRectangle(kFrameBand - 3.5, kFrameBand - 3.5, size - 2 * kFrameBand + 7, size - 2 * kFrameBand + 7,
                             4);
    drawing.Stroke(brass, 1.5);
    drawing.RoundedRectangle(kFrameBand, kFrameBand, size - 2 * kFrameBand, size - 2 * kFrameBand, 3);
    drawing.Fill(Rgba::FromHex(kParchment).Shaded(-0.12));
    drawing.RoundedRectangle(kFrameBand + 2, kFrameBand + 2, size - 2 * kFrameBand - 4, size - 2 * kFrameBand - 4, 2);
    drawing.Fill(Rgba::FromHex(kParchment));
    // Brass corner plates with a rivet, lit from the top left.
    for (const double x : {1.0, size - 15.0}) {
        for (const double y : {1.0, size - 15.0}) {
            drawing.RoundedRectangle(x, y, 14, 14, 3);
            drawing.FillVertical(y, y + 14, brass.Shaded(0.35), brass.Shaded(-0.3));
            drawing.RoundedRectangle(x + 0.5, y + 0.5, 13, 13, 3);
            drawing.Stroke(brass.Shaded(-0.55), 1);
            drawing.Circle(x + 7, y + 7, 2.5);
            drawing.FillRadial(x + 6, y + 6, 3, brass.Shaded(0.7), brass.Shaded(-0.4));
        }
    }
    return drawing.ToPicture();
}

void AddDialogFrame(Manifest& manifest) {
    const char* const names[9] = {"topleft", "top", "topright", "left", "center", "right",
                                  "bottomleft", "bottom", "bottomright"};
    for (int i = 0; i < 9; ++i) {
        std::string upper = names[i];
        for (char& c : upper) {
            c = static_cast<char>(c - 'a' + 'A');
        }
        const int column = i % 3;
        const int row = i / 3;
        for (const bool mask : {false, true}) {
            const std::string file =
                std::string("media/gfx/dialogs/painter_") + names[i] + (mask ? "_mask" : "") + ".png";
            auto make = [file, column, row, mask](MediaTree& tree) {
                const Picture piece = CutPicture(DrawDialogFrame(), column * kCell, row * kCell, kCell, kCell);
                tree.Add(file, EncodePng(mask ? MaskFromAlpha(piece) : piece));
            };
            manifest.Add({kDialogs, "PAINTER_DIALOG_" + upper + (mask ? "_MASK" : ""), "Image", file, {}, make});
        }
    }
}

// --- The caret and the full-screen buttons -----------------------------------

void AddCaret(Manifest& manifest) {
    const std::string file = "media/gfx/dialogs/input_cursor.png";
    auto make = [file](MediaTree& tree) {
        Drawing drawing(3, 22);
        drawing.RoundedRectangle(0, 0, 3, 22, 1);
        drawing.Fill(Rgba::FromHex(kInk));
        tree.Add(file, EncodePng(drawing.ToPicture()));
    };
    manifest.Add({kDialogs, "INPUT_CURSOR", "Image", file, {}, make});
}

// The sunken parchment box a typed name stands in.
void AddInputField(Manifest& manifest) {
    const std::string file = "media/gfx/dialogs/input_field.png";
    auto make = [file](MediaTree& tree) {
        Drawing drawing(264, 28);
        drawing.RoundedRectangle(1, 1, 262, 26, 4);
        drawing.FillVertical(1, 27, Rgba::FromHex(kParchment).Shaded(-0.16), Rgba::FromHex(kParchment).Shaded(0.3));
        drawing.RoundedRectangle(1, 1, 262, 26, 4);
        drawing.Stroke(Rgba::FromHex(kWood).Shaded(-0.1), 2);
        tree.Add(file, EncodePng(drawing.ToPicture()));
    };
    manifest.Add({kDialogs, "INPUT_FIELD", "Image", file, {}, make});
}

enum class WindowIcon { kQuit, kRestore, kMinimise };

void AddWindowButton(Manifest& manifest, const std::string& id, const std::string& file, WindowIcon icon) {
    const uint32_t plate = icon == WindowIcon::kQuit ? kSignalRed : kBrass;
    AddFourFrameImage(manifest, kDefault, id, file, [plate, icon](ButtonState state) {
        Drawing drawing(28, 26);
        const PlateFace face = DrawPlate(drawing, plate, state, 5);
        const double cx = face.x + face.w / 2;
        const double cy = face.y + face.h / 2;
        PlateMark(
            drawing, state,
            [&drawing, cx, cy, icon] {
                switch (icon) {
                    case WindowIcon::kQuit:
                        Line(drawing, cx - 5, cy - 5, cx + 5, cy + 5);
                        Line(drawing, cx + 5, cy - 5, cx - 5, cy + 5);
                        break;
                    case WindowIcon::kRestore:
                        cairo_rectangle(drawing.Context(), cx - 5.5, cy - 2.5, 8, 8);
                        Line(drawing, cx - 2.5, cy - 5.5, cx + 5.5, cy - 5.5);
                        cairo_line_to(drawing.Context(), cx + 5.5, cy + 2.5);
                        break;
                    case WindowIcon::kMinimise: Line(drawing, cx - 5, cy + 4, cx + 5, cy + 4); break;
                }
            },
            2.2);
        return drawing.ToPicture();
    });
}

// --- Sounds --------------------------------------------------------------------

// C major pentatonic, octave 5.
constexpr double kC5 = 523.25;
constexpr double kE5 = 659.25;
constexpr double kG5 = 783.99;
constexpr double kC6 = 1046.5;

// A soft rising chime over a breath of air: a dialog opens.
Synth DialogShow() {
    Synth synth(0.45);
    synth.Noise(0.0, 0.25, 0.15, 0.05, 0.12, 0.3);
    synth.Tone(0.00, 0.30, kC5, kC5, 0.45, 0.01, 0.12);
    synth.Tone(0.06, 0.30, kE5, kE5, 0.40, 0.01, 0.12);
    synth.Tone(0.12, 0.33, kG5, kG5, 0.40, 0.01, 0.14);
    synth.Normalize(0.7);
    return synth;
}

// The same chime falling: a dialog closes.
Synth DialogHide() {
    Synth synth(0.4);
    synth.Noise(0.0, 0.2, 0.12, 0.03, 0.1, 0.25);
    synth.Tone(0.00, 0.28, kG5, kG5, 0.40, 0.01, 0.11);
    synth.Tone(0.06, 0.30, kE5, kE5, 0.40, 0.01, 0.11);
    synth.Tone(0.12, 0.28, kC5, kC5, 0.45, 0.01, 0.12);
    synth.Normalize(0.7);
    return synth;
}

// A brass click with a short bell on top.
Synth DialogButton() {
    Synth synth(0.18);
    synth.Noise(0.0, 0.02, 0.5, 0.0005, 0.005, 0.7);
    synth.Tone(0.0, 0.16, kC6, kC6, 0.35, 0.002, 0.05);
    synth.Tone(0.0, 0.08, 300, 260, 0.35, 0.002, 0.02);
    synth.Normalize(0.75);
    return synth;
}

// A dry typewriter tap.
Synth Keystroke() {
    Synth synth(0.06);
    synth.Noise(0.0, 0.04, 0.8, 0.0005, 0.008, 0.85);
    synth.Tone(0.0, 0.04, 1800, 1500, 0.25, 0.0005, 0.006);
    synth.Normalize(0.6);
    return synth;
}

}  // namespace

void AddUiRows(Manifest& manifest, FontFaces& faces) {
    for (const CaptionedButton& button : kCaptionedButtons) {
        AddButton(manifest, faces, kDialogs, button.id, std::string("media/gfx/dialogs/") + button.file + ".png",
                  {120, 40, button.plate, button.caption});
    }
    AddSwitch(manifest, "SWITCH_CHECKBOX", "media/gfx/dialogs/switch_checkbox.png", false);
    AddSwitch(manifest, "SWITCH_RADIO", "media/gfx/dialogs/switch_radio.png", true);

    AddGroove(manifest, "SLIDER_TRACK", "media/gfx/dialogs/slider_track.png", 200, 14);
    AddKnob(manifest, "SLIDER_KNOB", "media/gfx/dialogs/slider_knob.png", 20, 28, false);
    AddArrow(manifest, "SLIDER_ARROW_LEFT", "media/gfx/dialogs/slider_arrow_left.png", 22, Direction::kLeft);
    AddArrow(manifest, "SLIDER_ARROW_RIGHT", "media/gfx/dialogs/slider_arrow_right.png", 22, Direction::kRight);
    AddGroove(manifest, "SCROLLBAR_TRACK", "media/gfx/dialogs/scrollbar_track.png", 18, 200);
    AddKnob(manifest, "SCROLLBAR_KNOB", "media/gfx/dialogs/scrollbar_knob.png", 18, 36, true);
    AddArrow(manifest, "SCROLLBAR_ARROW_UP", "media/gfx/dialogs/scrollbar_arrow_up.png", 18, Direction::kUp);
    AddArrow(manifest, "SCROLLBAR_ARROW_DOWN", "media/gfx/dialogs/scrollbar_arrow_down.png", 18, Direction::kDown);

    AddDialogFrame(manifest);
    AddCaret(manifest);
    AddInputField(manifest);

    AddWindowButton(manifest, "FSH_BUTTON_QUIT", "media/gfx/default/fsh_quit.png", WindowIcon::kQuit);
    AddWindowButton(manifest, "FSH_BUTTON_RESTORE", "media/gfx/default/fsh_restore.png", WindowIcon::kRestore);
    AddWindowButton(manifest, "FSH_BUTTON_MINIMIZE", "media/gfx/default/fsh_minimize.png", WindowIcon::kMinimise);

    AddSound(manifest, kDefault, "SOUND_DIALOG_SHOW", "media/sfx/dialog_show.ogg", DialogShow);
    AddSound(manifest, kDefault, "SOUND_DIALOG_HIDE", "media/sfx/dialog_hide.ogg", DialogHide);
    AddSound(manifest, kDefault, "SOUND_DIALOG_BUTTON", "media/sfx/dialog_button.ogg", DialogButton);
    AddSound(manifest, kDefault, "SOUND_KEYSTROKE", "media/sfx/keystroke.ogg", Keystroke);
}
