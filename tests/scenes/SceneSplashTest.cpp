#include "ScenesTestSupport.h"
#include "engine/scene/ThresholdSprite.h"
#include "scenes/FadeBlackLabelTransition.h"
#include "scenes/SceneSplash.h"

namespace {

const char* const kPictures[] = {"WHITE_CIRCLE", "Q_CIRCLE_BLACK", "BEAMER", "Q_GREEN", "Q_INSIDE", "BORDER_BLACK",
                                 "QUELT", "R", "BEAMER_SMALL"};
const char* const kMasks[] = {"BORDER_WHITE_MASK", "Q_GREEN_MASK", "Q_CIRCLE_BLACK_MASK", "Q_INSIDE_MASK",
                              "BORDER_BLACK_MASK", "QUELT_MASK"};

// Every threshold layer below the node.
void CollectLayers(GameNode& node, std::vector<ThresholdSprite*>& layers) {
    for (GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        if (auto* layer = ObjectCast<ThresholdSprite>(child)) {
            layers.push_back(layer);
        }
        CollectLayers(*child, layers);
    }
}

class SceneSplashTest : public ScenesTest {
protected:
    SceneSplashTest() {
        auto* section = new Section("splash", false);
        for (const char* name : kPictures) {
            section->AddResource(name, new HeldResource(FilledSurface(8, 8, 0xFF336699).Get()));
        }
        // Red rises across the mask, so the reveal sweeps from left to right.
        for (const char* name : kMasks) {
            const Ref<MemorySurface> mask = FilledSurface(8, 8, 0xFF000000);
            for (int32_t y = 0; y < 8; ++y) {
                for (int32_t x = 0; x < 8; ++x) {
                    mask->Pixels32()[mask->PixelIndex(x, y)] = 0xFF000000u | static_cast<uint32_t>(x * 30) << 16;
                }
            }
            section->AddResource(name, new HeldResource(mask.Get()));
        }
        section->AddResource("SOUND_QUELT_SPLASH", new HeldResource(SampleNamed("CLICK").Get()));
        section->AddResource("SOUND_QUELT", new HeldResource(SampleNamed("ON").Get()));
        Load(section);
        UseDialogs(R"(<FadeBlackLabelTransition id="TRANSITION_SPLASH" time="100"/>)");
        const Ref<PropertyFile> file = ParseDefinitions(R"(<root><SceneSplash id="SCENE_SPLASH"/></root>)");
        const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "SCENE_SPLASH")));
        splash_ = ObjectCast<SceneSplash>(built.Get());
        manager_->AddScene("SCENE_SPLASH", splash_.Get());
        manager_->AddScene("SCENE_LOAD", load_.Get());
        Played();
    }

    bool HandedOver() const {
        return manager_->GetCurrentScene() != nullptr && manager_->GetCurrentScene() != splash_.Get();
    }

    Ref<SceneSplash> splash_;
    Ref<LoggingScene> load_ = MakeScene("SCENE_LOAD");
};

TEST_F(SceneSplashTest, HandsOverAtTheLaterOfTheAnimationsEndAndPreloading) {
    for (const bool preloadingLate : {false, true}) {
        SCOPED_TRACE(preloadingLate);
        if (preloadingLate) {
            QueueGated("preloading");
        }
        manager_->RequestSwitch(splash_.Get());
        int32_t doneAt = -1;
        const int32_t handedAt = RunFrames(20, 12000, [&] { return HandedOver(); }, [&](int32_t now) {
            if (doneAt < 0 && splash_->IsAnimationDone()) {
                doneAt = now;
            }
            if (now == 9000) {
                OpenGate();
            }
        });
        ASSERT_TRUE(HandedOver());
        // A little over 6.8 s of timeline.
        EXPECT_GE(doneAt, 6800);
        EXPECT_LE(doneAt, 7200);
        // The switch is asked for in the next update and made in the one after.
        EXPECT_EQ(handedAt, preloadingLate ? 9040 : doneAt + 40);
        EXPECT_EQ(ObjectCast<FadeBlackLabelTransition>(manager_->GetCurrentScene()) != nullptr, true);
        std::vector<ThresholdSprite*> layers;
        CollectLayers(*splash_->GetRootNode(), layers);
        EXPECT_EQ(layers.size(), 6u);
        for (const ThresholdSprite* layer : layers) {
            EXPECT_FLOAT_EQ(layer->GetThreshold(), 1.0f);
        }
        EXPECT_EQ(Played(), (std::vector<std::string>{"CLICK", "ON"}));
        if (!preloadingLate) {
            // Run once more from the start, waiting for "preloading" this time.
            SceneManager::ReleaseInstance();
            manager_ = SceneManager::Create();
            splash_ = new SceneSplash(&Property::DummyNode());
            manager_->AddScene("SCENE_SPLASH", splash_.Get());
            manager_->AddScene("SCENE_LOAD", load_.Get());
        }
    }
}

}  // namespace
