#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/Ref.h"
#include "game/constants/GameConstants.h"

// The eight constant files this build ships, read as start-up reads them
// (from the archive), against what the game's code relies on.
namespace {

const std::vector<std::string> kConstantFiles = {
    "media/properties/default.xml",      "media/properties/assets.xml",
    "media/properties/dynamic.xml",      "media/properties/text.xml",
    "media/properties/names.xml",        "media/properties/letterfreqs.xml",
    "media/properties/gamesettings.xml", "media/properties/rankings.xml",
};

constexpr int kAny = -1;

struct ListShape {
    const char* name;
    const char* entryWord;  // element word of every entry
    int least;
    int most;  // kAny: no upper bound
    std::vector<const char*> keys = {};  // keys every Node entry has
};

const std::vector<ListShape> kLists = {
    {"SCORE_PER_WORD_LENGTH", "Integer", 5, 5},
    {"UNITS_PER_WORD_LENGTH", "Integer", 5, 5},
    {"TRACK_LENGTH_PER_NUM_PIXELS", "Integer", 1, kAny},
    {"COINS_PER_PERFORMANCE", "Integer", 3, 3},
    {"COST_TRACK", "Integer", 10, 10},
    {"MULTIPLY_MISSION_CP_BY", "Float", 1, kAny},
    {"COAL_TYPE_WEIGHT", "Float", 8, 8},
    {"MISSIONS_BEFORE_BONUS_COALS", "Integer", 8, 8},
    {"ID_TOOLTIP_COAL", "String", 8, 8},
    {"WORDBAR_COAL_SPACING", "Integer", 2, kAny},
    {"COALS_PER_SECTION", "Integer", 4, kAny},
    {"BOOST_PECENTAGE_PER_SECTION", "Integer", 1, kAny},
    {"BOOST_OVERLAY", "Integer", 4, 4},
    {"BOOST_GLOW", "Node", 4, 4, {"x", "y"}},
    {"PLAYERTRAINS", "Node", 4, 4, {"section", "yoffset", "bgimage", "bodyimage", "BIGWHEELS", "wheelbarSmall",
                                    "ppbwf", "ppswf", "bigradius", "smallradius", "cx", "cy"}},
    {"AUTOTRAINS", "Node", 1, kAny, {"section", "yoffset", "bgimage", "bodyimage", "BIGWHEELS", "wheelbarSmall",
                                     "ppbwf", "ppswf", "bigradius", "smallradius"}},
    {"CARRIAGE_SETUP", "Node", 6, 6, {"x", "y", "wheelfrontx", "wheelfronty", "wheelback1x", "wheelback1y",
                                      "wheelback2x", "wheelback2y"}},
    {"TROPHY_BIG_SPRITES", "Node", 23, 23, {"button", "aX", "aY", "scale"}},
    {"TROPHY_DIALOG_BUTTONS", "Node", 23, 23, {"star", "button", "aX", "aY"}},
    {"REWARD_SPRITES", "Node", 14, 14, {"image", "aX", "aY"}},
    {"LETTER_FREQS", "Float", 26, 26},
    {"GAME_MODES", "String", 9, 9},
    {"RANKINGS", "Node", 15, 15, {"score"}},
    {"TEXT_HIGHSCORE_NAMES", "String", 5, kAny},
    {"HELP_HEADERS", "String", 1, kAny},
    {"HELP_SUBHEADERS", "String", 1, kAny},
    {"CREDITS_NAME", "String", 1, kAny},
};

const std::vector<std::string> kCreditLists = {
    "CREDITS_DESIGN", "CREDITS_PROGRAMMING", "CREDITS_GRAPHICS", "CREDITS_ARTDIRECTOR",
    "CREDITS_LEVELDESIGN", "CREDITS_PRODUCER", "CREDITS_AUDIO", "CREDITS_ORIGINALMUSIC",
    "CREDITS_QA", "CREDITS_LOCALISATION", "CREDITS_TECHSUPPORT", "CREDITS_THANKS",
};

const std::vector<std::string> kSingleTexts = {
    "TEXT_LOADING", "TEXT_QUESTION_QUIT", "TEXT_QUIT_HEADER", "TEXT_DIALOG_FULLSCREEN",
    "TEXT_DIALOG_FULLSCREEN_HEADER", "TOOLTIP_FULLSCREEN_YES", "TOOLTIP_FULLSCREEN_NO", "TEXT_WELCOMEPLAYER",
    "TEXT_SAVEGAME_HEADER", "TEXT_START_RECENT_SAVEGAME", "TOOLTIP_SAVEGAME_YES", "TOOLTIP_SAVEGAME_NO",
    "TEXT_MENU_STOP_HEADER", "TEXT_MENU_STOP_MAPSCENE", "TEXT_MENU_STOP_ADVENTURE", "TEXT_MENU_STOP_CLASSIC",
    "TEXT_GAME_INFO_HEADER", "TEXT_GAME_INFO", "TEXT_REMOVE_PLAYER_HEADER", "TEXT_REMOVE_PLAYER",
    "TEXT_PAGE_FORMAT", "TEXT_BUY_TRACK", "TEXT_BUY_TRACK_HEADER", "TEXT_GAME_END_HEADER", "TEXT_GAME_END",
    "TEXT_DECIMAL_SEPARATOR", "HINT_NOT_AVAILABLE", "RANKING_NEXTRANG_SCORE", "RANKING_NO_NEXTRANG",
    "STATISTICS_LEVELEND_WORDS_2", "TROPHY_DESC_DEFAULT", "TOOLTIP_CLASSIC_GAME", "TOOLTIP_CLASSIC_CANT_PLAY",
    "CREDITS_NAME_HEADER",
};

struct TextFamily {
    const char* prefix;
    int first;
    int last;
};

const std::vector<TextFamily> kTextFamilies = {
    {"RANK_NAME", 0, 14}, {"GAME_TYPE", 0, 8}, {"DESCRIPTION_GAMETYPE_", 0, 8}, {"TROPHY_NAME", 0, 22},
    {"TROPHY_DESC", 0, 22}, {"TROPHY_AWARDED_DESC", 0, 22}, {"STATISTICS_NAME", 1, 13},
};

// The texts the game fills in, with their fields in order; every other
// text must hold none.
const std::vector<std::pair<std::string, std::vector<std::string>>> kFormatTexts = {
    {"TEXT_WELCOMEPLAYER", {"%s"}}, {"TEXT_PAGE_FORMAT", {"%i", "%i"}}, {"TEXT_BUY_TRACK", {"%i"}},
    {"RANKING_NEXTRANG_SCORE", {"%i"}}, {"TOOLTIP_CLASSIC_GAME", {"%s"}},
};

const std::set<std::string> kRewardNames = {
    "people_carriage_2", "train_boost_1",     "people_carriage_3", "gamemode_replace", "train_boost_2",
    "people_carriage_4", "train_boost_3",     "gamemode_anagrams", "people_carriage_5", "gamemode_classic7",
    "gamemode_slots",    "gamemode_save",     "gamemode_secret",   "gamemode_joker",
};

const std::string kBuild = WORDRAIL_BUILD_DIR;

class ConstantFiles : public testing::Test {
protected:
    ConstantFiles() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(kBuild);
        OpenMediaArchive(LoadMode::File, "");
        defines_ = &Defines::Create();
        tree_ = new PropertyFile(kConstantFiles);
        loaded_ = tree_->Load();
        ClassFactory::Instance().CreateNamedObjects(*tree_);
    }
    ~ConstantFiles() override {
        Defines::ReleaseInstance();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
    }

    std::string TopLevelWord(const std::string& name) const {
        const Property* property = Property::Child(tree_.Get(), name);
        return property != nullptr ? property->TypeName() : "missing";
    }
    const Property* Entry(const std::string& list, int index) const {
        return Property::At(defines_->GetVector(list), index);
    }
    std::string Text(const std::string& id) const {
        const std::wstring wide = defines_->GetText(id);
        return std::string(wide.begin(), wide.end());
    }
    std::vector<std::string> TextIds() const {
        std::vector<std::string> ids;
        for (const Ref<Property>& property : tree_->Items()) {
            if (property->TypeName() == "Text") {
                ids.push_back(property->Name());
            }
        }
        return ids;
    }

    std::filesystem::path previous_;
    Defines* defines_ = nullptr;
    Ref<PropertyFile> tree_;
    bool loaded_ = false;
};

// Every printf field of the text: "%", its flags and width, the conversion.
std::vector<std::string> FormatFields(const std::string& text) {
    std::vector<std::string> fields;
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
        const size_t end = text.find_first_not_of("-+ #0123456789.", at + 1);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        fields.push_back(text.substr(at, next - at));
        at = next;
    }
    return fields;
}

float Number(const Property* node, const char* key) { return Property::AsFloat(Property::Child(node, key)); }

TEST_F(ConstantFiles, HoldEveryConstantListAndTextTheGameReadsWithinItsBounds) {
    ASSERT_TRUE(loaded_) << "every constant file is there and parses";

    // Scalars with the element word that puts them into the table the game reads.
    for (const char* name : kGameIntegerConstantNames) {
        EXPECT_EQ(TopLevelWord(name), "Integer") << name;
    }
    for (const char* name : kGameFloatConstantNames) {
        EXPECT_EQ(TopLevelWord(name), "Float") << name;
    }
    for (const char* name : {"GAME_ID", "GAME_NAME", "PLAYERS_VERSION"}) {
        EXPECT_EQ(TopLevelWord(name), "String") << name;
        EXPECT_FALSE(defines_->GetString(name).empty()) << name;
    }

    // Lists: length, the element word of their entries, the keys of node entries.
    std::vector<ListShape> lists = kLists;
    for (const std::string& credits : kCreditLists) {
        lists.push_back({credits.c_str(), "String", 0, kAny});
    }
    int credits = 0;
    for (const ListShape& list : lists) {
        EXPECT_EQ(TopLevelWord(list.name), "Vector") << list.name;
        const int count = defines_->GetVector(list.name)->Count();
        EXPECT_GE(count, list.least) << list.name;
        if (list.most != kAny) {
            EXPECT_LE(count, list.most) << list.name;
        }
        for (int i = 0; i < count; ++i) {
            const Property* entry = Entry(list.name, i);
            EXPECT_EQ(entry->TypeName(), list.entryWord) << list.name << " " << i;
            for (const char* key : list.keys) {
                EXPECT_NE(Property::Child(entry, key), nullptr) << list.name << " " << i << " " << key;
            }
        }
        if (std::string(list.name).rfind("CREDITS_", 0) == 0) {
            credits += count;
        }
    }
    EXPECT_GE(credits, 2) << "the credits divide by their number of names";
    EXPECT_EQ(defines_->GetVector("HELP_HEADERS")->Count(), defines_->GetVector("HELP_SUBHEADERS")->Count());

    // Values the game divides by, bounds it assumes, pairs it orders.
    auto integer = [this](const char* name) { return defines_->GetInt(name); };
    auto real = [this](const char* name) { return defines_->GetFloat(name); };
    auto ascending = [this](const char* list, const char* key) {
        const PropertyVector* entries = defines_->GetVector(list);
        for (int i = 1; i < entries->Count(); ++i) {
            const Property* before = Property::At(entries, i - 1);
            const Property* after = Property::At(entries, i);
            const auto value = [key](const Property* entry) {
                return Property::AsInt(key != nullptr ? Property::Child(entry, key) : entry);
            };
            if (value(after) <= value(before)) {
                return false;
            }
        }
        return true;
    };
    auto allEntries = [this](const char* list, const std::function<bool(const Property*)>& holds) {
        const PropertyVector* entries = defines_->GetVector(list);
        return std::all_of(entries->Items().begin(), entries->Items().end(),
                           [&holds](const Ref<Property>& entry) { return holds(entry.Get()); });
    };
    float letterWeights = 0.0f;
    for (int i = 0; i < 26; ++i) {
        letterWeights += Property::AsFloat(Entry("LETTER_FREQS", i));
    }
    const std::vector<std::pair<const char*, bool>> rules = {
        {"DEFAULT_GAME_TIME > 0", integer("DEFAULT_GAME_TIME") > 0},
        {"MINIMAP_PIXELS_PER_UNIT > 0", integer("MINIMAP_PIXELS_PER_UNIT") > 0},
        {"TURBO_MAX_TURNS > 0", integer("TURBO_MAX_TURNS") > 0},
        {"TRAIN_BOOST_MSEC_PER_COAL > 0", integer("TRAIN_BOOST_MSEC_PER_COAL") > 0},
        {"FORBIDDEN_LETTER_MAX_GAMES > 0", integer("FORBIDDEN_LETTER_MAX_GAMES") > 0},
        {"COAL_TIME_DURATION above the timer's 1580 ms lead-in", integer("COAL_TIME_DURATION") > 1580},
        {"MAX_LETTERS_BETWEEN_BONUS_CP0 >= MIN",
         integer("MAX_LETTERS_BETWEEN_BONUS_CP0") >= integer("MIN_LETTERS_BETWEEN_BONUS_CP0")},
        {"MAX_LETTERS_BETWEEN_BONUS_CP1 >= MIN",
         integer("MAX_LETTERS_BETWEEN_BONUS_CP1") >= integer("MIN_LETTERS_BETWEEN_BONUS_CP1")},
        {"DIALOG_BACKGROUND_ALPHA in 0..255",
         integer("DIALOG_BACKGROUND_ALPHA") >= 0 && integer("DIALOG_BACKGROUND_ALPHA") <= 255},
        {"TRAIN_FASTEST_SOUND_DELAY <= TRAIN_SLOWEST_SOUND_DELAY",
         integer("TRAIN_FASTEST_SOUND_DELAY") <= integer("TRAIN_SLOWEST_SOUND_DELAY")},
        {"TRAIN_MAX_SPEED > 0", real("TRAIN_MAX_SPEED") > 0.0f},
        {"TRAIN_MAX_TURBO_SPEED >= TRAIN_MAX_SPEED", real("TRAIN_MAX_TURBO_SPEED") >= real("TRAIN_MAX_SPEED")},
        {"TRAIN_ACC_INC > 0", real("TRAIN_ACC_INC") > 0.0f},
        {"TRAIN_ACC_DEC > 0", real("TRAIN_ACC_DEC") > 0.0f},
        {"MINIMAP_ACC_DEC > 0", real("MINIMAP_ACC_DEC") > 0.0f},
        {"QUEUE_ACC_DEC > 0", real("QUEUE_ACC_DEC") > 0.0f},
        {"RATING_CLASSIC_INC > 0", real("RATING_CLASSIC_INC") > 0.0f},
        {"RATING_CLASSIC_START in 0..1", real("RATING_CLASSIC_START") >= 0.0f && real("RATING_CLASSIC_START") <= 1.0f},
        {"MIN_PERFORMANCE_SECTION, MAX_PERFORMANCE_SECTION in 0..1",
         real("MIN_PERFORMANCE_SECTION") > 0.0f && real("MAX_PERFORMANCE_SECTION") < 1.0f},
        {"LETTER_FREQS sum to at least 0.001", letterWeights >= 0.001f},
        {"TRACK_LENGTH_PER_NUM_PIXELS ascending", ascending("TRACK_LENGTH_PER_NUM_PIXELS", nullptr)},
        {"RANKINGS scores ascending", ascending("RANKINGS", "score")},
        {"RANKINGS start at 0", Property::AsInt(Property::Child(Entry("RANKINGS", 0), "score")) == 0},
        {"COALS_PER_SECTION entries > 0 (boost meter capacity)",
         allEntries("COALS_PER_SECTION", [](const Property* e) { return Property::AsInt(e) > 0; })},
        {"weights of the special coals sum to at least 0.001",
         [&] {
             float sum = 0.0f;
             allEntries("COAL_TYPE_WEIGHT", [&sum](const Property* e) { return (sum += Property::AsFloat(e)) >= 0.0f; });
             return sum * 1000.0f >= 1.0f;
         }()},
        {"train wheel and rod steps are not 0",
         allEntries("PLAYERTRAINS", [](const Property* e) { return Number(e, "ppbwf") != 0 && Number(e, "ppswf") != 0; }) &&
             allEntries("AUTOTRAINS", [](const Property* e) { return Number(e, "ppbwf") != 0 && Number(e, "ppswf") != 0; })},
        {"every train has a driving wheel",
         allEntries("PLAYERTRAINS", [](const Property* e) { return Property::At(Property::Child(e, "BIGWHEELS"), 0) != nullptr; })},
        {"GAME_MODES are distinct",
         [&] {
             std::set<std::string> names;
             allEntries("GAME_MODES", [&names](const Property* e) { return names.insert(Property::AsString(e)).second; });
             return names.size() == 9;
         }()},
    };
    for (const auto& [rule, holds] : rules) {
        EXPECT_TRUE(holds) << rule;
    }

    // The mode group of each game type 0 to 7.
    const int lengthClasses = defines_->GetVector("TRACK_LENGTH_PER_NUM_PIXELS")->Count();
    for (int type = 0; type < 8; ++type) {
        const std::string name = Property::AsString(Entry("GAME_MODES", type));
        SCOPED_TRACE(name);
        EXPECT_EQ(TopLevelWord(name), "Node");
        const PropertyNode* group = defines_->GetNode(name);
        auto word = [group](const char* key) {
            const Property* value = Property::Child(group, key);
            return value != nullptr ? value->TypeName() : std::string("missing");
        };
        auto listOf = [group](const char* key, const char* entryWord, int least, int most) {
            const Property* list = Property::Child(group, key);
            const int count = list != nullptr && list->GetKind() == Property::kVector
                                  ? static_cast<const PropertyVector*>(list)->Count()
                                  : -1;
            EXPECT_GE(count, least) << key;
            EXPECT_LE(count, most) << key;
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(Property::At(list, i)->TypeName(), entryWord) << key << " " << i;
            }
        };
        for (const char* end : {"0", "1"}) {
            const std::string cp = std::string("_CP") + end;
            listOf(("DISTANCE" + cp).c_str(), "Integer", lengthClasses, 1000);
            listOf(("WORD_LENGTH_STRENGTH" + cp).c_str(), "Float", 5, 5);
            listOf(("WORD_LENGTH_CHANCE" + cp).c_str(), "Float", 4, 4);
            for (const char* key : {"MIN_WORD_PERC", "MAX_WORD_PERC", "FREQ_STRENGTH"}) {
                EXPECT_EQ(word((key + cp).c_str()), "Float") << key << cp;
            }
            for (const char* key : {"MIN_PERMUTATIONS", "MAX_PERMUTATIONS"}) {
                EXPECT_EQ(word((key + cp).c_str()), "Integer") << key << cp;
            }
            EXPECT_GE(Number(group, ("MAX_WORD_PERC" + cp).c_str()), Number(group, ("MIN_WORD_PERC" + cp).c_str()) + 0.001f) << cp;
            EXPECT_GT(Number(group, ("MIN_WORD_PERC" + cp).c_str()), 0.0f) << cp;
            EXPECT_GE(Number(group, ("MAX_PERMUTATIONS" + cp).c_str()), Number(group, ("MIN_PERMUTATIONS" + cp).c_str())) << cp;
            float chances = 0.0f;
            for (int i = 0; i < 4; ++i) {
                chances += Property::AsFloat(Property::At(Property::Child(group, ("WORD_LENGTH_CHANCE" + cp).c_str()), i));
            }
            EXPECT_GE(chances * 1000.0f, 1.0f) << cp;
        }
    }

    // Ranks: reward names the game knows, each with its text.
    for (int rank = 1; rank < 15; ++rank) {
        const Property* entry = Entry("RANKINGS", rank);
        EXPECT_EQ(kRewardNames.count(Property::AsString(Property::Child(entry, "reward"))), 1u) << rank;
        EXPECT_FALSE(Text(Property::AsString(Property::Child(entry, "text"))).empty()) << rank;
    }

    // Texts: every id the game asks for; the filled-in ones hold exactly their fields.
    std::vector<std::string> wanted = kSingleTexts;
    for (const TextFamily& family : kTextFamilies) {
        for (int i = family.first; i <= family.last; ++i) {
            wanted.push_back(family.prefix + std::to_string(i));
        }
    }
    for (int i = 0; i < lengthClasses; ++i) {
        wanted.push_back("TEXT_TICKET_DISTANCE" + std::to_string(i));
    }
    for (const std::string& credits : kCreditLists) {
        wanted.push_back(credits + "_HEADER");
    }
    for (int kind = 1; kind < 8; ++kind) {
        wanted.push_back(Property::AsString(Entry("ID_TOOLTIP_COAL", kind)));
    }
    for (const std::string& id : wanted) {
        EXPECT_EQ(TopLevelWord(id), "Text") << id;
        EXPECT_FALSE(Text(id).empty()) << id;
    }
    EXPECT_EQ(Text("TEXT_DECIMAL_SEPARATOR").size(), 1u);
    for (const std::string& id : TextIds()) {
        const std::string text = Text(id);
        EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; })) << id;
        const auto format = std::find_if(kFormatTexts.begin(), kFormatTexts.end(),
                                         [&id](const auto& entry) { return entry.first == id; });
        const std::vector<std::string> none;
        EXPECT_EQ(FormatFields(text), format != kFormatTexts.end() ? format->second : none) << id;
    }
}

// Missing Letters takes a word only when every letter is typed, the ones
// its slots show included, so each text that explains the kind says so.
TEST_F(ConstantFiles, TheMissingLettersTextsAskForTheWholeWord) {
    for (const char* id : {"DESCRIPTION_GAMETYPE_4", "TEXT_HINT_3", "TEXT_HINT_31"}) {
        const std::string text = Text(id);
        EXPECT_NE(text.find("whole word"), std::string::npos) << id << ": " << text;
        EXPECT_NE(text.find("shown as well"), std::string::npos) << id << ": " << text;
    }
}

}  // namespace
