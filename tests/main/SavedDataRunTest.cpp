#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/media/GameWindow.h"
#include "engine/media/MemorySurface.h"
#include "main/Application.h"
#include "main/ScriptedRunFixture.h"
#include "platform/Files.h"
#include "platform/RunOptions.h"

using namespace platform;

namespace {

// The player list dialog, centred on the screen.
constexpr int32_t kListLeft = 186;
constexpr int32_t kListTop = 138;
constexpr int32_t kListRight = 614;
constexpr int32_t kListBottom = 490;

bool IsParchment(const Rgb& pixel) { return pixel.r > 200 && pixel.g > 180 && pixel.r > pixel.b + 15; }


}  // namespace

// The players as someone would handle them: the first name typed at the first
// start, two more added, the one in the middle removed while it is the
// current one, the first chosen again; the locked classic button's hint and
// the trophy cabinet and a tooltip on the way. After a restart the list on screen and the
// player files on disk are those the first run left.
TEST_F(ScriptedRunTest, PlayersMadeSwitchedAndRemovedAreTheSameAfterARestart) {
    const std::string shots = FreshScreenshotFolder("player-screens");
    Prepare(kFirstStartToMenu +
            "screenshot newplayer\n"
            "type \"Ada\"\n"
            "key RETURN\n"
            "wait ms 1500\n" +
            AddPlayer("Bob") + AddPlayer("Cy") +
            "click 175 395\n"
            "wait ms 800\n"
            "screenshot three_players\n"
            // Bob, in the middle, becomes current and is removed.
            "click 386 247\n"
            "wait ms 500\n"
            "click 402 427\n"
            "wait ms 800\n"
            "screenshot remove_question\n"
            "click 320 381\n"
            "wait ms 800\n"
            "click 386 207\n"
            "wait ms 500\n"
            "screenshot two_players\n"
            "click 524 427\n"
            "wait ms 1500\n"
            "screenshot menu\n"
            "mouse 400 250\n"
            "wait ms 300\n"
            "mouse 402 252\n"
            "wait ms 1500\n"
            "screenshot adventure_tooltip\n"
            "click 400 335\n"
            "wait ms 1000\n"
            "screenshot classic_locked\n"
            "click 394 325\n"
            "wait ms 1000\n"
            "click 742 50\n"
            "wait ms 2000\n"
            "screenshot cabinet\n"
            "click 396 521\n"
            "wait ms 1000\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);

    // The restart is the program itself, as a new process on the same data
    // folder: a run ends by releasing the class registry this process has.
    // This process lets go of the single-instance lock as its exit would.
    GameWindow::ReleaseSingleInstanceForTesting();
    Prepare(kLaterStartToMenu +
            "screenshot restarted_menu\n"
            "click 175 395\n"
            "wait ms 800\n"
            "screenshot restarted_players\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ASSERT_EQ(RunProgram(), 0);

    std::vector<std::string> playerFiles;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder_.Path() + "/data/Quelt/Games/Word Rail/players")) {
        const std::string name = entry.path().filename().string();
        if (name.find(".plr.") != std::string::npos) playerFiles.push_back(name);
    }
    std::sort(playerFiles.begin(), playerFiles.end());
    EXPECT_EQ(playerFiles, (std::vector<std::string>{"Ada.plr.!", "Cy.plr.!"}));

    const auto shot = [&shots](const char* name) { return LoadScreenshot(shots, name); };
    // The name field is drawn: a wooden rim around paper lighter than the dialog.
    const Ref<MemorySurface> asking = shot("newplayer");
    ASSERT_TRUE(asking);
    const Rgb rim = PixelOf(*asking, 271, 310);
    const Rgb field = PixelOf(*asking, 400, 318);
    const Rgb dialog = PixelOf(*asking, 400, 340);
    EXPECT_LT(rim.r + 60, field.r) << rim.r << " " << field.r;
    EXPECT_GT(field.b, dialog.b + 10) << field.b << " " << dialog.b;
    // Resting on the adventure button shows its tooltip, lettered, below the pointer.
    const Ref<MemorySurface> tooltip = shot("adventure_tooltip");
    ASSERT_TRUE(tooltip);
    EXPECT_TRUE(IsParchment(PixelOf(*tooltip, 600, 305)));
    int ink = 0;
    for (int32_t x = 400; x < 628; ++x) {
        ink += PixelOf(*tooltip, x, 283).r < 100;
    }
    EXPECT_GT(ink, 10);
    // The locked classic button shows its hint bubble over the button.
    const Ref<MemorySurface> locked = shot("classic_locked");
    ASSERT_TRUE(locked);
    EXPECT_TRUE(IsParchment(PixelOf(*locked, 300, 330)));
    EXPECT_FALSE(IsParchment(PixelOf(*shot("menu"), 300, 330)));
    // The trophy button opened the cabinet over the whole menu.
    const Ref<MemorySurface> cabinet = shot("cabinet");
    ASSERT_TRUE(cabinet);
    EXPECT_TRUE(IsParchment(PixelOf(*cabinet, 60, 450)));
    // The list after the restart looks exactly as the first run left it.
    const Ref<MemorySurface> before = shot("two_players");
    const Ref<MemorySurface> after = shot("restarted_players");
    ASSERT_TRUE(before && after);
    EXPECT_EQ(DifferingPixels(*before, *after, kListLeft, kListTop, kListRight, kListBottom), 0);
    // The third slot, named in the list of three, is empty in both.
    const Ref<MemorySurface> three = shot("three_players");
    ASSERT_TRUE(three);
    EXPECT_GT(DifferingPixels(*three, *before, 405, 275, 480, 300), 20);
}

namespace {

std::string ReadTestScript(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(std::string(WORDRAIL_TEST_DATA) + "/main/data/" + name, bytes)) << name;
    return std::string(bytes.begin(), bytes.end());
}

// The first <Vector id="NAME"> ... </Vector> of a stored file.
std::string VectorIn(const std::string& text, const std::string& name) {
    const size_t start = text.find("<Vector id=\"" + name + "\"");
    const size_t end = text.find("</Vector>", start);
    return start == std::string::npos || end == std::string::npos ? std::string() : text.substr(start, end - start);
}

// Every value="N" in `text`, in order; booleans count as 0 and 1.
std::vector<int64_t> NumbersOf(const std::string& text, const std::string& only = "Integer") {
    std::vector<int64_t> numbers;
    const std::string tag = "<" + only;
    for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
        const size_t value = text.find("value=\"", at);
        if (value == std::string::npos) break;
        const std::string word = text.substr(value + 7, text.find('"', value + 7) - value - 7);
        numbers.push_back(word == "true" ? 1 : word == "false" ? 0 : std::stoll(word));
    }
    return numbers;
}

std::vector<int64_t> BooleansNamed(const std::string& text, const std::string& id) {
    return NumbersOf(text, "Boolean id=\"" + id + "\"");
}

int64_t Sum(const std::vector<int64_t>& numbers) {
    int64_t sum = 0;
    for (const int64_t number : numbers) sum += number;
    return sum;
}

// The first NAME="N" attribute of a stored file, or -1.
int64_t AttributeOf(const std::string& text, const std::string& name) {
    const size_t at = text.find(" " + name + "=\"");
    return at == std::string::npos ? -1 : std::stoll(text.substr(at + name.size() + 3));
}

// The first NAME="text" attribute of a stored file.
std::string TextAttributeOf(const std::string& text, const std::string& name) {
    const size_t at = text.find(" " + name + "=\"");
    if (at == std::string::npos) return "";
    const size_t start = at + name.size() + 3;
    return text.substr(start, text.find('"', start) - start);
}

// The score on the game scene's bar.
constexpr int32_t kScoreLeft = 215;
constexpr int32_t kScoreTop = 152;
constexpr int32_t kScoreRight = 380;
constexpr int32_t kScoreBottom = 182;


}  // namespace

// A game played as a player plays it (the script files say how) over four
// runs of the program on the same data: the first start through the first
// section of the map, the classic games, and a classic race resumed from
// the save game. Screenshots of every screen stay in the build tree for
// people to look at.
TEST_F(ScriptedRunTest, AGamePlayedFromTheFirstStartGoesOnAfterARestart) {
    const std::string shots = FreshScreenshotFolder("playthrough");
    Prepare(ReadTestScript("playthrough.script"));
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);
    // The later runs are the program itself, as new processes on the same
    // data folder; this process lets go of the single-instance lock as its
    // exit would.
    GameWindow::ReleaseSingleInstanceForTesting();
    auto runAgain = [this, &shots](const char* script) {
        Prepare(ReadTestScript(script));
        setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
        return RunProgram(ChildRun{.environment = {{"WORDRAIL_WATCHDOG_MS", "600000"}}});
    };
    ASSERT_EQ(runAgain("playthrough_again.script"), 0);
    for (const char* name :
         {"splash", "load_question", "new_player", "menu", "settings", "map", "ticket", "level_help", "level",
          "level_words", "level_won", "map_after_win", "map_nedholm", "buy_question", "track_bought", "opponent",
          "level_lost", "map_after_loss", "opponent_beaten", "result", "new_rank", "map_fernwick", "quit_question",
          "again_menu", "again_cabinet", "again_map", "rich_at_fernwick", "at_dungate", "at_ostfield",
          "at_dunbrook", "at_hartham", "section_complete", "trophy", "trophy_cabinet", "next_arrow",
          "section_two"})
        EXPECT_TRUE(FileExists(shots + "/" + name + ".png")) << name;

    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players/";
    const std::string saveGame = folder_.Path() + "/data/Quelt/Games/Word Rail/savegames/Ada/kr2.sav.!";
    const std::string list = ReadStoredFile(players + "players.plrs.!");
    const std::string player = ReadStoredFile(players + "Ada.plr.!");
    EXPECT_NE(list.find("<Text id=\"currentplayer\" value=\"Ada\" />"), std::string::npos) << list;
    // Eleven races won (the lost one is not booked in the files); the coins
    // are what they earned less the six tracks bought.
    EXPECT_EQ(Sum(NumbersOf(VectorIn(list, "MissionsWon"))), 11) << list;
    // The ranks of the section brought Fresh Coals and Jumbled Words, each
    // offered and won as soon as it came; Six Letters is all the first run
    // had.
    const std::vector<int64_t> played = NumbersOf(VectorIn(list, "playcount"));
    ASSERT_EQ(played.size(), 8u) << list;
    EXPECT_EQ(Sum(played), 11) << list;
    EXPECT_GE(played[0], 3) << list;
    EXPECT_GE(played[2], 1) << list;
    EXPECT_GE(played[3], 1) << list;
    EXPECT_GE(AttributeOf(list, "ranking"), 3) << list;
    EXPECT_EQ(AttributeOf(list, "tracksBought"), 6);
    EXPECT_EQ(AttributeOf(list, "moneySpent"), 300);
    const int64_t earned = AttributeOf(list, "moneyEarned");
    EXPECT_GE(earned, 300);
    EXPECT_EQ(AttributeOf(player, "coins"), earned - 300);
    EXPECT_NE(player.find("showhints=\"false\""), std::string::npos) << player;
    // The first section is built and finished, its trophy awarded; the train
    // waits at the entry of the second section.
    const std::string firstSection = VectorIn(player, "tracks");
    EXPECT_EQ(BooleansNamed(firstSection, "bought"), std::vector<int64_t>(10, 1));
    EXPECT_EQ(Sum(NumbersOf(firstSection)), 11);
    EXPECT_EQ(BooleansNamed(player, "finished")[0], 1);
    EXPECT_EQ(NumbersOf(VectorIn(list, "trophysAwarded"))[0], 2);
    EXPECT_EQ(AttributeOf(player, "cursection"), 1);
    EXPECT_EQ(AttributeOf(player, "curcity"), 0);

    // The other kinds come with later ranks: Ada's stats are given one game
    // of each kind she has not played, as the map would have.
    std::string stats = ReadStoredFile(players + "players.plrs.!");
    const size_t playcount = stats.find("<Vector id=\"playcount\">");
    ASSERT_NE(playcount, std::string::npos);
    // Past the first entry, the count of the type played so far.
    const size_t firstType = stats.find("/>", playcount);
    ASSERT_NE(firstType, std::string::npos);
    for (size_t at = stats.find("<Integer value=\"0\" />", firstType), end = stats.find("</Vector>", playcount);
         at != std::string::npos && at < end; at = stats.find("<Integer value=\"0\" />", at)) {
        stats.replace(at, 22, "<Integer value=\"1\" />");
    }
    WriteStoredFile(players + "players.plrs.!", stats);

    ASSERT_EQ(runAgain("playthrough_classic.script"), 0);
    // Quit in the middle of a race, the game is kept: the last type, with
    // the points of its first words.
    ASSERT_TRUE(FileExists(saveGame));
    const std::string left = ReadStoredFile(saveGame);
    EXPECT_EQ(TextAttributeOf(left, "GameType"), "7");
    const int64_t leftScore = AttributeOf(left, "score");
    EXPECT_GT(leftScore, 0) << left;

    ASSERT_EQ(runAgain("playthrough_resume.script"), 0);
    // Resumed, the race showed the score it was left with; three more words
    // added to it, and quitting kept the same race again.
    const auto shot = [&shots](const char* name) { return LoadScreenshot(shots, name); };
    const Ref<MemorySurface> leaving = shot("classic_wild_coal");
    const Ref<MemorySurface> resumed = shot("resumed");
    ASSERT_TRUE(leaving && resumed);
    EXPECT_EQ(DifferingPixels(*leaving, *resumed, kScoreLeft, kScoreTop, kScoreRight, kScoreBottom), 0);
    // The word queue is the one left, with no tile of another list among its words.
    EXPECT_EQ(DifferingPixels(*leaving, *resumed, 145, 200, 660, 340), 0);
    ASSERT_TRUE(FileExists(saveGame));
    const std::string kept = ReadStoredFile(saveGame);
    EXPECT_EQ(TextAttributeOf(kept, "LetterSet"), TextAttributeOf(left, "LetterSet"));
    EXPECT_GT(AttributeOf(kept, "score"), leftScore);

    for (const char* name : {"classic_scene", "classic_quit_question", "resume_question", "resumed_words"})
        EXPECT_TRUE(FileExists(shots + "/" + name + ".png")) << name;
    // In every type's race the words typed scored: the score on the bar
    // changed from the start of the race.
    for (const std::string type : {"six_letters", "seven_letters", "fresh_coals", "jumbled_words",
                                   "missing_letters", "keep_the_word", "secret_words", "wild_coal"}) {
        EXPECT_TRUE(FileExists(shots + "/scores_" + type + ".png")) << type;
        const Ref<MemorySurface> start = shot(("start_" + type).c_str());
        const Ref<MemorySurface> typed = shot(("classic_" + type).c_str());
        ASSERT_TRUE(start && typed) << type;
        EXPECT_GT(DifferingPixels(*start, *typed, kScoreLeft, kScoreTop, kScoreRight, kScoreBottom), 20) << type;
    }
    // Each type's table of best runs was shown and is kept; a classic game
    // enters its score only when it ends in a lost race.
    const std::string scores = ReadStoredFile(players + "scores.xml.!");
    for (const char* table : {"MODE_CLASSIC6", "MODE_CLASSIC7", "MODE_REPLACE", "MODE_ANAGRAMS", "MODE_SLOTS",
                              "MODE_KEEP", "MODE_SECRET", "MODE_JOKER"}) {
        const size_t at = scores.find("<ScoreTable id=\"" + std::string(table) + "\"");
        ASSERT_NE(at, std::string::npos) << table;
        EXPECT_EQ(NumbersOf(VectorIn(scores.substr(at), "entries"), "KR2Score").size(), 5u) << table;
    }
}

namespace {

// How many tracks and cities a stored player file has bought.
size_t BoughtCount(const std::string& player) {
    return Sum(BooleansNamed(player, "bought"));
}

// The player file with every track of the second map section bought, as
// though the player had built that section.
std::string WithSecondSectionBought(std::string player) {
    const size_t second = player.find("<PlayerSectionData>", player.find("<PlayerSectionData>") + 1);
    const size_t end = player.find("<Vector id=\"cities\">", second);
    const std::string unbought = "<Boolean id=\"bought\" value=\"false\" />";
    for (size_t at = player.find(unbought, second); at != std::string::npos && at < end;
         at = player.find(unbought, at)) {
        player.replace(at, unbought.size(), "<Boolean id=\"bought\" value=\"true\" />");
    }
    return player;
}

std::string WithCoins(std::string player, int coins) {
    const size_t at = player.find(" coins=\"");
    player.replace(at + 8, player.find('"', at + 8) - at - 8, std::to_string(coins));
    return player;
}

}  // namespace

// Each player's map and tickets stay that player's over restarts, whatever
// the others do: Ada, who has built a section and holds offered tickets,
// adds Bob (which saves every player), chooses herself again, and the
// program is started again; then, with the player list lost, her name typed
// anew brings her back from her file.
TEST_F(ScriptedRunTest, EachPlayersMapAndTicketsStayTheirsOverRestartsAndANameTypedAgainBringsThemBack) {
    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players/";
    const std::string adaFile = players + "Ada.plr.!";
    EnterFolder(WORDRAIL_BUILD_DIR);
    const auto run = [this](const std::string& script) {
        Prepare(script);
        return RunProgram();
    };
    // The first start names Ada and opens the map, which offers her tickets.
    ASSERT_EQ(run(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\nclick 400 255\nwait ms 5500\n" +
                  kQuit),
              0);
    const std::string fresh = ReadStoredFile(adaFile);
    const std::string tickets = VectorIn(fresh, "tickets");
    ASSERT_NE(tickets.find("<TicketInfo"), std::string::npos) << fresh;
    WriteStoredFile(adaFile, WithCoins(WithSecondSectionBought(fresh), 62));
    const std::string built = ReadStoredFile(adaFile);
    const size_t adaBought = BoughtCount(built);
    ASSERT_GT(adaBought, BoughtCount(fresh));

    // Bob added, then Ada chosen again in the list of players.
    ASSERT_EQ(run(kLaterStartToMenu + AddPlayer("Bob") +
                  "click 175 395\nwait ms 800\nclick 386 207\nwait ms 500\nclick 524 427\nwait ms 1500\n" + kQuit),
              0);
    const auto expectAdasOwn = [&](const char* when) {
        const std::string ada = ReadStoredFile(adaFile);
        EXPECT_EQ(BoughtCount(ada), adaBought) << when;
        EXPECT_EQ(VectorIn(ada, "sections"), VectorIn(built, "sections")) << when;
        EXPECT_EQ(VectorIn(ada, "tickets"), tickets) << when;
        EXPECT_EQ(AttributeOf(ada, "coins"), 62) << when;
    };
    expectAdasOwn("after adding Bob and choosing Ada again");
    // Bob's map is his own: nothing of Ada's second section is built in it.
    const std::string bob = ReadStoredFile(players + "Bob.plr.!");
    EXPECT_LE(BoughtCount(bob), BoughtCount(fresh));
    EXPECT_NE(WithSecondSectionBought(bob), bob);
    EXPECT_EQ(VectorIn(bob, "tickets").find("<TicketInfo"), std::string::npos) << bob;
    EXPECT_NE(ReadStoredFile(players + "players.plrs.!").find("<Text id=\"currentplayer\" value=\"Ada\" />"),
              std::string::npos);

    // Started again with Ada current and Bob listed after her.
    ASSERT_EQ(run(kLaterStartToMenu + kQuit), 0);
    expectAdasOwn("after a restart");

    // The list is lost; the game asks for a name as at a first start.
    WriteStoredFile(players + "players.plrs.!", "damaged");
    ASSERT_EQ(run(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\n" + kQuit), 0);
    expectAdasOwn("after the list was lost and her name typed again");
    EXPECT_EQ(ReadStoredFile(players + "players.plrs.!.damaged-1"), "damaged");
    EXPECT_NE(ReadStoredFile(players + "players.plrs.!").find("<Text id=\"currentplayer\" value=\"Ada\" />"),
              std::string::npos);
}

namespace {

bool AppearsWithin(const std::string& path, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!FileExists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// From the menu: the classic button, whose question about the unfinished
// game is answered yes.
const std::string kCarryOn = "click 400 335\nwait ms 1500\nclick 320 381\n";
// Three words of the race typed and fired.
const std::string kThreeWords = "repeat 3\n  type open word\n  key RETURN\n  wait ms 1000\nend\n";
// The game's menu button clicked, or the hint bubble already open over the
// race: either pauses it. Then a wait that only a signal ends.
const std::string kPauseForever = "click 748 209\nwait ms 1500\nscreenshot paused\nwait ms 100000000\n";

}  // namespace

// A classic game resumed over restarts of the program keeps its save game
// on disk until a newer save replaces it: left again before its race starts,
// or killed in the middle of the race, the save is the one it was resumed
// from; a hang-up ends the run the normal way, which writes the newer race.
// A damaged save game answered "carry on" is told, leads to the classic
// scene, drawn, and is kept aside.
TEST_F(ScriptedRunTest, AResumedClassicGameKeepsItsSaveOverRestarts) {
    const std::string shots = FreshScreenshotFolder("resume-screens");
    const auto prepare = [this, &shots](const std::string& script) {
        Prepare(script);
        setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    };
    const std::string game = folder_.Path() + "/data/Quelt/Games/Word Rail";
    const std::string list = game + "/players/players.plrs.!";
    const std::string save = game + "/savegames/Ada/kr2.sav.!";

    prepare(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\n" + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    // Ada has won the missions that open the classic games, of the first
    // game type, and has scored, so no help stops the race.
    std::string stats = ReadStoredFile(list);
    for (const char* counters : {"MissionsWon", "playcount"}) {
        const size_t at = stats.find("<Integer value=\"0\" />", stats.find(std::string("<Vector id=\"") + counters));
        ASSERT_NE(at, std::string::npos) << counters << stats;
        stats.replace(at, 22, "<Integer value=\"3\" />");
    }
    const size_t score = stats.find(" score=\"0\"");
    ASSERT_NE(score, std::string::npos) << stats;
    stats.replace(score, 10, " score=\"500\"");
    WriteStoredFile(list, stats);

    // A new classic game of six letters, left in its race.
    prepare(kLaterStartToMenu + "click 400 335\nwait ms 3000\nclick 145 67\nwait ms 1500\nclick 525 535\n"
            "wait ms 8000\n" + kThreeWords + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    const std::vector<uint8_t> left = BytesOf(save);
    ASSERT_FALSE(left.empty());
    const int64_t leftScore = AttributeOf(ReadStoredFile(save), "score");
    EXPECT_GT(leftScore, 0);

    // Resumed and left while the level waits for its start.
    // (The level shows some 700 ms after the answer and waits 1.5 s for its start.)
    prepare(kLaterStartToMenu + kCarryOn + "wait ms 1200\nscreenshot resumed_at_once\n" + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    EXPECT_EQ(BytesOf(save), left);

    // Resumed, played, and killed in the race.
    prepare(kLaterStartToMenu + kCarryOn + "wait ms 8000\n" + kThreeWords + kPauseForever);
    pid_t child = StartProgram();
    ASSERT_TRUE(AppearsWithin(shots + "/paused.png", std::chrono::seconds(60)));
    kill(child, SIGKILL);
    EXPECT_EQ(WaitForProgram(child), 128 + SIGKILL);
    EXPECT_EQ(BytesOf(save), left);

    // Resumed, played, and hung up on: the run ends as a quit does.
    std::filesystem::remove(shots + "/paused.png");
    child = StartProgram();
    ASSERT_TRUE(AppearsWithin(shots + "/paused.png", std::chrono::seconds(60)));
    kill(child, SIGHUP);
    EXPECT_EQ(WaitForProgram(child), 0);
    EXPECT_GT(AttributeOf(ReadStoredFile(save), "score"), leftScore);

    // A damaged save game: carrying on leads to the classic scene.
    WriteStoredFile(save, "<root><Node id=\"ticket\"");
    prepare(kLaterStartToMenu + kCarryOn + "wait ms 3000\nscreenshot classic_after_damaged\n" + kQuit);
    const std::string said = folder_.Path() + "/said.txt";
    ASSERT_EQ(RunProgram(ChildRun{.errorOutput = said}), 0);
    EXPECT_FALSE(FileExists(save));
    EXPECT_TRUE(FileExists(save + ".damaged-1"));
    // Told in the message box, not only in the log.
    const std::vector<uint8_t> box = BytesOf(said);
    EXPECT_NE(std::string(box.begin(), box.end())
                  .find("[Saved game] The saved classic game of \"Ada\" cannot be carried on: its file is damaged"),
              std::string::npos)
        << std::string(box.begin(), box.end());
    const Ref<MemorySurface> classic = LoadScreenshot(shots, "classic_after_damaged");
    ASSERT_TRUE(classic);
    int lit = 0;
    for (int32_t y = 0; y < 600; y += 10) {
        for (int32_t x = 0; x < 800; x += 10) {
            const Rgb pixel = PixelOf(*classic, x, y);
            lit += pixel.r + pixel.g + pixel.b > 90;
        }
    }
    EXPECT_GT(lit, 2400) << "the classic scene is dark";
}

// Only classic games are kept to be carried on. A map race ended by a
// signal is saved as a quit at the same moment saves it: the same player
// list and player file, and no save game that a later start would offer.
TEST_F(ScriptedRunTest, AMapRaceEndedByASignalIsSavedAsAQuitSavesIt) {
    const std::string shots = FreshScreenshotFolder("map-race-signal-screens");
    const std::string game = folder_.Path() + "/data/Quelt/Games/Word Rail";
    const std::string list = game + "/players/players.plrs.!";
    const std::string ada = game + "/players/Ada.plr.!";
    const std::string pausedInTheRace = kIntoTheFirstLevel + "wait ms 6000\n" + kThreeWords +
                                        "click 748 209\nwait ms 1500\nscreenshot paused\n";
    const auto prepare = [this, &shots](const std::string& script) {
        std::filesystem::remove_all(folder_.Path() + "/data");
        std::filesystem::remove_all(folder_.Path() + "/config");
        std::filesystem::remove(shots + "/paused.png");
        Prepare(script);
        setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    };

    prepare(pausedInTheRace + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    const std::string quitList = ReadStoredFile(list);
    const std::string quitAda = ReadStoredFile(ada);
    EXPECT_FALSE(FileExists(game + "/savegames/Ada/kr2.sav.!"));

    prepare(pausedInTheRace + "wait ms 100000000\n");
    const pid_t child = StartProgram();
    ASSERT_TRUE(AppearsWithin(shots + "/paused.png", std::chrono::seconds(60)));
    kill(child, SIGTERM);
    EXPECT_EQ(WaitForProgram(child), 0);
    EXPECT_EQ(ReadStoredFile(list), quitList);
    EXPECT_EQ(ReadStoredFile(ada), quitAda);
    EXPECT_FALSE(FileExists(game + "/savegames/Ada/kr2.sav.!"));
}

// A map that cannot be read stops the program before it reads or writes any
// player file: the player's map progress is as the last run left it, and
// the next run with the map whole goes on with it.
TEST_F(ScriptedRunTest, ADamagedMapStopsTheProgramAndKeepsThePlayersMapProgress) {
    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players";
    Prepare(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\nclick 400 255\nwait ms 5500\n" + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    const std::vector<uint8_t> player = BytesOf(players + "/Ada.plr.!");
    const std::vector<uint8_t> list = BytesOf(players + "/players.plrs.!");
    const std::string progress = ReadStoredFile(players + "/Ada.plr.!");
    ASSERT_NE(progress.find("PlayerSectionData"), std::string::npos) << progress;

    // The same program beside loose media whose map is cut short.
    TempFolder copy;
    const std::string built = WORDRAIL_BUILD_DIR;
    std::filesystem::copy_file(WORDRAIL_PROGRAM, copy.Path() + "/wordrail");
    std::filesystem::permissions(copy.Path() + "/wordrail", std::filesystem::perms::owner_all);
    for (const auto& entry : std::filesystem::directory_iterator(built + "/media")) {
        if (entry.path().filename() != "data") {
            std::filesystem::create_directories(copy.Path() + "/media");
            std::filesystem::create_directory_symlink(entry.path(), copy.Path() + "/media/" +
                                                                        entry.path().filename().string());
        }
    }
    std::filesystem::create_directories(copy.Path() + "/media/data");
    std::filesystem::copy_file(built + "/media/data/words.dat", copy.Path() + "/media/data/words.dat");
    const std::vector<uint8_t> map = BytesOf(built + "/media/data/sections.xml");
    ASSERT_TRUE(WriteFileAtomically(copy.Path() + "/media/data/sections.xml", map.data(), map.size() / 2));

    Prepare(kLaterStartToMenu + "click 400 255\nwait ms 5500\n" + kQuit);
    const std::string stderrFile = folder_.Path() + "/said.txt";
    EXPECT_EQ(RunProgram(ChildRun{.errorOutput = stderrFile, .program = copy.Path() + "/wordrail"}), 1);
    const std::vector<uint8_t> said = BytesOf(stderrFile);
    EXPECT_NE(std::string(said.begin(), said.end())
                  .find("The map could not be read from \"media/data/sections.xml\".\nThe game cannot start."),
              std::string::npos)
        << std::string(said.begin(), said.end());
    EXPECT_EQ(BytesOf(players + "/Ada.plr.!"), player);
    EXPECT_EQ(BytesOf(players + "/players.plrs.!"), list);

    ASSERT_EQ(RunProgram(), 0);
    const auto records = [](const std::string& text, const std::string& word) {
        int count = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
        return count;
    };
    const std::string after = ReadStoredFile(players + "/Ada.plr.!");
    EXPECT_EQ(records(progress, "<PlayerSectionData"), 10);
    EXPECT_GT(records(progress, "\"bought\""), 10);
    for (const char* word : {"<PlayerSectionData", "\"bought\""})
        EXPECT_EQ(records(after, word), records(progress, word)) << word;
}

// Error output into a pipe whose reader has gone (a player's "| head -c 1"):
// every write there fails, and the run still ends normally and saves. A
// score file that cannot be read is told there at the quit, before the
// players are saved.
TEST_F(ScriptedRunTest, ErrorOutputNobodyReadsKeepsNothingFromBeingSaved) {
    Prepare(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\n" + kQuit);
    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players/";
    std::filesystem::create_directories(players + "scores.xml.!");
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    const pid_t child = StartProgram(ChildRun{.errorDescriptor = ends[1]});
    close(ends[1]);
    EXPECT_EQ(WaitForProgram(child), 0);
    EXPECT_NE(ReadStoredFile(players + "players.plrs.!").find("Ada"), std::string::npos);
    EXPECT_TRUE(FileExists(players + "Ada.plr.!"));
}
