#include "game/words/LetterNode.h"

#include "game/words/WordList.h"

int WordNode::LetterCount() const {
    return WordList::CountLetters(text_);
}
