#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/SavedFile.h"
#include "platform/Backend.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

// A profile with one summary value and one progress value; it writes no
// progress while it has no coins.
class TestProfile : public PlayerProfile {
    ENGINE_CLASS(TestProfile, PlayerProfile)

public:
    explicit TestProfile(std::string name, int level = 0, int coins = 0)
        : PlayerProfile(std::move(name)), level(level), coins(coins) {}
    explicit TestProfile(Property* node)
        : PlayerProfile(Property::AsString(Property::Child(node, "name"))),
          level(Property::AsInt(Property::Child(node, "level"))) {}

    void Write(Property* node) const override {
        PlayerProfile::Write(node);
        Property::NodeOf(node).SetTypeName("TestProfile");
        Property::NodeOf(node).Add(PropertyValue::FromInteger("level", level, true));
    }
    void WriteProgress(Property* node) const override {
        if (coins != 0) {
            Property::NodeOf(node).Add(PropertyValue::FromInteger("coins", coins, true));
        }
    }
    void ReadProgress(const Property* node) override { coins = Property::AsInt(Property::Child(node, "coins")); }

    int level = 0;
    int coins = 0;
};

const ClassRegistration registration("TestProfile", CreateFromProperty<TestProfile>);

std::string ReadText(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(platform::WriteFileAtomically(path, text.data(), text.size())) << path;
}

class PlayersTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetFoldersForTesting(); }
    void TearDown() override {
        Players::Free();
        ForgetFoldersForTesting();
    }

    static std::string Data() { return GetGameDataFolder(); }
    static std::string PlayersFolder() { return Data() + "/players"; }

    // A fresh list read from disk, as the next run would see it.
    static Players& Reload(const std::string& version = "1", bool scrambled = true) {
        Players::Free();
        Players& players = *Players::Create(version, scrambled);
        players.Load();
        return players;
    }

    static std::vector<std::string> Names(const Players& players) {
        std::vector<std::string> names;
        for (const Ref<PlayerProfile>& player : players.GetPlayers()) {
            names.push_back(player->GetName());
        }
        return names;
    }

    static TestProfile& At(const Players& players, size_t index) {
        return static_cast<TestProfile&>(*players.GetPlayers().at(index));
    }

    // alice (level 2, 5 coins), saved while current, then bob (no
    // progress) chosen and the list saved again.
    static Players& SaveTwoPlayers(bool scrambled = true) {
        Players& players = *Players::Create("1", scrambled);
        players.Add(new TestProfile("alice", 2, 5));
        players.Add(new TestProfile("bob"));
        players.Save();
        players.SetCurrent(players.GetPlayers()[1].Get());
        players.Save();
        return players;
    }

    // A list node naming the players, without a version.
    static Ref<PropertyNode> ListNode(const std::vector<std::string>& names) {
        Ref<PropertyNode> list = new PropertyNode("players", "Players");
        Ref<PropertyVector> entries = new PropertyVector("playernames");
        for (const std::string& name : names) {
            Ref<PropertyNode> entry = new PropertyNode("", "");
            TestProfile(name).Write(entry.Get());
            entries->Add(entry.Get());
        }
        list->Add(entries.Get());
        return list;
    }

    static void SaveListFile(PropertyNode* content) {
        MakeDirectoryChain(PlayersFolder());
        Ref<PropertyFile> file = new PropertyFile();
        file->SetLoadMode(LoadMode::ScrambledFile);
        file->SetOutputFileName(PlayersFolder() + "/players.plrs");
        file->Add(content);
        ASSERT_TRUE(file->Save());
    }

    static Ref<PropertyFile> ReadListFile() {
        Ref<PropertyFile> file = new PropertyFile();
        file->SetLoadMode(LoadMode::ScrambledFile);
        EXPECT_TRUE(file->LoadOne(PlayersFolder() + "/players.plrs"));
        return file;
    }

    static Ref<PropertyFile> SaveGameFile(int level) {
        Ref<PropertyFile> file = new PropertyFile();
        Ref<PropertyNode> game = new PropertyNode("game", "Node");
        game->Add(PropertyValue::FromInteger("level", level, false));
        file->Add(game.Get());
        return file;
    }

    TempUserFolders userFolders_;
};

TEST_F(PlayersTest, ListAndPlayerFilesRoundTripInBothModes) {
    for (const bool scrambled : {true, false}) {
        SaveTwoPlayers(scrambled);
        const std::string suffix = scrambled ? ".!" : "";
        const std::string list = PlayersFolder() + "/players.plrs" + suffix;
        ASSERT_TRUE(platform::FileExists(list));
        EXPECT_EQ(ReadText(list).rfind("<root", 0) == 0, !scrambled) << "scrambled " << scrambled;
        EXPECT_TRUE(platform::FileExists(PlayersFolder() + "/alice.plr" + suffix));
        EXPECT_FALSE(platform::FileExists(PlayersFolder() + "/bob.plr" + suffix)) << "no progress, no file";

        const Players& read = Reload("1", scrambled);
        EXPECT_EQ(Names(read), (std::vector<std::string>{"alice", "bob"}));
        EXPECT_EQ(At(read, 0).level, 2);
        EXPECT_EQ(At(read, 0).coins, 5);
        EXPECT_EQ(read.GetCurrent(), read.GetPlayers()[1].Get());
        EXPECT_EQ(read.GetVersion(), "1");
        DeleteFolderTree(Data());
        ForgetFoldersForTesting();
    }
}

TEST_F(PlayersTest, TheFirstPlayerAddedBecomesCurrent) {
    Players& players = *Players::Create("1", true);
    players.Add(new TestProfile("first"));
    players.Add(new TestProfile("second"));
    EXPECT_EQ(players.GetCurrent()->GetName(), "first");
}

// Nothing a player made is deleted because of the list's version: the list,
// each player file and each save game is moved aside as a numbered damaged
// copy, and the list is rewritten empty, so that the next run finds nothing
// to set aside again and a name typed anew starts afresh.
TEST_F(PlayersTest, AListOfAnotherVersionSetsAsideEveryPlayerFileAndSaveGameAndIsRewritten) {
    for (const char* listVersion : {"1.1", static_cast<const char*>(nullptr)}) {
        Ref<PropertyNode> list = ListNode({"alice", "bob"});
        if (listVersion != nullptr) {
            list->Add(PropertyValue::FromString("version", listVersion, false));
        }
        SaveListFile(list.Get());
        const std::string listBytes = ReadText(PlayersFolder() + "/players.plrs.!");
        for (const char* name : {"alice", "bob"}) {
            WriteText(PlayersFolder() + "/" + name + ".plr.!", std::string("progress of ") + name);
            MakeDirectoryChain(Data() + "/savegames/" + name);
            WriteText(Data() + "/savegames/" + name + "/kr2.sav.!", std::string("game of ") + name);
        }
        WriteText(Data() + "/savegames/alice/notes.txt", "not a save game");
        testing::internal::CaptureStderr();
        EXPECT_TRUE(Reload("1").GetPlayers().empty());
        const std::string log = testing::internal::GetCapturedStderr();

        const std::string copy = listVersion != nullptr ? ".damaged-1" : ".damaged-2";
        EXPECT_EQ(ReadText(PlayersFolder() + "/players.plrs.!" + copy), listBytes);
        for (const std::string name : {"alice", "bob"}) {
            EXPECT_FALSE(platform::PathExists(PlayersFolder() + "/" + name + ".plr.!"));
            EXPECT_EQ(ReadText(PlayersFolder() + "/" + name + ".plr.!" + copy), "progress of " + name);
            EXPECT_FALSE(platform::PathExists(Data() + "/savegames/" + name + "/kr2.sav.!"));
            EXPECT_EQ(ReadText(Data() + "/savegames/" + name + "/kr2.sav.!" + copy), "game of " + name);
            EXPECT_NE(log.find(name + ".plr.!\" is set aside as"), std::string::npos) << log;
        }
        EXPECT_EQ(ReadText(Data() + "/savegames/alice/notes.txt"), "not a save game");
        EXPECT_EQ(Property::AsString(Property::Child(ReadListFile()->Find("players"), "version")), "1");
        EXPECT_TRUE(Reload("1").GetPlayers().empty());
        EXPECT_FALSE(platform::PathExists(PlayersFolder() + "/alice.plr.!.damaged-3"));
    }
}

TEST_F(PlayersTest, WithoutAnExpectedVersionTheListIsKept) {
    SaveTwoPlayers();
    EXPECT_EQ(Names(Reload("")), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_TRUE(platform::FileExists(PlayersFolder() + "/alice.plr.!"));
}

TEST_F(PlayersTest, NamesAreFoundByTheirFileNameForm) {
    Players& players = SaveTwoPlayers();
    EXPECT_TRUE(players.HasName("alice"));
    EXPECT_FALSE(players.HasName("alic"));
    EXPECT_EQ(players.FindByName("bob") - players.GetPlayers().begin(), 1);
    EXPECT_EQ(players.FindByName("carol"), players.GetPlayers().end());
}

TEST_F(PlayersTest, FileNamesEscapeUnsafeCharactersAndDotOnlyNames) {
    struct Case {
        const char* name;
        const char* fileName;
    };
    for (const Case& c : {Case{"a b", "a_0_b"}, Case{"x/y", "x_2_y"}, Case{"a_b", "a___b"}, Case{".", "_._"},
                          Case{"..", "_.__._"}, Case{"", "_"}, Case{"a.", "a."}, Case{".hidden", ".hidden"},
                          Case{"Jos\xE9", "Jos\xC3\xA9"}}) {
        EXPECT_EQ(Players::FileNameOf(c.name), c.fileName) << "\"" << c.name << "\"";
    }
}

TEST_F(PlayersTest, RemovingThePlayerDeletesOnlyItsOwnFilesAndClearsCurrent) {
    Players& players = SaveTwoPlayers();
    players.SetCurrent(players.GetPlayers()[0].Get());
    players.StoreSaveGame(*players.GetPlayers()[0], "kr2", *SaveGameFile(1));
    players.StoreSaveGame(*players.GetPlayers()[1], "kr2", *SaveGameFile(2));

    players.DeletePlayerFile(players.GetPlayers()[0].Get());
    EXPECT_EQ(players.GetCurrent(), nullptr);
    EXPECT_EQ(Names(players), std::vector<std::string>{"bob"});
    EXPECT_FALSE(platform::PathExists(PlayersFolder() + "/alice.plr.!"));
    EXPECT_FALSE(platform::PathExists(Data() + "/savegames/alice"));
    EXPECT_TRUE(players.HasSaveGame(*players.GetPlayers()[0], "kr2"));
    EXPECT_EQ(Names(Reload()), std::vector<std::string>{"bob"}) << "the list was saved";

    // A player of that name added later does not get the removed one's
    // progress back.
    Players& again = Reload();
    again.SetCurrent(again.GetPlayers()[0].Get());
    again.Add(new TestProfile("carol", 0, 3));
    again.SetCurrent(again.GetPlayers()[1].Get());
    again.Save();
    again.DeletePlayerFile(again.GetPlayers()[1].Get());
    again.Add(new TestProfile("carol"));
    again.SetCurrent(again.GetPlayers()[0].Get());
    again.Save();
    EXPECT_FALSE(platform::PathExists(PlayersFolder() + "/carol.plr.!"));
}

TEST_F(PlayersTest, RemovingDotNamedPlayersNeverReachesOutsideTheirOwnFolder) {
    WriteText(Data() + "/outside.txt", "game data");
    MakeDirectoryChain(Data() + "/savegames");
    WriteText(Data() + "/savegames/other.txt", "another player's");
    TempFolder elsewhere;
    WriteText(elsewhere.Path() + "/precious.txt", "not ours");
    MakeDirectoryChain(Data() + "/savegames");
    ASSERT_EQ(::symlink(elsewhere.Path().c_str(), (Data() + "/savegames/linked").c_str()), 0);

    Players& players = *Players::Create("1", true);
    for (const char* name : {".", "..", "", "linked"}) {
        players.Add(new TestProfile(name, 0, 1));
    }
    for (size_t index = 0; index < 3; ++index) {
        players.StoreSaveGame(*players.GetPlayers()[index], "kr2", *SaveGameFile(1));
    }
    players.Save();
    while (!players.GetPlayers().empty()) {
        players.DeletePlayerFile(players.GetPlayers().front().Get());
    }
    EXPECT_TRUE(platform::FileExists(Data() + "/outside.txt"));
    EXPECT_TRUE(platform::FileExists(Data() + "/savegames/other.txt"));
    EXPECT_TRUE(platform::FileExists(elsewhere.Path() + "/precious.txt"));
    EXPECT_TRUE(platform::FileExists(PlayersFolder() + "/players.plrs.!"));
    for (const char* fileName : {"_._", "_.__._", "_"}) {
        EXPECT_FALSE(platform::PathExists(Data() + "/savegames/" + fileName)) << fileName;
        EXPECT_FALSE(platform::PathExists(PlayersFolder() + "/" + fileName + ".plr.!")) << fileName;
    }
}

TEST_F(PlayersTest, ADamagedListIsIgnoredKeptAsideAndNotLostOnTheNextSave) {
    SaveTwoPlayers();
    const std::string list = PlayersFolder() + "/players.plrs.!";
    const std::string good = ReadText(list);
    const std::string plain = "<root><Players id=\"players\"><Text id=\"version\" value=\"1\"/></Players></root>";
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"truncated", good.substr(0, good.size() / 2)},
        {"empty", ""},
        {"unscrambled", plain},
        {"random", std::string("\x01\xff\x10garbage\x00\x7f", 13)},
    };
    // Each damaged list is kept under its own name.
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::string copy = list + ".damaged-" + std::to_string(i + 1);
        WriteText(list, c.bytes);
        Players& players = Reload();
        EXPECT_TRUE(players.GetPlayers().empty()) << c.what;
        EXPECT_EQ(ReadText(copy), c.bytes) << c.what;
        players.Add(new TestProfile("carol"));
        players.Save();
        EXPECT_EQ(ReadText(copy), c.bytes) << c.what;
        EXPECT_TRUE(platform::FileExists(PlayersFolder() + "/alice.plr.!")) << c.what;
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ReadText(list + ".damaged-" + std::to_string(i + 1)), cases[i].bytes) << cases[i].what;
    }
}

TEST_F(PlayersTest, AListThatCannotBeReadIsLeftAloneAndNoPlayerIsSaved) {
    auto backend = std::make_unique<platform::HeadlessBackend>();
    const platform::HeadlessBackend& shown = *backend;
    platform::SetActiveBackend(std::move(backend));
    ForgetReportedSaveFailureForTesting();
    SaveTwoPlayers();
    const std::string list = PlayersFolder() + "/players.plrs.!";
    const std::string alice = ReadText(PlayersFolder() + "/alice.plr.!");
    // A folder where the list should be: there, but not readable as a file.
    ASSERT_TRUE(platform::RemoveFile(list));
    ASSERT_TRUE(platform::MakeDirectory(list));
    testing::internal::CaptureStderr();
    Players& players = Reload();
    EXPECT_TRUE(players.GetPlayers().empty());
    players.Add(new TestProfile("alice"));
    At(players, 0).coins = 99;
    players.Add(new TestProfile("carol"));
    At(players, 1).coins = 5;
    players.StoreSaveGame(*players.GetPlayers()[1], "kr2", *SaveGameFile(1));
    players.DeletePlayerFile(players.GetPlayers()[0].Get());
    players.Save();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(platform::IsDirectory(list));
    EXPECT_FALSE(platform::PathExists(list + ".damaged-1"));
    EXPECT_EQ(ReadText(PlayersFolder() + "/alice.plr.!"), alice);
    EXPECT_FALSE(platform::PathExists(PlayersFolder() + "/carol.plr.!"));
    EXPECT_FALSE(platform::PathExists(Data() + "/savegames/carol"));
    EXPECT_NE(log.find("players.plrs.!\" could not be read or is not a file; it is left as it is"), std::string::npos)
        << log;
    EXPECT_NE(log.find("players are not saved this run"), std::string::npos) << log;
    EXPECT_EQ(log.find("kept as"), std::string::npos) << log;
    // The player is told once that nothing is kept this run.
    ASSERT_EQ(shown.MessageBoxes().size(), 1u);
    EXPECT_NE(shown.MessageBoxes()[0].find("the save game could not be written"), std::string::npos);
    platform::SetActiveBackend(nullptr);
}

// Something other than a regular file where a player file, the list or a
// save game belongs is neither waited on nor replaced: a FIFO would make a
// plain read wait for a writer for ever.
TEST_F(PlayersTest, AFifoOrFolderInPlaceOfASavedFileIsLeftAloneWithoutWaiting) {
    auto backend = std::make_unique<platform::HeadlessBackend>();
    const platform::HeadlessBackend& shown = *backend;
    platform::SetActiveBackend(std::move(backend));
    const auto isFifo = [](const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    };
    for (const bool fifo : {true, false}) {
        ForgetReportedSaveFailureForTesting();
        DeleteFolderTree(Data());
        ForgetFoldersForTesting();
        SaveTwoPlayers();
        const std::string alice = PlayersFolder() + "/alice.plr.!";
        const std::string game = Data() + "/savegames/alice/kr2.sav.!";
        MakeDirectoryChain(Data() + "/savegames/alice");
        for (const std::string& path : {alice, game}) {
            platform::RemoveFile(path);
            ASSERT_TRUE(fifo ? ::mkfifo(path.c_str(), 0644) == 0 : platform::MakeDirectory(path)) << path;
        }
        const auto inPlace = [&](const std::string& path) { return fifo ? isFifo(path) : platform::IsDirectory(path); };

        Players& players = Reload();
        EXPECT_EQ(Names(players), (std::vector<std::string>{"alice", "bob"}));
        players.SetCurrent(players.GetPlayers()[0].Get());
        At(players, 0).coins = 8;
        players.Save();
        Ref<PropertyFile> read = new PropertyFile();
        EXPECT_EQ(players.LoadSaveGame(*players.GetCurrent(), "kr2", *read), SavedFileStatus::kUnreadable);
        players.StoreSaveGame(*players.GetCurrent(), "kr2", *SaveGameFile(3));
        EXPECT_TRUE(inPlace(alice)) << fifo;
        EXPECT_TRUE(inPlace(game)) << fifo;
        EXPECT_FALSE(platform::PathExists(alice + ".damaged-1")) << fifo;
        // Alice's progress is not kept, and she is told: each pass is a run
        // of its own.
        ASSERT_EQ(shown.MessageBoxes().size(), fifo ? 1u : 2u);
        EXPECT_NE(shown.MessageBoxes().back().find("the player file of \"alice\" could not be written"),
                  std::string::npos)
            << shown.MessageBoxes().back();
    }
    platform::SetActiveBackend(nullptr);
}

TEST_F(PlayersTest, AForeignListOrEntryIsIgnoredAndKeptAside) {
    const std::string list = PlayersFolder() + "/players.plrs.!";
    Ref<PropertyNode> foreign = new PropertyNode("highscoretables", "HighScoreTables");
    SaveListFile(foreign.Get());
    EXPECT_TRUE(Reload().GetPlayers().empty());
    EXPECT_TRUE(platform::FileExists(list + ".damaged-1"));
    ASSERT_TRUE(platform::RemoveFile(list + ".damaged-1"));

    Ref<PropertyNode> mixed = ListNode({"alice", "bob"});
    mixed->Add(PropertyValue::FromString("version", "1", false));
    Ref<PropertyNode> stranger = new PropertyNode("", "Sprite");
    static_cast<PropertyVector*>(mixed->Find("playernames"))->Add(stranger.Get());
    SaveListFile(mixed.Get());
    EXPECT_EQ(Names(Reload()), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_TRUE(platform::FileExists(list + ".damaged-1"));
}

TEST_F(PlayersTest, ADamagedPlayerFileLeavesThePlayerAsListedAndIsKeptAside) {
    SaveTwoPlayers();
    WriteText(PlayersFolder() + "/alice.plr.!", "not xml");
    const Players& players = Reload();
    EXPECT_EQ(Names(players), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(At(players, 0).level, 2);
    EXPECT_EQ(At(players, 0).coins, 0);
    EXPECT_EQ(ReadText(PlayersFolder() + "/alice.plr.!.damaged-1"), "not xml");
}

// A failed write keeps the previous file, and the player is told once a run,
// in the message box, what could not be saved, where and why.
TEST_F(PlayersTest, AFailedWriteKeepsThePreviousFilesAndIsToldOnceARun) {
    auto backend = std::make_unique<platform::HeadlessBackend>();
    const platform::HeadlessBackend& shown = *backend;
    platform::SetActiveBackend(std::move(backend));
    ForgetReportedSaveFailureForTesting();
    Players& players = SaveTwoPlayers();
    players.Add(new TestProfile("carol"));
    platform::FailNextAtomicWriteForTesting();
    players.Save();
    EXPECT_EQ(Names(Reload()), (std::vector<std::string>{"alice", "bob"}));

    Players& again = Reload();
    again.SetCurrent(again.GetPlayers()[0].Get());
    At(again, 0).coins = 9;
    again.SavePlayer(*again.GetPlayers()[0]);
    At(again, 0).coins = 10;
    platform::FailNextAtomicWriteForTesting();
    again.SavePlayer(*again.GetPlayers()[0]);
    EXPECT_EQ(At(Reload(), 0).coins, 9);

    ASSERT_EQ(shown.MessageBoxes().size(), 1u);
    const std::string& box = shown.MessageBoxes()[0];
    for (const std::string& part :
         {std::string("the player list could not be written"), PlayersFolder() + "/players.plrs.!",
          std::string("No space left on device")}) {
        EXPECT_NE(box.find(part), std::string::npos) << box;
    }
    platform::SetActiveBackend(nullptr);
}

// The profiles in memory may stand for progress kept in a record only the
// current player's fills, so only the current player is written as the
// profile is: any other keeps what its file was last read or written with.
TEST_F(PlayersTest, APlayerWhoIsNotCurrentIsSavedWithWhatItsFileHolds) {
    SaveTwoPlayers();
    Players& players = Reload();
    ASSERT_EQ(players.GetCurrent()->GetName(), "bob");
    At(players, 0).coins = 99;
    players.Save();
    EXPECT_EQ(At(Reload(), 0).coins, 5);

    // Written while current, that is what is kept once another is chosen.
    Players& again = Reload();
    again.SetCurrent(again.GetPlayers()[0].Get());
    At(again, 0).coins = 7;
    again.Save();
    again.SetCurrent(again.GetPlayers()[1].Get());
    At(again, 0).coins = 0;
    again.Save();
    EXPECT_EQ(At(Reload(), 0).coins, 7);
}

// A file on disk that this run did not read is never written over, not even
// for the current player: a profile made anew under that name is not the
// one the file holds. Once read, it is saved as usual.
TEST_F(PlayersTest, APlayerFileThatWasNotReadThisRunIsNeverWrittenOver) {
    SaveTwoPlayers();
    const std::string alice = PlayersFolder() + "/alice.plr.!";
    const std::string kept = ReadText(alice);
    ASSERT_TRUE(platform::RemoveFile(PlayersFolder() + "/players.plrs.!"));
    Players& players = Reload();
    ASSERT_TRUE(players.GetPlayers().empty());
    players.Add(new TestProfile("alice", 0, 1));
    players.Save();
    EXPECT_EQ(ReadText(alice), kept);

    players.LoadPlayer(*players.GetCurrent());
    EXPECT_EQ(At(players, 0).coins, 5);
    At(players, 0).coins = 6;
    players.Save();
    EXPECT_EQ(At(Reload(), 0).coins, 6);
}

TEST_F(PlayersTest, SaveGamesRoundTripAndAreDeleted) {
    Players& players = SaveTwoPlayers();
    const PlayerProfile& alice = *players.GetPlayers()[0];
    EXPECT_FALSE(players.HasSaveGame(alice, "kr2"));
    Ref<PropertyFile> missing = new PropertyFile();
    EXPECT_EQ(players.LoadSaveGame(alice, "kr2", *missing), SavedFileStatus::kAbsent);

    players.StoreSaveGame(alice, "kr2", *SaveGameFile(42));
    EXPECT_TRUE(platform::FileExists(Data() + "/savegames/alice/kr2.sav.!"));
    EXPECT_TRUE(players.HasSaveGame(alice, "kr2"));
    Ref<PropertyFile> read = new PropertyFile();
    ASSERT_EQ(players.LoadSaveGame(alice, "kr2", *read), SavedFileStatus::kLoaded);
    EXPECT_EQ(Property::AsInt(Property::Child(read->Find("game"), "level")), 42);

    players.DeleteSaveGame(alice, "kr2");
    EXPECT_FALSE(players.HasSaveGame(alice, "kr2"));
}

TEST_F(PlayersTest, ADamagedSaveGameDoesNotLoadAndIsKeptAside) {
    Players& players = SaveTwoPlayers();
    const PlayerProfile& alice = *players.GetPlayers()[0];
    MakeDirectoryChain(Data() + "/savegames/alice");
    WriteText(Data() + "/savegames/alice/kr2.sav.!", "<root><Integer");
    Ref<PropertyFile> read = new PropertyFile();
    EXPECT_EQ(players.LoadSaveGame(alice, "kr2", *read), SavedFileStatus::kDamaged);
    EXPECT_TRUE(read->IndexOrder().empty());
    EXPECT_TRUE(platform::FileExists(Data() + "/savegames/alice/kr2.sav.!.damaged-1"));
    // Not offered again: the copy is all that is left of it.
    EXPECT_FALSE(players.HasSaveGame(alice, "kr2"));
}

// A save game that reads but holds no game is put aside the same way; one
// that cannot be read at all stays where it is, and so does a file that no
// copy can be kept of.
TEST_F(PlayersTest, AnUnreadableSaveGameStaysAndOneHoldingNoGameIsKeptAside) {
    Players& players = SaveTwoPlayers();
    const PlayerProfile& alice = *players.GetPlayers()[0];
    const std::string save = Data() + "/savegames/alice/kr2.sav.!";
    MakeDirectoryChain(save);
    Ref<PropertyFile> read = new PropertyFile();
    EXPECT_EQ(players.LoadSaveGame(alice, "kr2", *read), SavedFileStatus::kUnreadable);
    players.DiscardSaveGame(alice, "kr2");
    EXPECT_TRUE(platform::PathExists(save));
    EXPECT_FALSE(platform::PathExists(save + ".damaged-1"));
    std::filesystem::remove(save);

    players.StoreSaveGame(alice, "kr2", *SaveGameFile(7));
    players.DiscardSaveGame(alice, "kr2");
    EXPECT_FALSE(players.HasSaveGame(alice, "kr2"));
    EXPECT_TRUE(platform::FileExists(save + ".damaged-1"));
}

// Installs a headless backend whose message boxes a test reads, and lets the
// first failure of the test show its box.
class ShownBoxes {
public:
    ShownBoxes() {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        shown_ = backend.get();
        platform::SetActiveBackend(std::move(backend));
        ForgetReportedSaveFailureForTesting();
    }
    ~ShownBoxes() { platform::SetActiveBackend(nullptr); }
    const std::vector<std::string>& Boxes() const { return shown_->MessageBoxes(); }

private:
    const platform::HeadlessBackend* shown_;
};

// A save game that is there but cannot be read (a folder, or a file the
// player may not read) is never deleted nor saved over, and that is told.
TEST_F(PlayersTest, AnUnreadableSaveGameIsNeverSavedOverAndThatIsTold) {
    const ShownBoxes shown;
    Players& players = SaveTwoPlayers();
    const PlayerProfile& alice = *players.GetPlayers()[0];
    const std::string save = Data() + "/savegames/alice/kr2.sav.!";
    players.StoreSaveGame(alice, "kr2", *SaveGameFile(1));
    const std::string kept = ReadText(save);

    platform::FailReadingForTesting(save);
    Ref<PropertyFile> read = new PropertyFile();
    EXPECT_EQ(players.LoadSaveGame(alice, "kr2", *read), SavedFileStatus::kUnreadable);
    // A new game deletes the old one before it is saved.
    players.DeleteSaveGame(alice, "kr2");
    players.StoreSaveGame(alice, "kr2", *SaveGameFile(2));
    platform::FailReadingForTesting("");
    EXPECT_EQ(ReadText(save), kept);
    EXPECT_FALSE(platform::PathExists(save + ".damaged-1"));
    ASSERT_EQ(shown.Boxes().size(), 1u);
    EXPECT_NE(shown.Boxes()[0].find("the save game could not be written"), std::string::npos) << shown.Boxes()[0];
    EXPECT_NE(shown.Boxes()[0].find("cannot be read"), std::string::npos) << shown.Boxes()[0];
}

// A file of the player changed on disk since this run read or wrote it (a
// second copy of the game, a restored backup) is kept aside under a numbered
// name before the save replaces it, and the player is told once a run.
TEST_F(PlayersTest, AFileChangedOnDiskIsKeptAsideBeforeASaveReplacesIt) {
    const ShownBoxes shown;
    SaveTwoPlayers();
    Players& players = Reload();
    players.SetCurrent(players.GetPlayers()[0].Get());
    const std::string list = PlayersFolder() + "/players.plrs.!";
    const std::string alice = PlayersFolder() + "/alice.plr.!";
    const PlayerProfile& profile = *players.GetPlayers()[0];
    players.StoreSaveGame(profile, "kr2", *SaveGameFile(1));
    const std::string save = Data() + "/savegames/alice/kr2.sav.!";
    const std::string otherAlice = ReadText(alice) + " ";
    const std::string otherSave = ReadText(save) + " ";

    // Saved twice over files left alone: nothing is set aside.
    players.Save();
    players.Save();
    EXPECT_FALSE(platform::PathExists(alice + ".changed-1"));
    EXPECT_TRUE(shown.Boxes().empty());

    WriteText(alice, otherAlice);
    WriteText(save, otherSave);
    At(players, 0).coins = 8;
    players.Save();
    players.StoreSaveGame(profile, "kr2", *SaveGameFile(2));
    EXPECT_EQ(ReadText(alice + ".changed-1"), otherAlice);
    EXPECT_EQ(ReadText(save + ".changed-1"), otherSave);
    EXPECT_FALSE(platform::PathExists(list + ".changed-1"));
    EXPECT_EQ(At(Reload(), 0).coins, 8);
    ASSERT_EQ(shown.Boxes().size(), 1u);
    EXPECT_NE(shown.Boxes()[0].find("alice.plr.!.changed-1"), std::string::npos) << shown.Boxes()[0];

    // A list that appeared where there was none when the run began.
    ASSERT_TRUE(platform::RemoveFile(list));
    Players& fresh = Reload();
    const std::string otherList = ReadText(alice + ".changed-1");
    WriteText(list, otherList);
    fresh.Add(new TestProfile("carol"));
    fresh.Save();
    EXPECT_EQ(ReadText(list + ".changed-1"), otherList);
}

// The files of one save are all written before any is renamed, so a kill at
// any moment leaves each whole and the list and the player files disagree
// only between two renames.
TEST_F(PlayersTest, OneSaveWritesEveryFileBeforeItRenamesAny) {
    Players& players = SaveTwoPlayers();
    players.SetCurrent(players.GetPlayers()[0].Get());
    At(players, 0).coins = 12;
    std::vector<std::string> steps;
    platform::RecordFileStepsForTesting([&steps](const std::string& step) { steps.push_back(step); });
    players.Save();
    platform::RecordFileStepsForTesting(nullptr);
    const std::string list = PlayersFolder() + "/players.plrs.!";
    const std::string alice = PlayersFolder() + "/alice.plr.!";
    EXPECT_EQ(steps, (std::vector<std::string>{"write " + list, "write " + alice, "rename " + list,
                                                "rename " + alice, "sync " + PlayersFolder()}));
}

}  // namespace
