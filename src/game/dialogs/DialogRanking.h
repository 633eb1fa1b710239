#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "game/dialogs/KR2Dialog.h"

class AnimationTree;
class Button;
class Label;
class Scene;
class Sprite;

// The celebration of a new rank over a frozen, darkened picture of the
// scene: the rank's big star with its reward grows into place, rings of
// stars burst out, a flash passes, the texts fade in and the OK button
// slides up. The scene it hides is shown again however the dialog closes.
class DialogRanking : public KR2Dialog {
    ENGINE_CLASS(DialogRanking, KR2Dialog)

public:
    static constexpr int32_t kTopRankTrophy = 21;
    static constexpr int32_t kStarFrames = 5;
    // Where the star stands, centred.
    static constexpr int32_t kStarX = 400;
    static constexpr int32_t kStarY = 346;

    explicit DialogRanking(Property* definition);

    // Opens the dialog in the current scene with its reveal running.
    static void Show();
    void PlayRewardAnimation();
    static int32_t OnOkClicked(void* dialog, GameNode* sender);
    void OnHide() override;

    // The star's five stacked frames with the reward picture drawn at
    // (aX, aY) of each; widened on both sides when the picture overhangs.
    static Ref<Surface> ComposeStar(Surface& star, Surface* reward, int32_t aX, int32_t aY);

    void SetAnimationRoot(AnimationTree* root);
    int32_t GetRank() const { return rank_; }
    int32_t GetReward() const { return reward_; }
    Sprite* GetStarSprite() const { return starSprite_.Get(); }
    Sprite* GetFlashSprite() const { return flashSprite_.Get(); }

private:
    void FreezeScene();
    void RestoreScene();

    int32_t rank_ = 0;
    int32_t reward_ = -1;
    Ref<AnimationTree> animationRoot_;
    Ref<Sprite> flashSprite_;
    Ref<Sprite> starSprite_;
    Button* okButton_ = nullptr;
    GameNode* wonLabel_ = nullptr;
    GameNode* barNode_ = nullptr;
    Label* rewardLabel_ = nullptr;
    Label* rankNameLabel_ = nullptr;
    GameNode* rankTextLabel_ = nullptr;
    // The scene hidden behind the frozen picture, until shown again. Not
    // counted: the scene owns this dialog and outlives it.
    Scene* hiddenScene_ = nullptr;
    // The star's endless sparkle, stopped when the dialog goes.
    Ref<Modifier> sparkle_;
};
