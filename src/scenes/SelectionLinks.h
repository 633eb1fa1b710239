#pragma once

#include <cstdint>

class Scene;

// What the menu asks of the parts of the game that own the answer: the map
// scene's sections and return flag, the game scene's resume flag and the
// hint bubbles. The application installs one implementation; without it
// the menu logs what it could not ask and goes on.
class SelectionLinks {
public:
    static constexpr int32_t kClassicLockedHint = 42;

    // Installs the links (null removes them); the caller keeps them alive.
    static void Install(SelectionLinks* links);
    static SelectionLinks* Installed();

    // Queues the sections the map scene needs, once the scene being left
    // for the map has let go of its own.
    virtual void RequestMapSections() = 0;
    // The game scene reads the save game when it next activates.
    virtual void SetResumeSavegame() = 0;
    // A level left for the menu is no return to the map.
    virtual void ClearReturnFromGame() = 0;
    // Shows the hint centred in `scene`, whatever the player's hint setting.
    virtual void ShowHint(int32_t hintId, Scene* scene) = 0;

protected:
    ~SelectionLinks() = default;
};
