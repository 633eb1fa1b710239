#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/media/Canvas.h"
#include "engine/media/Surface.h"
#include "engine/scene/Sprite.h"
#include "game/words/LetterData.h"

class Modifier;
class PropertyNode;

// One letter of a queued word: the letter's glyph, in a colour that tells its
// state, on one of three slot pictures. While an arrival or reveal effect
// runs, an effect sprite stands over the slot.
class LetterSlot : public Sprite {
    ENGINE_CLASS(LetterSlot, Sprite)

public:
    enum SlotImage { kPlainSlot = 0, kNewSlot = 1, kSelectedSlot = 2 };
    enum LetterColour { kGrey = 0, kGreen = 1, kWhite = 2, kRed = 3, kLightRed = 4 };
    enum Effect { kArrival = 0, kReveal = 1 };

    // The pictures and the font every slot shares.
    struct Looks {
        Ref<Surface> slots[3];
        Ref<Surface> borders[2];
        Ref<Surface> fills[2];
        Ref<CanvasFont> font;
    };

    // The timing of an effect: a wait, a fade in, a hold and a fade out, each
    // left out when 0. A fade out of 0 keeps the effect until EndEffect.
    struct EffectTimes {
        int32_t waitMs = 0;
        int32_t fadeInMs = 0;
        int32_t holdMs = 0;
        int32_t fadeOutMs = 0;
    };

    // Reads "data" (built by class name, normally "LetterData"), "img" and
    // "clr" when a node is given; otherwise a new hidden letter.
    explicit LetterSlot(Property* node = nullptr);
    ~LetterSlot() override;

    // Writes "data", "img" and "clr".
    void Save(PropertyNode& node) const;

    // Fetches FONT_TEXT and the slot and effect pictures of "gamescene" into
    // the shared looks; the game scene calls it when it activates.
    static void LoadResources();
    // Lets go of the shared looks, so that a left game scene's section can
    // unload them.
    static void ReleaseResources();
    static Looks& SharedLooks();
    // The width and height of QUEUE_SLOT; 0 before it is loaded.
    static int32_t SlotWidth();
    static int32_t SlotHeight();
    // 0xRRGGBB of a colour index; grey for an index outside the table.
    static uint32_t ColourValue(int32_t index);

    LetterData& Letter() { return *letter_; }
    const LetterData& Letter() const { return *letter_; }
    int32_t ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int32_t index);
    int32_t ColourIndex() const { return colourIndex_; }
    void SetColourIndex(int32_t index);
    bool IsSelected() const { return selected_; }
    void SetSelected(bool selected) { selected_ = selected; }
    GameNode* EffectNode() const { return effect_.Get(); }

    // Redraws the letter node: hidden for a hidden letter, else the glyph in
    // the slot's colour. Flags the slot dirty.
    void Refresh();
    // Draws the slot picture and the letter at (x, y): the slot's part of
    // its word's cached picture.
    void DrawLook(Canvas& canvas, int32_t x, int32_t y) const;

    // Starts an effect over the slot once `after` (when given) has finished:
    // the slot's look is refreshed (the reveal unhides the letter first) and
    // the effect fades in with its sound, SOUND_LETTER_ARRIVES or
    // SOUND_LETTER_REVEALED. A running effect is ended first. The effect
    // node, whose own modifiers run the effect.
    GameNode* StartEffect(Effect effect, const EffectTimes& times, Modifier* after = nullptr);
    // Fades the effect node out (a 300 ms wait, then 1000 ms) and lets go of
    // it; the fade, or null when no effect runs.
    Ref<Modifier> EndEffect();

private:
    void PlaceSlotImage();

    int32_t imageIndex_ = kPlainSlot;
    int32_t colourIndex_ = kGrey;
    Ref<GameNode> effect_;
    Ref<Sprite> letterNode_;
    Ref<LetterData> letter_;
    bool selected_ = false;
};
