#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Surface.h"
#include "engine/scene/Sprite.h"
#include "game/words/LetterData.h"

class PropertyNode;

// One coal on screen: the coal picture of its letter's kind with the letter
// drawn on it in one of four coal fonts, plus the small animations the word
// bar plays on it and the timed coin coal that turns plain.
class LetterSprite : public Sprite {
    ENGINE_CLASS(LetterSprite, Sprite)

public:
    enum CoalFont { kFontNormal = 0, kFontSmall, kFontNew, kFontRed, kFontCount };
    static constexpr int kImageCount = 20;

    // The fonts and coal pictures every coal shares, by CoalFont and frame.
    struct Looks {
        Ref<BitmapFont> fonts[kFontCount];
        Ref<Surface> images[kImageCount];
    };

    // From a saved node: the sprite keys, the four flags and "letter" (built
    // by class name); a new default letter when the node has none.
    explicit LetterSprite(Property* node = nullptr);
    // A new coal for the letter (a new default one when null).
    LetterSprite(LetterData* letter, bool isNew);
    ~LetterSprite() override;

    // Writes "NewLetter", "WrongLetter", "LetterPopped", "MovedByMouse" and
    // the node "letter".
    void Save(PropertyNode& node) const;

    // Fetches the fonts and the 20 coal pictures of "gamescene"; the game
    // scene calls it when it activates.
    static void LoadResources();
    // Lets go of the shared fonts and pictures, so that a left game scene's
    // section can unload them.
    static void ReleaseResources();
    static Looks& SharedLooks();
    // The resource id of the coal picture of a frame: "COAL_NORMAL1" ... "COAL7_SMALL".
    static std::string ImageName(int frame);

    // Keeps the flash overlay cut like the coal and counts a timed coal down.
    void Update(int32_t elapsedMs) override;
    // Redraws the coal picture with its letter; a left-out letter shows nothing.
    void UpdateImage();
    // Ends the coal's animations and grows and fades it back to its full look
    // in 200 ms; with `blocking` the steps hold back what is added after them.
    void RestoreLook(bool blocking);
    // Waits, then fades the coal out in 400 ms and removes it.
    void Pop(int32_t delayMs);
    // Shows the letter in red over the coal for a moment; a second flash
    // restarts the first one's overlay.
    void Flash();
    // Fades the "new" colour of the letter into the normal one.
    void ClearNewFlag();

    CoalFont FontKind() const;
    // A centred sprite of one glyph of the font; null when the font lacks it
    // (or the character lies below the space, where glyph records begin).
    static Ref<Sprite> GlyphSprite(BitmapFont* font, uint8_t character);

    LetterData& Letter() { return *letter_; }
    const LetterData& Letter() const { return *letter_; }
    bool IsPopped() const { return popped_; }
    void SetPopped(bool popped) { popped_ = popped; }
    bool IsNew() const { return new_; }
    void SetNew(bool isNew) { new_ = isNew; }
    bool IsMovedByMouse() const { return movedByMouse_; }
    void SetMovedByMouse(bool moved) { movedByMouse_ = moved; }
    bool IsWrong() const { return wrong_; }
    void SetWrong(bool wrong) { wrong_ = wrong; }
    float HomeX() const { return homeX_; }
    float HomeY() const { return homeY_; }
    void SetHome(float x, float y) {
        homeX_ = x;
        homeY_ = y;
    }
    int32_t Countdown() const { return countdownMs_; }
    void SetCountdown(int32_t ms) { countdownMs_ = ms; }
    Sprite* FlashOverlay() const { return flash_.Get(); }

private:
    void FinishConstruction();
    // A centred sprite of the letter's glyph (the joker's letter when it has
    // one) in the given font; null when there is no glyph to show.
    Ref<Sprite> MakeGlyphSprite(CoalFont font) const;
    // Lays the sprite over the coal and fades it out over `fadeMs`, then removes it.
    void AddFadingOverlay(Sprite* overlay, int32_t fadeMs);
    void TurnPlain();

    Ref<LetterData> letter_;
    bool popped_ = false;
    bool new_ = false;
    bool movedByMouse_ = false;
    bool wrong_ = false;
    float homeX_ = 0.0f;
    float homeY_ = 0.0f;
    int32_t countdownMs_ = 0;
    Ref<Sprite> flash_;
};
