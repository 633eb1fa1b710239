#pragma once

#include <memory>
#include <string>
#include <vector>

#include "TicketFixture.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/UpdatePass.h"
#include "game/words/LetterNode.h"
#include "game/words/WordQueue.h"

// The queue's constants (5 rows 20 px apart, columns 10 px apart, slots
// 20 x 24 px with 2 px between them, so a word of n letters is 22 n - 2 px
// wide) and plain slot pictures in the shared looks; the looks are emptied again.
class QueueFixture {
public:
    static constexpr int kSlotWidth = 20;
    static constexpr int kSlotHeight = 24;
    static constexpr int kLetterSpacing = 2;
    static constexpr int kColumnSpacing = 10;
    static constexpr int kRows = 5;
    static constexpr int kRowSpacing = 20;

    QueueFixture();
    ~QueueFixture();
    QueueFixture(const QueueFixture&) = delete;
    QueueFixture& operator=(const QueueFixture&) = delete;

    static int WordWidth(int letters) { return (kSlotWidth + kLetterSpacing) * letters - kLetterSpacing; }

    // A queue `width` px wide holding the words (cleared first).
    Ref<WordQueue> QueueOf(const std::vector<std::string>& words, int width = 200);
    // Records that live as long as the fixture.
    std::vector<const WordNode*> Records(const std::vector<std::string>& words);
    static std::vector<std::string> PlainTexts(const WordQueue& queue);
    // Steps the node and everything below it, `frames` times.
    static void Run(GameNode& node, int frames, int elapsedMs = 50);

private:
    TicketConstantsFixture constants_;
    std::vector<std::unique_ptr<WordNode>> records_;
};
