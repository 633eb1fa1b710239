#include <cmath>
#include <string>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/Picture.h"

// The game dialogs' own frames: the ordinary dialog's wooden frame with a
// brass header tab, an ornament and a wheel emblem, and the hint bubble's
// thin brass frame with a lamp emblem. The bodies are painted as gradients at
// run time, so each framed piece comes with a mask: the silhouette the
// dialog covers, the frame's hole included.
namespace {

constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kWood = 0x8A5A32;
constexpr uint32_t kBrass = 0xC89B3C;
const std::string kDialogs = "dialogs";

// The dialog frame laid out as a 3 x 3 grid: columns of 24, rows of 48
// (the top, with room above the wood for the header tab), 24 and 24. The
// middle row keeps clear of the hole's corners, so the side tiles repeat
// without a seam.
constexpr int kColumn = 24;
constexpr int kTopRow = 48;
constexpr int kRow = 24;
constexpr double kFrameTop = 28;  // where the wood starts below the tab's overhang
constexpr int kFrameWidth = 3 * kColumn;
constexpr int kFrameHeight = kTopRow + 2 * kRow;
// The header tab: two ends of 32 around a tiled middle of 8, 72 high. The
// dialog writes its header with the middle of the line at y 51, so the
// wood starts at 20 and the plate is centred on the capitals.
constexpr int kTabEnd = 32;
constexpr int kTabMiddle = 8;
constexpr int kTabHeight = 72;
constexpr double kTabTop = 20;
// The hint bubble: a 3 x 3 grid of 16, the top and bottom rows with a clear
// margin above (below) the frame where an arrow corner draws its tail.
constexpr int kHintCell = 16;
constexpr int kHintTail = 14;
constexpr int kHintEdgeRow = kHintCell + kHintTail;
constexpr int kHintArrowWidth = 2 * kHintCell;

struct Cut {
    int x, y, w, h;
};

// Either the silhouette (opaque wherever the dialog covers) or the painted frame.
Picture DrawDialogFrame(bool silhouette) {
    Drawing drawing(kFrameWidth, kFrameHeight);
    const double height = kFrameHeight - kFrameTop;
    drawing.RoundedRectangle(0, kFrameTop, kFrameWidth, height, 10);
    if (silhouette) {
        drawing.Fill(Rgba::FromHex(kInk));
        return drawing.ToPicture();
    }
    const Rgba wood = Rgba::FromHex(kWood);
    cairo_set_fill_rule(drawing.Context(), CAIRO_FILL_RULE_EVEN_ODD);
    drawing.RoundedRectangle(12, kFrameTop + 12, kFrameWidth - 24, height - 24, 4);
    drawing.Fill(wood);
    drawing.RoundedRectangle(0.75, kFrameTop + 0.75, kFrameWidth - 1.5, height - 1.5, 10);
    drawing.Stroke(wood.Shaded(-0.55), 1.5);
    drawing.RoundedRectangle(10.5, kFrameTop + 10.5, kFrameWidth - 21, height - 21, 5);
    drawing.Stroke(Rgba::FromHex(kBrass), 1.5);
    return drawing.ToPicture();
}

// The tab: a brass plate with a wooden rim, rounded at the top, whose foot
// overlaps the frame's top band; its silhouette runs square to the bottom,
// where the body lies under it.
Picture DrawHeaderTab(bool silhouette) {
    const int width = 2 * kTabEnd + kTabMiddle;
    Drawing drawing(width, kTabHeight);
    if (silhouette) {
        drawing.RoundedRectangle(0, kTabTop, width, kTabHeight - kTabTop, 14);
        cairo_rectangle(drawing.Context(), 0, kTabHeight / 2.0, width, kTabHeight / 2.0);
        drawing.Fill(Rgba::FromHex(kInk));
        return drawing.ToPicture();
    }
    drawing.RoundedRectangle(0, kTabTop, width, kTabHeight - kTabTop, 14);
    const Rgba brass = Rgba::FromHex(kBrass);
    drawing.FillVertical(kTabTop, kTabHeight, Rgba::FromHex(kWood).Shaded(0.1), Rgba::FromHex(kWood).Shaded(-0.2));
    const double plateTop = kTabTop + 6;
    drawing.RoundedRectangle(6, plateTop, width - 12, kTabHeight - 6 - plateTop, 10);
    drawing.FillVertical(plateTop, kTabHeight - 6, brass.Shaded(0.35), brass.Shaded(-0.15));
    drawing.RoundedRectangle(6.5, plateTop + 0.5, width - 13, kTabHeight - 7 - plateTop, 10);
    drawing.Stroke(brass.Shaded(-0.5), 1);
    return drawing.ToPicture();
}

Picture DrawOrnament() {
    Drawing drawing(44, 14);
    const Rgba brass = Rgba::FromHex(kBrass);
    cairo_move_to(drawing.Context(), 7, 7);
    cairo_curve_to(drawing.Context(), 16, 1, 28, 13, 37, 7);
    drawing.Stroke(brass.Shaded(-0.3), 2);
    for (const double x : {5.0, 39.0}) {
        drawing.Circle(x, 7, 3.5);
        drawing.FillRadial(x - 1, 6, 4, brass.Shaded(0.6), brass.Shaded(-0.3));
    }
    return drawing.ToPicture();
}

// A spoked wheel, light and soft, so the burn leaves a faint watermark.
Picture DrawWheelEmblem() {
    constexpr int kSize = 96;
    constexpr double kCentre = kSize / 2.0;
    Drawing drawing(kSize, kSize);
    const Rgba tint = Rgba::FromHex(0xE0CCA4, 0.6);
    drawing.Circle(kCentre, kCentre, 44);
    drawing.Stroke(tint, 7);
    drawing.Circle(kCentre, kCentre, 9);
    drawing.Fill(tint);
    for (int spoke = 0; spoke < 8; ++spoke) {
        const double angle = spoke * M_PI / 4;
        cairo_move_to(drawing.Context(), kCentre + 9 * std::cos(angle), kCentre + 9 * std::sin(angle));
        cairo_line_to(drawing.Context(), kCentre + 41 * std::cos(angle), kCentre + 41 * std::sin(angle));
        drawing.Stroke(tint, 4);
    }
    return drawing.ToPicture();
}

// The bubble, and with `arrow` a tail rising from its top left corner; the
// other corners are the same picture mirrored.
Picture DrawHintBubble(bool silhouette, bool arrow, bool mirrorX, bool mirrorY) {
    constexpr int kWidth = 3 * kHintCell;
    constexpr int kHeight = 3 * kHintCell + 2 * kHintTail;
    Drawing drawing(kWidth, kHeight);
    cairo_t* cairo = drawing.Context();
    cairo_translate(cairo, mirrorX ? kWidth : 0, mirrorY ? kHeight : 0);
    cairo_scale(cairo, mirrorX ? -1 : 1, mirrorY ? -1 : 1);
    const auto tail = [cairo](double inset) {
        cairo_new_path(cairo);
        cairo_move_to(cairo, 12 + inset, kHintTail + 3);
        cairo_line_to(cairo, 15, 1 + inset);
        cairo_line_to(cairo, 28 - inset, kHintTail + 3);
        cairo_close_path(cairo);
    };
    drawing.RoundedRectangle(0, kHintTail, kWidth, 3 * kHintCell, 9);
    if (silhouette) {
        drawing.Fill(Rgba::FromHex(kInk));
        if (arrow) {
            tail(0);
            drawing.Fill(Rgba::FromHex(kInk));
        }
        return drawing.ToPicture();
    }
    const Rgba brass = Rgba::FromHex(kBrass);
    drawing.RoundedRectangle(1.5, kHintTail + 1.5, kWidth - 3, 3 * kHintCell - 3, 8);
    drawing.Stroke(brass, 3);
    drawing.RoundedRectangle(0.5, kHintTail + 0.5, kWidth - 1, 3 * kHintCell - 1, 9);
    drawing.Stroke(brass.Shaded(-0.55), 1);
    if (arrow) {
        // The tail opens into the body: its base leaves no frame line.
        tail(0);
        drawing.Stroke(brass.Shaded(-0.55), 1);
        tail(1.5);
        drawing.Stroke(brass, 3);
        cairo_set_operator(cairo, CAIRO_OPERATOR_CLEAR);
        tail(3.5);
        cairo_fill(cairo);
        cairo_rectangle(cairo, 15, kHintTail, 10, 5);
        cairo_fill(cairo);
    }
    return drawing.ToPicture();
}

Picture DrawHintFrame(bool silhouette) { return DrawHintBubble(silhouette, false, false, false); }

// A signal lamp with its rays.
Picture DrawLampEmblem() {
    constexpr int kSize = 48;
    Drawing drawing(kSize, kSize);
    const Rgba tint = Rgba::FromHex(0xE0C890, 0.7);
    drawing.Circle(24, 24, 10);
    drawing.Fill(tint);
    for (int ray = 0; ray < 8; ++ray) {
        const double angle = ray * M_PI / 4;
        cairo_move_to(drawing.Context(), 24 + 14 * std::cos(angle), 24 + 14 * std::sin(angle));
        cairo_line_to(drawing.Context(), 24 + 21 * std::cos(angle), 24 + 21 * std::sin(angle));
        drawing.Stroke(tint, 3);
    }
    return drawing.ToPicture();
}

// One image row, and with `masked` its mask row named "<id>_MASK".
void AddPiece(Manifest& manifest, const std::string& id, const std::string& name, Picture (*draw)(bool), Cut cut,
              bool masked) {
    for (const bool mask : {false, true}) {
        if (mask && !masked) {
            continue;
        }
        const std::string file = "media/gfx/dialogs/painter_" + name + (mask ? "_mask" : "") + ".png";
        auto make = [file, draw, cut, mask](MediaTree& tree) {
            const Picture piece = CutPicture(draw(mask), cut.x, cut.y, cut.w, cut.h);
            tree.Add(file, EncodePng(mask ? MaskFromAlpha(piece) : piece));
        };
        manifest.Add({kDialogs, id + (mask ? "_MASK" : ""), "Image", file, {}, make});
    }
}

void AddWhole(Manifest& manifest, const std::string& id, const std::string& name, Picture (*draw)()) {
    const std::string file = "media/gfx/dialogs/painter_" + name + ".png";
    manifest.Add({kDialogs, id, "Image", file, {}, [file, draw](MediaTree& tree) {
                      tree.Add(file, EncodePng(draw()));
                  }});
}

// The four corners that point at a hint's target, each with its mask.
void AddHintArrows(Manifest& manifest) {
    for (const bool bottom : {false, true}) {
        for (const bool right : {false, true}) {
            const std::string corner = std::string(bottom ? "BOTTOM_" : "TOP_") + (right ? "RIGHT" : "LEFT");
            const std::string name = std::string("hint_arrow_") + (bottom ? "bottom_" : "top_") + (right ? "right" : "left");
            const Cut cut{right ? 3 * kHintCell - kHintArrowWidth : 0, bottom ? kHintEdgeRow + kHintCell : 0, kHintArrowWidth,
                          kHintEdgeRow};
            for (const bool mask : {false, true}) {
                const std::string file = "media/gfx/dialogs/" + name + (mask ? "_mask" : "") + ".png";
                auto make = [file, cut, mask, right, bottom](MediaTree& tree) {
                    const Picture piece =
                        CutPicture(DrawHintBubble(mask, true, right, bottom), cut.x, cut.y, cut.w, cut.h);
                    tree.Add(file, EncodePng(mask ? MaskFromAlpha(piece) : piece));
                };
                manifest.Add({kDialogs, "HINT_ARROW_" + corner + (mask ? "_MASK" : ""), "Image", file, {}, make});
            }
        }
    }
}

}  // namespace

void AddPainterRows(Manifest& manifest) {
    const int right = 2 * kColumn;
    const int bottom = kTopRow + kRow;
    const struct {
        const char* id;
        const char* name;
        Cut cut;
    } frame[] = {
        {"TOPLEFT", "topleft", {0, 0, kColumn, kTopRow}},
        {"TOP", "top", {kColumn, 0, kColumn, kTopRow}},
        {"TOPRIGHT", "topright", {right, 0, kColumn, kTopRow}},
        {"LEFT", "left", {0, kTopRow, kColumn, kRow}},
        {"RIGHT", "right", {right, kTopRow, kColumn, kRow}},
        {"BOTTOMLEFT", "bottomleft", {0, bottom, kColumn, kRow}},
        {"BOTTOM", "bottom", {kColumn, bottom, kColumn, kRow}},
        {"BOTTOMRIGHT", "bottomright", {right, bottom, kColumn, kRow}},
    };
    for (const auto& piece : frame) {
        AddPiece(manifest, std::string("PAINTER_KR2_") + piece.id, std::string("kr2_") + piece.name, DrawDialogFrame,
                 piece.cut, true);
    }
    // Left of the tab the top edge is tiled in one-pixel slices: the tab is
    // drawn first, and a wider tile reaching past its left end would erase
    // that end's top with the tile's transparent overhang.
    AddPiece(manifest, "PAINTER_KR2_TOP_SLICE", "kr2_top_slice", DrawDialogFrame, {kColumn, 0, 1, kTopRow}, true);
    AddPiece(manifest, "PAINTER_KR2_TAB_LEFT", "kr2_tab_left", DrawHeaderTab, {0, 0, kTabEnd, kTabHeight}, true);
    AddPiece(manifest, "PAINTER_KR2_TAB_MIDDLE", "kr2_tab_middle", DrawHeaderTab,
             {kTabEnd, 0, kTabMiddle, kTabHeight}, true);
    AddPiece(manifest, "PAINTER_KR2_TAB_RIGHT", "kr2_tab_right", DrawHeaderTab,
             {kTabEnd + kTabMiddle, 0, kTabEnd, kTabHeight}, true);
    AddWhole(manifest, "PAINTER_KR2_ORNAMENT", "kr2_ornament", DrawOrnament);
    AddWhole(manifest, "PAINTER_KR2_EMBLEM", "kr2_emblem", DrawWheelEmblem);

    // The hint frame's centre place holds the emblem, drawn whole.
    const char* const names[9] = {"topleft", "top", "topright", "left", "", "right",
                                  "bottomleft", "bottom", "bottomright"};
    for (int i = 0; i < 9; ++i) {
        if (i == 4) {
            continue;
        }
        std::string id = names[i];
        for (char& c : id) {
            c = static_cast<char>(c - 'a' + 'A');
        }
        const int row = i / 3;
        const int y = row == 0 ? 0 : kHintEdgeRow + (row - 1) * kHintCell;
        AddPiece(manifest, "PAINTER_HINT_" + id, std::string("hint_") + names[i], DrawHintFrame,
                 {i % 3 * kHintCell, y, kHintCell, row == 1 ? kHintCell : kHintEdgeRow}, true);
    }
    AddWhole(manifest, "PAINTER_HINT_EMBLEM", "hint_emblem", DrawLampEmblem);
    AddHintArrows(manifest);
}
