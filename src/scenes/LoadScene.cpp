#include "scenes/LoadScene.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/GameWindow.h"
#include "engine/media/MusicStream.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundManager.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "game/dialogs/YesNoDialog.h"
#include "platform/Time.h"
#include "scenes/LoadingWait.h"
#include "scenes/QuitQuestion.h"

namespace {

const ClassRegistration registration("LoadScene", CreateFromProperty<LoadScene>);

constexpr uint32_t kMusicOpenMode = 306;
constexpr int32_t kHandCursor = 3;
constexpr int32_t kArrowCursor = 2;
constexpr uint32_t kWaitSleepMs = 100;

void SetCursor(int32_t shape) {
    if (GameWindow* window = GameWindow::Instance()) {
        window->SetCursorShape(shape);
    }
}

}  // namespace

LoadScene::LoadScene(Property* definition) : Scene(definition) {
    startX_ = Property::AsInt(Property::Child(definition, "loading_start_x"));
}

LoadScene::~LoadScene() = default;

void LoadScene::Build() {
    Scene::Build();
    StartMusic();
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->RemoveSection("splash", false);
    }
    if (SceneManager* manager = SceneManager::Instance()) {
        if (Scene* splash = manager->FindScene("SCENE_SPLASH")) {
            splash->SetRemoved(true);
        }
    }
    AddPartners();
    loadingText_ = ObjectCast<Sprite>(FindChild("LOADING_TEXT"));
    clickText_ = ObjectCast<Sprite>(FindChild("CLICK_TEXT"));
    progressBar_ = ObjectCast<Sprite>(FindChild("PROGRESS_BAR"));
    if (clickText_ != nullptr) {
        BindControl(clickText_, OnClickText, this);
    }
    if (progressBar_ != nullptr) {
        // The bar shows only what lies inside the place it was given.
        progressBar_->SetClipRect(progressBar_->GetX() - static_cast<int32_t>(progressBar_->GetAnchorX()),
                                  progressBar_->GetY() - static_cast<int32_t>(progressBar_->GetAnchorY()),
                                  progressBar_->GetWidth(), progressBar_->GetHeight());
        barX_ = progressBar_->GetX();
        progressBar_->SetX(startX_);
    }
}

void LoadScene::StartMusic() const {
    SoundManager* sound = SoundManager::Get();
    const Ref<Object> data = FindResourceData("MUSIC_SELECTION", "music");
    auto* stream = ObjectCast<MusicStream>(data.Get());
    if (sound == nullptr || stream == nullptr || !IsSoundAvailable() || sound->GetCurrentStream() == stream) {
        return;
    }
    if (sound->GetCurrentStream() != nullptr) {
        sound->CloseStreams();
    }
    sound->PlayStream(stream, kMusicOpenMode);
}

void LoadScene::AddPartners() {
    const Ref<PropertyFile> file(new PropertyFile);
    // No partners file is no partners, and nothing to report.
    if (!file->CanLoad(kPartnersFile) || !file->LoadOne(kPartnersFile)) {
        return;
    }
    Property* partners = Property::Child(file.Get(), "partners");
    for (const Ref<Property>& element : Property::VectorOf(partners).Items()) {
        // An unknown class builds nothing; the other partners still show.
        if (ClassFactory::Instance().Find(element->TypeName()) == nullptr) {
            ENGINE_LOG(1, "LoadScene: a partner names the unknown class \"%s\"; skipped", element->TypeName().c_str());
            continue;
        }
        const Ref<Object> built(ClassFactory::Instance().Create(element.Get()));
        auto* node = ObjectCast<GameNode>(built.Get());
        if (node == nullptr) {
            ENGINE_LOG(1, "LoadScene: a partner of class \"%s\" is not a picture; skipped", element->TypeName().c_str());
            continue;
        }
        AddChild(node);
        if (auto* button = ObjectCast<Button>(node)) {
            // Last in the list, so the partner's button hears the clicks first.
            GetListenerList()->RemoveListener(button);
            GetListenerList()->AddListener(button, false);
        }
    }
}

void LoadScene::Update(int32_t) {
    if (done_) {
        if (clickPending_) {
            clickPending_ = false;
            OnLButtonUp(0, 0, 0);
        }
        return;
    }
    AskFullScreenWhenDue();
    if (QueuedSectionsLoaded()) {
        OnLoaded();
        return;
    }
    platform::SleepMs(kWaitSleepMs);
    SectionManager* sections = SectionManager::Instance();
    const double progress = sections != nullptr ? sections->GetLoadProgress() : 1.0;
    if (startProgress_ < 0.0) {
        startProgress_ = progress;
    }
    if (progressBar_ != nullptr) {
        progressBar_->SetX(BarPosition(progress, startProgress_, startX_, barX_));
    }
}

int32_t LoadScene::BarPosition(double progress, double startProgress, int32_t startX, int32_t barX) {
    const double room = 1.0 - startProgress;
    if (!(room > 0.0)) {
        return barX;
    }
    return startX + TruncateToInt((progress - startProgress) / room * (static_cast<double>(barX) - startX));
}

void LoadScene::AskFullScreenWhenDue() {
    if (question_) {
        return;
    }
    const Players* players = Players::Instance();
    const GameWindow* window = GameWindow::Instance();
    SectionManager* sections = SectionManager::Instance();
    if (players == nullptr || !players->GetPlayers().empty() || window == nullptr || window->IsFullScreen() ||
        sections == nullptr || sections->RequestSection("default")) {
        return;
    }
    // The scene runs its update only while it is the current one.
    YesNoDialog* question = YesNoDialog::Ask(kQuestionName, "TEXT_DIALOG_FULLSCREEN_HEADER", this, OnFullScreenYes,
                                             this, OnFullScreenNo, this);
    if (question == nullptr) {
        return;
    }
    question_ = question;
    if (Button* yes = question->GetYesButton()) {
        yes->SetToolTip(LookUpText("TOOLTIP_FULLSCREEN_YES"));
    }
    if (Button* no = question->GetNoButton()) {
        no->SetToolTip(LookUpText("TOOLTIP_FULLSCREEN_NO"));
    }
    ShowDialog(question);
}

void LoadScene::OnLoaded() {
    done_ = true;
    SetCursor(kHandCursor);
    if (progressBar_ != nullptr) {
        progressBar_->SetX(barX_);
    }
    if (loadingText_ != nullptr) {
        loadingText_->SetVisible(false);
    }
    if (clickText_ != nullptr) {
        clickText_->SetVisible(true);
        const ModifierPulse::Timing timing{300, 600, 0, 300};
        const Ref<Modifier> pulse(new ModifierPulse(255, 128, timing, -1));
        clickText_->AddModifier(pulse.Get());
    }
}

bool LoadScene::OnLButtonUp(int32_t, int32_t, uint32_t) {
    if (!done_) {
        clickPending_ = true;
        return false;
    }
    if (FullScreenHandler* handler = FullScreenHandler::CreateDefault()) {
        handler->SetPosition(800, 0);
    }
    PlayControlSound("SOUND_BUTTON", "default");
    SetCursor(kArrowCursor);
    SceneManager* manager = SceneManager::Instance();
    const DialogTable* table = DialogTable::Instance();
    if (manager != nullptr && table != nullptr) {
        const Ref<Object> built(table->CreateDialog("TRANSITION_SCENE_LOAD"));
        manager->RequestSwitch(manager->FindScene("SCENE_SELECTION"), ObjectCast<SceneTransition>(built.Get()));
    }
    return false;
}

void LoadScene::RequestQuit() { AskQuit(nullptr, nullptr); }

int32_t LoadScene::OnClickText(void* scene, GameNode*) {
    static_cast<LoadScene*>(scene)->OnLButtonUp(0, 0, 0);
    return 0;
}

int32_t LoadScene::OnFullScreenYes(void* scene, GameNode*) {
    static_cast<LoadScene*>(scene)->AnswerFullScreen(true);
    return 0;
}

int32_t LoadScene::OnFullScreenNo(void* scene, GameNode*) {
    static_cast<LoadScene*>(scene)->AnswerFullScreen(false);
    return 0;
}

void LoadScene::AnswerFullScreen(bool fullScreen) {
    if (GameWindow* window = GameWindow::Instance()) {
        window->SetFullScreen(fullScreen);
    }
    const auto found = GetDialogMap().find(kQuestionName);
    if (found != GetDialogMap().end()) {
        CloseDialog(found->second.Get());
    }
}
