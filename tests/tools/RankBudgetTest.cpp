#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"
#include "mediagen/ConstantsFile.h"
#include "mediagen/RankBudget.h"
#include "support/TempFolder.h"

namespace {

// 100 six-letter words ranked 10 to 109: full windows reach rank 34.
Ref<WordList> HundredRankedWords() {
    Ref<WordList> list = new WordList;
    for (int i = 0; i < 100; ++i) {
        std::string word = "aaaaaa";
        word[4] = static_cast<char>('a' + i / 26);
        word[5] = static_cast<char>('a' + i % 26);
        list->AddWord(word, 10 + i);
    }
    list->FinishAdding();
    return list;
}

std::string Settings(const std::string& modes, const std::string& group) {
    return "<root>\n<Vector id=\"GAME_MODES\">" + modes + "</Vector>\n<Node id=\"MODE_A\">" + group +
           "</Node>\n</root>\n";
}

TEST(RankBudget, EveryBudgetTheSettingsAllowMustFindAFullWindow) {
    const std::string fractions =
        "<Float id=\"MIN_WORD_PERC_CP0\" value=\"0.5\"/><Float id=\"MIN_WORD_PERC_CP1\" value=\"0.6\"/>";
    const std::string fits = "<Vector id=\"DISTANCE_CP0\"><Integer value=\"10\"/><Integer value=\"17\"/></Vector>"
                             "<Vector id=\"DISTANCE_CP1\"><Integer value=\"12\"/></Vector>" + fractions;
    const std::string tooFar = "<Vector id=\"DISTANCE_CP0\"><Integer value=\"10\"/><Integer value=\"18\"/></Vector>"
                               "<Vector id=\"DISTANCE_CP1\"><Integer value=\"12\"/></Vector>" + fractions;
    const std::string tooFarAtTheTop = "<Vector id=\"DISTANCE_CP0\"><Integer value=\"10\"/></Vector>"
                                       "<Vector id=\"DISTANCE_CP1\"><Integer value=\"#15\"/></Vector>" + fractions;
    struct Case {
        const char* what;
        std::string xml;
        bool fails;
    };
    const Case cases[] = {
        {"largest budget 17 / 0.5 = 34 is the last full window", Settings("<String value=\"MODE_A\"/>", fits), false},
        {"18 / 0.5 = 36 runs past it", Settings("<String value=\"MODE_A\"/>", tooFar), true},
        {"0x15 / 0.6 = 35 at rating 1", Settings("<String value=\"MODE_A\"/>", tooFarAtTheTop), true},
        {"the group of a type drawn by count is not checked",
         Settings("<String value=\"X\"/><String value=\"X\"/><String value=\"MODE_A\"/>", tooFar), false},
        {"no settings yet", "<root/>", false},
    };
    const Ref<WordList> list = HundredRankedWords();
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.Path() + "/gamesettings.xml";
        std::ofstream(path) << c.xml;
        if (c.fails) {
            EXPECT_THROW(CheckRankBudgets(ConstantsFile(path), *list), std::runtime_error) << c.what;
        } else {
            EXPECT_NO_THROW(CheckRankBudgets(ConstantsFile(path), *list)) << c.what;
        }
    }
}

}  // namespace
