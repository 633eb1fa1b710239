#pragma once

class GameNode;

// Where the word bar throws the coals of an accepted word: the furnace of the
// player's train. The furnace implements it; tests use a fixed node.
class FurnacePosition {
public:
    virtual ~FurnacePosition() = default;
    // The node the coals fly to (the furnace's coal target); its screen
    // position is its own position plus those of its ancestors. Null while no
    // furnace is on show: the coals then fly to where they stand.
    virtual GameNode* CoalTarget() const = 0;
};
