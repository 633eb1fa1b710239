#pragma once

#include <cstdint>
#include <string>

#include "engine/media/Rect.h"

class FurnacePosition;
class GameNode;
class Modifier;
class WordList;
class WordQueue;

// What the word bar asks of the game screen and the game mode around it. The
// game scene implements it; tests use fixed answers.
class WordBarScene {
public:
    virtual ~WordBarScene() = default;

    // The ticket's game type (0 to 7).
    virtual int GameType() const = 0;
    // The rectangle, in screen coordinates, outside which coals are not drawn.
    virtual Rect CoalArea() const = 0;
    // The plain node over the play field that carries the submission's layers.
    virtual GameNode* EffectLayer() const = 0;
    // Null while no list is loaded; a shuffle then takes its first new order.
    virtual const WordList* Words() const = 0;
    // The queue whose current word the slot-machine bar spells; may be null.
    virtual WordQueue* Queue() const = 0;

    // The game mode's wrong-character time, in ms.
    virtual void SetWrongCharTime(int32_t ms) = 0;
    // Shows the timer of a stop coal once `flight` (the coal's way to the
    // furnace, `flightMs` from the submission) has ended.
    virtual void ShowTimer(Modifier* flight, int32_t flightMs) = 0;

    // The one-shot effects, at (x, y) of the parent.
    virtual void SpawnBonusSpark(GameNode* parent, int32_t x, int32_t y, int32_t delayMs) = 0;
    virtual void SpawnCoalSparks(GameNode* parent, int32_t x, int32_t y) = 0;
    // One coin at (x, y) of the effect layer, shown once `waitFor` has finished.
    virtual void SpawnCoin(Modifier* waitFor, int32_t x, int32_t y, int32_t value, bool strong) = 0;
    // Started by the white copy of the word's last letter.
    virtual void ShowFloatingScore(GameNode* node) = 0;
    // Started by each flying letter of a long word.
    virtual void ThrowCoalScoreStars(GameNode* node) = 0;

    // Plays a sound resource of a section at full volume; nothing when it is missing.
    virtual void PlaySound(const std::string& id, const std::string& section);
};

// The answers the word bar works with; a missing scene gives game type 0, no
// coal area, no effects and no sounds.
struct WordBarHooks {
    WordBarScene* scene = nullptr;
    const FurnacePosition* furnace = nullptr;
};
