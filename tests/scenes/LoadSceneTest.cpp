#include <filesystem>

#include "ScenesTestSupport.h"
#include "game/progress/KR2Player.h"
#include "engine/foundation/Players.h"
#include "engine/ui/Button.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/SceneTransition.h"
#include "game/dialogs/YesNoDialog.h"
#include "scenes/LoadScene.h"
#include "scenes/QuitQuestion.h"

namespace {

class LoadSceneTest : public ScenesTest {
protected:
    LoadSceneTest() {
        Players::Create("1", false);
        for (const auto& [id, text] : {std::pair{"TOOLTIP_FULLSCREEN_YES", L"go big"},
                                       std::pair{"TOOLTIP_FULLSCREEN_NO", L"stay small"}}) {
            Defines::Instance()->StoreText(Ref<PropertyValue>(PropertyValue::FromText(id, text, false)).Get());
        }
        UseDialogs(R"(<FadeBlackLabelTransition id="TRANSITION_SCENE_LOAD" time="100"/>)"
                   R"(<Dialog id="QUESTION" width="100" height="50"/>)"
                   R"(<YesNoDialog id="DIALOG_YESNO" width="100" height="50"><Vector id="components">)"
                   R"(<Label name="MESSAGE" font="FONT_TEXT" section="default"/><Button name="BUTTON_YES" image="KNOB" section="ui"/><Button name="BUTTON_NO" image="KNOB" section="ui"/>)"
                   R"(</Vector></YesNoDialog>)");
        const Ref<PropertyFile> file = ParseDefinitions(R"(<root><LoadScene id="SCENE_LOAD" loading_start_x="-200">
            <Vector id="scenecomponents">
              <Sprite name="PROGRESS_BAR" x="100" y="500" width="300" height="20"/>
              <Sprite name="LOADING_TEXT" x="100" y="530" width="10" height="10"/>
              <Sprite name="CLICK_TEXT" x="100" y="530" width="10" height="10" visible="false"/>
            </Vector></LoadScene></root>)");
        const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "SCENE_LOAD")));
        load_ = ObjectCast<LoadScene>(built.Get());
        manager_->AddScene("SCENE_LOAD", load_.Get());
        manager_->AddScene("SCENE_SELECTION", selection_.Get());
    }
    ~LoadSceneTest() override {
        FullScreenHandler::ReleaseDefault();
        Players::Free();
    }

    bool AtSelection() const {
        const Scene* current = manager_->GetCurrentScene();
        return current != nullptr && current != load_.Get() && manager_->GetNextScene() == nullptr &&
               (current == selection_.Get() || current == manager_->GetPendingTransition());
    }

    Ref<LoadScene> load_;
    Ref<LoggingScene> selection_ = MakeScene("SCENE_SELECTION");
};

TEST(LoadSceneBarTest, SlidesFromTheStartToItsPlaceAsLoadingProgresses) {
    const struct {
        double progress;
        double start;
        int32_t x;
    } cases[] = {
        {0.0, 0.0, -200},   {0.5, 0.0, -50},   {1.0, 0.0, 100}, {0.75, 0.5, -50},
        // Everything was loaded when the scene first looked: no room to divide by.
        {1.0, 1.0, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadScene::BarPosition(c.progress, c.start, -200, 100), c.x) << c.progress << " from " << c.start;
    }
}

TEST_F(LoadSceneTest, PlacesTheBarAtTheStartClippedToItsPlace) {
    QueueGated("preloading");
    manager_->RequestSwitch(load_.Get());
    manager_->Update(100);
    Sprite* bar = load_->GetProgressBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(load_->GetBarX(), 100);
    EXPECT_EQ(bar->GetX(), -200);
    ASSERT_TRUE(bar->GetClipRect().has_value());
    EXPECT_EQ(*bar->GetClipRect(), (Rect{100, 500, 300, 20}));
    OpenGate();
    manager_->Update(100);
    EXPECT_TRUE(load_->IsDone());
    EXPECT_EQ(bar->GetX(), 100);
    EXPECT_TRUE(load_->FindChild("CLICK_TEXT")->IsVisible());
    EXPECT_FALSE(load_->FindChild("LOADING_TEXT")->IsVisible());
}

TEST_F(LoadSceneTest, AClickDuringLoadingLeadsOnOnceLoadingIsDone) {
    QueueGated("preloading");
    manager_->RequestSwitch(load_.Get());
    manager_->Update(100);
    load_->OnLButtonUp(10, 10, 0);
    EXPECT_TRUE(load_->IsClickPending());
    RunFrames(100, 500, [] { return false; });
    EXPECT_EQ(manager_->GetCurrentScene(), load_.Get());
    OpenGate();
    const int32_t took = RunFrames(100, 5000, [&] { return AtSelection(); });
    EXPECT_TRUE(AtSelection());
    EXPECT_LE(took, 300);  // done, then the click, then the switch
    EXPECT_FALSE(load_->IsClickPending());
    EXPECT_EQ(Played(), std::vector<std::string>{"CLICK"});
}

TEST_F(LoadSceneTest, AsksTheFullScreenQuestionOnlyOnAFirstRunInAWindow) {
    const struct {
        bool player;
        bool fullScreen;
        bool asked;
    } cases[] = {{false, false, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.player << c.fullScreen);
        Players::Free();
        Players::Create("1", false);
        if (c.player) {
            Players::Instance()->Add(new KR2Player("Ann"));
        }
        window_->SetFullScreenFlag(c.fullScreen);
        const Ref<LoadScene> scene(new LoadScene(&Property::DummyNode()));
        QueueGated("late" + std::to_string(c.player) + std::to_string(c.fullScreen));
        manager_->RequestSwitch(scene.Get());
        RunFrames(100, 300, [] { return false; });
        EXPECT_EQ(scene->GetQuestion() != nullptr, c.asked);
        EXPECT_EQ(scene->IsDialogShown(LoadScene::kQuestionName), c.asked);
        if (c.asked) {
            const auto* question = ObjectCast<YesNoDialog>(scene->GetQuestion());
            ASSERT_NE(question, nullptr);
            EXPECT_EQ(question->GetYesButton()->GetToolTip(), std::optional<std::wstring>(L"go big"));
            EXPECT_EQ(question->GetNoButton()->GetToolTip(), std::optional<std::wstring>(L"stay small"));
        }
        OpenGate();
        gate_ = std::make_shared<std::atomic<bool>>(false);
    }
}

TEST_F(LoadSceneTest, AnsweringSwitchesTheDisplayAndRemovesTheQuestion) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        window_->SetFullScreenFlag(!yes);
        Dialog* question = load_->GetDialog("QUESTION", true, LoadScene::kQuestionName);
        ASSERT_NE(question, nullptr);
        load_->ShowDialog(question);
        (yes ? LoadScene::OnFullScreenYes : LoadScene::OnFullScreenNo)(load_.Get(), nullptr);
        EXPECT_EQ(window_->IsFullScreen(), yes);
        EXPECT_FALSE(load_->IsDialogShown(LoadScene::kQuestionName));
        EXPECT_EQ(load_->GetDialogMap().count(LoadScene::kQuestionName), 0u);
    }
}

TEST_F(LoadSceneTest, ShowsThePartnersItKnowsAndSkipsTheOthers) {
    const std::string folder = folder_.Path() + "/game";
    std::filesystem::create_directories(folder + "/media/properties");
    const std::string partners = R"(<root><Vector id="partners">
        <Sprite name="BADGE" x="700" y="550" width="40" height="20"/>
        <NoSuchClass name="GHOST"/>
        <Button name="LINK" x="10" y="550" width="40" height="20"/>
      </Vector></root>)";
    WriteBytes(folder + "/" + LoadScene::kPartnersFile, std::vector<uint8_t>(partners.begin(), partners.end()));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    manager_->RequestSwitch(load_.Get());
    manager_->Update(100);
    std::filesystem::current_path(before);
    EXPECT_NE(load_->FindChild("BADGE"), nullptr);
    EXPECT_EQ(load_->FindChild("GHOST"), nullptr);
    auto* link = ObjectCast<Button>(load_->FindChild("LINK"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(load_->GetListenerList()->Listeners().back(), static_cast<InputListener*>(link));
}

TEST_F(LoadSceneTest, ClosingTheWindowAsksTheQuitQuestion) {
    struct Asker : QuitQuestionAsker {
        Dialog* Ask(const std::string& questionId, const std::string&, void*, ControlCallback::Function,
                    Scene& scene) override {
            asked.push_back(questionId);
            return scene.GetDialog("QUESTION", true, questionId);
        }
        std::vector<std::string> asked;
    } asker;
    SetQuitQuestionAsker(&asker);
    manager_->RequestSwitch(load_.Get());
    manager_->Update(100);
    EXPECT_TRUE(manager_->RequestQuitOfCurrentScene());
    SetQuitQuestionAsker(nullptr);
    EXPECT_EQ(asker.asked, std::vector<std::string>{"TEXT_QUESTION_QUIT"});
}

}  // namespace
