#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Section.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/ModifierRotate.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/Particle.h"
#include "engine/scene/ParticleEngine.h"
#include "engine/scene/ParticleMotion.h"
#include "engine/scene/SceneTestSupport.h"

namespace {

std::vector<GameNode*> Children(const GameNode& node) {
    std::vector<GameNode*> children;
    for (GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        children.push_back(child);
    }
    return children;
}

// Particle draws come from the run's shared generator, seeded here.
class ParticleTest : public testing::Test {
protected:
    void SetUp() override { RandomGenerator::SetGlobal(new RandomGenerator(2024, 0)); }
    void TearDown() override { RandomGenerator::SetGlobal(nullptr); }

    // An engine under root_, built from its keys and a template list.
    ParticleEngine& Engine(const std::string& keys,
                           const std::string& particles = "<Vector id=\"particles\"><Particle/></Vector>") {
        const Ref<PropertyFile> file =
            ParseDefinitions("<root><ParticleEngine id=\"e\" " + keys + ">" + particles + "</ParticleEngine></root>");
        const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "e")));
        auto* engine = ObjectCast<ParticleEngine>(built.Get());
        EXPECT_NE(engine, nullptr);
        root_->AddChild(engine);
        return *engine;
    }

    Ref<GameNode> root_{new GameNode};
    Ref<AnimationTree> tree_{new AnimationTree};
};

}  // namespace

TEST_F(ParticleTest, EmitsOneParticlePerIntervalCarryingTheRest) {
    ParticleEngine& engine = Engine("CoordinateSystem=\"relative\" ParticleInterval=\"40\" ParticleDuration=\"5000\"");
    std::vector<size_t> counts;
    for (int frame = 0; frame < 4; ++frame) {
        engine.Update(100);
        counts.push_back(Children(engine).size());
    }
    EXPECT_EQ(counts, (std::vector<size_t>{3, 5, 8, 10}));
}

TEST_F(ParticleTest, EmitsNothingWithoutAnIntervalOrTemplates) {
    // An interval of 0 or less would loop for ever; no templates leave nothing to draw.
    const std::pair<std::string, std::string> cases[] = {
        {"ParticleInterval=\"0\"", "<Vector id=\"particles\"><Particle/></Vector>"},
        {"ParticleInterval=\"-5\"", "<Vector id=\"particles\"><Particle/></Vector>"},
        {"ParticleInterval=\"40\"", ""},
        {"ParticleInterval=\"40\"", "<Vector id=\"particles\"><GameNode/></Vector>"},
    };
    for (const auto& [keys, particles] : cases) {
        ParticleEngine& engine = Engine("CoordinateSystem=\"relative\" " + keys, particles);
        engine.Update(100);
        EXPECT_TRUE(Children(engine).empty()) << keys << particles;
    }
}

TEST_F(ParticleTest, ScreenParticlesFollowTheEngineNewestFirst) {
    ParticleEngine& engine = Engine("x=\"10\" y=\"20\" ParticleInterval=\"100\" ParticleDuration=\"5000\"");
    auto* after = new GameNode;
    root_->AddChild(after);
    engine.Update(100);
    engine.Update(100);
    const std::vector<GameNode*> order = Children(*root_);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], &engine);
    EXPECT_EQ(order[3], after);
    EXPECT_EQ(order[1]->GetX(), 10);  // the emission area (0, 0, 1, 1) moved by the engine's position
    EXPECT_EQ(order[1]->GetY(), 20);
    EXPECT_EQ(ObjectCast<Particle>(order[1])->GetLife(), 5000);

    // Relative particles are the engine's children, at its origin.
    ParticleEngine& relative = Engine("x=\"10\" CoordinateSystem=\"relative\" ParticleInterval=\"100\"");
    relative.SetEmissionArea(2, 3, 1, 1);
    relative.Update(100);
    ASSERT_EQ(Children(relative).size(), 1u);
    EXPECT_EQ(Children(relative)[0]->GetX(), 2);
    EXPECT_EQ(Children(relative)[0]->GetY(), 3);
}

TEST_F(ParticleTest, StartSpeedsAreDrawnInHundredthsOverTheRoundedRange) {
    ParticleEngine& engine = Engine(
        "CoordinateSystem=\"relative\" ParticleInterval=\"1\" MinStartSpeedX=\"0.5\" MaxStartSpeedX=\"1.2\" "
        "MinStartSpeedY=\"-2\" MaxStartSpeedY=\"-2\" FadeInDuration=\"-1\" FadeOutDuration=\"-1\"");
    EXPECT_EQ(engine.GetSpeedRangeX(), 100);
    EXPECT_EQ(engine.GetSpeedRangeY(), 1);  // an empty range counts as 1
    engine.SetAnimationEntry(tree_.Get());
    engine.Update(300);
    float lowest = 10.0f;
    float highest = -10.0f;
    for (Modifier* entry = tree_->GetFirstChild(); entry != nullptr; entry = entry->GetNextSibling()) {
        const auto* motion = ObjectCast<ParticleMotion>(entry);
        ASSERT_NE(motion, nullptr);
        const float hundredths = (motion->GetVelocity().x - 0.5f) * 100.0f;
        EXPECT_NEAR(hundredths, std::round(hundredths), 1e-3);
        lowest = std::min(lowest, motion->GetVelocity().x);
        highest = std::max(highest, motion->GetVelocity().x);
        EXPECT_EQ(motion->GetVelocity().y, -2.0f);
    }
    EXPECT_FLOAT_EQ(lowest, 0.5f);
    EXPECT_FLOAT_EQ(highest, 1.49f);
}

TEST_F(ParticleTest, EffectsWaitBehindTheMotionUnderTheAnimationEntry) {
    ParticleEngine& engine = Engine(
        "CoordinateSystem=\"relative\" ParticleInterval=\"100\" ScaleStartFactor=\"1\" ScaleEndFactor=\"2\" "
        "FadeInStartTime=\"5\" FadeInDuration=\"100\" FadeOutStartTime=\"900\" FadeOutDuration=\"100\" "
        "RotationDuration=\"200\" RotationSpeed=\"0.01\"");
    engine.SetAnimationEntry(tree_.Get());
    engine.Update(100);
    std::vector<std::string> chain;
    for (Modifier* entry = tree_->GetFirstChild(); entry != nullptr; entry = entry->GetNextSibling()) {
        std::string link = ObjectCast<ParticleMotion>(entry) != nullptr ? "motion"
                           : ObjectCast<ModifierWait>(entry) != nullptr ? "wait"
                                                                         : "?";
        const Modifier* effect = entry->GetFirstChild();
        if (ObjectCast<ModifierRotate>(effect) != nullptr) {
            link += ">spin";
        } else if (ObjectCast<ModifierZoom>(effect) != nullptr) {
            link += ">scale";
        } else if (ObjectCast<ModifierValue>(effect) != nullptr) {
            link += effect->HasOption(Modifier::kRemoveNodeAtEnd) ? ">fadeout" : ">fadein";
        }
        EXPECT_EQ(entry->GetTarget(), Children(engine)[0]);
        chain.push_back(link);
    }
    EXPECT_EQ(chain, (std::vector<std::string>{"motion", "wait>spin", "wait>fadeout", "wait>fadein", "wait>scale"}));
    EXPECT_TRUE(tree_->GetFirstChild()->HasOption(Modifier::kStopEnclosingGroup));
}

TEST_F(ParticleTest, TheDefaultFadeOutRemovesAParticleAtOnce) {
    for (const bool defaults : {true, false}) {
        ParticleEngine& engine = Engine(std::string("CoordinateSystem=\"relative\" ParticleInterval=\"100\" "
                                                    "ParticleDuration=\"5000\"") +
                                        (defaults ? "" : " FadeOutDuration=\"-1\""));
        engine.SetAnimationEntry(tree_.Get());
        engine.Update(100);
        tree_->UpdateTree(16);
        tree_->DeleteFinished();
        EXPECT_EQ(Children(engine)[0]->IsRemoved(), defaults);
    }
}

TEST_F(ParticleTest, AFiniteEngineCallsBackOnceAfterItsLastParticleAndGoes) {
    int calls = 0;
    ParticleEngine& engine =
        Engine("CoordinateSystem=\"relative\" OverallDuration=\"100\" ParticleInterval=\"50\" "
               "ParticleDuration=\"200\"");
    engine.SetEndCallback(&calls, [](void* context, ParticleEngine&) { ++*static_cast<int*>(context); });
    int frames = 0;
    while (!engine.IsRemoved() && frames < 100) {
        engine.Update(50);
        ++frames;
    }
    // Remaining 100, 50, 0 emit; -50 stops; the callback waits until below -200.
    EXPECT_EQ(frames, 8);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Children(engine).size(), 3u);
    engine.Update(50);
    EXPECT_EQ(calls, 1);

    int endlessCalls = 0;
    ParticleEngine& endless = Engine("CoordinateSystem=\"relative\" OverallDuration=\"0\" ParticleInterval=\"50\"");
    endless.SetEndCallback(&endlessCalls, [](void* context, ParticleEngine&) { ++*static_cast<int*>(context); });
    for (int frame = 0; frame < 200; ++frame) {
        endless.Update(50);
    }
    EXPECT_TRUE(endless.IsEmitting());
    EXPECT_FALSE(endless.IsRemoved());
    EXPECT_EQ(endlessCalls, 0);
}

TEST_F(ParticleTest, TheStartDelayHoldsEverythingBack) {
    ParticleEngine& engine =
        Engine("CoordinateSystem=\"relative\" OverallStartTime=\"150\" ParticleInterval=\"100\" "
               "ParticleDuration=\"5000\"");
    engine.Update(100);
    engine.Update(100);
    EXPECT_TRUE(Children(engine).empty());
    engine.Update(100);
    EXPECT_EQ(Children(engine).size(), 1u);
}

TEST(ParticleLifeTest, AParticleFlagsItselfOnceAtTheEndOfItsLife) {
    const Ref<Particle> particle(new Particle);
    particle->SetLife(100);
    particle->Update(60);
    EXPECT_FALSE(particle->IsRemoved());
    particle->Update(40);
    EXPECT_TRUE(particle->IsRemoved());
    EXPECT_EQ(particle->GetAge(), std::numeric_limits<int32_t>::min());
}

TEST(ParticleMotionTest, StepsUnderGravityAndFrictionWithoutReversing) {
    const Ref<GameNode> node(new GameNode);
    auto* motion = new ParticleMotion(PointF{10.0f, 20.0f}, PointF{0.0f, 1.0f}, PointF{0.5f, 0.0f}, PointF{2.0f, 0.0f});
    node->AddModifier(motion);
    motion->Update(10);
    // x: speed 2 - 10 x 0.5 x 0.02 = 1.9, moved 1.9 x 10 x 0.02; y: speed 10 x 1 x 0.02.
    EXPECT_FLOAT_EQ(motion->GetVelocity().x, 1.9f);
    EXPECT_FLOAT_EQ(motion->GetVelocity().y, 0.2f);
    EXPECT_FLOAT_EQ(motion->GetPosition().x, 10.38f);
    EXPECT_FLOAT_EQ(motion->GetPosition().y, 20.04f);
    EXPECT_EQ(node->GetX(), 10);
    for (int step = 0; step < 30; ++step) {
        motion->Update(10);
    }
    EXPECT_EQ(motion->GetVelocity().x, 0.0f);  // friction stops it and holds it
    EXPECT_FALSE(motion->IsFinished());
    EXPECT_EQ(node->GetY(), RoundToInt(motion->GetPosition().y));
}

// Masks and silhouettes come from pictures in a loaded section.
class ParticlePictureTest : public ParticleTest {
protected:
    void SetUp() override {
        ParticleTest::SetUp();
        auto* section = new Section("fx", false);
        Ref<MemorySurface> mask = FilledSurface(4, 4, 0x80FFFFFF);
        mask->Pixels32()[mask->PixelIndex(3, 1)] = 0xFFFFFFFF;
        section->AddResource("MASK", new HeldResource(mask.Get()));
        section->AddResource("EMPTY", new HeldResource(Ref<MemorySurface>(new MemorySurface(0, 0)).Get()));
        section->AddResource("GLOW", new HeldResource(FilledSurface(2, 1, 0x40123456).Get()));
        sections_.Load(section);
    }

    RunningSectionManager sections_;
};

TEST_F(ParticlePictureTest, MaskedParticlesStartOnOpaqueEnoughPixels) {
    struct Case {
        const char* keys;
        size_t emitted;
        bool moves;
        int32_t x;  // start point, relative to the mask's centre
        int32_t y;
    };
    const Case cases[] = {
        {"mask=\"MASK\" section=\"fx\"", 4, true, 1, -1},                              // only (3, 1) qualifies
        {"mask=\"MASK\" section=\"fx\" AlphaMaskTreshold=\"128\"", 4, true, 99, 99},  // any pixel
        {"mask=\"MASK\" section=\"fx\" AlphaMaskTreshold=\"256\"", 4, false, 0, 0},   // none: the template's place
        {"mask=\"EMPTY\" section=\"fx\"", 0, false, 0, 0},                             // a mask of size 0
    };
    for (const Case& c : cases) {
        ParticleEngine& engine = Engine(std::string("CoordinateSystem=\"relative\" ParticleInterval=\"25\" "
                                                    "ParticleDuration=\"5000\" FadeOutDuration=\"-1\" ") +
                                        c.keys);
        engine.SetAnimationEntry(tree_.Get());
        engine.Update(100);
        const std::vector<GameNode*> particles = Children(engine);
        EXPECT_EQ(particles.size(), c.emitted) << c.keys;
        for (const GameNode* particle : particles) {
            EXPECT_EQ(particle->GetAnimations().empty(), !c.moves) << c.keys;
            if (c.x != 99) {
                EXPECT_EQ(particle->GetX(), c.x) << c.keys;
                EXPECT_EQ(particle->GetY(), c.y) << c.keys;
            } else {
                EXPECT_TRUE(particle->GetX() >= -2 && particle->GetX() <= 1) << c.keys;
            }
        }
    }
}

TEST_F(ParticlePictureTest, FillMaskMakesASilhouetteInTheSpritesColour) {
    const Ref<PropertyFile> file = ParseDefinitions(
        "<root><AdditiveParticle id=\"p\" image=\"GLOW\" section=\"fx\" color=\"#FF8000\" fillmask=\"true\"/>"
        "<Particle id=\"q\" image=\"GLOW\" section=\"fx\"/></root>");
    const Ref<Object> filled(ClassFactory::Instance().Create(Property::Child(file.Get(), "p")));
    const Ref<Object> plain(ClassFactory::Instance().Create(Property::Child(file.Get(), "q")));
    auto* silhouette = ObjectCast<AdditiveParticle>(filled.Get());
    ASSERT_NE(silhouette, nullptr);
    EXPECT_EQ(PixelAt(*silhouette->GetImage(), 1, 0), 0x40FF8000u);
    EXPECT_EQ(PixelAt(*ObjectCast<Particle>(plain.Get())->GetImage(), 1, 0), 0x40123456u);  // the picture is untouched
}
