#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"

// Any bytes read as a word file must give a word list whose searches work.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ref<WordList> list = new WordList;
    list->ReadWordFile(data, size);
    for (const WordNode* word : list->WordIndex()) {
        const bool plain = word->Text().find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos;
        if (plain && list->Contains(word->Text()) == nullptr) {
            __builtin_trap();
        }
    }
    std::vector<const WordNode*> found;
    list->FindFromLetters("etaoin?", found, false, 0);
    list->MatchPattern("??a??", &found);
    return 0;
}
