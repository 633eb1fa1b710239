#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ZipFixture.h"
#include "engine/foundation/Archive.h"
#include "engine/foundation/Folders.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

// Runs each test inside a fresh folder, where "media.dat" is looked for.
class ArchiveTest : public testing::Test {
protected:
    ArchiveTest() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(folder_.Path());
    }
    ~ArchiveTest() override {
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    // Loads through LoadFile; "<not loaded>" when it reports nothing loaded.
    static std::string Load(const std::string& path, LoadMode mode) {
        DataBuffer buffer;
        if (LoadFile(path, buffer, mode)) {
            return "<not loaded>";
        }
        EXPECT_EQ(buffer.Bytes()[buffer.Count()], 0) << path;
        return std::string(buffer.Text(), buffer.Count());
    }

    // Log files go to the temporary user folders.
    TempUserFolders userFolders_;
    TempFolder folder_;
    std::filesystem::path previous_;
};

TEST_F(ArchiveTest, ModesPickTheSourceAndTheName) {
    ASSERT_TRUE(WriteZip("media.dat", {{"data/a.txt", "zip a"},
                                       {"data/s.txt.!", Scrambled("zip s"), false},
                                       {"data/empty.txt", ""}}));
    WriteTestFile("data/a.txt", "disk a");
    WriteTestFile("data/s.txt.!", Scrambled("disk s"));
    WriteTestFile("data/only-on-disk.txt", "disk only");
    OpenMediaArchive(LoadMode::File, "");
    ASSERT_EQ(GetGlobalLoadMode(), LoadMode::Archive);

    struct Case {
        const char* path;
        LoadMode mode;
        const char* expected;
    };
    const Case cases[] = {
        {"data/a.txt", LoadMode::Default, "zip a"},
        {"data/a.txt", LoadMode::Archive, "zip a"},
        {"data/a.txt", LoadMode::File, "disk a"},
        {"data/s.txt", LoadMode::ScrambledArchive, "zip s"},
        {"data/s.txt", LoadMode::ScrambledFile, "disk s"},
        {"DATA\\A.TXT", LoadMode::Archive, "zip a"},
        {"data//a.txt", LoadMode::Archive, "zip a"},
        {"data\\\\A.txt", LoadMode::Archive, "zip a"},
        {"data/only-on-disk.txt", LoadMode::Archive, "<not loaded>"},
        {"data/only-on-disk.txt", LoadMode::File, "disk only"},
        {"data/missing.txt", LoadMode::File, "<not loaded>"},
        {"data/a.txt", LoadMode::ScrambledArchive, "<not loaded>"},
        {"data/empty.txt", LoadMode::Archive, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Load(c.path, c.mode), c.expected) << c.path << " mode " << static_cast<int>(c.mode);
    }
}

TEST_F(ArchiveTest, WithoutAnArchiveFilesComeFromDiskUnderTheirOwnNames) {
    WriteTestFile("data/a.txt", "disk a");
    WriteTestFile("data/a.txt.!", Scrambled("scrambled a"));
    WriteTestFile("data/empty.txt", "");

    EXPECT_EQ(MakeMediaFileName(LoadMode::Default, "data/a.txt"), "data/a.txt");
    EXPECT_EQ(Load("data/a.txt", LoadMode::Default), "disk a");

    OpenMediaArchive(LoadMode::File, "");
    EXPECT_EQ(GetGlobalLoadMode(), LoadMode::File);
    EXPECT_EQ(Load("data/a.txt", LoadMode::Default), "disk a");
    EXPECT_EQ(Load("data/empty.txt", LoadMode::Default), "<not loaded>");
    // The archive modes never read loose files, not even without an archive.
    EXPECT_EQ(Load("data/a.txt", LoadMode::Archive), "<not loaded>");
    EXPECT_EQ(Load("data/a.txt", LoadMode::ScrambledArchive), "<not loaded>");

    OpenMediaArchive(LoadMode::Default, "");
    EXPECT_EQ(GetGlobalLoadMode(), LoadMode::ScrambledArchive);
    EXPECT_EQ(MakeMediaFileName(LoadMode::Default, "p/x.xml"), "p/x.xml.!");
    EXPECT_EQ(MakeMediaFileName(LoadMode::ScrambledFile, "p/x.xml"), "p/x.xml.!");
    EXPECT_EQ(MakeMediaFileName(LoadMode::File, "p/x.xml"), "p/x.xml");
    EXPECT_EQ(Load("data/a.txt", LoadMode::Default), "<not loaded>");
    EXPECT_EQ(Load("data/a.txt", LoadMode::ScrambledFile), "scrambled a");
}

TEST_F(ArchiveTest, AnEmptyOrMissingFileLeavesTheBufferAlone) {
    WriteTestFile("full.txt", "kept");
    WriteTestFile("empty.txt", "");
    DataBuffer buffer;
    ASSERT_FALSE(LoadFile("full.txt", buffer, LoadMode::File));
    EXPECT_TRUE(LoadFile("empty.txt", buffer, LoadMode::File));
    EXPECT_TRUE(LoadFile("missing.txt", buffer, LoadMode::File));
    EXPECT_EQ(std::string(buffer.Text()), "kept");
}

TEST_F(ArchiveTest, ADamagedMediaArchiveFallsBackToLooseFiles) {
    WriteTestFile("media.dat", "PK\x03\x04 this is not really a zip file");
    WriteTestFile("data/a.txt", "disk a");
    OpenMediaArchive(LoadMode::File, "");
    EXPECT_EQ(GetGlobalLoadMode(), LoadMode::File);
    EXPECT_EQ(Load("data/a.txt", LoadMode::Default), "disk a");
}

TEST_F(ArchiveTest, ACorruptMemberIsNotLoadedAndTheArchiveStaysUsable) {
    const std::string payload(1000, 'p');
    ASSERT_TRUE(WriteZip("media.dat", {{"bad.txt", payload, false}, {"good.txt", "fine"}}));
    // Damage the stored member's bytes so that its checksum no longer matches.
    std::string zip;
    {
        std::ifstream in("media.dat", std::ios::binary);
        zip.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t at = zip.find(payload);
    ASSERT_NE(at, std::string::npos);
    zip[at + 500] = 'q';
    WriteTestFile("media.dat", zip);
    WriteTestFile("bad.txt", "the archive mode never reads this");

    OpenMediaArchive(LoadMode::File, "");
    DataBuffer buffer;
    EXPECT_TRUE(LoadFile("bad.txt", buffer, LoadMode::Archive));
    EXPECT_EQ(buffer.Count(), 0u);
    EXPECT_EQ(Load("good.txt", LoadMode::Archive), "fine");
}

TEST_F(ArchiveTest, ArchiveWalksItsMembersInOrder) {
    ASSERT_TRUE(WriteZip("pack.zip", {{"one", "1"}, {"Two", "22", false}}));
    Archive archive("pack.zip");
    ASSERT_TRUE(archive.Open());
    ASSERT_TRUE(archive.GoToFirstFile());
    EXPECT_EQ(archive.GetMemberInfo().name, "one");
    ASSERT_TRUE(archive.GoToNextFile());
    EXPECT_EQ(archive.GetMemberInfo().name, "Two");
    EXPECT_EQ(archive.GetMemberInfo().uncompressedSize, 2u);
    EXPECT_EQ(archive.GetMemberInfo().compressionMethod, 0u);
    EXPECT_FALSE(archive.GoToNextFile());

    ASSERT_TRUE(archive.OpenFile("TWO"));
    EXPECT_FALSE(archive.IsEndOfFile());
    DataBuffer buffer;
    ASSERT_TRUE(archive.ReadAll(buffer));
    EXPECT_TRUE(archive.IsEndOfFile());
    EXPECT_EQ(std::string(buffer.Text()), "22");
    archive.CloseCurrentFile();
    EXPECT_FALSE(archive.IsFileOpen());
    archive.Close();
    EXPECT_FALSE(archive.IsOpen());
}

// Names equal but for case or separators find the first such member in the
// directory; a miss leaves the current member alone; a name longer than 255
// bytes is read whole and found like any other.
TEST_F(ArchiveTest, LookupByNameFollowsTheDirectory) {
    const std::string longName = "data/" + std::string(300, 'x');
    ASSERT_TRUE(WriteZip("pack.zip", {{"Data/Pic.png", "first"},
                                      {"data/pic.PNG", "second", false},
                                      {"data/other", "other"},
                                      {longName, "long"}}));
    Archive archive("pack.zip");
    const auto contents = [&archive] {
        DataBuffer buffer;
        return archive.OpenCurrentFile() && archive.ReadAll(buffer) ? std::string(buffer.Text(), buffer.Count())
                                                                    : "<unread>";
    };
    // The first lookup, a miss, leaves the member the walk stands on.
    ASSERT_TRUE(archive.Open());
    ASSERT_TRUE(archive.GoToFirstFile());
    ASSERT_TRUE(archive.GoToNextFile());
    EXPECT_FALSE(archive.LocateFile("data/none"));
    EXPECT_EQ(contents(), "second");
    archive.CloseCurrentFile();

    const auto read = [&archive](const std::string& name) {
        DataBuffer buffer;
        const Archive::ReadResult result = archive.ReadMember(name, buffer);
        return result == Archive::ReadResult::Loaded ? std::string(buffer.Text(), buffer.Count()) : "<missing>";
    };
    EXPECT_EQ(read("DATA\\PIC.png"), "first");
    EXPECT_EQ(read("data/pic.png"), "first");
    EXPECT_EQ(read("data//other"), "other");
    EXPECT_EQ(read("data/pic"), "<missing>");
    EXPECT_EQ(read(longName), "long");
    EXPECT_EQ(archive.GetMemberInfo().name, longName);

    // A closed archive opens again and finds its members anew.
    archive.Close();
    EXPECT_EQ(read("data/OTHER"), "other");
}

TEST_F(ArchiveTest, TwoThreadsReadTheArchiveAtOnce) {
    // Members large enough that unguarded reads would interleave.
    std::string first;
    std::string second;
    for (int i = 0; i < 50000; ++i) {
        first += std::to_string(i);
        second += std::to_string(i * 7 + 3);
    }
    ASSERT_TRUE(WriteZip("media.dat", {{"first.txt", first}, {"second.txt", second}}));
    OpenMediaArchive(LoadMode::File, "");

    auto readMany = [](const std::string& path, const std::string& expected, int* matches) {
        for (int i = 0; i < 20; ++i) {
            DataBuffer buffer;
            if (!LoadFile(path, buffer, LoadMode::Default) &&
                std::string(buffer.Text(), buffer.Count()) == expected) {
                ++*matches;
            }
        }
    };
    int firstMatches = 0;
    int secondMatches = 0;
    std::thread other(readMany, "first.txt", first, &firstMatches);
    readMany("second.txt", second, &secondMatches);
    other.join();
    EXPECT_EQ(firstMatches, 20);
    EXPECT_EQ(secondMatches, 20);
}

// The loader thread reads media while the main thread may set up the archive
// again; every read sees one whole archive, old or new.
TEST_F(ArchiveTest, ReplacingTheArchiveWhileAnotherThreadReads) {
    ASSERT_TRUE(WriteZip("media.dat", {{"data/a.txt", "zip a"}}));
    WriteTestFile("data/a.txt", "disk a");
    OpenMediaArchive(LoadMode::File, "");
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0};
    std::thread reader([&] {
        while (!done) {
            const std::string text = Load("data/a.txt", LoadMode::Default);
            if (text != "zip a" && text != "disk a") {
                ++wrong;
            }
        }
    });
    for (int i = 0; i < 300; ++i) {
        OpenMediaArchive(i % 2 == 0 ? LoadMode::Archive : LoadMode::File, "");
        if (i % 3 == 0) {
            CloseMediaArchive();
        }
    }
    done = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
}

}  // namespace
