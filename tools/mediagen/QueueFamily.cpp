#include <functional>

#include "mediagen/Families.h"
#include "mediagen/Drawing.h"
#include "mediagen/Synth.h"

namespace {

// Queue slots are small tiles: six rows sit 22 px apart, seven-letter words
// must fit a column. The letters' colours are fixed (grey, green found, pink
// missed): the plain and new tiles are near-black, where the found and missed
// words read best, and the current word's tile is light, for its grey letters.
constexpr int kSlotWidth = 18;
constexpr int kSlotHeight = 20;
constexpr const char* kSection = "gamescene";

struct SlotLook {
    uint32_t top;
    uint32_t bottom;
    uint32_t rim;
};

Picture DrawSlot(const SlotLook& look) {
    Drawing drawing(kSlotWidth, kSlotHeight);
    const double radius = 3.5;
    drawing.RoundedRectangle(1, 1, kSlotWidth - 2, kSlotHeight - 2, radius);
    drawing.FillVertical(1, kSlotHeight - 1, Rgba::FromHex(look.top), Rgba::FromHex(look.bottom));
    // Light from the top left: a thin sheen along the upper edge, above the letters.
    drawing.RoundedRectangle(3, 2, kSlotWidth - 6, 1.5, 0.75);
    drawing.Fill(Rgba{1, 1, 1, 0.12});
    drawing.RoundedRectangle(1.5, 1.5, kSlotWidth - 3, kSlotHeight - 3, radius);
    drawing.Stroke(Rgba::FromHex(look.rim), 1.5);
    return drawing.ToPicture();
}

// The rim of an effect: a glowing ring around the slot, clear inside.
Picture DrawBorder(uint32_t colour) {
    Drawing drawing(kSlotWidth, kSlotHeight);
    drawing.RoundedRectangle(1, 1, kSlotWidth - 2, kSlotHeight - 2, 3.5);
    drawing.Stroke(Rgba::FromHex(colour, 0.45), 2.5);
    drawing.RoundedRectangle(1.25, 1.25, kSlotWidth - 2.5, kSlotHeight - 2.5, 3.5);
    drawing.Stroke(Rgba::FromHex(colour).Shaded(0.45), 1.2);
    return drawing.ToPicture();
}

// The glow of an effect: brightest in the middle, fading to the edges.
Picture DrawFill(uint32_t colour) {
    Drawing drawing(kSlotWidth, kSlotHeight);
    drawing.RoundedRectangle(1, 1, kSlotWidth - 2, kSlotHeight - 2, 3.5);
    drawing.FillRadial(kSlotWidth / 2.0, kSlotHeight / 2.0, kSlotHeight * 0.6,
                       Rgba::FromHex(colour, 0.55).Shaded(0.3), Rgba::FromHex(colour, 0.2));
    return drawing.ToPicture();
}

void AddPicture(Manifest& manifest, const std::string& id, const std::string& name, std::function<Picture()> draw) {
    const std::string file = "media/gfx/game/" + name + ".png";
    manifest.Add({kSection, id, "Image", file, {}, [file, draw](MediaTree& tree) {
        tree.Add(file, EncodePng(draw()));
    }});
}

// A soft high blip as a letter settles into its slot (G6 of the pentatonic scale).
Synth LetterArrives() {
    Synth synth(0.18);
    synth.Tone(0.0, 0.16, 1568, 1568, 0.5, 0.004, 0.05);
    synth.Tone(0.0, 0.12, 3136, 3136, 0.12, 0.002, 0.03);
    synth.Noise(0.0, 0.02, 0.08, 0.001, 0.006, 0.9);
    synth.Normalize(0.7);
    return synth;
}

// A rising two-note sparkle as a hidden letter shows (E6 then A6).
Synth LetterRevealed() {
    Synth synth(0.45);
    synth.Tone(0.0, 0.25, 1318.5, 1318.5, 0.45, 0.006, 0.09);
    synth.Tone(0.09, 0.34, 1760, 1760, 0.5, 0.006, 0.12);
    synth.Tone(0.09, 0.3, 3520, 3520, 0.1, 0.004, 0.06);
    synth.Normalize(0.7);
    return synth;
}

void AddQueueSound(Manifest& manifest, const std::string& id, const std::string& name, Synth (*recipe)()) {
    const std::string file = "media/sfx/" + name + ".ogg";
    manifest.Add({kSection, id, "Sound", file, {{"volumemultiplier", "1.0"}}, [file, recipe](MediaTree& tree) {
                      tree.Add(file, EncodeEffect(recipe()));
                  }});
}

}  // namespace

void AddQueueRows(Manifest& manifest) {
    AddPicture(manifest, "QUEUE_SLOT", "queue_slot", [] { return DrawSlot({0x171A1D, 0x0B0D0F, 0x6A727B}); });
    AddPicture(manifest, "QUEUE_NEW_SLOT", "queue_new_slot", [] { return DrawSlot({0x3A2E10, 0x221A08, 0xC9A04A}); });
    AddPicture(manifest, "QUEUE_SEL_SLOT", "queue_sel_slot", [] { return DrawSlot({0xDCEBF6, 0xB8D5EC, 0x3F6F98}); });
    // Arrival in coin gold, reveal in the cyan of the reveal coal's eye.
    constexpr uint32_t kGold = 0xF2C230;
    constexpr uint32_t kCyan = 0x39C6D8;
    AddPicture(manifest, "QUEUE_SLOT_BORDER1", "queue_slot_border1", [] { return DrawBorder(kGold); });
    AddPicture(manifest, "QUEUE_SLOT_FILL1", "queue_slot_fill1", [] { return DrawFill(kGold); });
    AddPicture(manifest, "QUEUE_SLOT_BORDER2", "queue_slot_border2", [] { return DrawBorder(kCyan); });
    AddPicture(manifest, "QUEUE_SLOT_FILL2", "queue_slot_fill2", [] { return DrawFill(kCyan); });
    AddQueueSound(manifest, "SOUND_LETTER_ARRIVES", "letter_arrives", LetterArrives);
    AddQueueSound(manifest, "SOUND_LETTER_REVEALED", "letter_revealed", LetterRevealed);
}
