#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/foundation/Section.h"
#include "engine/media/SoundManager.h"
#include "engine/media/SoundSample.h"
#include "platform/SoundMixer.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/HeadlessWindow.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "platform/RunOptions.h"
#include "platform/Time.h"
#include "platform/Window.h"
#include "engine/foundation/BoundedWait.h"
#include "scenes/QuitQuestion.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

// Answers with a plain dialog from the table and notes what it was asked.
class RecordingAsker : public QuitQuestionAsker {
public:
    Dialog* Ask(const std::string& questionId, const std::string& headerId, void*,
                ControlCallback::Function yesFunction, Scene& scene) override {
        asked.push_back(questionId + " / " + headerId);
        yes = yesFunction;
        return scene.GetDialog("DIALOG_QUESTION", true, questionId);
    }
    std::vector<std::string> asked;
    ControlCallback::Function yes = nullptr;
};

// Whether a quit message with exit code 0 waits; the queue is emptied.
bool QuitPosted() {
    bool quit = false;
    platform::Message message;
    while (platform::PeekMessage(message)) {
        quit = quit || (message.message == platform::WM_QUIT && message.wParam == 0);
    }
    return quit;
}

class QuitQuestionTest : public testing::Test {
protected:
    QuitQuestionTest() {
        const std::string text = R"(<root><Node id="dialogs"><Dialog id="DIALOG_QUESTION"/></Node></root>)";
        const std::string path = folder_.Path() + "/dialogs.xml";
        WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
        DialogTable::Create(path);
        SetQuitQuestionAsker(&asker_);
        manager_->RequestSwitch(a_.Get());
        manager_->Update(16);
    }
    ~QuitQuestionTest() override {
        SetQuitQuestionAsker(nullptr);
        SceneManager::ReleaseInstance();
        DialogTable::ReleaseInstance();
        QuitPosted();
    }

    Ref<Scene> MakeScene(const std::string& name) {
        definitions_.push_back(ParseDefinitions("<root><Scene id=\"" + name + "\"/></root>"));
        return Ref<Scene>(new Scene(Property::Child(definitions_.back().Get(), name)));
    }

    // The section "dialogs", loaded.
    void LoadDialogs() const {
        auto* section = new Section("dialogs", false);
        section->AddResource("ANY", new HeldResource(new Object));
        sections_.Load(section);
    }

    HeadlessWindow window_;
    TempFolder folder_;
    RunningSectionManager sections_;
    RecordingAsker asker_;
    std::vector<Ref<PropertyFile>> definitions_;
    SceneManager* manager_ = SceneManager::Create();
    Ref<Scene> a_ = MakeScene("A");
    Ref<Scene> b_ = MakeScene("B");
};

TEST_F(QuitQuestionTest, OneQuestionAtATimeInTheSceneThatIsOrIsAboutToBeShown) {
    LoadDialogs();
    AskQuit(nullptr, nullptr);
    AskQuit(nullptr, nullptr);  // the question is open: nothing more
    EXPECT_EQ(asker_.asked, std::vector<std::string>{"TEXT_QUESTION_QUIT / TEXT_QUIT_HEADER"});
    EXPECT_EQ(asker_.yes, &ConfirmQuit);
    EXPECT_TRUE(a_->IsDialogShown("TEXT_QUESTION_QUIT"));
    EXPECT_FALSE(QuitPosted());

    // During a transition the question goes to the scene it leads to.
    definitions_.push_back(ParseDefinitions(R"(<root><Scene id="T"/></root>)"));
    const Ref<SceneTransition> transition(new SceneTransition(Property::Child(definitions_.back().Get(), "T")));
    manager_->RequestSwitch(b_.Get(), transition.Get());
    manager_->Update(16);
    ASSERT_EQ(manager_->GetCurrentScene(), transition.Get());
    AskQuit(nullptr, nullptr);
    EXPECT_EQ(asker_.asked.size(), 2u);
    EXPECT_TRUE(b_->IsDialogShown("TEXT_QUESTION_QUIT"));
}

TEST_F(QuitQuestionTest, YesPlaysTheQuitSoundWhenItIsLoadedAndEndsTheRunEitherWay) {
    SoundManager::Create(44100, 0, 32, platform::AudioOutput::Null);
    const auto quitSoundsPlayed = [] {
        int played = 0;
        for (const std::string& line : platform::SoundMixer::Instance().TakeJournal()) {
            played += line.rfind("PlaySound sample=", 0) == 0 ? 1 : 0;
        }
        return played;
    };
    quitSoundsPlayed();
    ConfirmQuit(nullptr, nullptr);  // no section "default": no sound
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(quitSoundsPlayed(), 0);

    const std::string path = folder_.Path() + "/quit.wav";
    WriteBytes(path, MakeWav(1, 22050, 16, ConstantSamples(220, 1, 1000)));
    {
        Ref<SoundSample> sample(new SoundSample);
        sample->LoadSample(path, SoundSample::kModeFlags, LoadMode::File);
        auto* section = new Section("default", false);
        section->AddResource("SOUND_QUIT", new HeldResource(sample.Get()));
        sections_.Load(section);
    }
    ConfirmQuit(nullptr, nullptr);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(quitSoundsPlayed(), 1);
    SectionManager::Instance()->RemoveSection("default", true);
    SoundManager::Shutdown();
}

// On the virtual clock, so the time limit passes at once.
class QuitQuestionVirtualClockTest : public QuitQuestionTest {
protected:
    QuitQuestionVirtualClockTest() {
        setenv("WORDRAIL_CLOCK", "virtual", 1);
        platform::ReloadRunOptionsForTesting();
    }
    ~QuitQuestionVirtualClockTest() override {
        unsetenv("WORDRAIL_CLOCK");
        platform::ReloadRunOptionsForTesting();
    }
};

TEST_F(QuitQuestionVirtualClockTest, DialogsThatNeverLoadEndTheRunWithAMessageAfterTheLimit) {
    // Declared but never let load: the loader does no work.
    auto* section = new Section("dialogs", false);
    section->AddResource("ANY", new HeldResource(new Object));
    SectionManager::Instance()->AddSection(section);
    const uint32_t start = platform::TickCountMs();
    testing::internal::CaptureStderr();
    AskQuit(nullptr, nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_GE(platform::TicksElapsed(start, platform::TickCountMs()), kQuitDialogsWaitLimitMs);
    EXPECT_NE(said.find("dialogs could not be loaded"), std::string::npos) << said;
    EXPECT_TRUE(asker_.asked.empty());
    EXPECT_TRUE(QuitPosted());
}

TEST_F(QuitQuestionVirtualClockTest, ABoundedWaitEndsAtTheLimitOrWhenDone) {
    const uint32_t start = platform::TickCountMs();
    EXPECT_FALSE(WaitForLoading([] { return false; }, 500));
    const uint32_t waited = platform::TicksElapsed(start, platform::TickCountMs());
    EXPECT_GE(waited, 500u);
    EXPECT_LT(waited, 520u);
    int polls = 0;
    EXPECT_TRUE(WaitForLoading([&polls] { return ++polls == 3; }, 500));
    EXPECT_EQ(polls, 3);
}

}  // namespace
