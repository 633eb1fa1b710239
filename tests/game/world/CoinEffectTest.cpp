#include <string>
#include <vector>

#include "EffectsFixture.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierProximityShrink.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "game/constants/GameConstants.h"
#include "game/world/CoinEffect.h"

namespace {

// Pull constants that bring a coin from the middle of the screen to the
// counter within about a second.
class CoinEffectTest : public EffectsFixture {
protected:
    CoinEffectTest() {
        SLOT_INIT_TIME = 100;
        SLOT_PULL_SPEED = 6000.0f;
        SLOT_PULL_RESISTANCE = 1500.0f;
        SLOT_PULL_MAX_SPEED = 1500.0f;
    }
    ~CoinEffectTest() override {
        SLOT_INIT_TIME = 0;
        SLOT_PULL_SPEED = SLOT_PULL_RESISTANCE = SLOT_PULL_MAX_SPEED = 0.0f;
    }
};

TEST_F(CoinEffectTest, NothingShowsUntilTheAwaitedModifierAndTheDelayHaveRun) {
    Ref<GameNode> holder(new GameNode());
    root->AddChild(holder.Get());
    Modifier* awaited = holder->AddModifier(new ModifierWait(300));
    const Ref<Sprite> coin(SpawnCoins(awaited, 200, 300, 5, false, 200));
    ASSERT_TRUE(coin);
    EXPECT_EQ(coin->GetY(), 280);
    EXPECT_EQ(coin->GetColor(), 5);
    Run(480);
    EXPECT_EQ(coin->GetAlpha(), 0);
    EXPECT_EQ(coin->GetCurrentFrame(), 0);
    EXPECT_EQ(coin->GetX(), 200);
    Run(100);
    EXPECT_GT(coin->GetAlpha(), 0);
}

template <class T>
char Letter(const Modifier& modifier, char letter) {
    return ObjectCast<T>(&modifier) != nullptr ? letter : '?';
}

// The spin, the sound and the fade start together: none of them blocks, so
// the coin is heard as it appears, not when it arrives.
TEST_F(CoinEffectTest, TheSoundStartsWithTheFadeIn) {
    const Ref<Sprite> coin(SpawnCoins(nullptr, 200, 300, 1, false, 50));
    ASSERT_TRUE(coin);
    const std::vector<char (*)(const Modifier&)> expected = {
        [](const Modifier& m) { return Letter<ModifierWait>(m, 'W'); },
        [](const Modifier& m) { return Letter<ModifierFrame>(m, 'F'); },
        [](const Modifier& m) { return Letter<ModifierSound>(m, 'S'); },
        [](const Modifier& m) { return Letter<ModifierValue>(m, 'V'); },
        [](const Modifier& m) { return Letter<ModifierWait>(m, 'W'); },
        [](const Modifier& m) { return Letter<ModifierProximityShrink>(m, 'P'); },
        [](const Modifier& m) { return Letter<ModifierMover>(m, 'M'); },
        [](const Modifier& m) { return Letter<ModifierCallback>(m, 'C'); },
    };
    const std::vector<Ref<Modifier>>& modifiers = coin->GetModifiers();
    ASSERT_EQ(modifiers.size(), expected.size());
    std::string kinds;
    std::string blocking;
    for (size_t i = 0; i < modifiers.size(); ++i) {
        kinds += expected[i](*modifiers[i]);
        blocking += modifiers[i]->HasOption(Modifier::kBlockFollowing) ? 'b' : '-';
    }
    EXPECT_EQ(kinds, "WFSVWPMC");
    EXPECT_EQ(blocking, "b---b-b-");
}

TEST_F(CoinEffectTest, CoinsAreCountedInFlightUntilTheyReachTheCounter) {
    const struct {
        int32_t value;
        bool strong;
    } cases[] = {{3, false}, {0, true}};
    for (const auto& c : cases) {
        counterRefreshes = 0;
        const Ref<Sprite> coin(SpawnCoins(nullptr, 200, 300, c.value, c.strong, 0));
        ASSERT_TRUE(coin);
        EXPECT_EQ(CoinsInFlight(), c.value);
        Run(3000);
        EXPECT_TRUE(Gone(*coin)) << c.value;
        EXPECT_EQ(counterRefreshes, 1) << c.value;
        EXPECT_EQ(CoinsInFlight(), 0) << c.value;
        EXPECT_LT(coin->GetScale(), 1.0f);  // shrunk near the counter
    }
}

TEST_F(CoinEffectTest, NoCoinWithoutTheGameScene) {
    Install(nullptr);
    EXPECT_EQ(SpawnCoins(nullptr, 200, 300, 3, false, 0), nullptr);
    EXPECT_EQ(EffectsContext::Current().CoinsInFlight(), 0);
    Install(this);
}

}  // namespace
