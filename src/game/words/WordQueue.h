#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Modifier.h"
#include "engine/scene/Sprite.h"
#include "game/words/WordSprite.h"

class PropertyNode;
class QueueScrollControl;
class TicketInfo;
class WordList;
class WordNode;

// The game screen's list of the level's words: kept sorted, laid out in
// columns of a fixed number of rows, scrolled sideways with an eased motion,
// with one highlighted current word, and drawn only inside its own area
// (its width by rows x row spacing, where it stands when laid out). Saved
// with the game.
class WordQueue : public Sprite {
    ENGINE_CLASS(WordQueue, Sprite)

public:
    // Reads QUEUE_NUM_WORDS_Y and QUEUE_WORD_SPACING_Y, then the definition's
    // sprite keys, then a stored queue: "idx" and the "words".
    explicit WordQueue(Property* node = nullptr);
    ~WordQueue() override;

    // Writes "idx" and "words" (one "WordSprite" node per word, in queue order).
    void Save(PropertyNode& node) const;
    // Replaces the words with the stored "idx" and "words"; a stored entry
    // that makes no word sprite is logged and skipped.
    void Load(const Property* node);

    // New words from records; without `missed` the queue is cleared first,
    // with it every new word takes the missed look.
    void AddWord(const std::vector<const WordNode*>& words, bool missed);
    // Takes a word sprite in and moves every word to its new cell.
    void InsertWord(WordSprite* word);
    // The first word whose status has a bit of `statusMask` and whose plain text is `text`.
    WordSprite* FindWord(const std::string& text, int32_t statusMask) const;
    // Highlights the next word that is not found; nothing on an empty queue.
    void NextWord();
    void ScrollToWord(int32_t index);
    void ScrollToWord(const WordSprite* word);
    void ScrollStep(bool forward);
    // Follows a dragged scroll control (value 0 to 1).
    void DragTo(float value);
    // The control lives as long as the game screen, which outlives the queue's use of it.
    void AttachScrollControl(QueueScrollControl* control);
    // At the level's end: secret games add every word of the letter set
    // that the queue lacks; the other types mark their unfound words missed,
    // anagrams and slots games first showing a solution.
    void RevealMissedWords(const TicketInfo& ticket, const WordList* list);
    // Fades the words out one after another and empties the list; the last fade.
    Ref<Modifier> FadeOutWords();
    void Clear();

    // Whether the word's column lies wholly inside the visible width.
    bool IsWordInView(const WordSprite& word) const;

    void Update(int32_t elapsedMs) override;
    void Draw(Canvas& canvas) override;

    const std::vector<Ref<WordSprite>>& Words() const { return words_; }
    int32_t CurrentIndex() const { return currentIndex_; }
    const std::vector<int32_t>& ColumnWidths() const { return columnWidths_; }
    const std::vector<int32_t>& ColumnPositions() const { return columnPositions_; }
    int32_t ScrollMaximum() const { return scrollMaximum_; }
    float ScrollPosition() const { return scrollPosition_; }
    float ScrollTarget() const { return scrollTarget_; }
    int32_t Rows() const { return rows_; }
    GameNode& Content() { return *content_; }
    // The companion layer, for the game scene to hang under its own node.
    GameNode& Companion() { return *companion_; }

    // The strict order of the queue: unmissed first, then ordinary before
    // custom, then fewer letters, then plain text by bytes.
    static bool SortsBefore(const WordSprite& a, const WordSprite& b);

private:
    void Sort();
    void LayOut();
    // Sets every word's column at once; rows at once or by a 400 ms move.
    void PlaceWords(bool animate);
    // Fades the new words in one after another.
    void FadeIn(const std::vector<WordSprite*>& added);
    int32_t IndexOf(const WordSprite* word) const;
    void ApplyScroll();

    std::vector<Ref<WordSprite>> words_;
    QueueScrollControl* control_ = nullptr;
    int32_t rows_ = 1;
    int32_t rowSpacing_ = 0;
    std::vector<int32_t> columnWidths_;
    std::vector<int32_t> columnPositions_;
    int32_t currentIndex_ = 0;
    Ref<GameNode> content_;
    Ref<GameNode> companion_;
    float scrollPosition_ = 0.0f;
    float scrollSpeed_ = 0.0f;
    float scrollTarget_ = 0.0f;
    int32_t scrollMaximum_ = 0;
};
