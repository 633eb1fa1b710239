#include "game/words/WordQueue.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/media/Canvas.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SpeedToTarget.h"
#include "game/words/QueueScrollControl.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordList.h"

namespace {

const ClassRegistration registration("WordQueue", CreateFromProperty<WordQueue>);

constexpr int32_t kMoveMs = 400;
constexpr int32_t kFadeStaggerMs = 60;
constexpr int32_t kFadeMs = 300;
constexpr float kSnapDistance = 0.5f;
constexpr int kSecretType = 6;
constexpr int kAnagramsType = 3;
constexpr int kSlotsType = 4;

// One step of the eased scroll toward its target. Limits that are not
// positive (damaged constants) move straight onto the target.
void StepScroll(int32_t elapsedMs, float target, float maximumSpeed, float acceleration, float deceleration,
                float& position, float& speed) {
    if (maximumSpeed <= 0.0f || acceleration <= 0.0f || deceleration <= 0.0f) {
        position = target;
        speed = 0.0f;
        return;
    }
    SpeedToTarget(elapsedMs, target, maximumSpeed, acceleration, deceleration, true, position, speed);
}

std::string Folded(const std::string& text) {
    std::string folded;
    WordList::FoldWord(text, folded);
    return folded;
}

}  // namespace

WordQueue::WordQueue(Property* node) : Sprite(node), content_(new GameNode), companion_(new GameNode) {
    rows_ = ticket_constants::Int("QUEUE_NUM_WORDS_Y");
    if (rows_ < 1) {
        ENGINE_LOG(2, "QUEUE_NUM_WORDS_Y is %d; the word queue uses one row", rows_);
        rows_ = 1;
    }
    rowSpacing_ = ticket_constants::Int("QUEUE_WORD_SPACING_Y");
    AddChild(content_.Get());
    if (node != nullptr) {
        Load(node);
    }
}

WordQueue::~WordQueue() = default;

void WordQueue::Load(const Property* node) {
    Clear();
    currentIndex_ = Property::AsInt(Property::Child(node, "idx"));
    std::vector<WordSprite*> added;
    const Property* stored = Property::Child(node, "words");
    for (int i = 0; Property* entry = Property::At(stored, i); ++i) {
        const Ref<Object> made(ClassFactory::Instance().Create(entry));
        if (auto* word = ObjectCast<WordSprite>(made.Get())) {
            words_.emplace_back(word);
            content_->AddChild(word);
            added.push_back(word);
        } else {
            ENGINE_LOG(2, "stored queue word %d is no word sprite; skipped", i);
        }
    }
    LayOut();
    PlaceWords(false);
    FadeIn(added);
}

void WordQueue::Save(PropertyNode& node) const {
    node.Add(PropertyValue::FromInteger("idx", currentIndex_, true));
    auto* list = new PropertyVector("words");
    node.Add(list);
    for (const Ref<WordSprite>& word : words_) {
        auto* entry = new PropertyNode("", "WordSprite");
        list->Add(entry);
        word->Save(*entry);
    }
}

bool WordQueue::SortsBefore(const WordSprite& a, const WordSprite& b) {
    if (a.IsMissed() != b.IsMissed()) {
        return !a.IsMissed();
    }
    if (a.IsCustom() != b.IsCustom()) {
        return !a.IsCustom();
    }
    if (a.SlotCount() != b.SlotCount()) {
        return a.SlotCount() < b.SlotCount();
    }
    return a.PlainText() < b.PlainText();
}

void WordQueue::Sort() {
    // The highlight stays with its word, wherever the sort moves it.
    const bool hasCurrent = currentIndex_ >= 0 && currentIndex_ < static_cast<int32_t>(words_.size());
    const Ref<WordSprite> current = hasCurrent ? words_[static_cast<size_t>(currentIndex_)] : nullptr;
    std::stable_sort(words_.begin(), words_.end(),
                     [](const Ref<WordSprite>& a, const Ref<WordSprite>& b) { return SortsBefore(*a, *b); });
    if (current) {
        currentIndex_ = IndexOf(current.Get());
    }
}

void WordQueue::LayOut() {
    const int32_t count = static_cast<int32_t>(words_.size());
    const int32_t columns = count / rows_ + 1;
    const int32_t spacing = ticket_constants::Int("QUEUE_LETTER_SPACING_X");
    const int32_t step = LetterSlot::SlotWidth() + spacing;
    columnWidths_.assign(static_cast<size_t>(columns), 0);
    for (int32_t i = 0; i < count; ++i) {
        int32_t& width = columnWidths_[static_cast<size_t>(i / rows_)];
        width = std::max(width, step * words_[static_cast<size_t>(i)]->SlotCount() - spacing);
    }
    columnPositions_.assign(static_cast<size_t>(columns), 0);
    const int32_t columnSpacing = ticket_constants::Int("QUEUE_COLUMN_SPACING");
    for (size_t c = 1; c < columnPositions_.size(); ++c) {
        columnPositions_[c] = columnPositions_[c - 1] + columnSpacing + columnWidths_[c - 1];
    }
    scrollMaximum_ = std::max(0, columnPositions_.back() + columnWidths_.back() - GetWidth());
    // Scrolled columns are cut at the queue's edges: nothing of it shows
    // beside its panel, over the gauges or the buttons.
    SetClipRect(GetX(), GetY(), GetWidth(), rows_ * std::max(rowSpacing_, 0));
}

void WordQueue::PlaceWords(bool animate) {
    for (size_t i = 0; i < words_.size(); ++i) {
        WordSprite& word = *words_[i];
        const int32_t index = static_cast<int32_t>(i);
        const int32_t x = columnPositions_[static_cast<size_t>(index / rows_)];
        const int32_t y = index % rows_ * rowSpacing_;
        word.SetX(x);
        if (!animate) {
            word.SetY(y);
        } else if (y != word.GetY()) {
            // A word that moves up has left its column at the foot: it enters the next one from above.
            const int32_t startY = y < word.GetY() ? word.GetY() - rows_ * rowSpacing_ : word.GetY();
            word.AddModifier(new ModifierEaseMove(static_cast<float>(x), static_cast<float>(startY), x, y, kMoveMs));
        }
    }
}

void WordQueue::FadeIn(const std::vector<WordSprite*>& added) {
    for (size_t k = 0; k < added.size(); ++k) {
        WordSprite& word = *added[k];
        word.SetAlpha(0);
        if (k > 0) {
            word.AddModifier(Blocking(new ModifierWait(static_cast<int32_t>(k) * kFadeStaggerMs)));
        }
        word.AddModifier(Blocking(new ModifierValue(0, 255, kFadeMs)));
    }
}

void WordQueue::AddWord(const std::vector<const WordNode*>& records, bool missed) {
    if (!missed) {
        Clear();
    }
    std::vector<WordSprite*> added;
    for (const WordNode* record : records) {
        if (record == nullptr) {
            continue;
        }
        auto* word = new WordSprite;
        word->SetWord(record->Text(), true);
        if (missed) {
            word->SetStatus(WordSprite::kMissed);
            word->SetMissed(true);
            for (const Ref<LetterSlot>& slot : word->Slots()) {
                slot->Letter().SetHidden(false);
                slot->SetColourIndex(LetterSlot::kLightRed);
            }
            word->RefreshLook();
        }
        words_.emplace_back(word);
        content_->AddChild(word);
        added.push_back(word);
    }
    Sort();
    LayOut();
    PlaceWords(false);
    FadeIn(added);
}

void WordQueue::InsertWord(WordSprite* word) {
    if (word == nullptr || IndexOf(word) >= 0) {
        return;
    }
    words_.emplace_back(word);
    content_->AddChild(word);
    Sort();
    LayOut();
    const int32_t index = IndexOf(word);
    word->SetPosition(columnPositions_[static_cast<size_t>(index / rows_)], index % rows_ * rowSpacing_);
    PlaceWords(true);
    word->ShowArrival();
}

WordSprite* WordQueue::FindWord(const std::string& text, int32_t statusMask) const {
    for (const Ref<WordSprite>& word : words_) {
        if ((word->Status() & statusMask) != 0 && word->PlainText() == text) {
            return word.Get();
        }
    }
    return nullptr;
}

int32_t WordQueue::IndexOf(const WordSprite* word) const {
    for (size_t i = 0; i < words_.size(); ++i) {
        if (words_[i].Get() == word) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void WordQueue::NextWord() {
    const int32_t count = static_cast<int32_t>(words_.size());
    if (count == 0) {
        return;
    }
    const bool valid = currentIndex_ >= 0 && currentIndex_ < count;
    if (valid) {
        words_[static_cast<size_t>(currentIndex_)]->Unhighlight();
    }
    const int32_t start = valid ? currentIndex_ : -1;
    int32_t index = start;
    for (int32_t step = 0; step < count; ++step) {
        index = (index + 1) % count;
        if (index == start) {
            break;
        }
        if (words_[static_cast<size_t>(index)]->Status() != WordSprite::kFound) {
            currentIndex_ = index;
            words_[static_cast<size_t>(index)]->Highlight();
            ScrollToWord(index);
            return;
        }
    }
}

void WordQueue::ScrollToWord(int32_t index) {
    const int32_t column = index / rows_;
    if (column < 0 || column >= static_cast<int32_t>(columnPositions_.size())) {
        return;
    }
    const float x0 = static_cast<float>(columnPositions_[static_cast<size_t>(column)]);
    const float x1 = x0 + static_cast<float>(columnWidths_[static_cast<size_t>(column)]);
    const float width = static_cast<float>(GetWidth());
    if (x0 - scrollPosition_ < 0.0f || x1 - scrollPosition_ > width) {
        scrollTarget_ = std::clamp(((x1 - width) + x0) * 0.5f, 0.0f, static_cast<float>(scrollMaximum_));
    }
}

void WordQueue::ScrollToWord(const WordSprite* word) { ScrollToWord(IndexOf(word)); }

void WordQueue::ScrollStep(bool forward) {
    if (columnPositions_.empty()) {
        scrollTarget_ = 0.0f;
        return;
    }
    const int32_t last = static_cast<int32_t>(columnPositions_.size()) - 1;
    int32_t index = last;
    for (int32_t i = 0; i <= last; ++i) {
        if (static_cast<float>(columnPositions_[static_cast<size_t>(i)]) >= scrollTarget_) {
            index = i;
            break;
        }
    }
    if (forward && index < last) {
        ++index;
    } else if (!forward && index > 0) {
        --index;
    }
    scrollTarget_ = static_cast<float>(std::min(columnPositions_[static_cast<size_t>(index)], scrollMaximum_));
}

void WordQueue::DragTo(float value) {
    scrollPosition_ = scrollTarget_ = static_cast<float>(scrollMaximum_) * value;
    scrollSpeed_ = 0.0f;
    content_->SetX(-static_cast<int32_t>(scrollPosition_));
}

void WordQueue::AttachScrollControl(QueueScrollControl* control) {
    control_ = control;
    if (control_ != nullptr) {
        control_->Connect([this](float value) { DragTo(value); }, [this] { ScrollStep(true); },
                          [this] { ScrollStep(false); });
    }
}

void WordQueue::ApplyScroll() {
    content_->SetX(-static_cast<int32_t>(scrollPosition_));
    if (control_ != nullptr) {
        control_->SetValue(scrollMaximum_ > 0 ? scrollPosition_ / static_cast<float>(scrollMaximum_) : 0.0f);
    }
}

void WordQueue::Update(int32_t elapsedMs) {
    Sprite::Update(elapsedMs);
    if (scrollPosition_ != scrollTarget_) {
        StepScroll(elapsedMs, scrollTarget_, ticket_constants::Float("QUEUE_SCROLL_SPEED"),
                   ticket_constants::Float("QUEUE_ACC_INC"), ticket_constants::Float("QUEUE_ACC_DEC"),
                   scrollPosition_, scrollSpeed_);
        if (std::fabs(scrollPosition_ - scrollTarget_) < kSnapDistance) {
            scrollPosition_ = scrollTarget_;
            scrollSpeed_ = 0.0f;
        }
        scrollPosition_ = std::max(scrollPosition_, 0.0f);
    }
    ApplyScroll();
}

bool WordQueue::IsWordInView(const WordSprite& word) const {
    const int32_t index = IndexOf(&word);
    if (index < 0) {
        return false;
    }
    const size_t column = static_cast<size_t>(index / rows_);
    const float x0 = static_cast<float>(columnPositions_[column]) - scrollPosition_;
    return x0 >= 0.0f && x0 + static_cast<float>(columnWidths_[column]) <= static_cast<float>(GetWidth());
}

void WordQueue::Draw(Canvas& canvas) {
    Sprite::Draw(canvas);
    if (rowSpacing_ <= 0) {
        return;
    }
    // A word entering its column from above shows, fading, at the foot of the column it left.
    const int32_t dx = GetX() + content_->GetX();
    const int32_t dy = GetY() + content_->GetY();
    canvas.MoveOrigin(dx, dy);
    for (size_t i = 0; i < words_.size(); ++i) {
        WordSprite& word = *words_[i];
        const size_t column = i / static_cast<size_t>(rows_);
        if (column == 0 || word.GetY() >= 0 || !word.IsVisible() || word.IsRemoved()) {
            continue;
        }
        const int32_t x = word.GetX();
        const int32_t y = word.GetY();
        const int32_t alpha = word.GetAlpha();
        word.SetPosition(columnPositions_[column - 1], y + rows_ * rowSpacing_);
        word.SetAlpha(-y * alpha / rowSpacing_);
        word.Draw(canvas);
        word.SetAlpha(alpha);
        word.SetPosition(x, y);
    }
    canvas.MoveOrigin(-dx, -dy);
}

void WordQueue::RevealMissedWords(const TicketInfo& ticket, const WordList* list) {
    if (ticket.GameType == kSecretType) {
        if (list == nullptr) {
            return;
        }
        std::vector<const WordNode*> found;
        list->FindFromLetters(ticket.LetterSet, found, false, 0);
        std::erase_if(found, [this](const WordNode* word) {
            return FindWord(Folded(word->Text()), WordSprite::kFound | WordSprite::kToFind | WordSprite::kMissed) !=
                   nullptr;
        });
        std::stable_sort(found.begin(), found.end(), [](const WordNode* a, const WordNode* b) {
            return a->LetterCount() != b->LetterCount() ? a->LetterCount() < b->LetterCount() : a->Text() < b->Text();
        });
        AddWord(found, true);
        return;
    }
    for (const Ref<WordSprite>& word : words_) {
        if (word->Status() == WordSprite::kFound) {
            continue;
        }
        if (list != nullptr && (ticket.GameType == kAnagramsType || ticket.GameType == kSlotsType)) {
            std::vector<const WordNode*> fits;
            if (ticket.GameType == kAnagramsType) {
                list->FindFromLetters(word->PlainText(), fits, true, word->SlotCount());
            } else {
                list->MatchPattern(word->PlainText(), &fits);
            }
            const auto solution = std::find_if(fits.begin(), fits.end(), [this](const WordNode* fit) {
                return FindWord(Folded(fit->Text()), WordSprite::kFound) == nullptr;
            });
            if (solution != fits.end()) {
                word->SetShownText((*solution)->Text());
            }
        }
        word->SetStatus(WordSprite::kMissed);
        word->ShowMissed();
    }
}

Ref<Modifier> WordQueue::FadeOutWords() {
    Ref<Modifier> last;
    for (size_t k = 0; k < words_.size(); ++k) {
        WordSprite& word = *words_[k];
        // Nothing the word still waited for may hold its fade back: a word
        // of the old list would otherwise stay among the next list's words.
        word.ClearModifiers();
        word.AddModifier(Blocking(new ModifierWait(static_cast<int32_t>(k) * kFadeStaggerMs)));
        auto* fade = new ModifierValue(word.GetAlpha(), 0, kFadeMs);
        fade->SetOptions(Modifier::kBlockFollowing | Modifier::kRemoveNodeAtEnd);
        last = word.AddModifier(fade);
    }
    words_.clear();
    return last;
}

void WordQueue::Clear() {
    for (const Ref<WordSprite>& word : words_) {
        word->RemoveFromParent();
    }
    words_.clear();
    columnWidths_.clear();
    columnPositions_.clear();
    currentIndex_ = 0;
    scrollPosition_ = scrollTarget_ = scrollSpeed_ = 0.0f;
    content_->SetX(0);
    if (control_ != nullptr) {
        control_->SetValue(0.0f);
    }
}
