#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/RegistryStore.h"
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
    platform::RegistryValue read;
    ASSERT_TRUE(platform::RegistryRead("Key", "kept", read));
    EXPECT_EQ(read.dword, 1u);

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

}  // namespace
