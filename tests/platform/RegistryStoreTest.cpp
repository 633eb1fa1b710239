#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/RegistryStore.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

platform::RegistryValue Dword(const std::string& name, uint32_t number) {
    platform::RegistryValue value;
    value.name = name;
    value.dword = number;
    return value;
}

platform::RegistryValue Text(const std::string& name, const std::string& text) {
    platform::RegistryValue value;
    value.name = name;
    value.type = platform::RegistryType::String;
    value.text = text;
    return value;
}

std::string StoreContent() {
    std::vector<uint8_t> bytes;
    platform::ReadWholeFile(platform::RegistryFilePath(), bytes);
    return {bytes.begin(), bytes.end()};
}

TEST(RegistryStoreTest, ValuesRoundTripThroughTheFile) {
    TempUserFolders folders;
    EXPECT_EQ(platform::RegistryFilePath(), folders.ConfigHome() + "/Quelt/registry.txt");
    const std::string awkward = std::string("quote\" back\\ new\nline \xE9 \x01 end", 29);
    ASSERT_TRUE(platform::RegistryWrite("Software\\Game\\qlt", Dword("Seconds", 0xDEADBEEF)));
    ASSERT_TRUE(platform::RegistryWrite("Software\\Game\\qlt", Text("name", awkward)));
    ASSERT_TRUE(platform::RegistryWrite("Software\\Game\\qlt", Dword("seconds", 7)));  // same value

    platform::RegistryValue read;
    ASSERT_TRUE(platform::RegistryRead("software\\GAME\\QLT", "SECONDS", read));
    EXPECT_EQ(read.type, platform::RegistryType::Dword);
    EXPECT_EQ(read.dword, 7u);
    EXPECT_EQ(read.name, "Seconds");  // the first spelling stays
    ASSERT_TRUE(platform::RegistryRead("Software\\Game\\qlt", "name", read));
    EXPECT_EQ(read.type, platform::RegistryType::String);
    EXPECT_EQ(read.text, awkward);

    EXPECT_FALSE(platform::RegistryRead("Software\\Game\\qlt", "none", read));
    EXPECT_FALSE(platform::RegistryRead("Software\\Other", "name", read));
    EXPECT_EQ(StoreContent().find("new\nline"), std::string::npos);  // one line per value
}

TEST(RegistryStoreTest, ListingKeepsOrderAndParentKeysExist) {
    TempUserFolders folders;
    ASSERT_TRUE(platform::RegistryWrite("Software\\Game", Text("b", "x")));
    ASSERT_TRUE(platform::RegistryWrite("Software\\Game", Dword("a", 1)));
    ASSERT_TRUE(platform::RegistryWrite("Software\\Game\\qlt", Dword("c", 2)));

    std::vector<platform::RegistryValue> values;
    ASSERT_TRUE(platform::RegistryListValues("software\\game", values));
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "b");
    EXPECT_EQ(values[1].name, "a");
    EXPECT_TRUE(platform::RegistryListValues("Software", values));
    EXPECT_TRUE(values.empty());
    EXPECT_FALSE(platform::RegistryListValues("Software\\Gam", values));
}

TEST(RegistryStoreTest, DamagedLinesAreSkippedAndTheRestIsKept) {
    TempUserFolders folders;
    ASSERT_TRUE(platform::RegistryWrite("Key", Dword("good", 5)));
    const std::string damaged = StoreContent() +
                                "\"bad\"=dword:123456789\n"
                                "\"cut\"=\"no end\n"
                                "\"esc\"=\"\\x4\"\n"
                                "garbage\n"
                                "[Key]\r\n"
                                "\"also\"=dword:0000000A\r\n";
    ASSERT_TRUE(platform::WriteFileAtomically(platform::RegistryFilePath(), damaged.data(), damaged.size()));

    std::vector<platform::RegistryValue> values;
    ASSERT_TRUE(platform::RegistryListValues("Key", values));
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].dword, 5u);
    EXPECT_EQ(values[1].name, "also");
    EXPECT_EQ(values[1].dword, 10u);
}

TEST(RegistryStoreTest, AFailedWriteKeepsTheStoreAsItWas) {
    TempUserFolders folders;
    ASSERT_TRUE(platform::RegistryWrite("Key", Dword("kept", 1)));
    platform::FailNextAtomicWriteForTesting();
    EXPECT_FALSE(platform::RegistryWrite("Key", Dword("kept", 2)));
    platform::FailNextAtomicWriteForTesting();
    EXPECT_FALSE(platform::RegistryWrite("Key", Dword("new", 3)));
    platform::RegistryValue read;
    ASSERT_TRUE(platform::RegistryRead("Key", "kept", read));
    EXPECT_EQ(read.dword, 1u);
    EXPECT_FALSE(platform::RegistryRead("Key", "new", read));
    std::vector<platform::RegistryValue> values;
    ASSERT_TRUE(platform::RegistryListValues("Key", values));
    EXPECT_EQ(values.size(), 1u);

    EXPECT_FALSE(platform::RegistryWrite("Bad]Key", Dword("x", 1)));
    EXPECT_FALSE(platform::RegistryWrite("Bad\nKey", Dword("x", 1)));
}

TEST(RegistryStoreTest, WithoutAConfigFolderNothingIsStored) {
    TempUserFolders folders;
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(platform::RegistryFilePath(), "");
    EXPECT_FALSE(platform::RegistryWrite("Key", Dword("x", 1)));
    platform::RegistryValue read;
    EXPECT_FALSE(platform::RegistryRead("Key", "x", read));
}

struct stat StoreFileStat() {
    struct stat info {};
    EXPECT_EQ(::stat(platform::RegistryFilePath().c_str(), &info), 0);
    return info;
}

TEST(RegistryStoreTest, TheFileIsReadOnceAndWrittenOnlyWhenAValueChanges) {
    TempUserFolders folders;
    ASSERT_TRUE(platform::RegistryWrite("Key", Dword("a", 1)));
    const struct stat written = StoreFileStat();
    ASSERT_TRUE(platform::RegistryWrite("key", Dword("A", 1)));  // the same value again
    EXPECT_EQ(StoreFileStat().st_ino, written.st_ino);

    // Change the file's bytes in place, keeping its size and times: a store
    // that read the file again would see "b".
    std::string content = StoreContent();
    content.replace(content.find("\"a\""), 3, "\"b\"");
    const int fd = ::open(platform::RegistryFilePath().c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    const struct timespec times[2] = {written.st_atim, written.st_mtim};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
    platform::RegistryValue read;
    EXPECT_TRUE(platform::RegistryRead("Key", "a", read));
    EXPECT_FALSE(platform::RegistryRead("Key", "b", read));
}

TEST(RegistryStoreTest, ADamagedFileIsCopiedAsideBeforeItIsReplaced) {
    const std::string good = "; registry store v1\n[Key]\n\"good\"=dword:00000005\n";
    std::string tooMany = good;
    for (int i = 0; i < 5000; ++i) {
        tooMany += "\"v" + std::to_string(i) + "\"=dword:00000001\n";
    }
    const struct {
        const char* name;
        std::string content;
        platform::RegistryFileState state;
        size_t values;  // read under "Key"
    } cases[] = {
        {"whole", good, platform::RegistryFileState::Read, 1},
        {"cut inside its last line", good.substr(0, good.size() - 5), platform::RegistryFileState::Damaged, 0},
        {"cut to nothing", "", platform::RegistryFileState::Damaged, 0},
        {"random bytes", std::string("\x93\x01\xFFrandom\0bytes\n[x", 17), platform::RegistryFileState::Damaged, 0},
        {"a line too long", good + "\"long\"=\"" + std::string(20000, 'x') + "\"\n",
         platform::RegistryFileState::Damaged, 1},
        {"more entries than a store holds", tooMany, platform::RegistryFileState::Damaged, 4095},
    };
    for (const auto& c : cases) {
        TempUserFolders folders;
        std::filesystem::create_directories(folders.ConfigHome() + "/Quelt");
        ASSERT_TRUE(platform::WriteFileAtomically(platform::RegistryFilePath(), c.content.data(), c.content.size()));
        const platform::RegistryLoadReport report = platform::RegistryLoadState();
        EXPECT_EQ(report.state, c.state) << c.name;
        std::vector<platform::RegistryValue> values;
        platform::RegistryListValues("Key", values);
        EXPECT_EQ(values.size(), c.values) << c.name;
        EXPECT_TRUE(report.writable) << c.name;
        if (c.state == platform::RegistryFileState::Read) {
            EXPECT_EQ(report.droppedLines, 0u) << c.name;
            EXPECT_EQ(report.keptCopy, "") << c.name;
            continue;
        }
        EXPECT_GT(report.droppedLines, 0u) << c.name;
        EXPECT_EQ(report.keptCopy, platform::RegistryFilePath() + ".damaged-1") << c.name;
        ASSERT_TRUE(platform::RegistryWrite("Key", Dword("after", 1))) << c.name;
        std::vector<uint8_t> copy;
        ASSERT_TRUE(platform::ReadWholeFile(report.keptCopy, copy)) << c.name;
        EXPECT_EQ(std::string(copy.begin(), copy.end()), c.content) << c.name;
    }
}

TEST(RegistryStoreTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    TempUserFolders folders;
    const std::string path = platform::RegistryFilePath();
    std::filesystem::create_directories(path + "/inside");
    const platform::RegistryLoadReport report = platform::RegistryLoadState();
    EXPECT_EQ(report.state, platform::RegistryFileState::Unreadable);
    EXPECT_FALSE(report.writable);
    EXPECT_FALSE(platform::RegistryWrite("Key", Dword("x", 1)));
    platform::RegistryValue read;
    EXPECT_FALSE(platform::RegistryRead("Key", "x", read));
    EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged-1"));
}

// Each damaged copy keeps a name of its own: a later one never replaces it.
TEST(RegistryStoreTest, EachDamagedCopyIsKeptUnderItsOwnName) {
    TempFolder folder;
    const std::string path = folder.Path() + "/saved.xml";
    constexpr int kRuns = 6;
    std::vector<std::string> copies;
    for (int run = 1; run <= kRuns; ++run) {
        const std::string content = "damage number " + std::to_string(run);
        ASSERT_TRUE(platform::WriteFileAtomically(path, content.data(), content.size()));
        copies.push_back(platform::KeepDamagedCopy(path));
    }
    for (int run = 1; run <= kRuns; ++run) {
        EXPECT_EQ(copies[run - 1], path + ".damaged-" + std::to_string(run));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(platform::ReadWholeFile(copies[run - 1], bytes));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "damage number " + std::to_string(run));
    }
    EXPECT_EQ(platform::KeepDamagedCopy(folder.Path() + "/missing"), "");
}

}  // namespace
