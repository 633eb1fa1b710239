#include <gtest/gtest.h>

#include "GameConstants.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/RegistryValues.h"
#include "platform/RegistryStore.h"
#include "support/TempUserFolders.h"

namespace {

TEST(RegistryValuesTest, SplitRegistryPathTable) {
    struct Case {
        const char* path;
        const char* keyPath;
        const char* valueName;
    };
    const Case cases[] = {
        {"Software\\Quelt\\value", "Software\\Quelt", "value"},
        {"Software/Quelt/value", "Software\\Quelt", "value"},
        {"Software\\Quelt\\value\\", "Software\\Quelt", "value"},
        {"value", "", "value"},
        {"\\value", "", "\\value"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const RegistryPath split = SplitRegistryPath(c.path);
        EXPECT_EQ(split.keyPath, c.keyPath) << c.path;
        EXPECT_EQ(split.valueName, c.valueName) << c.path;
    }
    UseTestGameConstants();
    EXPECT_EQ(MakeGameRegistryPath(), "Software\\Quelt\\Games\\" + GetGameId());
    EXPECT_EQ(MakeEngineRegistryPath("x"), MakeGameRegistryPath() + "\\qlt\\x");
}

TEST(RegistryValuesTest, MissingValueReadsAsTheDefault) {
    TempUserFolders folders;
    RegistryDword number("Software\\Quelt\\Games\\Test\\qlt\\missing", false, 42);
    EXPECT_EQ(number.Read(), 42u);
    EXPECT_FALSE(number.IsPresent());
    RegistryString text("Software\\Quelt\\Games\\Test\\qlt\\missing", true, "fallback");
    EXPECT_EQ(text.Read(), "fallback");
    EXPECT_FALSE(text.IsPresent());
    EXPECT_TRUE(text.ForceWrite());
}

TEST(RegistryValuesTest, WritesMakeTheKeyAndSurviveANewRecord) {
    TempUserFolders folders;
    RegistryDword written("Software/Quelt/Games/Test/qlt/seconds", false, 0);
    written.SetValue(5400);
    written.Write();
    EXPECT_TRUE(written.IsPresent());

    RegistryDword read("Software\\Quelt\\Games\\Test\\qlt\\seconds", false, 0);
    EXPECT_EQ(read.Read(), 5400u);
    EXPECT_TRUE(read.IsPresent());

    RegistryString name("Software\\Quelt\\Games\\Test\\qlt\\file", false, "");
    name.SetValue("/some/where/2010-01-31 09-05-07.log");
    name.Write();
    RegistryString again("Software\\Quelt\\Games\\Test\\qlt\\file", false, "");
    EXPECT_EQ(again.Read(), "/some/where/2010-01-31 09-05-07.log");

    // A value of the other type does not read as this one.
    RegistryDword wrongType("Software\\Quelt\\Games\\Test\\qlt\\file", false, 3);
    EXPECT_EQ(wrongType.Read(), 3u);
    EXPECT_FALSE(wrongType.IsPresent());
}

TEST(RegistryValuesTest, AFailedWriteLeavesPresentFalse) {
    TempUserFolders folders;
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "relative", 1);  // no usable config folder
    RegistryDword value("Software\\Quelt\\Games\\Test\\qlt\\seconds", false, 0);
    value.SetValue(1);
    value.Write();
    EXPECT_FALSE(value.IsPresent());
}

}  // namespace
