#include <cmath>
#include <filesystem>
#include <vector>

#include "mediagen/ButtonPlate.h"
#include "mediagen/ConstantsFile.h"
#include "mediagen/Drawing.h"
#include "mediagen/MapLayout.h"
#include "mediagen/Families.h"
#include "mediagen/GameTypeColours.h"

// The map's small sprites: the train, route dots, the track builder, the
// alpha stamps that wear the overlay away, and the tickets.
namespace {

// Tickets are offered for the adventure's types only.
constexpr int kTicketTypes = kMixedGameType;
constexpr int kPassengerKinds = 6;
constexpr uint32_t kSignalRed = 0xC8372D;
constexpr uint32_t kEnamelGreen = 0x3C8D2F;
// The card's buttons are smaller than the dialogs' so both fit on the card
// right of its stub.
constexpr int kCardButtonWidth = 88;
constexpr int kCardButtonHeight = 30;

void Outlined(cairo_t* c, const Rgba& fill, double width = 1.3) {
    SetColor(c, fill);
    cairo_fill_preserve(c);
    SetColor(c, fill.Shaded(-0.5));
    cairo_set_line_width(c, width);
    cairo_stroke(c);
}

void Add(Manifest& manifest, const std::string& id, const std::string& file, int frames, std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    const std::string path = "media/gfx/map/" + file + ".png";
    manifest.Add({"mapscene", id, "Image", path, keys,
                  [path, draw = std::move(draw)](MediaTree& tree) { tree.Add(path, EncodePng(draw())); }});
}

Picture Mirrored(const Picture& picture) {
    Picture mirrored(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            std::copy_n(picture.Pixel(picture.width - 1 - x, y), 4, mirrored.Pixel(x, y));
        }
    }
    return mirrored;
}

// --- the map train (facing right; the left one is its mirror) ---------------

constexpr int kTrainWidth = 60;
constexpr int kTrainHeight = 40;

// `shine` in 0..1 moves a glint over the engine; below 0 there is none.
Picture Train(double shine) {
    Drawing d(kTrainWidth, kTrainHeight);
    cairo_t* c = d.Context();
    cairo_save(c);
    cairo_translate(c, 1, 0);
    // Shadow, cab, boiler, chimney, dome, wheels, buffer.
    d.RoundedRectangle(4, 33, 52, 5, 2.5);
    d.Fill(Rgba{0, 0, 0, 0.25});
    d.RoundedRectangle(4, 9, 16, 22, 2);
    Outlined(c, Rgba::FromHex(0xC8372D));
    cairo_rectangle(c, 8, 13, 8, 7);
    Outlined(c, Rgba::FromHex(0xF3DE9A), 1);
    d.RoundedRectangle(2, 6, 20, 5, 2);
    Outlined(c, Rgba::FromHex(0x3A3F45));
    d.RoundedRectangle(18, 15, 32, 15, 6);
    d.FillVertical(15, 30, Rgba::FromHex(0x4A8A5A), Rgba::FromHex(0x24513A));
    d.RoundedRectangle(18, 15, 32, 15, 6);
    SetColor(c, Rgba::FromHex(0x1F3A2A));
    cairo_set_line_width(c, 1.3);
    cairo_stroke(c);
    cairo_rectangle(c, 25, 15, 3, 15);
    cairo_rectangle(c, 38, 15, 3, 15);
    SetColor(c, Rgba::FromHex(0xC89B3C));
    cairo_fill(c);
    cairo_rectangle(c, 42, 5, 6, 11);
    Outlined(c, Rgba::FromHex(0x3A3F45));
    d.RoundedRectangle(40, 3, 10, 4, 1.5);
    Outlined(c, Rgba::FromHex(0x3A3F45));
    d.Circle(32, 14, 3.5);
    Outlined(c, Rgba::FromHex(0xC89B3C), 1);
    for (double x : {11.0, 27.0, 41.0}) {
        d.Circle(x, 31, x < 20 ? 6 : 5);
        Outlined(c, Rgba::FromHex(0x3A3F45));
        d.Circle(x, 31, 1.6);
        SetColor(c, Rgba::FromHex(0xC89B3C));
        cairo_fill(c);
    }
    cairo_move_to(c, 50, 24);
    cairo_line_to(c, 56, 34);
    cairo_line_to(c, 48, 34);
    cairo_close_path(c);
    Outlined(c, Rgba::FromHex(0xC8372D), 1);
    cairo_restore(c);
    Picture picture = d.ToPicture();
    if (shine >= 0) {
        const double centre = -10 + shine * (kTrainWidth + 20);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const double along = x + y * 0.5 - centre;
                const double glint = std::max(0.0, 1 - std::fabs(along) / 7.0) * 0.7;
                uint8_t* p = picture.Pixel(x, y);
                for (int ch = 0; ch < 3; ++ch) {
                    p[ch] = static_cast<uint8_t>(p[ch] + (255 - p[ch]) * glint);
                }
            }
        }
    }
    return picture;
}

Picture ShineStrip(bool left) {
    std::vector<Picture> frames;
    for (int f = 0; f < 5; ++f) {
        const Picture frame = Train(f / 4.0);
        frames.push_back(left ? Mirrored(frame) : frame);
    }
    return StackFrames(frames);
}

// --- route dots and the builder ----------------------------------------------

Picture Dot() {
    std::vector<Picture> frames;
    for (uint32_t colour : {0x8A5A32u, 0xF2C230u}) {
        Drawing d(12, 12);
        d.Circle(6, 6, 4.2);
        d.FillRadial(5, 5, 5, Rgba::FromHex(colour).Shaded(0.35), Rgba::FromHex(colour));
        d.Circle(6, 6, 4.2);
        d.Stroke(Rgba::FromHex(colour).Shaded(-0.5), 1.2);
        frames.push_back(d.ToPicture());
    }
    return StackFrames(frames);
}

void Hammer(cairo_t* c, double x, double y, double angle) {
    cairo_save(c);
    cairo_translate(c, x, y);
    cairo_rotate(c, angle);
    cairo_rectangle(c, -1.2, -11, 2.4, 12);
    Outlined(c, Rgba::FromHex(0x8A5A32), 0.8);
    cairo_rectangle(c, -4, -14, 8, 4);
    Outlined(c, Rgba::FromHex(0x5A6068), 0.8);
    cairo_restore(c);
}

// A worker in a cap swinging a hammer: five frames of the swing.
Picture Builder() {
    std::vector<Picture> frames;
    for (int f = 0; f < 5; ++f) {
        Drawing d(34, 40);
        cairo_t* c = d.Context();
        cairo_save(c);
        cairo_translate(c, 12, 0);
        cairo_scale(c, 1, 1);
        cairo_new_path(c);
        cairo_arc(c, 10, 37, 9, 0, 2 * M_PI);
        SetColor(c, Rgba{0, 0, 0, 0.2});
        cairo_fill(c);
        cairo_rectangle(c, 5, 24, 4, 13);
        cairo_rectangle(c, 11, 24, 4, 13);
        Outlined(c, Rgba::FromHex(0x2F4F7A), 1);
        d.RoundedRectangle(4, 12, 12, 14, 3);
        Outlined(c, Rgba::FromHex(0xE0892A), 1.2);
        d.Circle(10, 8, 4.5);
        Outlined(c, Rgba::FromHex(0xF0C8A0), 1);
        cairo_rectangle(c, 5, 2.5, 10, 3.5);
        Outlined(c, Rgba::FromHex(0xC8372D), 1);
        const double swing = -1.1 + f * 0.55;
        Hammer(c, 14, 16, swing);
        cairo_restore(c);
        frames.push_back(d.ToPicture());
    }
    return StackFrames(frames);
}

Picture Nail() {
    Drawing d(12, 6);
    cairo_t* c = d.Context();
    cairo_rectangle(c, 1, 1, 3, 4);
    cairo_rectangle(c, 4, 2.2, 7, 1.6);
    Outlined(c, Rgba::FromHex(0x9AA2AA), 0.7);
    return d.ToPicture();
}

Picture HammerPicture() {
    Drawing d(18, 18);
    Hammer(d.Context(), 9, 16, 0.35);
    return d.ToPicture();
}

// --- alpha stamps: transparent inside a soft-edged disc, opaque outside ------

Picture Stamp(int radius) {
    const int size = radius * 2;
    Picture picture(size, size);
    const double centre = radius - 0.5;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double distance = std::hypot(x - centre, y - centre) / radius;
            const double inside = std::clamp((1.0 - distance) / 0.35, 0.0, 1.0);
            const double smooth = inside * inside * (3 - 2 * inside);
            uint8_t* p = picture.Pixel(x, y);
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<uint8_t>(std::lround(255 * (1 - smooth)));
        }
    }
    return picture;
}

// --- tickets and passengers -----------------------------------------------------

constexpr int kTicketWidth = 116;

Picture TicketFrame(uint32_t colour, int state) {
    Drawing d(kTicketWidth, kTicketHeight);
    cairo_t* c = d.Context();
    Rgba base = Rgba::FromHex(colour);
    Rgba paper = Rgba::FromHex(0xF3E6C8);
    const double lift = state == 2 ? 1 : 0;
    if (state == 1) {
        paper = paper.Shaded(0.35);
        base = base.Shaded(0.15);
    } else if (state == 3) {
        paper = paper.Greyed();
        base = base.Greyed();
    }
    d.RoundedRectangle(5, 5, kTicketWidth - 9, kTicketHeight - 9, 6);
    d.Fill(Rgba{0, 0, 0, 0.3});
    d.RoundedRectangle(3, 2 + lift, kTicketWidth - 9, kTicketHeight - 9, 6);
    d.FillVertical(2, kTicketHeight - 7, paper.Shaded(0.2), paper.Shaded(-0.06));
    d.RoundedRectangle(3, 2 + lift, kTicketWidth - 9, kTicketHeight - 9, 6);
    d.Stroke(base.Shaded(-0.3), 1.6);
    // The coloured stub on the left, cut off by a perforation.
    d.RoundedRectangle(3, 2 + lift, 24, kTicketHeight - 9, 6);
    d.Fill(base);
    for (double y = 6; y < kTicketHeight - 9; y += 5) {
        d.Circle(28, y + lift, 1.2);
        d.Fill(base.Shaded(-0.3));
    }
    // A small engine emblem on the stub and a route line on the card.
    d.Circle(15, 22 + lift, 8.5);
    d.Stroke(Rgba::FromHex(0xF3E6C8), 1.6);
    EnginePath(c, 15, 22 + lift, 11);
    d.Fill(Rgba::FromHex(0xF3E6C8));
    cairo_move_to(c, 38, 14 + lift);
    cairo_line_to(c, kTicketWidth - 16, 14 + lift);
    SetColor(c, base.Shaded(0.1));
    cairo_set_line_width(c, 2);
    cairo_set_dash(c, std::vector<double>{5, 3}.data(), 2, 0);
    cairo_stroke(c);
    cairo_set_dash(c, nullptr, 0, 0);
    return d.ToPicture();
}

Picture Ticket(uint32_t colour) {
    std::vector<Picture> frames;
    for (int state = 0; state < 4; ++state) {
        frames.push_back(TicketFrame(colour, state));
    }
    return StackFrames(frames);
}

// The opened ticket: a large card in the ticket's style, with room for the
// row of passengers at (110, 55), the distance text below it and two buttons
// along the bottom.
constexpr int kCardWidth = 270;
constexpr int kCardHeight = 150;
// Over the passengers and the buttons.
constexpr double kCardHeaderCentre = 146;
constexpr double kCardRuleBaseline = 94;

Picture TicketCard(FontFaces& faces, uint32_t colour, const std::string& header, const std::string& rule) {
    Drawing d(kCardWidth, kCardHeight);
    cairo_t* c = d.Context();
    const Rgba base = Rgba::FromHex(colour);
    const Rgba paper = Rgba::FromHex(0xF3E6C8);
    d.RoundedRectangle(5, 5, kCardWidth - 7, kCardHeight - 7, 9);
    d.Fill(Rgba{0, 0, 0, 0.3});
    d.RoundedRectangle(2, 2, kCardWidth - 7, kCardHeight - 7, 9);
    d.FillVertical(2, kCardHeight - 5, paper.Shaded(0.2), paper.Shaded(-0.08));
    d.RoundedRectangle(2, 2, kCardWidth - 7, kCardHeight - 7, 9);
    d.Stroke(base.Shaded(-0.3), 2);
    d.RoundedRectangle(2, 2, 40, kCardHeight - 7, 9);
    d.Fill(base);
    for (double y = 8; y < kCardHeight - 8; y += 6) {
        d.Circle(46, y, 1.5);
        d.Fill(base.Shaded(-0.3));
    }
    d.Circle(22, 40, 14);
    d.Stroke(paper, 2.2);
    EnginePath(c, 22, 40, 19);
    d.Fill(paper);
    // The game type's name over a dashed route, the seat bench under the
    // passengers.
    d.Caption(faces, "DejaVuSerif-Bold.ttf", 14, header, kCardHeaderCentre, 22, base.Shaded(-0.35));
    // The kind's rule in one line between the distance and the buttons.
    d.Caption(faces, "DejaVuSans.ttf", 12, rule, kCardHeaderCentre, kCardRuleBaseline, Rgba::FromHex(0x2B2118).Shaded(0.2));
    d.RoundedRectangle(104, 55, 76, 4, 2);
    d.Fill(base.Shaded(-0.2));
    cairo_move_to(c, 56, 30);
    cairo_line_to(c, kCardWidth - 16, 30);
    SetColor(c, base.Shaded(0.1));
    cairo_set_line_width(c, 2.5);
    cairo_set_dash(c, std::vector<double>{7, 4}.data(), 2, 0);
    cairo_stroke(c);
    cairo_set_dash(c, nullptr, 0, 0);
    return d.ToPicture();
}

// A passenger 12 x 16: head, body and a mark of its kind; empty seats are
// only outlined.
Picture Passenger(uint32_t colour, int kind) {
    Drawing d(12, 16);
    cairo_t* c = d.Context();
    const Rgba body = Rgba::FromHex(colour);
    if (kind < 0) {
        d.Circle(6, 4, 2.8);
        d.RoundedRectangle(2, 8, 8, 7.5, 3);
        d.Stroke(body.Greyed().Shaded(0.2), 1);
        return d.ToPicture();
    }
    d.RoundedRectangle(1.5, 8, 9, 7.5, 3.5);
    Outlined(c, kind % 2 == 0 ? body : body.Shaded(0.25), 1);
    d.Circle(6, 4.5, 3);
    Outlined(c, Rgba::FromHex(kind < 3 ? 0xF0C8A0 : 0xC8966A), 0.9);
    switch (kind % 3) {
        case 0:  // cap
            cairo_rectangle(c, 3, 1, 6, 2);
            Outlined(c, Rgba::FromHex(0x3A3F45), 0.6);
            break;
        case 1:  // hat with a brim
            cairo_rectangle(c, 4, 0, 4, 2.5);
            cairo_rectangle(c, 2, 2.2, 8, 1);
            Outlined(c, Rgba::FromHex(0x2B2118), 0.5);
            break;
        default:  // a case in hand
            cairo_rectangle(c, 8.5, 11.5, 3, 4);
            Outlined(c, Rgba::FromHex(0x8A5A32), 0.6);
    }
    return d.ToPicture();
}


// --- price signs and section arrows ---------------------------------------------

constexpr int kSignWidth = 64;
constexpr int kSignHeight = 46;

// Button frames: 0 normal, 1 over (lighter), 2 pressed (sunk), 3 disabled (grey).
Rgba ButtonTone(const Rgba& colour, int state) {
    if (state == 1) {
        return colour.Shaded(0.2);
    }
    if (state == 2) {
        return colour.Shaded(-0.15);
    }
    return state == 3 ? colour.Greyed() : colour;
}

// A gold price tag with an eyelet at its pointed left end: unlike the
// cities' cream number boards on posts at a glance. The price is written onto
// the frame's middle in code.
void PriceTagPath(cairo_t* c, double top) {
    constexpr double kPoint = 3, kShoulder = 15, kRight = kSignWidth - 3, kHeight = 30;
    cairo_new_path(c);
    cairo_move_to(c, kPoint, top + kHeight / 2);
    cairo_line_to(c, kShoulder, top);
    cairo_arc(c, kRight - 4, top + 4, 4, -M_PI / 2, 0);
    cairo_arc(c, kRight - 4, top + kHeight - 4, 4, 0, M_PI / 2);
    cairo_line_to(c, kShoulder, top + kHeight);
    cairo_close_path(c);
}

Picture PriceSignFrame(int state) {
    Drawing d(kSignWidth, kSignHeight);
    cairo_t* c = d.Context();
    const double top = 8 + (state == 2 ? 1 : 0);
    const Rgba gold = ButtonTone(Rgba::FromHex(0xF2C230), state);
    cairo_translate(c, 2, 3);
    PriceTagPath(c, 8);
    d.Fill(Rgba{0, 0, 0, 0.3});
    cairo_identity_matrix(c);
    PriceTagPath(c, top);
    d.FillVertical(top, top + 30, gold.Shaded(0.3), gold.Shaded(-0.12));
    PriceTagPath(c, top);
    d.Stroke(gold.Shaded(-0.55), 1.6);
    d.Circle(10, top + 15, 3);
    d.Fill(ButtonTone(Rgba::FromHex(0x6E4A1E), state));
    cairo_move_to(c, 18, top + 3.5);
    cairo_line_to(c, kSignWidth - 8, top + 3.5);
    SetColor(c, Rgba{1, 1, 1, 0.45});
    cairo_set_line_width(c, 1.5);
    cairo_stroke(c);
    return d.ToPicture();
}

Picture PriceSign() {
    std::vector<Picture> frames;
    for (int state = 0; state < 4; ++state) {
        frames.push_back(PriceSignFrame(state));
    }
    return StackFrames(frames);
}

constexpr int kArrowWidth = 44;
constexpr int kArrowHeight = 70;

// A signpost arrow pointing right, standing at the screen edge.
Picture ArrowFrame(int state) {
    Drawing d(kArrowWidth, kArrowHeight);
    cairo_t* c = d.Context();
    const Rgba wood = ButtonTone(Rgba::FromHex(0x9A6A3A), state);
    const double push = state == 2 ? 2 : 0;
    cairo_move_to(c, 3 + push, 14);
    cairo_line_to(c, 22 + push, 14);
    cairo_line_to(c, 22 + push, 4);
    cairo_line_to(c, 41, 35);
    cairo_line_to(c, 22 + push, 66);
    cairo_line_to(c, 22 + push, 56);
    cairo_line_to(c, 3 + push, 56);
    cairo_close_path(c);
    SetColor(c, wood);
    cairo_fill_preserve(c);
    SetColor(c, wood.Shaded(-0.5));
    cairo_set_line_width(c, 2);
    cairo_stroke(c);
    cairo_move_to(c, 8 + push, 35);
    cairo_line_to(c, 30 + push, 35);
    SetColor(c, ButtonTone(Rgba::FromHex(0xF2C230), state));
    cairo_set_line_width(c, 3);
    cairo_stroke(c);
    return d.ToPicture();
}

Picture Arrow(bool left) {
    std::vector<Picture> frames;
    for (int state = 0; state < 4; ++state) {
        frames.push_back(left ? Mirrored(ArrowFrame(state)) : ArrowFrame(state));
    }
    return StackFrames(frames);
}

}  // namespace

void AddMapSpriteRows(Manifest& manifest, FontFaces& faces, const GeneratorInputs& inputs) {
    const ConstantsFile texts((std::filesystem::path(inputs.mediaSource) / "properties" / "text.xml").string());
    Add(manifest, "TRAIN_RIGHT", "train_right", 1, [] { return Train(-1); });
    Add(manifest, "TRAIN_LEFT", "train_left", 1, [] { return Mirrored(Train(-1)); });
    Add(manifest, "TRAIN_RIGHT_SHINE", "train_right_shine", 5, [] { return ShineStrip(false); });
    Add(manifest, "TRAIN_LEFT_SHINE", "train_left_shine", 5, [] { return ShineStrip(true); });
    Add(manifest, "DOT", "dot", 2, Dot);
    Add(manifest, "BUILD_TRACK", "build_track", 5, Builder);
    Add(manifest, "BUILD_NAIL", "build_nail", 1, Nail);
    Add(manifest, "BUILD_HAMER", "build_hammer", 1, HammerPicture);
    Add(manifest, "TRACKBUYCIRCLE", "stamp_buy", 1, [] { return Stamp(20); });
    Add(manifest, "TRACKPLAYCIRCLE", "stamp_play", 1, [] { return Stamp(65); });
    Add(manifest, "TRACKOVERLAYCIRCLE", "stamp_overlay", 1, [] { return Stamp(40); });
    Add(manifest, "SPRITE_BUY", "price_sign", 4, PriceSign);
    Add(manifest, "BUTTON_ARROW_RIGHT", "arrow_right", 4, [] { return Arrow(false); });
    Add(manifest, "BUTTON_ARROW_LEFT", "arrow_left", 4, [] { return Arrow(true); });
    for (int t = 0; t < kTicketTypes; ++t) {
        const uint32_t colour = kGameTypeColours[t];
        const std::string type = std::to_string(t);
        Add(manifest, "TICKET_" + type, "tickets/ticket_" + type, 4, [colour] { return Ticket(colour); });
        const std::string header = texts.Text("GAME_TYPE" + type);
        const std::string rule = texts.Text("TICKET_RULE_" + type);
        Add(manifest, "DIALOG_TICKET_" + type, "tickets/card_" + type, 1,
            [&faces, colour, header, rule] { return TicketCard(faces, colour, header, rule); });
        for (int k = 0; k < kPassengerKinds; ++k) {
            Add(manifest, type + "_PASSENGER" + std::to_string(k),
                "tickets/passenger_" + type + "_" + std::to_string(k), 1, [colour, k] { return Passenger(colour, k); });
        }
        Add(manifest, type + "_PASSENGER_EMPTY", "tickets/passenger_" + type + "_empty", 1,
            [colour] { return Passenger(colour, -1); });
    }
    AddButton(manifest, faces, "mapscene", "TICKET_BUTTON_PLAY", "media/gfx/map/tickets/button_play.png",
              {kCardButtonWidth, kCardButtonHeight, kEnamelGreen, "Play"});
    AddButton(manifest, faces, "mapscene", "TICKET_BUTTON_CANCEL", "media/gfx/map/tickets/button_cancel.png",
              {kCardButtonWidth, kCardButtonHeight, kSignalRed, "Cancel"});
}
