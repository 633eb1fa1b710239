#include <string>

#include "mediagen/ButtonPlate.h"
#include "mediagen/Drawing.h"
#include "mediagen/MapLayout.h"
#include "mediagen/Families.h"

// The map's own displays: the wooden bar along the top that carries the
// rank, the coins and the score, its coin icon and the menu button.
namespace {

constexpr const char* kSection = "mapscene";
constexpr int kBarWidth = 800;

void Add(Manifest& manifest, const std::string& id, const std::string& file, std::function<Picture()> draw) {
    const std::string path = "media/gfx/map/" + file + ".png";
    manifest.Add({kSection, id, "Image", path, {},
                  [path, draw = std::move(draw)](MediaTree& tree) { tree.Add(path, EncodePng(draw())); }});
}

// Varnished wood, rounded below, with a brass rim and a soft shadow.
Picture HudBar() {
    Drawing d(kBarWidth, kMapTopBarHeight);
    d.RoundedRectangle(2, -12, kBarWidth - 4, kMapTopBarHeight + 9, 12);
    d.Fill(Rgba{0, 0, 0, 0.35});
    d.RoundedRectangle(0, -12, kBarWidth, kMapTopBarHeight + 7, 12);
    d.FillVertical(0, kMapTopBarHeight - 5, Rgba::FromHex(0x9C6A3E), Rgba::FromHex(0x6E4626));
    d.RoundedRectangle(1, -12, kBarWidth - 2, kMapTopBarHeight + 6, 11);
    d.Stroke(Rgba::FromHex(0xC89B3C), 2);
    // Parchment wells behind the numbers.
    for (const double x : {326.0, 520.0}) {
        d.RoundedRectangle(x, 12, 150, 30, 8);
        d.Fill(Rgba::FromHex(0xF3E6C8));
        d.RoundedRectangle(x, 12, 150, 30, 8);
        d.Stroke(Rgba::FromHex(0x8A5A32), 2);
    }
    // The score's well carries a star where the coins' well has its coin.
    StarPath(d.Context(), 540, 27, 11, 4.6);
    d.FillRadial(536, 22, 13, Rgba::FromHex(0xFFF1A0), Rgba::FromHex(0xE0A82A));
    StarPath(d.Context(), 540, 27, 11, 4.6);
    d.Stroke(Rgba::FromHex(0x9A6A10), 1.5);
    return d.ToPicture();
}

Picture CoinIcon() {
    Drawing d(24, 24);
    d.Circle(12, 12, 10.5);
    d.FillRadial(9, 9, 14, Rgba::FromHex(0xFFE27A), Rgba::FromHex(0xC8901C));
    d.Circle(12, 12, 10.5);
    d.Stroke(Rgba::FromHex(0x9A6A10), 1.5);
    d.Circle(12, 12, 6.5);
    d.Stroke(Rgba::FromHex(0x9A6A10), 1.5);
    return d.ToPicture();
}

}  // namespace

void AddMapHudRows(Manifest& manifest, FontFaces& faces) {
    Add(manifest, "MAP_HUD", "map_hud", HudBar);
    Add(manifest, "MAP_COIN", "map_coin", CoinIcon);
    AddButton(manifest, faces, kSection, "BUTTON_MENU", "media/gfx/map/button_menu.png",
              {84, 28, 0x4A6FA5, "Menu"});
}
