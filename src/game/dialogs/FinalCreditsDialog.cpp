#include "game/dialogs/FinalCreditsDialog.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/BoundedWait.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Archive.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/Modifier.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SpriteLabel.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/world/MapBackIds.h"
#include "game/world/SectionList.h"

namespace {

const ClassRegistration registration("FinalCreditsDialog", CreateFromProperty<FinalCreditsDialog>);

constexpr const char* kAnchorPointsFile = "media/properties/anchorpoints.xml";
constexpr const char* kStripSections[] = {"mapscene", "assets", "mapbacks"};
constexpr int32_t kCurtainFadeMs = 500;
constexpr int32_t kCenterAnchor = 4;
constexpr int32_t kTitleFadeMs = 1000;
constexpr int32_t kTitleHoldMs = 2000;
constexpr int32_t kHeaderFadeMs = 300;
constexpr int32_t kFirstLetterDelayMs = 300;
constexpr int32_t kNextNameDelayMs = 400;
constexpr int32_t kNameFadeOutMs = 400;

int32_t TimeKey(const Property* definition, const char* key) {
    return media_numbers::TimeMs(Property::Child(definition, key));
}

PropertyVector* DefinesVector(const std::string& name) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetVector(name) : nullptr;
}

int32_t EntryCount(const std::string& name) {
    const PropertyVector* list = DefinesVector(name);
    return list != nullptr ? list->Count() : 0;
}

std::wstring EntryText(const std::string& list, int32_t index) {
    const Property* entry = Property::At(DefinesVector(list), index);
    return entry != nullptr ? Property::AsText(entry) : std::wstring();
}

std::wstring Text(const std::string& id) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(id) : std::wstring();
}

Surface* FindPicture(const std::string& id, const char* section) {
    SectionManager* sections = SectionManager::Instance();
    Surface* picture = sections != nullptr ? ObjectCast<Surface>(sections->GetResource(id, section)) : nullptr;
    if (picture == nullptr) {
        ENGINE_LOG(1, "FinalCreditsDialog: no picture \"%s\" in section \"%s\"", id.c_str(), section);
    }
    return picture;
}

bool StripSectionsLoaded() {
    SectionManager* sections = SectionManager::Instance();
    if (sections == nullptr) {
        return true;
    }
    // RequestSection answers true while a section is still loading.
    for (const char* name : kStripSections) {
        if (sections->RequestSection(name)) {
            return false;
        }
    }
    return true;
}

// A label made from the shared name definition, or null (logged) when it
// builds no label.
Ref<Label> MakeTextLabel(Property* definition) {
    Ref<Object> made(ClassFactory::Instance().Create(definition));
    Ref<Label> label(ObjectCast<Label>(made.Get()));
    if (!label) {
        ENGINE_LOG(1, "FinalCreditsDialog: \"LABEL_TEXT\" makes no label");
    }
    return label;
}

// One landscape piece or station from its kind's definition, anchored by the
// anchor table (three entries per kind) and drawn once onto the canvas.
void DrawAsset(Canvas& canvas, const Property* kinds, const Property* anchors, int32_t kind, PointF position) {
    Property* definition = Property::At(kinds, kind);
    if (kind < 0 || definition == nullptr || definition->GetKind() != Property::kNode) {
        definition = &Property::DummyNode();
    }
    Ref<Object> made(ClassFactory::Instance().Create(definition));
    Ref<Sprite> sprite(ObjectCast<Sprite>(made.Get()));
    if (!sprite) {
        sprite = new Sprite(definition);
    }
    sprite->SetPosition(static_cast<int32_t>(std::lround(position.x)), static_cast<int32_t>(std::lround(position.y)));
    sprite->SetAnchorPoint(static_cast<float>(Property::AsDouble(Property::At(anchors, 3 * kind))),
                           static_cast<float>(Property::AsDouble(Property::At(anchors, 3 * kind + 1))));
    sprite->Draw(canvas);
}

}  // namespace

FinalCreditsDialog::FinalCreditsDialog(Property* definition)
    : KR2Dialog(definition),
      stripNode_(new GameNode),
      totalTime_(TimeKey(definition, "totalTime")),
      countdown_(TimeKey(definition, "delayTime")),
      charShowTime_(TimeKey(definition, "charShowTime")),
      delayTime_(TimeKey(definition, "delayTime")),
      headerLabel_(ObjectCast<Label>(FindChild("LABEL_HEADER"))) {
    GetComponentNode()->AddChildFront(stripNode_.Get());
    Property* text = Property::Child(definition, "LABEL_TEXT");
    textDefinition_ = text != nullptr ? text : &Property::DummyNode();
    int32_t entries = 0;
    for (const char* category : kCategories) {
        entries += EntryCount(category);
    }
    if (entries == 0) {
        ENGINE_LOG(1, "FinalCreditsDialog: every credits list is empty; the pages only show their headers");
    }
    timePerEntry_ = TimePerEntry(totalTime_, delayTime_, entries);
}

FinalCreditsDialog::~FinalCreditsDialog() = default;

int32_t FinalCreditsDialog::TimePerEntry(int32_t totalMs, int32_t delayMs, int32_t entryCount) {
    return entryCount > 0 ? (totalMs - delayMs) / entryCount : 0;
}

int32_t FinalCreditsDialog::PageTime(int32_t timePerEntry, int32_t entries, bool lastCategory, int32_t delayMs) {
    return timePerEntry * entries * (lastCategory ? 2 : 1) - delayMs;
}

int32_t FinalCreditsDialog::ScrollX(int32_t startX, int32_t elapsedMs, int32_t totalMs) {
    if (elapsedMs >= totalMs) {
        return 0;
    }
    const double done = static_cast<double>(elapsedMs) / static_cast<double>(totalMs);
    return static_cast<int32_t>(static_cast<double>(startX) * (1.0 - done));
}

void FinalCreditsDialog::OnShow() {
    KR2Dialog::OnShow();
    Ref<MemorySurface> black(new MemorySurface(kScreenWidth, kScreenHeight));
    std::fill_n(black->Pixels32(), kScreenWidth * kScreenHeight, 0xFF000000u);
    if (curtain_) {
        curtain_->RemoveFromParent();
    }
    curtain_ = new Sprite(0, 0, black.Get());
    // The curtain covers the screen whatever the dialog's own position.
    curtain_->SetPosition(-GetX(), -GetY());
    curtain_->SetAlpha(0);
    stripNode_->SetVisible(false);
    curtain_->AddModifier(Blocking(new ModifierValue(0, 255, kCurtainFadeMs)));
    curtain_->AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { OnScreenBlack(); }, 0));
    curtain_->AddModifier(Blocking(new ModifierValue(255, 0, kCurtainFadeMs)));
    curtain_->AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { StartCredits(); }, 0));
    GameNode::AddChild(curtain_.Get());
}

void FinalCreditsDialog::OnHide() {
    KR2Dialog::OnHide();
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->UnloadSection("mapbacks");
    }
}

void FinalCreditsDialog::ShowSceneUnder(bool visible) {
    if (Scene* scene = CurrentDialogScene()) {
        scene->GetComponentNode()->SetVisible(visible);
    }
}

void FinalCreditsDialog::OnScreenBlack() {
    ShowSceneUnder(false);
    stripNode_->SetVisible(true);
    BuildStrip();
}

bool FinalCreditsDialog::BuildStrip() {
    const bool loaded = WaitForLoading(StripSectionsLoaded, kStripWaitLimitMs);
    if (!loaded) {
        ENGINE_LOG(1, "FinalCreditsDialog: the map pictures did not load within %u ms; the strip shows what there is",
                   kStripWaitLimitMs);
    }
    int32_t width = 0;
    const int32_t step = SECTION_BETWEEN_WIDTH + kScreenWidth;
    backSprites_.clear();
    for (int32_t n = 0; n < kSectionCount; ++n) {
        // A back of its own, so the landscape drawn into it stays off the map's.
        const Surface* back = FindPicture(map_backs::MakeBackgroundId(n), "mapbacks");
        Ref<Sprite> sprite(new Sprite(step * n, 0, back != nullptr ? new MemorySurface(*back) : nullptr));
        width += sprite->GetWidth();
        backSprites_.push_back(sprite);
        stripNode_->AddChild(sprite.Get());
        if (n + 1 < kSectionCount) {
            Ref<Sprite> between(
                new Sprite(step * n + kScreenWidth, 0, FindPicture(map_backs::MakeBetweenId(n), "mapbacks")));
            width += between->GetWidth();
            stripNode_->AddChild(between.Get());
        }
    }
    stripX_ = kScreenWidth - width;
    stripNode_->SetX(stripX_);
    LoadAnchorPoints();
    return loaded;
}

void FinalCreditsDialog::LoadAnchorPoints() {
    Ref<PropertyFile> file(new PropertyFile());
    const LoadMode global = GetGlobalLoadMode();
    // A loose file beside the program, never from the archive.
    const bool scrambled = global == LoadMode::ScrambledFile || global == LoadMode::ScrambledArchive;
    file->SetLoadMode(scrambled ? LoadMode::ScrambledFile : LoadMode::File);
    if (!file->CanLoad(kAnchorPointsFile) || !file->LoadOne(kAnchorPointsFile)) {
        ENGINE_LOG(1, "FinalCreditsDialog: cannot read \"%s\"; the strip has no landscape", kAnchorPointsFile);
        return;
    }
    const Property* anchors = Property::Child(file.Get(), "anchorpoints");
    const Property* cityAnchors = Property::Child(file.Get(), "cityanchorpoints");
    const Property* assets = DefinesVector("ASSETS");
    const Property* stations = DefinesVector("STATIONS");
    const SectionList* map = SectionList::Instance();
    if (map == nullptr) {
        ENGINE_LOG(1, "FinalCreditsDialog: no map is loaded; the strip has no landscape");
        return;
    }
    for (int32_t n = 0; n < kSectionCount && n < static_cast<int32_t>(backSprites_.size()); ++n) {
        Surface* back = backSprites_[static_cast<size_t>(n)]->GetImage();
        if (back == nullptr) {
            continue;
        }
        const Ref<Canvas> canvas = back->CreateCanvas();
        const SectionInfo& section = map->Section(n);
        for (size_t i = 0; i < section.assets.ids.size(); ++i) {
            DrawAsset(*canvas, assets, anchors, section.assets.ids[i], section.assets.positions[i]);
        }
        for (const Ref<CityInfo>& city : section.cities) {
            for (size_t i = 0; i < city->assets.ids.size(); ++i) {
                DrawAsset(*canvas, stations, cityAnchors, city->assets.ids[i], city->assets.positions[i]);
            }
        }
        back->SetDirty(true);
    }
}

void FinalCreditsDialog::StartCredits() {
    BindControlByName("CLICK_HERE", FinishHandler, this);
    state_ = kTitle;
    countdown_ = kTitleMs;
    ShowTitle();
}

void FinalCreditsDialog::ShowTitle() {
    std::vector<Ref<Label>> labels;
    if (Ref<Label> name = MakeTextLabel(textDefinition_.Get())) {
        name->SetPosition(400, 150);
        name->SetText(EntryText("CREDITS_NAME", 0));
        labels.push_back(name);
    }
    Ref<Label> header(new Label(&Property::DummyNode()));
    if (SectionManager* sections = SectionManager::Instance()) {
        header->SetFont(ObjectCast<BitmapFont>(sections->GetResource("FONT_DIALOG_HEADER_20", "default")));
    }
    header->SetAnchorKind(kCenterAnchor);
    header->SetPosition(400, 276);
    header->SetText(Text("CREDITS_NAME_HEADER"));
    labels.push_back(header);
    for (const Ref<Label>& label : labels) {
        label->SetAlpha(0);
        label->AddModifier(Blocking(new ModifierValue(0, 255, kTitleFadeMs)));
        label->AddModifier(Blocking(new ModifierWait(kTitleHoldMs)));
        label->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, kTitleFadeMs)));
        AddChild(label.Get());
    }
}

void FinalCreditsDialog::Update(int32_t elapsedMs) {
    KR2Dialog::Update(elapsedMs);
    if (state_ == kTitle) {
        countdown_ -= elapsedMs;
        if (countdown_ <= 0) {
            state_ = kPages;
            countdown_ = delayTime_;
        }
        return;
    }
    if (state_ != kPages) {
        return;
    }
    if (scrollElapsed_ >= totalTime_) {
        scrollElapsed_ = totalTime_;
    }
    stripNode_->SetX(ScrollX(stripX_, scrollElapsed_, totalTime_));
    scrollElapsed_ += elapsedMs;
    countdown_ -= elapsedMs;
    if (countdown_ > 0) {
        return;
    }
    ++page_;
    if (page_ >= kCategoryCount) {
        AddModifier(Blocking(new ModifierWait(delayTime_)));
        AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { Finish(); }, 0));
        state_ = kIdle;
        return;
    }
    const int32_t entries = EntryCount(kCategories[static_cast<size_t>(page_)]);
    countdown_ = PageTime(timePerEntry_, entries, page_ == kCategoryCount - 1, delayTime_);
    ShowPage(page_, countdown_);
    countdown_ += delayTime_;
}

void FinalCreditsDialog::ShowPage(int32_t category, int32_t pageTime) {
    const std::string id = kCategories[static_cast<size_t>(category)];
    if (headerLabel_) {
        headerLabel_->ClearModifiers();
        headerLabel_->SetText(Text(id + "_HEADER"));
        headerLabel_->SetAlpha(0);
        headerLabel_->AddModifier(Blocking(new ModifierValue(0, 255, kHeaderFadeMs)));
    }
    const int32_t entries = EntryCount(id);
    int32_t delay = kFirstLetterDelayMs;
    Modifier* previousFade = nullptr;
    for (int32_t k = 0; k < entries; ++k) {
        Ref<Label> name = MakeTextLabel(textDefinition_.Get());
        if (!name) {
            break;
        }
        name->SetText(EntryText(id, k));
        // The names of a page stand one under the other.
        name->SetY(name->GetY() + k * name->GetLineHeight());
        AddChild(name.Get());
        auto* letters = ObjectCast<SpriteLabel>(name.Get());
        if (letters != nullptr) {
            letters->BuildGlyphs();
            for (const Ref<Sprite>& glyph : letters->GetGlyphSprites()) {
                glyph->SetAlpha(0);
                // Each letter starts once the one before it, also of the
                // previous name, is fully shown.
                glyph->AddModifier(Blocking(previousFade != nullptr ? new ModifierWait(previousFade)
                                                                    : new ModifierWait(kFirstLetterDelayMs)));
                previousFade = glyph->AddModifier(new ModifierValue(0, 255, charShowTime_));
                delay += charShowTime_;
            }
        }
        if (previousFade != nullptr) {
            name->AddModifier(Blocking(new ModifierWait(previousFade)));
        }
        name->AddModifier(Blocking(new ModifierWait(pageTime / entries - delay)));
        name->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, kNameFadeOutMs)));
        delay = kNextNameDelayMs;
    }
    if (headerLabel_) {
        headerLabel_->AddModifier(Blocking(new ModifierWait(pageTime - kHeaderFadeMs)));
        headerLabel_->AddModifier(new ModifierValue(255, 0, kHeaderFadeMs));
    }
}

bool FinalCreditsDialog::OnLButtonUp(int32_t x, int32_t y, uint32_t flags) {
    KR2Dialog::OnLButtonUp(x, y, flags);
    Finish();
    return true;
}

int32_t FinalCreditsDialog::FinishHandler(void* dialog, GameNode*) {
    static_cast<FinalCreditsDialog*>(dialog)->Finish();
    return 0;
}

void FinalCreditsDialog::Finish() {
    // A click and the end of the last page may both ask; the credits close once.
    if (finishing_ || !curtain_) {
        return;
    }
    finishing_ = true;
    ShowSceneUnder(true);
    curtain_->ClearModifiers();
    Modifier* fade = curtain_->AddModifier(Blocking(new ModifierValue(curtain_->GetAlpha(), 255, kCurtainFadeMs)));
    for (GameNode* node : {GetComponentNode(), stripNode_.Get()}) {
        node->AddModifier(Blocking(new ModifierWait(fade)));
        node->AddModifier(new ModifierCallback([](uint32_t, GameNode* target) { target->SetVisible(false); }, 0));
    }
    curtain_->AddModifier(Blocking(new ModifierWait(kCurtainFadeMs)));
    curtain_->AddModifier(Blocking(new ModifierValue(255, 0, kCurtainFadeMs)));
    curtain_->AddModifier(new ModifierCallback(
        [this](uint32_t, GameNode*) {
            const Ref<FinalCreditsDialog> self(this);
            CloseDialog(this);
            if (onFinished_) {
                onFinished_(this);
            }
        },
        0));
}
