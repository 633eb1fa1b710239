#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string Text(const std::string& path) {
    std::vector<uint8_t> read;
    return platform::ReadWholeFile(path, read) ? std::string(read.begin(), read.end()) : "<unreadable>";
}

void Write(const std::string& path, const std::string& text) {
    ASSERT_TRUE(platform::WriteFileAtomically(path, text.data(), text.size())) << path;
}

// Records each step of a save until it goes.
class StepRecorder {
public:
    StepRecorder() {
        platform::RecordFileStepsForTesting([this](const std::string& step) { steps.push_back(step); });
    }
    ~StepRecorder() { platform::RecordFileStepsForTesting(nullptr); }
    std::vector<std::string> steps;
};

TEST(FilesTest, AtomicWriteReplacesAndReadsBack) {
    TempFolder folder;
    const std::string path = folder.Path() + "/data.bin";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "first", 5));
    ASSERT_TRUE(platform::WriteFileAtomically(path, "second", 6));
    std::vector<uint8_t> read;
    ASSERT_TRUE(platform::ReadWholeFile(path, read));
    EXPECT_EQ(read, Bytes("second"));
    EXPECT_FALSE(platform::FileExists(path + ".tmp"));
}

TEST(FilesTest, FailedWriteKeepsThePreviousFile) {
    TempFolder folder;
    const std::string path = folder.Path() + "/data.bin";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "keep", 4));
    platform::FailNextAtomicWriteForTesting();
    EXPECT_FALSE(platform::WriteFileAtomically(path, "lost", 4));
    std::vector<uint8_t> read;
    ASSERT_TRUE(platform::ReadWholeFile(path, read));
    EXPECT_EQ(read, Bytes("keep"));
    EXPECT_FALSE(platform::FileExists(path + ".tmp"));
    EXPECT_FALSE(platform::WriteFileAtomically(folder.Path() + "/missing/x", "x", 1));
}

// A failed write says why, in the system's words.
TEST(FilesTest, AFailedWriteGivesItsReason) {
    TempFolder folder;
    const std::string path = folder.Path() + "/data.bin";
    const struct {
        std::string path;
        bool failWrite;
        std::string reason;
    } cases[] = {
        {folder.Path() + "/missing/x", false, "No such file or directory"},
        {path, true, "No space left on device"},
        {folder.Path(), false, "Is a directory"},
    };
    for (const auto& c : cases) {
        if (c.failWrite) {
            platform::FailNextAtomicWriteForTesting();
        }
        std::string why;
        EXPECT_FALSE(platform::WriteFileAtomically(c.path, "x", 1, &why)) << c.path;
        EXPECT_EQ(why, c.reason) << c.path;
    }
}

TEST(FilesTest, MissingFileIsReported) {
    TempFolder folder;
    std::vector<uint8_t> read;
    EXPECT_FALSE(platform::ReadWholeFile(folder.Path() + "/none", read));
    EXPECT_FALSE(platform::FileExists(folder.Path()));  // a folder is not a file
}

// Only a regular file is read: a FIFO in its place (which would make a plain
// open wait for a writer for ever), a device or a folder reads as nothing.
TEST(FilesTest, OnlyRegularFilesAreRead) {
    TempFolder folder;
    const std::string fifo = folder.Path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), folder.Path()}) {
        std::vector<uint8_t> read;
        EXPECT_FALSE(platform::ReadWholeFile(path, read)) << path;
    }
}

// Set aside, a file frees its name under the next numbered damaged name.
TEST(FilesTest, AFileSetAsideTakesTheNextDamagedName) {
    TempFolder folder;
    const std::string path = folder.Path() + "/list";
    ASSERT_TRUE(platform::WriteFileAtomically(path + ".damaged-1", "older", 5));
    ASSERT_TRUE(platform::WriteFileAtomically(path, "newer", 5));
    EXPECT_EQ(platform::MoveAsideAsDamaged(path), path + ".damaged-2");
    EXPECT_FALSE(platform::FileExists(path));
    std::vector<uint8_t> read;
    ASSERT_TRUE(platform::ReadWholeFile(path + ".damaged-2", read));
    EXPECT_EQ(read, Bytes("newer"));
    EXPECT_EQ(platform::MoveAsideAsDamaged(path), "");
}

// A temporary file left behind, or a link planted at its name, is removed
// and made afresh: the save never goes through it.
TEST(FilesTest, TheTemporaryFileIsMadeFreshAndNeverThroughALink) {
    TempFolder folder;
    const std::string list = folder.Path() + "/players.plrs.!";
    const std::string other = folder.Path() + "/Ada.plr.!";
    Write(other, "Ada's progress");
    const struct {
        const char* what;
        bool link;
    } cases[] = {{"a link to another saved file", true}, {"a stale temporary file", false}};
    for (const auto& c : cases) {
        std::filesystem::remove(list + ".tmp");
        if (c.link) {
            std::filesystem::create_symlink(other, list + ".tmp");
        } else {
            Write(list + ".tmp", "stale");
        }
        Write(list, std::string("the list after ") + c.what);
        EXPECT_EQ(Text(list), std::string("the list after ") + c.what);
        EXPECT_EQ(Text(other), "Ada's progress") << c.what;
        EXPECT_FALSE(std::filesystem::is_symlink(list)) << c.what;
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(list + ".tmp"))) << c.what;
    }
}

// A saved file that is a link (into a synced folder, say) is saved where the
// link points, through a chain of links and to a target not yet made; the
// links stay. A chain that never ends is refused and changes nothing.
TEST(FilesTest, ASavedFileThatIsALinkIsSavedWhereItPointsAndStaysALink) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() + "/synced");
    const std::string target = folder.Path() + "/synced/list";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // link, where it points
        bool targetMade;
    } cases[] = {
        {"a relative link", {{"list", "synced/list"}}, true},
        {"a chain of links", {{"list", "middle"}, {"middle", folder.Path() + "/synced/list"}}, true},
        {"a link to no file yet", {{"list", "synced/list"}}, false},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(target);
        if (c.targetMade) {
            Write(target, "before");
        }
        for (const auto& [link, to] : c.links) {
            std::filesystem::remove(folder.Path() + "/" + link);
            std::filesystem::create_symlink(to, folder.Path() + "/" + link);
        }
        Write(folder.Path() + "/list", c.what);
        EXPECT_EQ(Text(target), c.what);
        for (const auto& [link, to] : c.links) {
            EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() + "/" + link)) << c.what << ": " << link;
        }
        EXPECT_FALSE(std::filesystem::exists(target + ".tmp")) << c.what;
        std::filesystem::remove(folder.Path() + "/middle");
    }

    std::filesystem::remove(folder.Path() + "/list");
    std::filesystem::create_symlink("loop", folder.Path() + "/list");
    std::filesystem::create_symlink("list", folder.Path() + "/loop");
    std::string why;
    EXPECT_FALSE(platform::WriteFileAtomically(folder.Path() + "/list", "x", 1, &why));
    EXPECT_EQ(why, "Too many levels of symbolic links");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() + "/list"));
}

// One save writes and flushes every file first, then renames them one after
// another, then flushes their folders: files staged again keep their last
// content, and one whose temporary file fails is left as it was.
TEST(FilesTest, ABatchWritesEveryFileBeforeItRenamesAnyThenSyncsTheFolders) {
    TempFolder folder;
    const std::string list = folder.Path() + "/list";
    std::filesystem::create_directories(folder.Path() + "/players");
    const std::string player = folder.Path() + "/players/Ada";
    const std::string scores = folder.Path() + "/scores";
    Write(scores, "old scores");
    {
        StepRecorder recorder;
        platform::FileBatch batch;
        ASSERT_TRUE(batch.Stage(list, "first", 5));
        ASSERT_TRUE(batch.Stage(player, "coins", 5));
        ASSERT_TRUE(batch.Stage(list, "list", 4));
        platform::FailNextAtomicWriteForTesting();
        std::string why;
        EXPECT_FALSE(batch.Stage(scores, "new scores", 10, &why));
        EXPECT_EQ(why, "No space left on device");
        EXPECT_TRUE(batch.Commit().empty());
        EXPECT_EQ(recorder.steps, (std::vector<std::string>{"write " + list, "write " + player, "write " + list,
                                                            "rename " + player, "rename " + list,
                                                            "sync " + folder.Path() + "/players",
                                                            "sync " + folder.Path()}));
    }
    EXPECT_EQ(Text(list), "list");
    EXPECT_EQ(Text(player), "coins");
    EXPECT_EQ(Text(scores), "old scores");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);

    // Not committed, nothing changes and nothing is left behind.
    {
        platform::FileBatch batch;
        ASSERT_TRUE(batch.Stage(list, "lost", 4));
    }
    EXPECT_EQ(Text(list), "list");
    EXPECT_FALSE(std::filesystem::exists(list + ".tmp"));
}

// A run killed at any step of a save leaves each file whole, old or new, and
// all of them old until the first rename; the next save goes through.
TEST(FilesTest, AKillAtAnyStepOfABatchLeavesEveryFileWhole) {
    TempFolder folder;
    const std::vector<std::string> names = {folder.Path() + "/list", folder.Path() + "/Ada", folder.Path() + "/Bob"};
    const auto save = [&names](const std::string& content) {
        platform::FileBatch batch;
        for (const std::string& name : names) {
            batch.Stage(name, content.data(), content.size());
        }
        batch.Commit();
    };
    constexpr int kSteps = 7;  // three writes, three renames, one folder
    for (int killedAt = 1; killedAt <= kSteps; ++killedAt) {
        save("old");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int step = 0;
            platform::RecordFileStepsForTesting([&step, killedAt](const std::string&) {
                if (++step == killedAt) {
                    _exit(9);
                }
            });
            save("new");
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 9) << killedAt;
        int renamed = 0;
        for (const std::string& name : names) {
            const std::string content = Text(name);
            EXPECT_TRUE(content == "old" || content == "new") << killedAt << ": " << name << " holds " << content;
            renamed += content == "new";
        }
        EXPECT_EQ(renamed, std::clamp(killedAt - 3, 0, 3)) << killedAt;
    }
    save("after");
    for (const std::string& name : names) {
        EXPECT_EQ(Text(name), "after");
        EXPECT_FALSE(std::filesystem::exists(name + ".tmp"));
    }
}

// A copy kept of a file never replaces another kept copy: a name freed by the
// player is used again, and with every name taken no copy is made.
TEST(FilesTest, AKeptCopyIsNeverReplaced) {
    TempFolder folder;
    const std::string path = folder.Path() + "/list";
    for (int number = 1; number <= platform::kMaxKeptCopies; ++number) {
        Write(path, "damage " + std::to_string(number));
        ASSERT_EQ(platform::KeepDamagedCopy(path), path + ".damaged-" + std::to_string(number));
    }
    Write(path, "one too many");
    EXPECT_EQ(platform::KeepDamagedCopy(path), "");
    EXPECT_EQ(platform::MoveAsideAsDamaged(path), "");
    EXPECT_EQ(Text(path), "one too many");
    for (int number = 1; number <= platform::kMaxKeptCopies; ++number) {
        EXPECT_EQ(Text(path + ".damaged-" + std::to_string(number)), "damage " + std::to_string(number));
    }
    std::filesystem::remove(path + ".damaged-40");
    EXPECT_EQ(platform::MoveAsideAsDamaged(path), path + ".damaged-40");
    EXPECT_EQ(Text(path + ".damaged-40"), "one too many");
    EXPECT_EQ(platform::KeepNumberedCopy(path + ".damaged-1", "changed"), path + ".damaged-1.changed-1");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), platform::kMaxKeptCopies + 1);
}

}  // namespace
