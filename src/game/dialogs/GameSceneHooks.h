#pragma once

class Dialog;
class Scene;

// What the game dialogs ask of the scenes, which live in a folder above
// them. The game scene pauses the running level while any dialog is open
// and forgets the open hint bubble when that closes; the menu stops and
// resumes levels. The application installs one implementation; without it
// the dialogs tell no one and no scene counts as the game or map scene.
class GameSceneHooks {
public:
    // Installs the hooks (null removes them); the caller keeps them alive
    // while installed.
    static void Install(GameSceneHooks* hooks);
    static GameSceneHooks* Installed();

    virtual bool IsGameScene(const Scene* scene) const = 0;
    virtual bool IsMapScene(const Scene* scene) const = 0;
    // The game scene records the dialog, pauses the level and disables its
    // buttons.
    virtual void OnDialogOpened(Scene* scene, Dialog* dialog) = 0;
    // Heard for every dialog that closes, whatever scene is current.
    virtual void OnDialogClosed(Dialog* dialog) = 0;
    // A level left through the menu: the map must not count it as played.
    virtual void OnLevelStopped() = 0;
    virtual void OpenTrophyScreen(Scene* scene) = 0;
    // A running level puts every letter back on its slot of the word bar.
    virtual void ArrangeLetters() = 0;
    // The selection scene greets the current player anew after a change of
    // player; other scenes ignore it.
    virtual void ShowWelcome(Scene* scene, bool animate) = 0;

protected:
    ~GameSceneHooks() = default;
};

// The scene the game's dialogs belong to now: the scene manager's current
// scene, or the target of a running transition; null without either.
Scene* CurrentDialogScene();
