#include "QueueFixture.h"

#include "engine/media/MemorySurface.h"
#include "game/words/LetterSlot.h"

QueueFixture::QueueFixture() {
    TicketConstantsFixture::Define(
        "<Integer id=\"QUEUE_NUM_WORDS_Y\" value=\"5\"/><Integer id=\"QUEUE_WORD_SPACING_Y\" value=\"20\"/>"
        "<Integer id=\"QUEUE_COLUMN_SPACING\" value=\"10\"/><Integer id=\"QUEUE_LETTER_SPACING_X\" value=\"2\"/>"
        "<Float id=\"QUEUE_SCROLL_SPEED\" value=\"400\"/><Float id=\"QUEUE_ACC_INC\" value=\"2000\"/>"
        "<Float id=\"QUEUE_ACC_DEC\" value=\"2000\"/>");
    LetterSlot::Looks& looks = LetterSlot::SharedLooks();
    for (Ref<Surface>& slot : looks.slots) {
        slot = new MemorySurface(kSlotWidth, kSlotHeight);
    }
}

QueueFixture::~QueueFixture() { LetterSlot::SharedLooks() = LetterSlot::Looks{}; }

std::vector<const WordNode*> QueueFixture::Records(const std::vector<std::string>& words) {
    std::vector<const WordNode*> records;
    for (const std::string& word : words) {
        records_.push_back(std::make_unique<WordNode>(word));
        records.push_back(records_.back().get());
    }
    return records;
}

Ref<WordQueue> QueueFixture::QueueOf(const std::vector<std::string>& words, int width) {
    Ref<WordQueue> queue = new WordQueue;
    queue->SetWidth(width);
    queue->AddWord(Records(words), false);
    return queue;
}

std::vector<std::string> QueueFixture::PlainTexts(const WordQueue& queue) {
    std::vector<std::string> texts;
    for (const Ref<WordSprite>& word : queue.Words()) {
        texts.push_back(word->PlainText());
    }
    return texts;
}

void QueueFixture::Run(GameNode& node, int frames, int elapsedMs) {
    for (int i = 0; i < frames; ++i) {
        UpdatePass::StepNodeTree(node, elapsedMs);
    }
}
