#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "GameDialogFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Section.h"
#include "engine/foundation/SectionManager.h"
#include "engine/ui/Label.h"
#include "game/dialogs/FinalCreditsDialog.h"
#include "platform/RunOptions.h"
#include "platform/Time.h"

namespace {

// Pages share 2100 ms over the entries; letters take 10 ms each.
const std::string kCredits =
    R"(<FinalCreditsDialog id="DIALOG_FINAL_CREDITS" width="800" height="600" delayTime="100" totalTime="2200" )"
    R"(charShowTime="10"><SpriteLabel id="LABEL_TEXT" x="400" y="260" font="TINY" section="dlgfonts"/>)"
    R"(<Vector id="components"><Label name="LABEL_HEADER" x="400" y="200" font="TINY" section="dlgfonts"/>)"
    R"(<Button name="CLICK_HERE" width="800" height="600" anchorpoint="topleft"/></Vector>)"
    R"(</FinalCreditsDialog>)";

constexpr int32_t kBackWidth = 800;
constexpr int32_t kBetweenWidth = 200;

// A resource whose load waits until the test lets it end: its section stays
// loading for as long as the test wants.
class GateResource : public Resource {
    ENGINE_CLASS(GateResource, Resource)

public:
    GateResource() : Resource(std::string("gate")) {}
    void Load() override {
        while (!open) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        SetLoaded();
    }
    Object* GetData() override { return nullptr; }

    static inline std::atomic<bool> open{false};
};

class FinalCreditsDialogTest : public GameDialogTest {
protected:
    FinalCreditsDialogTest() {
        UseDialogs(kCredits);
        SECTION_BETWEEN_WIDTH = kBetweenWidth;
    }

    ~FinalCreditsDialogTest() override { SECTION_BETWEEN_WIDTH = savedBetween_; }

    // Two names of "ab" in the first category, one name in the last; the
    // other lists are empty unless `withNames` is false, when all are.
    static void StoreCredits(bool withNames) {
        std::string xml = "<root><Vector id=\"CREDITS_NAME\"><String value=\"T\"/></Vector>";
        for (const char* category : FinalCreditsDialog::kCategories) {
            xml += std::string("<Vector id=\"") + category + "\">";
            if (withNames && std::string(category) == "CREDITS_DESIGN") {
                xml += "<String value=\"ab\"/><String value=\"ab\"/>";
            }
            if (withNames && std::string(category) == "CREDITS_THANKS") {
                xml += "<String value=\"c\"/>";
            }
            xml += "</Vector>";
        }
        const Ref<PropertyFile> file = ParseDefinitions(xml + "</root>");
        ClassFactory::Instance().CreateNamedObjects(*file);
    }

    void LoadMapBacks() {
        auto* backs = new Section("mapbacks", false);
        for (int n = 1; n <= 10; ++n) {
            backs->AddResource("BACKGROUND" + std::to_string(n),
                               new HeldResource(FilledSurface(kBackWidth, 2, 0xFF336699).Get()));
            if (n < 10) {
                backs->AddResource("BETWEEN_A" + std::to_string(n),
                                   new HeldResource(FilledSurface(kBetweenWidth, 2, 0xFF996633).Get()));
            }
        }
        sections_.Load(backs);
    }

    // Held by the test: closing lets the scene forget the dialog.
    Ref<FinalCreditsDialog> OpenCredits(int32_t* finishedCalls) {
        Ref<FinalCreditsDialog> dialog(Open<FinalCreditsDialog>("DIALOG_FINAL_CREDITS"));
        if (dialog != nullptr) {
            dialog->SetOnFinished([finishedCalls](FinalCreditsDialog*) { ++*finishedCalls; });
        }
        return dialog;
    }

    bool IsShown(const FinalCreditsDialog* dialog) {
        for (const Ref<Dialog>& shown : GameScene()->GetShownDialogs()) {
            if (shown.Get() == dialog) {
                return true;
            }
        }
        return false;
    }

private:
    int32_t savedBetween_ = SECTION_BETWEEN_WIDTH;
};

TEST(FinalCreditsTiming, EntriesPagesAndScroll) {
    // (total - delay) / entries; no entries share nothing instead of dividing by zero.
    EXPECT_EQ(FinalCreditsDialog::TimePerEntry(2200, 100, 3), 700);
    EXPECT_EQ(FinalCreditsDialog::TimePerEntry(2200, 100, 0), 0);
    // The last category holds twice as long; the delay comes off each page.
    EXPECT_EQ(FinalCreditsDialog::PageTime(700, 2, false, 100), 1300);
    EXPECT_EQ(FinalCreditsDialog::PageTime(700, 2, true, 100), 2700);
    EXPECT_EQ(FinalCreditsDialog::PageTime(700, 0, false, 100), -100);

    struct Case {
        int32_t elapsed;
        int32_t total;
        int32_t x;
    };
    for (const Case& c : {Case{0, 1000, -9001}, Case{500, 1000, -4500}, Case{999, 1000, -9},
                          Case{1000, 1000, 0}, Case{5000, 1000, 0}, Case{0, 0, 0}}) {
        EXPECT_EQ(FinalCreditsDialog::ScrollX(-9001, c.elapsed, c.total), c.x) << c.elapsed << " of " << c.total;
    }
}

TEST_F(FinalCreditsDialogTest, RunsCurtainStripTitleAndPagesThenClosesOnce) {
    StoreCredits(true);
    LoadMapBacks();
    int32_t finished = 0;
    const Ref<FinalCreditsDialog> dialog = OpenCredits(&finished);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->GetTimePerEntry(), (2200 - 100) / 3);
    EXPECT_FALSE(dialog->GetStripNode()->IsVisible());

    Run(600);  // the curtain is black: the strip is built and the scene hidden
    ASSERT_EQ(dialog->GetBackSprites().size(), 10u);
    EXPECT_TRUE(dialog->GetStripNode()->IsVisible());
    EXPECT_FALSE(GameScene()->GetComponentNode()->IsVisible());
    const int32_t stripWidth = 10 * kBackWidth + 9 * kBetweenWidth;
    EXPECT_EQ(dialog->GetStripX(), kBackWidth - stripWidth);
    EXPECT_EQ(dialog->GetStripNode()->GetX(), kBackWidth - stripWidth);
    EXPECT_EQ(dialog->GetBackSprites()[3]->GetX(), 3 * (kBackWidth + kBetweenWidth));
    // The backs are copies, so what is drawn into them stays off the map's pictures.
    EXPECT_NE(dialog->GetBackSprites()[0]->GetImage(),
              SectionManager::Instance()->GetResource("BACKGROUND1", "mapbacks"));

    Run(600);
    EXPECT_EQ(dialog->GetState(), FinalCreditsDialog::kTitle);
    Run(FinalCreditsDialog::kTitleMs);
    EXPECT_EQ(dialog->GetState(), FinalCreditsDialog::kPages);

    Run(200);  // the first page: two names
    EXPECT_EQ(dialog->GetPage(), 0);
    ASSERT_NE(dialog->GetHeaderLabel(), nullptr);
    EXPECT_GT(dialog->GetStripNode()->GetX(), kBackWidth - stripWidth);

    Run(6000);  // every page, the scroll's end and the closing fade
    EXPECT_EQ(dialog->GetStripNode()->GetX(), 0);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(IsShown(dialog.Get()));
    EXPECT_TRUE(GameScene()->GetComponentNode()->IsVisible());
}

TEST_F(FinalCreditsDialogTest, AClickDuringTheTitleStillFadesOutAndClosesOnce) {
    StoreCredits(true);
    LoadMapBacks();
    int32_t finished = 0;
    const Ref<FinalCreditsDialog> dialog = OpenCredits(&finished);
    ASSERT_TRUE(dialog);
    Run(1500);
    ASSERT_EQ(dialog->GetState(), FinalCreditsDialog::kTitle);
    dialog->OnLButtonUp(10, 10, 0);
    dialog->Finish();  // a second request, as the end of the pages would make
    Run(700);
    EXPECT_EQ(dialog->GetCurtain()->GetAlpha(), 255);
    EXPECT_TRUE(IsShown(dialog.Get()));
    Run(1200);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(IsShown(dialog.Get()));
    EXPECT_TRUE(GameScene()->GetComponentNode()->IsVisible());
}

TEST_F(FinalCreditsDialogTest, EmptyListsShowOnlyHeadersAndStillFinish) {
    StoreCredits(false);
    LoadMapBacks();
    int32_t finished = 0;
    const Ref<FinalCreditsDialog> dialog = OpenCredits(&finished);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->GetTimePerEntry(), 0);
    Run(1000 + FinalCreditsDialog::kTitleMs + 12 * 100 + 2000);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(IsShown(dialog.Get()));
}

// On the virtual clock, so the wait's limit passes at once once the loader
// is seen to be stuck.
class FinalCreditsStripWaitTest : public FinalCreditsDialogTest {
protected:
    FinalCreditsStripWaitTest() {
        setenv("WORDRAIL_CLOCK", "virtual", 1);
        platform::ReloadRunOptionsForTesting();
        SectionManager::Instance()->SetStallLimitForTesting(std::chrono::milliseconds(50));
    }
    ~FinalCreditsStripWaitTest() override {
        GateResource::open = true;
        unsetenv("WORDRAIL_CLOCK");
        platform::ReloadRunOptionsForTesting();
    }
};

TEST_F(FinalCreditsStripWaitTest, PicturesThatNeverLoadEndTheWaitAtItsLimit) {
    StoreCredits(true);
    GateResource::open = false;
    auto* backs = new Section("mapbacks", false);
    backs->AddResource("BACKGROUND1", new GateResource);
    SectionManager::Instance()->AddSection(backs);
    Ref<FinalCreditsDialog> dialog(ObjectCast<FinalCreditsDialog>(GameScene()->GetDialog("DIALOG_FINAL_CREDITS")));
    ASSERT_TRUE(dialog);
    const uint32_t start = platform::TickCountMs();
    EXPECT_FALSE(dialog->BuildStrip());
    EXPECT_GE(platform::TicksElapsed(start, platform::TickCountMs()), FinalCreditsDialog::kStripWaitLimitMs);
    // Built from what there is: ten empty backs, the strip standing at 800.
    EXPECT_EQ(dialog->GetBackSprites().size(), 10u);
    EXPECT_EQ(dialog->GetStripX(), kBackWidth);
}

}  // namespace
