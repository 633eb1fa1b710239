#include "game/words/LetterNode.h"

#include <algorithm>

#include "game/words/WordList.h"

LetterNode* LetterNode::FindChild(uint8_t letter) const {
    auto it = std::lower_bound(children_.begin(), children_.end(), letter,
                               [](const std::unique_ptr<LetterNode>& child, uint8_t l) { return child->letter_ < l; });
    return it != children_.end() && (*it)->letter_ == letter ? it->get() : nullptr;
}

LetterNode* LetterNode::FindOrAddChild(uint8_t letter) {
    auto it = std::lower_bound(children_.begin(), children_.end(), letter,
                               [](const std::unique_ptr<LetterNode>& child, uint8_t l) { return child->letter_ < l; });
    if (it != children_.end() && (*it)->letter_ == letter) {
        return it->get();
    }
    if (children_.size() >= kMaxChildren) {
        return nullptr;
    }
    return children_.insert(it, std::make_unique<LetterNode>(letter))->get();
}

LetterNode* LetterNode::ReplaceChild(std::unique_ptr<LetterNode> replacement) {
    for (std::unique_ptr<LetterNode>& child : children_) {
        if (child->letter_ == replacement->letter_) {
            replacement->flags_ |= child->flags_;
            replacement->children_ = std::move(child->children_);
            child = std::move(replacement);
            return child.get();
        }
    }
    return nullptr;
}

WordNode::WordNode(const std::string& text)
    : WordNode(text.empty() ? kNoLetter : WordList::FoldLetter(static_cast<uint8_t>(text.back())), text,
               WordList::CountLetters(text)) {}

WordNode::WordNode(uint8_t letter, const std::string& text, int letterCount)
    : LetterNode(letter), text_(text), letterCount_(letterCount) {}
