#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/Synth.h"

// The game screen's machinery beside the race strip, in the trains' iron and
// brass: the furnace (door, locking wheel, fire, the sliding lid with its
// coil and rivets, the bonus lights with their rising icons and specks), the
// boost meter of each train model, the passenger carriage by size with its
// passengers, wheel, door and ends, the flagpole with its three flags, and
// the furnace sounds. Frames are stacked top to bottom.
namespace {

constexpr const char* kSection = "gamescene";
constexpr double kPi = 3.14159265358979;

const Rgba kIron = Rgba::FromHex(0x3A3F45);
const Rgba kBrass = Rgba::FromHex(0xC89B3C);
const Rgba kParchment = Rgba::FromHex(0xF3E6C8);
const Rgba kWood = Rgba::FromHex(0x8A5A32);

// The light colour of each bonus coal kind 1..7, as its emblem shows it:
// turbo flame, x2, x3, the eye, the stop hand, the coin, the joker star.
const uint32_t kKindColours[7] = {0xF08A24, 0xE84A3A, 0xD3271B, 0x39C6D8, 0xE8553F, 0xF2C230, 0xFFD83A};

// Furnace geometry (the game scene's definition places the parts).
constexpr int kDoorWidth = 72;
constexpr int kDoorHeight = 64;
constexpr int kDoorFrames = 6;
constexpr int kFireWidth = 60;
constexpr int kFireHeight = 48;
constexpr int kFireFrames = 4;
constexpr int kWheelSize = 30;
constexpr int kWheelFrames = 8;
constexpr int kLidWidth = 112;
constexpr int kCoilHeight = 64;
constexpr int kNailFrames = 4;
constexpr int kLightWidth = 104;
constexpr int kLightHeight = 48;
constexpr int kIconSize = 16;

// Boost meters: model m's column runs from y 24 down to its empty mark 92 + 8m.
constexpr int kMeterModels = 4;
constexpr int kMeterWidth = 48;
constexpr int kMeterHeight = 144;
constexpr int kColumnWidth = 24;
constexpr int kColumnTop = 24;
constexpr int kTopFrames = 4;

// Carriage of size s: a body 26 + 14 s px long, windows 14 px apart from x 6.
constexpr int kCarriageHeight = 30;
constexpr int kCompartment = 14;
constexpr int kPassengerKinds = 6;
constexpr int kCarriageWheel = 12;
constexpr int kCarriageDoorFrames = 4;

constexpr int kFlagFrames = 14;
constexpr int kFlagWidth = 34;
constexpr int kFlagHeight = 22;

void Outlined(cairo_t* c, const Rgba& fill, double width = 2.0) {
    SetColor(c, fill);
    cairo_fill_preserve(c);
    SetColor(c, fill.Shaded(-0.45));
    cairo_set_line_width(c, width);
    cairo_stroke(c);
}

void Box(Drawing& d, double x, double y, double w, double h, double radius, const Rgba& fill) {
    d.RoundedRectangle(x, y, w, h, radius);
    Outlined(d.Context(), fill);
}

void Rivet(Drawing& d, double x, double y, double r = 1.8) {
    d.Circle(x, y, r);
    d.FillRadial(x - r * 0.4, y - r * 0.4, r * 1.4, kBrass.Shaded(0.4), kBrass.Shaded(-0.35));
}

Picture Frames(int count, const std::function<Picture(int)>& frame) {
    std::vector<Picture> frames;
    for (int i = 0; i < count; ++i) {
        frames.push_back(frame(i));
    }
    return StackFrames(frames);
}

// --- furnace ------------------------------------------------------------

// Flames behind the open door; each frame leans the tongues another way.
Picture FireFrame(int frame) {
    Drawing d(kFireWidth, kFireHeight);
    cairo_t* c = d.Context();
    cairo_rectangle(c, 0, 0, kFireWidth, kFireHeight);
    d.FillRadial(kFireWidth / 2.0, kFireHeight, kFireHeight * 1.1, Rgba::FromHex(0xFFB347), Rgba::FromHex(0x5A1A08));
    for (int tongue = 0; tongue < 5; ++tongue) {
        const double x = 8 + tongue * 11;
        const double sway = 4 * std::sin((frame + tongue * 1.7) * kPi / 2);
        const double top = 8 + 6 * std::fabs(std::sin((frame * 3 + tongue) * 0.9));
        cairo_move_to(c, x - 7, kFireHeight);
        cairo_curve_to(c, x - 6, kFireHeight - 18, x + sway - 3, top + 10, x + sway, top);
        cairo_curve_to(c, x + sway + 3, top + 10, x + 6, kFireHeight - 18, x + 7, kFireHeight);
        cairo_close_path(c);
        d.FillVertical(top, kFireHeight, Rgba::FromHex(0xFFE27A), Rgba::FromHex(0xF08A24));
    }
    return d.ToPicture();
}

// The firebox door swinging open on its left hinge: it narrows frame by
// frame and leaves the opening clear, where the fire shows through.
Picture DoorFrame(int frame) {
    Drawing d(kDoorWidth, kDoorHeight);
    cairo_t* c = d.Context();
    // The iron surround with its rivets.
    d.RoundedRectangle(1, 1, kDoorWidth - 2, kDoorHeight - 2, 8);
    d.RoundedRectangle(7, 7, kDoorWidth - 14, kDoorHeight - 14, 6);
    cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
    d.FillVertical(0, kDoorHeight, kIron.Shaded(0.25), kIron.Shaded(-0.3));
    cairo_set_fill_rule(c, CAIRO_FILL_RULE_WINDING);
    for (double x = 6; x < kDoorWidth - 4; x += 15) {
        Rivet(d, x + 3, 4);
        Rivet(d, x + 3, kDoorHeight - 4);
    }
    const double open = static_cast<double>(frame) / (kDoorFrames - 1);
    const double width = (kDoorWidth - 14) * std::cos(open * kPi / 2 * 0.92);
    if (width > 1) {
        d.RoundedRectangle(7, 7, width, kDoorHeight - 14, 4);
        d.FillVertical(7, kDoorHeight - 7, kIron.Shaded(0.15 - 0.2 * open), kIron.Shaded(-0.35));
        d.RoundedRectangle(7, 7, width, kDoorHeight - 14, 4);
        d.Stroke(kIron.Shaded(-0.5), 2);
        // The handle and the warm rim light on the door's edge.
        cairo_rectangle(c, 7 + width - 3, 9, 2, kDoorHeight - 18);
        SetColor(c, Rgba::FromHex(0xF08A24, 0.5));
        cairo_fill(c);
    }
    return d.ToPicture();
}

// The locking wheel on the closed door, turning a quarter over its frames.
Picture WheelFrame(int frame) {
    Drawing d(kWheelSize, kWheelSize);
    cairo_t* c = d.Context();
    const double r = kWheelSize / 2.0;
    const double turn = frame * (kPi / 2) / kWheelFrames;
    d.Circle(r, r, r - 2);
    cairo_set_line_width(c, 3);
    SetColor(c, kBrass.Shaded(-0.1));
    cairo_stroke(c);
    for (int spoke = 0; spoke < 4; ++spoke) {
        const double a = turn + spoke * kPi / 2;
        cairo_move_to(c, r, r);
        cairo_line_to(c, r + std::cos(a) * (r - 3), r + std::sin(a) * (r - 3));
    }
    SetColor(c, kBrass);
    cairo_set_line_width(c, 2.5);
    cairo_stroke(c);
    Rivet(d, r, r, 3.5);
    return d.ToPicture();
}

// The lid's leading edge: a rounded iron bar.
Picture LidEdge() {
    Drawing d(kLidWidth + 8, 12);
    d.RoundedRectangle(1, 1, kLidWidth + 6, 10, 4);
    d.FillVertical(1, 11, kIron.Shaded(0.35), kIron.Shaded(-0.3));
    d.RoundedRectangle(1, 1, kLidWidth + 6, 10, 4);
    d.Stroke(kIron.Shaded(-0.5), 1.5);
    return d.ToPicture();
}

// The shutter behind the lid, ribbed like a roll-top; the light sits on it.
Picture Coil() {
    Drawing d(kLidWidth, kCoilHeight);
    cairo_t* c = d.Context();
    cairo_rectangle(c, 0, 0, kLidWidth, kCoilHeight);
    SetColor(c, kIron.Shaded(-0.2));
    cairo_fill(c);
    for (int y = 0; y < kCoilHeight; y += 8) {
        cairo_rectangle(c, 0, y, kLidWidth, 7);
        d.FillVertical(y, y + 7, kIron.Shaded(0.2), kIron.Shaded(-0.35));
    }
    return d.ToPicture();
}

// The coil springs at both sides of the shutter.
Picture Springs() {
    Drawing d(kLidWidth, kCoilHeight);
    cairo_t* c = d.Context();
    for (double x : {4.0, kLidWidth - 10.0}) {
        for (int y = 2; y < kCoilHeight; y += 6) {
            EllipsePath(c, x + 3, y, 4, 2.2);
            SetColor(c, kBrass.Shaded(-0.15));
            cairo_set_line_width(c, 1.4);
            cairo_stroke(c);
        }
    }
    return d.ToPicture();
}

// A row of rivets on the lid; the frames shift them as the lid moves.
Picture NailFrame(int frame) {
    Drawing d(kLidWidth + 8, 8);
    for (int x = 6 + frame * 2; x < kLidWidth + 4; x += 8) {
        Rivet(d, x, 4, 2);
    }
    return d.ToPicture();
}

// A bonus coal's light: its colour glowing behind a round window.
Picture Light(int kind) {
    Drawing d(kLightWidth, kLightHeight);
    const Rgba colour = Rgba::FromHex(kKindColours[kind - 1]);
    d.RoundedRectangle(0, 0, kLightWidth, kLightHeight, 10);
    d.FillRadial(kLightWidth / 2.0, kLightHeight / 2.0, kLightWidth * 0.55, colour.Shaded(0.55), colour.Shaded(-0.2));
    d.RoundedRectangle(1, 1, kLightWidth - 2, kLightHeight - 2, 9);
    d.Stroke(colour.Shaded(-0.45), 2);
    return d.ToPicture();
}

// One icon of kind `kind` (1..7) in look `column`: the kind's emblem shape,
// small, medium and faint, rising through the light.
void Icon(Drawing& d, int kind, int column, double x0, double y0) {
    cairo_t* c = d.Context();
    const double cx = x0 + kIconSize / 2.0;
    const double cy = y0 + kIconSize / 2.0;
    const double s = 0.55 + 0.2 * column;
    const Rgba ink = Rgba::FromHex(0xFFFFFF, 0.95 - 0.2 * column);
    cairo_save(c);
    cairo_translate(c, cx, cy);
    cairo_scale(c, s, s);
    switch (kind) {
        case 1:  // flame
            cairo_move_to(c, 0, -7);
            cairo_curve_to(c, 6, -1, 5, 6, 0, 7);
            cairo_curve_to(c, -5, 6, -6, -1, 0, -7);
            break;
        case 2:  // two dots: the double
        case 3:  // three dots: the triple
            for (int i = 0; i < kind; ++i) {
                cairo_new_sub_path(c);
                cairo_arc(c, (i - (kind - 1) / 2.0) * 5, 0, 2.3, 0, 2 * kPi);
            }
            break;
        case 4:  // eye
            EllipsePath(c, 0, 0, 7, 4);
            cairo_new_sub_path(c);
            cairo_arc(c, 0, 0, 2, 0, 2 * kPi);
            cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
            break;
        case 5:  // hand: an octagon
            for (int i = 0; i < 8; ++i) {
                const double a = kPi / 8 + i * kPi / 4;
                cairo_line_to(c, 7 * std::cos(a), 7 * std::sin(a));
            }
            cairo_close_path(c);
            break;
        case 6:  // coin
            cairo_arc(c, 0, 0, 6, 0, 2 * kPi);
            break;
        default:  // star
            for (int i = 0; i < 10; ++i) {
                const double a = -kPi / 2 + i * kPi / 5;
                const double r = i % 2 == 0 ? 7.5 : 3.2;
                cairo_line_to(c, r * std::cos(a), r * std::sin(a));
            }
            cairo_close_path(c);
            break;
    }
    SetColor(c, ink);
    cairo_fill(c);
    cairo_restore(c);
}

Picture LidIcons() {
    Drawing d(3 * kIconSize, 7 * kIconSize);
    for (int kind = 1; kind <= 7; ++kind) {
        for (int column = 0; column < 3; ++column) {
            Icon(d, kind, column, column * kIconSize, (kind - 1) * kIconSize);
        }
    }
    return d.ToPicture();
}

Picture Speck() {
    Drawing d(8, 8);
    d.Circle(4, 4, 4);
    d.FillRadial(4, 4, 4, Rgba::FromHex(0xFFF3C0), Rgba::FromHex(0xF08A24, 0.0));
    return d.ToPicture();
}

// --- boost meter --------------------------------------------------------

int EmptyMark(int model) { return 92 + 8 * model; }

// The meter's iron backplate; bigger models carry more brass bands.
Picture MeterPlate(int model) {
    Drawing d(kMeterWidth, kMeterHeight);
    Box(d, 2, 2, kMeterWidth - 4, kMeterHeight - 4, 8, kIron);
    const double left = (kMeterWidth - kColumnWidth) / 2.0;
    d.RoundedRectangle(left - 2, kColumnTop - 2, kColumnWidth + 4, EmptyMark(model) - kColumnTop + 4, 6);
    d.Fill(Rgba::FromHex(0x15171B));
    for (int band = 0; band <= model; ++band) {
        Box(d, 6, EmptyMark(model) + 5 + band * 5, kMeterWidth - 12, 3, 1.5, kBrass);
    }
    Rivet(d, 8, 8);
    Rivet(d, kMeterWidth - 8, 8);
    return d.ToPicture();
}

// The glass over the column, stood on its foot at the empty mark: a brass
// rim, tick marks and a highlight; clear where the coal shows.
Picture MeterOverlay(int model) {
    const int height = EmptyMark(model) - kColumnTop;
    Drawing d(kColumnWidth + 4, height);
    cairo_t* c = d.Context();
    d.RoundedRectangle(1, 1, kColumnWidth + 2, height - 2, 6);
    d.Stroke(kBrass, 2);
    for (int y = 8; y < height - 4; y += 8) {
        cairo_move_to(c, 2, y);
        cairo_line_to(c, 7, y);
    }
    SetColor(c, kBrass.Shaded(-0.2));
    cairo_set_line_width(c, 1);
    cairo_stroke(c);
    cairo_rectangle(c, kColumnWidth - 6, 4, 3, height - 8);
    SetColor(c, Rgba::FromHex(0xFFFFFF, 0.3));
    cairo_fill(c);
    return d.ToPicture();
}

// The glowing coal of the column, stood on its foot; the level cuts it.
Picture MeterFill() {
    const int height = EmptyMark(kMeterModels - 1) - kColumnTop;
    Drawing d(kColumnWidth, height);
    cairo_rectangle(d.Context(), 0, 0, kColumnWidth, height);
    d.FillVertical(0, height, Rgba::FromHex(0xFFD25A), Rgba::FromHex(0xC8372D));
    for (int y = 6; y < height; y += 11) {
        EllipsePath(d.Context(), 6 + (y * 7) % 12, y, 4, 2.5);
        SetColor(d.Context(), Rgba::FromHex(0x5A1A08, 0.35));
        cairo_fill(d.Context());
    }
    return d.ToPicture();
}

// The flickering top edge of the coal, centred on the level.
Picture MeterTopFrame(int frame) {
    Drawing d(kColumnWidth, 10);
    cairo_t* c = d.Context();
    cairo_move_to(c, 0, 10);
    for (int x = 0; x <= kColumnWidth; x += 4) {
        cairo_line_to(c, x, 5 - 3 * std::fabs(std::sin((x + frame * 5) * 0.35)));
    }
    cairo_line_to(c, kColumnWidth, 10);
    cairo_close_path(c);
    d.FillVertical(0, 10, Rgba::FromHex(0xFFF3A0), Rgba::FromHex(0xFFB347));
    return d.ToPicture();
}

Picture MeterGlow(int model) {
    Drawing d(kMeterWidth + 32, kMeterHeight + 32);
    cairo_rectangle(d.Context(), 0, 0, kMeterWidth + 32, kMeterHeight + 32);
    const Rgba glow = Rgba::FromHex(0xFFD25A, 0.55 + 0.1 * model);
    cairo_save(d.Context());
    cairo_scale(d.Context(), 1.0, (kMeterHeight + 32.0) / (kMeterWidth + 32.0));
    d.FillRadial((kMeterWidth + 32) / 2.0, (kMeterWidth + 32) / 2.0, (kMeterWidth + 32) / 2.0, glow,
                 Rgba::FromHex(0xFFD25A, 0.0));
    cairo_restore(d.Context());
    return d.ToPicture();
}

// --- carriage -----------------------------------------------------------

int CarriageLength(int size) { return 26 + kCompartment * size; }

// The carriage body: green panels under a roof, with the windows cut out so
// that the lit windows and the passengers behind show through.
Picture CarriageBack(int size) {
    const int w = CarriageLength(size);
    Drawing d(w, kCarriageHeight);
    cairo_t* c = d.Context();
    const Rgba paint = Rgba::FromHex(0x3C8D4E);
    d.RoundedRectangle(1, 6, w - 2, kCarriageHeight - 8, 2);
    for (int i = 0; i < size; ++i) {
        cairo_new_sub_path(c);
        cairo_rectangle(c, 6 + i * kCompartment, 9, 10, 10);
    }
    cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
    SetColor(c, paint);
    cairo_fill_preserve(c);
    SetColor(c, paint.Shaded(-0.45));
    cairo_set_line_width(c, 1.5);
    cairo_stroke(c);
    cairo_set_fill_rule(c, CAIRO_FILL_RULE_WINDING);
    Box(d, 0, 1, w, 6, 3, kIron.Shaded(0.15));
    cairo_rectangle(c, 2, 22, w - 4, 2);
    SetColor(c, kBrass);
    cairo_fill(c);
    return d.ToPicture();
}

// A lit window behind the body's cut-out.
Picture CarriageWindow() {
    Drawing d(12, 12);
    cairo_rectangle(d.Context(), 0, 0, 12, 12);
    d.FillVertical(0, 12, kParchment, kParchment.Shaded(-0.2));
    return d.ToPicture();
}

// The carriage's front end: the vestibule and the buffer toward the engine.
Picture CarriageFront() {
    Drawing d(8, kCarriageHeight);
    Box(d, 0, 6, 6, kCarriageHeight - 8, 1.5, Rgba::FromHex(0x3C8D4E).Shaded(-0.2));
    Box(d, 4, kCarriageHeight - 8, 4, 4, 1, kIron);
    return d.ToPicture();
}

// The end door opening outward over its frames.
Picture CarriageDoorFrame(int frame) {
    Drawing d(8, 20);
    const double open = static_cast<double>(frame) / (kCarriageDoorFrames - 1);
    Box(d, 1, 1, 6 * (1.0 - 0.8 * open) + 1, 18, 1, kWood.Shaded(0.1));
    return d.ToPicture();
}

// A passenger seen through a window: a head and shoulders, one look per kind.
Picture Passenger(int kind) {
    static const uint32_t kCoats[kPassengerKinds] = {0xC8372D, 0x2F5D8A, 0x8A5A32, 0x7A2A4A, 0x3A3F45, 0xC89B3C};
    static const uint32_t kHair[kPassengerKinds] = {0x2B2118, 0x8A5A32, 0xE8EEF2, 0x2B2118, 0xC89B3C, 0x5A3A1A};
    Drawing d(10, 12);
    cairo_t* c = d.Context();
    d.RoundedRectangle(1, 7, 8, 6, 3);
    d.Fill(Rgba::FromHex(kCoats[kind]));
    d.Circle(5, 4.5, 3.2);
    d.Fill(Rgba::FromHex(0xE9C3A0));
    cairo_arc(c, 5, 4.2, 3.3, kPi, 2 * kPi);
    SetColor(c, Rgba::FromHex(kHair[kind]));
    cairo_fill(c);
    if (kind % 2 == 1) {  // a hat
        cairo_rectangle(c, 1.5, 0.5, 7, 1.6);
        SetColor(c, kIron);
        cairo_fill(c);
    }
    return d.ToPicture();
}

Picture CarriageWheelFrame(int frame) {
    Drawing d(kCarriageWheel, kCarriageWheel);
    cairo_t* c = d.Context();
    const double r = kCarriageWheel / 2.0;
    d.Circle(r, r, r - 1);
    Outlined(c, kIron, 1.2);
    for (int spoke = 0; spoke < 3; ++spoke) {
        const double a = frame * kPi / 6 + spoke * 2 * kPi / 3;
        cairo_move_to(c, r, r);
        cairo_line_to(c, r + std::cos(a) * (r - 2), r + std::sin(a) * (r - 2));
    }
    SetColor(c, kIron.Shaded(0.4));
    cairo_set_line_width(c, 1);
    cairo_stroke(c);
    d.Circle(r, r, 1.5);
    d.Fill(kBrass);
    return d.ToPicture();
}

// --- flagpole -----------------------------------------------------------

Picture FlagPole() {
    Drawing d(12, 110);
    Box(d, 4, 4, 4, 102, 2, Rgba::FromHex(0xE8EEF2).Shaded(-0.2));
    d.Circle(6, 4, 3.5);
    d.Fill(kBrass);
    Box(d, 0, 104, 12, 6, 2, kIron);
    return d.ToPicture();
}

// Flag n by performance: red, brass, then green for the best; it waves.
Picture FlagFrame(int n, int frame) {
    static const uint32_t kFlagColours[3] = {0xC8372D, 0xC89B3C, 0x3C8D4E};
    Drawing d(kFlagWidth, kFlagHeight);
    cairo_t* c = d.Context();
    const double phase = frame * 2 * kPi / kFlagFrames;
    auto wave = [phase](double x) { return 2.5 * std::sin(phase - x * 0.22) * x / kFlagWidth; };
    cairo_move_to(c, 0, 1);
    for (int x = 0; x <= kFlagWidth - 2; x += 2) {
        cairo_line_to(c, x, 1 + wave(x));
    }
    for (int x = kFlagWidth - 2; x >= 0; x -= 2) {
        cairo_line_to(c, x, kFlagHeight - 5 + wave(x));
    }
    cairo_close_path(c);
    const Rgba colour = Rgba::FromHex(kFlagColours[n]);
    d.FillVertical(0, kFlagHeight, colour.Shaded(0.2), colour.Shaded(-0.2));
    cairo_move_to(c, 0, 1);
    cairo_line_to(c, 0, kFlagHeight - 5);
    SetColor(c, colour.Shaded(-0.45));
    cairo_set_line_width(c, 1.5);
    cairo_stroke(c);
    return d.ToPicture();
}

// --- sounds -------------------------------------------------------------

constexpr double kC5 = 523.25, kE5 = 659.26, kG5 = 783.99, kC6 = 1046.5;

// A ratchet: quick clicks of filtered noise.
Synth WheelTurns() {
    Synth s(0.45);
    for (int i = 0; i < 6; ++i) {
        s.Noise(i * 0.065, 0.05, 0.7, 0.002, 0.015, 0.7);
    }
    s.Tone(0.0, 0.4, 140, 120, 0.15, 0.01, 0.2);
    s.Normalize(0.6);
    return s;
}

// The heavy door swings open: a creak and a rush of air from the fire.
Synth FurnaceOpen() {
    Synth s(0.6);
    s.Tone(0.0, 0.25, 220, 300, 0.25, 0.02, 0.1);
    s.Noise(0.05, 0.5, 0.8, 0.08, 0.2, 0.35);
    s.Normalize(0.65);
    return s;
}

// The door falls shut: a dull iron clank.
Synth FurnaceClose() {
    Synth s(0.5);
    s.Noise(0.0, 0.12, 0.9, 0.002, 0.05, 0.45);
    s.Tone(0.0, 0.4, 110, 90, 0.5, 0.002, 0.12);
    s.Tone(0.0, 0.3, 330, 320, 0.15, 0.002, 0.06);
    s.Normalize(0.65);
    return s;
}

// A bonus burns in the furnace: a bright rising chime over a soft roar.
Synth BonusUsed() {
    Synth s(0.7);
    s.Noise(0.0, 0.5, 0.3, 0.05, 0.2, 0.4);
    const double notes[] = {kE5, kG5, kC6};
    for (int i = 0; i < 3; ++i) {
        s.Tone(i * 0.07, 0.35, notes[i], notes[i], 0.35, 0.005, 0.15);
    }
    s.Tone(0.0, 0.2, kC5, kC5, 0.2, 0.005, 0.1);
    s.Normalize(0.7);
    return s;
}

// --- rows ---------------------------------------------------------------

void AddPicture(Manifest& manifest, const std::string& id, const std::string& file, int frames,
                std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    const std::string path = "media/gfx/hud/" + file + ".png";
    manifest.Add({kSection, id, "Image", path, keys,
                  [path, draw = std::move(draw)](MediaTree& tree) { tree.Add(path, EncodePng(draw())); }});
}

void AddHudSound(Manifest& manifest, const std::string& id, const std::string& file, Synth (*recipe)()) {
    const std::string path = "media/sfx/" + file + ".ogg";
    manifest.Add({kSection, id, "Sound", path, {{"volumemultiplier", "1.0"}}, [path, recipe](MediaTree& tree) {
                      tree.Add(path, EncodeEffect(recipe()));
                  }});
}

void AddFurnaceRows(Manifest& manifest) {
    AddPicture(manifest, "FURNACE_FIRE", "furnace_fire", kFireFrames,
               [] { return Frames(kFireFrames, FireFrame); });
    AddPicture(manifest, "FURNACE_OPEN", "furnace_door", kDoorFrames, [] { return Frames(kDoorFrames, DoorFrame); });
    AddPicture(manifest, "FURNACE_WHEEL", "furnace_wheel", kWheelFrames,
               [] { return Frames(kWheelFrames, WheelFrame); });
    AddPicture(manifest, "LID_LID", "furnace_lid", 1, LidEdge);
    AddPicture(manifest, "LID_SPIRAL1", "furnace_coil", 1, Coil);
    AddPicture(manifest, "LID_SPIRAL2", "furnace_springs", 1, Springs);
    AddPicture(manifest, "LID_NAILS", "furnace_nails", kNailFrames, [] { return Frames(kNailFrames, NailFrame); });
    for (int kind = 1; kind <= 7; ++kind) {
        AddPicture(manifest, "FURNACE_LIGHT_" + std::to_string(kind), "furnace_light_" + std::to_string(kind), 1,
                   [kind] { return Light(kind); });
    }
    AddPicture(manifest, "LID_ICONS", "lid_icons", 1, LidIcons);
    AddPicture(manifest, "LID_SPECK", "lid_speck", 1, Speck);
}

void AddMeterRows(Manifest& manifest) {
    for (int model = 0; model < kMeterModels; ++model) {
        const std::string n = std::to_string(model + 1);
        AddPicture(manifest, "BOOSTMETER" + n, "boostmeter" + n, 1, [model] { return MeterPlate(model); });
        AddPicture(manifest, "BOOSTMETER_OVERLAY" + n, "boostmeter_overlay" + n, 1,
                   [model] { return MeterOverlay(model); });
        AddPicture(manifest, "BOOSTMETER_GLOW" + n, "boostmeter_glow" + n, 1, [model] { return MeterGlow(model); });
    }
    AddPicture(manifest, "BOOSTMETER_FILL", "boostmeter_fill", 1, MeterFill);
    AddPicture(manifest, "BOOSTMETER_TOP", "boostmeter_top", kTopFrames,
               [] { return Frames(kTopFrames, MeterTopFrame); });
}

void AddCarriageRows(Manifest& manifest) {
    for (int size = 1; size <= 5; ++size) {
        AddPicture(manifest, "CARRIAGE_BACK" + std::to_string(size), "carriage_back" + std::to_string(size), 1,
                   [size] { return CarriageBack(size); });
    }
    for (int kind = 0; kind < kPassengerKinds; ++kind) {
        AddPicture(manifest, "PASSENGER" + std::to_string(kind), "passenger" + std::to_string(kind), 1,
                   [kind] { return Passenger(kind); });
    }
    AddPicture(manifest, "CARRIAGE_WINDOW", "carriage_window", 1, CarriageWindow);
    AddPicture(manifest, "CARRIAGE_FRONT", "carriage_front", 1, CarriageFront);
    AddPicture(manifest, "CARRIAGE_DOOR", "carriage_door", kCarriageDoorFrames,
               [] { return Frames(kCarriageDoorFrames, CarriageDoorFrame); });
    AddPicture(manifest, "CARRIAGE_WHEEL", "carriage_wheel", 4, [] { return Frames(4, CarriageWheelFrame); });
}

void AddFlagRows(Manifest& manifest) {
    AddPicture(manifest, "FLAGPOLE", "flagpole", 1, FlagPole);
    for (int n = 0; n < 3; ++n) {
        AddPicture(manifest, "FLAG" + std::to_string(n), "flag" + std::to_string(n), kFlagFrames,
                   [n] { return Frames(kFlagFrames, [n](int frame) { return FlagFrame(n, frame); }); });
    }
}

}  // namespace

void AddHudRows(Manifest& manifest) {
    AddFurnaceRows(manifest);
    AddMeterRows(manifest);
    AddCarriageRows(manifest);
    AddFlagRows(manifest);
    AddHudSound(manifest, "SOUND_FURNACE_WHEEL_TURNS", "furnace_wheel_turns", WheelTurns);
    AddHudSound(manifest, "SOUND_FURNACE_OPEN", "furnace_open", FurnaceOpen);
    AddHudSound(manifest, "SOUND_FURNACE_CLOSE", "furnace_close", FurnaceClose);
    AddHudSound(manifest, "SOUND_BONUS_USED", "bonus_used", BonusUsed);
}
